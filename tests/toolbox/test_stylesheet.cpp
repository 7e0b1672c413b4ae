// The application style sheet: every piece parses, names pictures that exist, and gives the looks asked.
#include "ToolboxTestSupport.h"
#include "ZyStylesheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QStringList pieces()
{
    return {ZyStylesheet::tabBar(),      ZyStylesheet::tabWidget(),    ZyStylesheet::menu(),
            ZyStylesheet::menuBar(),     ZyStylesheet::toolBar(),      ZyStylesheet::scrollBar(),
            ZyStylesheet::tableView(),   ZyStylesheet::headerView(),   ZyStylesheet::treeView(),
            ZyStylesheet::groupBox(),    ZyStylesheet::checkBox(),     ZyStylesheet::toolButton(),
            ZyStylesheet::pushButton(),  ZyStylesheet::dateTimeEdit(), ZyStylesheet::spinBox(),
            ZyStylesheet::lineEdit(),    ZyStylesheet::plainTextEdit(), ZyStylesheet::scrollAreaContents(),
            ZyStylesheet::dialog(),      ZyStylesheet::comboBox(),     ZyStylesheet::mainWindow()};
}

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && message.contains("style", Qt::CaseInsensitive))
        g_warnings.append(message);
}

using StylesheetTest = ToolboxTest;

TEST_F(StylesheetTest, EveryPiecePicturesExist)
{
    const QRegularExpression url("url\\(([^)]+)\\)");
    int pictures = 0;
    for (const QString &piece : pieces()) {
        EXPECT_FALSE(piece.isEmpty());
        for (auto match = url.globalMatch(piece); match.hasNext(); ++pictures) {
            const QString path = match.next().captured(1);
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        }
    }
    EXPECT_GT(pictures, 20);
}

TEST_F(StylesheetTest, AssembledSheetStylesAWindowWithoutComplaint)
{
    QMainWindow window;
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, "One");
    tabs->addTab(new QWidget, "Two");
    layout->addWidget(tabs);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             new QCheckBox("check"), new QComboBox, new QDateTimeEdit, new QGroupBox("group"), new QLineEdit,
             new QPlainTextEdit, new QPushButton("push"), new QSpinBox, new QDoubleSpinBox, new QTableView,
             new QToolButton, new QTreeWidget, new QScrollBar(Qt::Horizontal)})
        layout->addWidget(widget);
    window.setCentralWidget(central);
    window.menuBar()->addMenu("File")->addAction("Quit");
    window.addToolBar("tools")->addAction("Act");

    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    window.setStyleSheet(pieces().join(""));
    window.show();
    render(window);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join("\n").toStdString();
}

TEST_F(StylesheetTest, TextsUseTrebuchetFirstAtNinePoints)
{
    QTreeWidget tree;
    tree.setStyleSheet(ZyStylesheet::treeView());
    tree.ensurePolished();
    ASSERT_FALSE(tree.font().families().isEmpty());
    EXPECT_EQ(tree.font().families().first(), QString("Trebuchet MS"));
    EXPECT_GT(tree.font().families().size(), 1);
    EXPECT_EQ(tree.font().pointSize(), 9);
}

TEST_F(StylesheetTest, DisabledPushButtonShowsTheGreyPicture)
{
    QPushButton button("OK");
    button.setStyleSheet(ZyStylesheet::pushButton());
    button.resize(100, 30);
    const QColor enabled = render(button).pixelColor(3, 15);
    button.setEnabled(false);
    EXPECT_EQ(render(button).pixelColor(3, 15), QColor("#C8C8C8"));
    EXPECT_NE(enabled, QColor("#C8C8C8"));
}

TEST_F(StylesheetTest, SelectedTreeRowIsBlueGrey)
{
    QTreeWidget tree;
    tree.setStyleSheet(ZyStylesheet::treeView());
    tree.setColumnCount(1);
    tree.setHeaderHidden(true);
    tree.resize(200, 100);
    auto *selected = new QTreeWidgetItem(&tree, {"a"});
    new QTreeWidgetItem(&tree, {"b"});
    selected->setSelected(true);
    tree.show();
    const QImage image = render(tree);
    const QRect row = tree.visualItemRect(selected).translated(tree.viewport()->pos());
    EXPECT_EQ(row.height(), 16);
    EXPECT_EQ(image.pixelColor(row.right() - 5, row.center().y()), QColor("#B2D0D8"));
}

} // namespace
