// Walks a widget tree and lists what a person would see cut or covered.
#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QFocusFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRubberBand>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>

namespace {

// The style options the widgets fill for their own size hints (protected in Qt).
struct PushButtonOption : QPushButton
{
    static void fill(const QPushButton &button, QStyleOptionButton *option)
    {
        (button.*(&PushButtonOption::initStyleOption))(option);
    }
};
struct GroupBoxOption : QGroupBox
{
    static void fill(const QGroupBox &box, QStyleOptionGroupBox *option)
    {
        (box.*(&GroupBoxOption::initStyleOption))(option);
    }
};
struct TabOption : QTabBar
{
    static void fill(const QTabBar &bar, QStyleOptionTab *option, int tab)
    {
        (bar.*(&TabOption::initStyleOption))(option, tab);
    }
};
struct HeaderOption : QHeaderView
{
    static void fill(const QHeaderView &header, QStyleOptionHeader *option, int section)
    {
        (header.*(&HeaderOption::initStyleOptionForIndex))(option, section);
    }
};

class Checker
{
public:
    explicit Checker(const QWidget &root) : m_root(root) {}

    QList<LayoutFault> run()
    {
        walk(m_root);
        return m_faults;
    }

private:
    void walk(const QWidget &widget)
    {
        checkTexts(widget);
        const QList<const QWidget *> children = visibleChildren(widget);
        if (!isScrollAreaInside(widget) && !stacksByDesign(widget)) {
            checkInside(widget, children);
            checkOverlaps(children);
        }
        for (const QWidget *child : children)
            walk(*child);
    }

    void checkTexts(const QWidget &widget)
    {
        if (auto *button = qobject_cast<const QAbstractButton *>(&widget))
            checkButton(*button);
        else if (auto *label = qobject_cast<const QLabel *>(&widget))
            checkLabel(*label);
        else if (auto *box = qobject_cast<const QGroupBox *>(&widget))
            checkGroupTitle(*box);
        else if (auto *bar = qobject_cast<const QTabBar *>(&widget))
            checkTabs(*bar);
        else if (auto *header = qobject_cast<const QHeaderView *>(&widget))
            checkHeader(*header);
    }

    void checkButton(const QAbstractButton &button)
    {
        if (button.text().isEmpty() || showsIconOnly(button))
            return;
        fitsWidth(button, button.text(), neededButtonWidth(button), button.width());
    }

    // A tool button with an icon draws no text unless its style asks for one.
    static bool showsIconOnly(const QAbstractButton &button)
    {
        auto *tool = qobject_cast<const QToolButton *>(&button);
        return tool != nullptr && !tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonIconOnly;
    }

    static int neededButtonWidth(const QAbstractButton &button)
    {
        auto *push = qobject_cast<const QPushButton *>(&button);
        if (push == nullptr)
            return button.sizeHint().width();
        // As QPushButton::sizeHint, less the style's least width for any labelled button.
        QStyleOptionButton option;
        PushButtonOption::fill(*push, &option);
        int contents = push->fontMetrics().size(Qt::TextShowMnemonic, push->text()).width();
        if (!push->icon().isNull())
            contents += option.iconSize.width() + 4;
        if (push->menu() != nullptr)
            contents += push->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, push);
        option.text.clear();
        return push->style()->sizeFromContents(QStyle::CT_PushButton, &option, QSize(contents, 0), push).width();
    }

    void checkLabel(const QLabel &label)
    {
        if (label.text().isEmpty())
            return;
        if (label.wordWrap()) {
            const int needed = label.heightForWidth(label.width());
            if (needed > label.height())
                add(label, label.text(), QStringLiteral("text cut (height)"), needed, label.height());
            return;
        }
        fitsWidth(label, label.text(), label.sizeHint().width(), label.width());
    }

    void checkGroupTitle(const QGroupBox &box)
    {
        if (box.title().isEmpty())
            return;
        QStyleOptionGroupBox option;
        GroupBoxOption::fill(box, &option);
        const QFontMetrics metrics = box.fontMetrics();
        int width = metrics.horizontalAdvance(box.title() + u' ');
        if (box.isCheckable())
            width += box.style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, &box)
                     + box.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, &box);
        const QSize needed =
            box.style()->sizeFromContents(QStyle::CT_GroupBox, &option, QSize(width, metrics.height()), &box);
        fitsWidth(box, box.title(), needed.width(), box.width());
    }

    void checkTabs(const QTabBar &bar)
    {
        for (int tab = 0; tab < bar.count(); ++tab) {
            if (!bar.isTabVisible(tab) || bar.tabText(tab).isEmpty())
                continue;
            QStyleOptionTab option;
            TabOption::fill(bar, &option, tab);
            int width = bar.fontMetrics().size(Qt::TextShowMnemonic, bar.tabText(tab)).width()
                        + bar.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, &bar);
            if (!bar.tabIcon(tab).isNull())
                width += option.iconSize.width() + 4;
            for (const auto side : {QTabBar::LeftSide, QTabBar::RightSide})
                if (const QWidget *button = bar.tabButton(tab, side))
                    width += button->sizeHint().width();
            const QSize needed =
                bar.style()->sizeFromContents(QStyle::CT_TabBarTab, &option, QSize(width, option.rect.height()), &bar);
            const int given = bar.tabRect(tab).width();
            if (needed.width() > given)
                add(bar, bar.tabText(tab), QStringLiteral("tab text cut"), needed.width(), given);
            checkTabInSight(bar, tab);
        }
    }

    // A tab scrolled past the bar's side or lying under its scroll arrows shows a cut text, or none.
    void checkTabInSight(const QTabBar &bar, int tab)
    {
        const bool across = bar.shape() == QTabBar::RoundedNorth || bar.shape() == QTabBar::RoundedSouth
                            || bar.shape() == QTabBar::TriangularNorth || bar.shape() == QTabBar::TriangularSouth;
        const auto start = [across](const QRect &rect) { return across ? rect.left() : rect.top(); };
        const auto end = [across](const QRect &rect) { return across ? rect.right() : rect.bottom(); };
        int first = start(bar.rect()), last = end(bar.rect());
        for (const QWidget *arrow : visibleChildren(bar)) {
            if (start(arrow->geometry()) > (first + last) / 2)
                last = qMin(last, start(arrow->geometry()) - 1);
            else
                first = qMax(first, end(arrow->geometry()) + 1);
        }
        const QRect rect = bar.tabRect(tab);
        if (start(rect) < first || end(rect) > last)
            add(bar, bar.tabText(tab), QStringLiteral("tab out of sight"), end(rect) - start(rect) + 1,
                qMax(0, qMin(end(rect), last) - qMax(start(rect), first) + 1));
    }

    void checkHeader(const QHeaderView &header)
    {
        if (header.model() == nullptr || header.orientation() != Qt::Horizontal)
            return;
        for (int section = 0; section < header.count(); ++section) {
            const QString text = header.model()->headerData(section, Qt::Horizontal).toString();
            if (header.isSectionHidden(section) || text.isEmpty())
                continue;
            QStyleOptionHeader option;
            HeaderOption::fill(header, &option, section);
            option.text = text;
            const int needed = header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header).width();
            const int given = header.sectionSize(section);
            if (needed > given)
                add(header, text, QStringLiteral("header text cut"), needed, given);
        }
    }

    // Children that a layout placed must lie inside the parent (a group box: inside its frame).
    void checkInside(const QWidget &parent, const QList<const QWidget *> &children)
    {
        QRect area = parent.rect();
        if (auto *box = qobject_cast<const QGroupBox *>(&parent)) {
            // Below the title, inside the frame.
            QStyleOptionGroupBox option;
            GroupBoxOption::fill(*box, &option);
            const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             box->isCheckable() ? QStyle::SC_GroupBoxCheckBox
                                                                                : QStyle::SC_GroupBoxLabel,
                                                             box);
            area = box->contentsRect();
            if (!box->title().isEmpty())
                area.setTop(qMax(area.top(), title.united(box->style()->subControlRect(
                                                 QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box))
                                                 .bottom() + 1));
        }
        for (const QWidget *child : children)
            if (!area.contains(child->geometry()))
                add(*child, QString(), QStringLiteral("outside its parent"), child->geometry().bottom(), area.bottom());
    }

    void checkOverlaps(const QList<const QWidget *> &children)
    {
        for (qsizetype first = 0; first < children.size(); ++first)
            for (qsizetype second = first + 1; second < children.size(); ++second) {
                const QRect common = children[first]->geometry() & children[second]->geometry();
                if (!common.isEmpty())
                    add(*children[first], pathOf(*children[second]), QStringLiteral("overlaps"), common.width(), 0);
            }
    }

    // Widgets that draw their children over one another on purpose: a switch's knob on its
    // track, a tab bar's scroll arrows.
    static bool stacksByDesign(const QWidget &widget)
    {
        return widget.inherits("ZySwitchButton") || qobject_cast<const QTabBar *>(&widget) != nullptr;
    }

    // A scroll area's parts and the rows' widgets in its viewport move and clip by design.
    static bool isScrollAreaInside(const QWidget &widget)
    {
        if (qobject_cast<const QAbstractScrollArea *>(&widget) != nullptr)
            return true;
        auto *area = qobject_cast<const QAbstractScrollArea *>(widget.parentWidget());
        return area != nullptr && area->viewport() == &widget;
    }

    static QList<const QWidget *> visibleChildren(const QWidget &widget)
    {
        QList<const QWidget *> children;
        for (const QObject *object : widget.children()) {
            auto *child = qobject_cast<const QWidget *>(object);
            if (child == nullptr || child->isWindow() || !child->isVisible() || child->size().isEmpty()
                || qobject_cast<const QFocusFrame *>(child) != nullptr
                || qobject_cast<const QRubberBand *>(child) != nullptr)
                continue;
            children << child;
        }
        return children;
    }

    void fitsWidth(const QWidget &widget, const QString &text, int needed, int given)
    {
        const QSize shown = shownPart(widget);
        if (shown.height() <= 0)
            return; // scrolled out of sight: a scroll bar reaches it
        if (!scrollsSideways(widget))
            given = qMin(given, shown.width());
        if (needed > given)
            add(widget, text, QStringLiteral("text cut"), needed, given);
    }

    // How much of the widget its ancestors leave in sight: width and height apart, so that a
    // widget pushed out at the side still counts as in sight when its rows are.
    static QSize shownPart(const QWidget &widget)
    {
        int left = 0, top = 0, right = widget.width(), bottom = widget.height();
        QPoint offset;
        for (const QWidget *at = &widget; !at->isWindow() && at->parentWidget() != nullptr; at = at->parentWidget()) {
            offset += at->pos();
            const QRect parent = at->parentWidget()->rect().translated(-offset);
            left = qMax(left, parent.left());
            right = qMin(right, parent.left() + parent.width());
            top = qMax(top, parent.top());
            bottom = qMin(bottom, parent.top() + parent.height());
        }
        return {qMax(0, right - left), bottom - top};
    }

    // Inside a scroll area whose horizontal scroll bar shows, a text cut at the side can be reached.
    static bool scrollsSideways(const QWidget &widget)
    {
        for (const QWidget *at = widget.parentWidget(); at != nullptr; at = at->parentWidget())
            if (auto *area = qobject_cast<const QAbstractScrollArea *>(at))
                if (area->horizontalScrollBar()->isVisible())
                    return true;
        return false;
    }

    void add(const QWidget &widget, const QString &text, const QString &problem, int needed, int given)
    {
        m_faults << LayoutFault{pathOf(widget), text, problem, needed, given};
    }

    QString pathOf(const QWidget &widget) const
    {
        QStringList names;
        for (const QWidget *at = &widget; at != nullptr; at = at->parentWidget()) {
            names.prepend(at->objectName().isEmpty() ? QString::fromLatin1(at->metaObject()->className())
                                                     : at->objectName());
            if (at == &m_root)
                break;
        }
        return names.join(u'/');
    }

    const QWidget &m_root;
    QList<LayoutFault> m_faults;
};

} // namespace

QList<LayoutFault> checkLayout(const QWidget &root)
{
    return Checker(root).run();
}

QString describeFaults(const QList<LayoutFault> &faults)
{
    QStringList lines;
    for (const LayoutFault &fault : faults)
        lines << QStringLiteral("%1: %2 \"%3\" needs %4, has %5")
                     .arg(fault.path, fault.problem, fault.text.left(80))
                     .arg(fault.needed)
                     .arg(fault.given);
    return lines.join(u'\n');
}
