// The application's style sheet, one piece per widget class.
#include "ZyStylesheet.h"

// "Trebuchet MS" first; systems without it fall back to a common sans-serif family.
#define ZY_FONT "font-family: 'Trebuchet MS', 'DejaVu Sans', sans-serif; font-size: 9pt;"
#define ZY_PICTURE(name) "url(:/stylesheet/Resources/stylesheet/" name ")"
#define ZY_FIELD_GRADIENT "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #B0B0B0, stop:1 #FBFBFB)"
#define ZY_BUTTON_GRADIENT "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #D7E1E3, stop:1 #0B7D97)"
#define ZY_DISABLED_GRADIENT "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F1F1F1, stop:1 #B9B9B9)"

#define ZY_CHECK_INDICATORS(widget)                                                                   \
    widget "::indicator { width: 13px; height: 13px; }"                                                \
    widget "::indicator:checked { image: " ZY_PICTURE("caseCocheeOui-01.png") "; }"                   \
    widget "::indicator:unchecked { image: " ZY_PICTURE("caseCocheeNon-01.png") "; }"                 \
    widget "::indicator:indeterminate { image: " ZY_PICTURE("caseCocheePeutEtre-01.png") "; }"        \
    widget "::indicator:checked:disabled { image: " ZY_PICTURE("caseCocheeOui-grey.png") "; }"        \
    widget "::indicator:unchecked:disabled { image: " ZY_PICTURE("caseCocheeNon-grey.png") "; }"      \
    widget "::indicator:indeterminate:disabled { image: " ZY_PICTURE("caseCocheeOui-grey.png") "; }"

#define ZY_DROP_DOWN(widget)                                                                          \
    widget "::drop-down { subcontrol-origin: padding; subcontrol-position: top right; width: 18px;"   \
    " height: 18px; border: none; background: " ZY_BUTTON_GRADIENT "; }"                              \
    widget "::drop-down:pressed { top: 1px; }"                                                         \
    widget "::drop-down:disabled { background: " ZY_DISABLED_GRADIENT "; }"                           \
    widget "::down-arrow { image: " ZY_PICTURE("flecheBas-01.png") "; }"

void ZyStylesheet::registerPictures()
{
    // A static library's resources are registered only when something calls for them.
    static const bool registered = [] {
        Q_INIT_RESOURCE(toolbox);
        return true;
    }();
    Q_UNUSED(registered);
}

QString ZyStylesheet::sheet(const char *text)
{
    registerPictures();
    return QString::fromLatin1(text);
}

QString ZyStylesheet::checkBox()
{
    return sheet("QCheckBox { " ZY_FONT " }"
           "QCheckBox:disabled { color: #898989; }" ZY_CHECK_INDICATORS("QCheckBox"));
}

QString ZyStylesheet::comboBox()
{
    return sheet("QComboBox { background: " ZY_FIELD_GRADIENT "; border: none; height: 20px;"
           " padding-right: 10px; padding-left: 3px; " ZY_FONT " }" ZY_DROP_DOWN("QComboBox")
           "QComboBox QAbstractItemView { background: #E4E4E4; selection-background-color: #B2D0D8;"
           " selection-color: black; " ZY_FONT " }");
}

QString ZyStylesheet::dateTimeEdit()
{
    return sheet("QDateTimeEdit { background: " ZY_FIELD_GRADIENT "; border: none; min-height: 20px; " ZY_FONT " }"
        ZY_DROP_DOWN("QDateTimeEdit"));
}

QString ZyStylesheet::dialog()
{
    return sheet("QDialog { background: #D0D0D0; }");
}

QString ZyStylesheet::groupBox()
{
    return sheet("QGroupBox { " ZY_FONT " margin-top: 4px; padding-top: 12px; }"
           "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0px 4px; }"
           "QGroupBox:disabled { color: #898989; }" ZY_CHECK_INDICATORS("QGroupBox"));
}

QString ZyStylesheet::headerView()
{
    return sheet("QHeaderView::section { border: none; border-left: 1px solid white;"
           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #D6DFE4, stop:1 #80B5C3);"
           " padding: 4px; " ZY_FONT " }"
           "QHeaderView::section:disabled { background: " ZY_DISABLED_GRADIENT "; }"
           "QHeaderView::down-arrow { image: " ZY_PICTURE("Bouton-tri-bas-normal.png") "; }"
           "QHeaderView::up-arrow { image: " ZY_PICTURE("Bouton-tri-haut-normal.png") "; }");
}

QString ZyStylesheet::lineEdit()
{
    return sheet("QLineEdit { background: " ZY_FIELD_GRADIENT "; border: none; height: 20px; " ZY_FONT " }");
}

QString ZyStylesheet::mainWindow()
{
    return sheet("QMainWindow { background: #D0D0D0; }");
}

QString ZyStylesheet::menuBar()
{
    return sheet("QMenuBar { background: #A0A0A0; border: none; " ZY_FONT " }"
           "QMenuBar::item { margin: 0px 5px; color: black; background: transparent; }"
           "QMenuBar::item:selected { color: white; }");
}

QString ZyStylesheet::menu()
{
    return sheet("QMenu { background: #A0A0A0; border: none; " ZY_FONT " }");
}

QString ZyStylesheet::plainTextEdit()
{
    return sheet("QPlainTextEdit:disabled { background: #E4E4E4; }");
}

QString ZyStylesheet::pushButton()
{
    return sheet("QPushButton { border-image: " ZY_PICTURE("button.png") " 1 1 1 1 stretch stretch; border-width: 1px;"
           " min-height: 22px; color: white; padding: 0px 6px; " ZY_FONT " }"
           "QPushButton:pressed { border-image: " ZY_PICTURE("button-pressed.png") " 2 2 2 2 stretch stretch;"
           " border-width: 2px; }"
           "QPushButton:disabled { border-image: " ZY_PICTURE("button-grey.png") " 1 1 1 1 stretch stretch;"
           " color: #a0a0a0; }");
}

QString ZyStylesheet::scrollAreaContents()
{
    return sheet("QWidget#scrollAreaWidgetContents { background: #D0D0D0; }");
}

QString ZyStylesheet::scrollBar()
{
    return sheet("QScrollBar:vertical { width: 16px; margin: 16px 0px; border: none;"
           " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #B0B0B0, stop:1 #FBFBFB); }"
           "QScrollBar:horizontal { height: 16px; margin: 0px 16px; border: none;"
           " background: " ZY_FIELD_GRADIENT "; }"
           "QScrollBar::handle { background: #B2D0D8; }"
           "QScrollBar::handle:vertical { min-height: 10px; }"
           "QScrollBar::handle:horizontal { min-width: 10px; }"
           "QScrollBar::add-line, QScrollBar::sub-line { background: " ZY_BUTTON_GRADIENT "; border: none;"
           " width: 16px; height: 16px; subcontrol-origin: margin; }"
           "QScrollBar::sub-line:vertical { subcontrol-position: top; }"
           "QScrollBar::add-line:vertical { subcontrol-position: bottom; }"
           "QScrollBar::sub-line:horizontal { subcontrol-position: left; }"
           "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
           "QScrollBar::up-arrow { image: " ZY_PICTURE("flecheHaut-01.png") "; }"
           "QScrollBar::down-arrow { image: " ZY_PICTURE("flecheBas-01.png") "; }"
           "QScrollBar::left-arrow { image: " ZY_PICTURE("flecheGauche-01.png") "; }"
           "QScrollBar::right-arrow { image: " ZY_PICTURE("flecheDroite-01.png") "; }"
           "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
}

QString ZyStylesheet::spinBox()
{
    return sheet("QSpinBox, QDoubleSpinBox { background: " ZY_FIELD_GRADIENT "; border: none; min-height: 20px;"
           " padding-right: 8px; " ZY_FONT " }"
           "QSpinBox::up-button, QDoubleSpinBox::up-button { subcontrol-origin: border;"
           " subcontrol-position: top right; width: 18px; height: 9px; border: none;"
           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #D7E1E3, stop:1 #0E6F8C); }"
           "QSpinBox::down-button, QDoubleSpinBox::down-button { subcontrol-origin: border;"
           " subcontrol-position: bottom right; width: 18px; height: 9px; border: none;"
           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #D7E1E3, stop:1 #0C7D97); }"
           "QSpinBox::up-button:disabled, QDoubleSpinBox::up-button:disabled,"
           " QSpinBox::down-button:disabled, QDoubleSpinBox::down-button:disabled {"
           " background: " ZY_DISABLED_GRADIENT "; }"
           "QSpinBox::up-arrow, QDoubleSpinBox::up-arrow { image: " ZY_PICTURE("demiFlecheHaut-01.png") "; }"
           "QSpinBox::down-arrow, QDoubleSpinBox::down-arrow { image: " ZY_PICTURE("demiFlecheBas-01.png") "; }");
}

QString ZyStylesheet::tabBar()
{
    return sheet("QTabBar::tab { height: 20px; padding: 0px 5px; border-width: 2px 7px 1px 7px;"
           " border-image: " ZY_PICTURE("Onglet-inactif.png") " 2 7 1 7 stretch stretch; color: #404040; " ZY_FONT " }"
           "QTabBar::tab:selected { border-image: " ZY_PICTURE("Onglet-actif.png") " 2 7 1 7 stretch stretch;"
           " color: black; }");
}

QString ZyStylesheet::tabWidget()
{
    return sheet("QTabWidget::pane { border: none; border-top: 1px solid white; }"
           "QTabWidget::tab-bar { top: 1px; }");
}

QString ZyStylesheet::tableView()
{
    return sheet("QTableView { background: #E4E4E4; }");
}

QString ZyStylesheet::toolBar()
{
    return sheet("QToolBar { background: #A0A0A0; border: none; padding: 0px; }");
}

QString ZyStylesheet::toolButton()
{
    return sheet("QToolButton { border-image: " ZY_PICTURE("toolButton.png") " 1 1 1 1 stretch stretch; border-width: 1px;"
           " min-height: 18px; min-width: 20px; color: white; " ZY_FONT " }"
           "QToolButton:pressed { border-image: " ZY_PICTURE("toolButton-pressed.png") " 1 1 1 1 stretch stretch; }"
           "QToolButton:disabled { border-image: " ZY_PICTURE("toolButton-grey.png") " 1 1 1 1 stretch stretch;"
           " font-weight: bold; color: #a0a0a0; }"
           "QToolButton:auto-raise { border-image: none; border: none; min-width: 18px; max-width: 18px;"
           " min-height: 18px; max-height: 18px; }"
           "QDateTimeEdit QToolButton { min-width: 25px; }"
           "QDateTimeEdit QToolButton[popupMode=\"2\"] { min-width: 80px; }");
}

QString ZyStylesheet::treeView()
{
    return sheet("QTreeView { " ZY_FONT " }"
           "QTreeView::item { height: 16px; }"
           "QTreeView::item:hover { background: #F2FFFF; }"
           "QTreeView::item:selected { background: #B2D0D8; color: black; }"
           "QTreeView:disabled, QTreeView::item:disabled { background: #E4E4E4; }");
}
