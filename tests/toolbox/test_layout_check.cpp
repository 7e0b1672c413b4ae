// The layout checker on small forms: each fault it must name, and a fitting form it must pass.
#include "LayoutCheck.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct LayoutCase
{
    const char *name;
    std::function<void(QWidget &)> build; // fills the shown top-level widget
    const char *path;                     // the faulty widget's path, or null for none
    const char *problem;
};

void narrowButton(QWidget &top)
{
    auto *button = new QPushButton(QStringLiteral("Record real time"), &top);
    button->setObjectName("btnRecord");
    button->setGeometry(0, 0, 40, 30);
}

void overlappingLabels(QWidget &top)
{
    auto *first = new QLabel(QStringLiteral("A"), &top);
    first->setObjectName("first");
    first->setGeometry(0, 0, 50, 20);
    auto *second = new QLabel(QStringLiteral("B"), &top);
    second->setObjectName("second");
    second->setGeometry(40, 10, 50, 20);
}

void shortWrappedLabel(QWidget &top)
{
    auto *label = new QLabel(QString(40, u'w').replace(u'w', QStringLiteral("word ")), &top);
    label->setObjectName("note");
    label->setWordWrap(true);
    label->setGeometry(0, 0, 80, 20);
}

void sliderOnTheFrame(QWidget &top)
{
    auto *box = new QGroupBox(QStringLiteral("Focus"), &top);
    box->setObjectName("groupFocus");
    auto *layout = new QVBoxLayout(box);
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setObjectName("sliderFocus");
    slider->setMinimumHeight(60);
    layout->addWidget(slider);
    box->setGeometry(0, 0, 200, 50);
}

void narrowHeader(QWidget &top)
{
    auto *tree = new QTreeWidget(&top);
    tree->setObjectName("tree");
    tree->setHeaderLabels({QStringLiteral("Lock"), QStringLiteral("Warning")});
    tree->header()->setStretchLastSection(true);
    tree->header()->setMinimumSectionSize(5);
    tree->setColumnWidth(0, 12);
    tree->setGeometry(0, 0, 300, 100);
}

void narrowGroupTitle(QWidget &top)
{
    auto *box = new QGroupBox(QStringLiteral("Luminosity and enslavement"), &top);
    box->setObjectName("groupLight");
    box->setGeometry(0, 0, 60, 60);
}

// A line of a list wider than the list, which has no horizontal scroll bar to reach its end.
void linkPastTheListsSide(QWidget &top)
{
    auto *area = new QScrollArea(&top);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setGeometry(0, 0, 200, 100);
    auto *line = new QWidget;
    line->setObjectName("line");
    line->setFixedSize(400, 40);
    auto *link = new QLabel(QStringLiteral("View"), line);
    link->setObjectName("linkView");
    link->move(300, 10);
    area->setWidget(line);
}

// The second tab runs under the tab bar's scroll arrows.
void tabUnderTheArrows(QWidget &top)
{
    auto *tabs = new QTabWidget(&top);
    tabs->setObjectName("tabs");
    tabs->setUsesScrollButtons(true);
    tabs->addTab(new QWidget, QStringLiteral("Information"));
    tabs->addTab(new QWidget, QStringLiteral("Detections"));
    tabs->setGeometry(0, 0, tabs->tabBar()->sizeHint().width() * 3 / 4, 100);
}

// A tool button narrower than its text: cut when the text is drawn beside the icon, unseen otherwise.
void smallToolButton(QWidget &top, Qt::ToolButtonStyle style)
{
    auto *button = new QToolButton(&top);
    button->setObjectName("btnClose");
    button->setText(QStringLiteral("Close the panel"));
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    button->setIcon(QIcon(picture));
    button->setToolButtonStyle(style);
    button->setGeometry(0, 0, 16, 16);
}

void fittingForm(QWidget &top)
{
    auto *layout = new QFormLayout(&top);
    layout->addRow(QStringLiteral("Address"), new QLineEdit);
    layout->addRow(QStringLiteral("Port"), new QLineEdit);
    auto *elided = new QLabel;
    elided->setText(elided->fontMetrics().elidedText(QString(500, u'x'), Qt::ElideRight, 100));
    layout->addRow(elided);
    auto *box = new QGroupBox(QStringLiteral("Connection"));
    (new QVBoxLayout(box))->addWidget(new QPushButton(QStringLiteral("Connect to the sensor")));
    layout->addRow(box);
    auto *tree = new QTreeWidget;
    tree->setHeaderLabels({QStringLiteral("Lock"), QStringLiteral("Warning")});
    tree->header()->resizeSections(QHeaderView::ResizeToContents);
    layout->addRow(tree);
    top.adjustSize();
}

class LayoutCheckTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(LayoutCheckTest, NamesTheWidgetWhoseTextIsCutOrCovered)
{
    const LayoutCase &c = GetParam();
    QWidget top;
    top.setObjectName("top");
    top.resize(400, 300);
    c.build(top);
    top.show();
    const QList<LayoutFault> faults = checkLayout(top);
    if (c.path == nullptr) {
        EXPECT_TRUE(faults.isEmpty()) << describeFaults(faults).toStdString();
        return;
    }
    ASSERT_EQ(faults.size(), 1) << describeFaults(faults).toStdString();
    EXPECT_EQ(faults[0].path, QString::fromLatin1(c.path));
    EXPECT_EQ(faults[0].problem, QString::fromLatin1(c.problem));
    EXPECT_GT(faults[0].needed, faults[0].given);
}

const LayoutCase kCases[] = {
    {"NarrowButton", narrowButton, "top/btnRecord", "text cut"},
    {"OverlappingLabels", overlappingLabels, "top/first", "overlaps"},
    {"ShortWrappedLabel", shortWrappedLabel, "top/note", "text cut (height)"},
    {"SliderOnTheFrame", sliderOnTheFrame, "top/groupFocus/sliderFocus", "outside its parent"},
    {"NarrowHeader", narrowHeader, "top/tree/QHeaderView", "header text cut"},
    {"NarrowGroupTitle", narrowGroupTitle, "top/groupLight", "text cut"},
    {"LinkPastTheListsSide", linkPastTheListsSide, "top/QScrollArea/qt_scrollarea_viewport/line/linkView",
     "text cut"},
    {"TabUnderTheArrows", tabUnderTheArrows, "top/tabs/qt_tabwidget_tabbar", "tab out of sight"},
    {"ToolButtonTextBesideItsIcon", [](QWidget &top) { smallToolButton(top, Qt::ToolButtonTextBesideIcon); },
     "top/btnClose", "text cut"},
    {"ToolButtonWithItsIconOnly", [](QWidget &top) { smallToolButton(top, Qt::ToolButtonIconOnly); }, nullptr,
     nullptr},
    {"FittingForm", fittingForm, nullptr, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Forms, LayoutCheckTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
