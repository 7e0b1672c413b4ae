// The property tree of the "Sensor" dock: sections with their edit links and property rows,
// found again by caption on every refill, with the memory of expanded sections.
#include "WidgetGeneralSettings.h"

#include "CameraTreeFill.h"
#include "ConfigTreeFill.h"
#include "InfoTreeFill.h"
#include "LightingTreeFill.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "PXR.h"
#include "WidgetSlider.h"
#include "ZyTreeWidgetItem.h"

#include <QDebug>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidgetItemIterator>
#include <QScrollBar>
#include <QUrl>

namespace {

const int kStatisticsIntervalMs = 400;
const QColor kUnsetColor(128, 128, 128);
const QColor kValueColor(0, 0, 0);

// The label hands its link back as written, so the tag travels percent-encoded: nothing of it
// can close the attribute, and it comes back whole.
QString linkHref(const QString &tag)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(tag));
}

ZyTreeWidgetItem *rowOf(QTreeWidgetItem *item)
{
    return static_cast<ZyTreeWidgetItem *>(item);
}

} // namespace

WidgetGeneralSettings::WidgetGeneralSettings(QWidget *parent)
    : ZyTreeWidget(parent)
{
    timerStat.setInterval(kStatisticsIntervalMs);
    connect(&timerStat, &QTimer::timeout, this, &WidgetGeneralSettings::on_timerStat_timeout);
    timerStat.start();
    setAutoScroll(false);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::currentItemChanged, this, &WidgetGeneralSettings::onCurrentItemChanged);
}

WidgetGeneralSettings::~WidgetGeneralSettings()
{
    // The documentation pane may be gone already: no selection news while the rows go.
    disconnect(this, &QTreeWidget::currentItemChanged, this, &WidgetGeneralSettings::onCurrentItemChanged);
    saveExpandedState();
    statisticsSection = nullptr;
    clear();
}

void WidgetGeneralSettings::setupHeader(const QString &treeName)
{
    // Room for most captions until the operator's own widths are restored.
    header()->setDefaultSectionSize(190);
    init(tr("%nProperty|%nValue"), treeName);
    header()->setStretchLastSection(true);
    // Rows holding a slider are taller than the others.
    setUniformRowHeights(false);
}

QString WidgetGeneralSettings::sectionKey(const QString &caption)
{
    const qsizetype bracket = caption.indexOf(']');
    return bracket >= 1 ? caption.left(bracket + 1) : caption;
}

QStringList WidgetGeneralSettings::elementPath(PXRMsgElement *element)
{
    QStringList path;
    for (; element != nullptr; element = PXRMsgElementParent(element))
        path.prepend(QString::fromUtf8(PXRMsgElementName(element)));
    return path;
}

ZyTreeWidgetItem *WidgetGeneralSettings::addSection(QTreeWidgetItem *parent, const QString &caption,
                                                    PXRMsgElement *element, bool topLevelStyle, const QString &tag,
                                                    bool forceLink, const QString &linkText)
{
    QTreeWidgetItem *owner = parent != nullptr ? parent : invisibleRootItem();
    const QString key = sectionKey(caption);
    for (int i = 0; i < owner->childCount(); ++i) {
        ZyTreeWidgetItem *section = rowOf(owner->child(i));
        if (sectionKey(section->text(0)) == key) {
            section->setText(0, caption);
            markTouched(section);
            return section;
        }
    }
    auto *section = new ZyTreeWidgetItem;
    QFont font = this->font();
    font.setBold(true);
    if (topLevelStyle)
        font.setPointSizeF(font.pointSizeF() + 2);
    section->setFont(0, font);
    section->setText(0, caption);
    insertRow(owner, section);
    section->setExpanded(settings.expandedItems(viewName()).value(caption, true));
    if (!tag.isEmpty()) {
        section->setData(0, TagRole, tag);
        if (forceLink || Model::instance()->masterSensor().isLocked())
            addLink(section, tag, linkText);
    }
    section->setData(0, PathRole, elementPath(element));
    markTouched(section);
    return section;
}

void WidgetGeneralSettings::addLink(QTreeWidgetItem *section, const QString &tag, const QString &linkText)
{
    auto *label = new QLabel(this);
    label->setTextFormat(Qt::RichText);
    label->setText(QString("<a href='%1'>%2</a>").arg(linkHref(tag), linkText.toHtmlEscaped()));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() + 2);
    label->setFont(font);
    setItemWidget(section, 1, label);
    connect(label, &QLabel::linkActivated, this,
            [this](const QString &href) { editClicked(QUrl::fromPercentEncoding(href.toLatin1())); });
}

ZyTreeWidgetItem *WidgetGeneralSettings::addProperty(QTreeWidgetItem *parent, const QString &caption,
                                                     const QString &value, PXRMsgElement *element,
                                                     const char *attribute, bool markUnset)
{
    ZyTreeWidgetItem *row = nullptr;
    for (int i = 0; i < parent->childCount() && row == nullptr; ++i) {
        if (parent->child(i)->text(0) == caption)
            row = rowOf(parent->child(i));
    }
    if (row == nullptr) {
        row = new ZyTreeWidgetItem;
        row->setText(0, caption);
        insertRow(parent, row);
    }
    const bool unset = value.isEmpty() && markUnset;
    row->setText(1, unset ? tr("Not set") : value);
    row->setForeground(1, unset ? kUnsetColor : kValueColor);
    row->setData(0, PathRole, elementPath(element));
    row->setData(0, AttributeRole, attribute != nullptr ? QString::fromUtf8(attribute) : QString());
    markTouched(row);
    return row;
}

void WidgetGeneralSettings::removeRow(QTreeWidgetItem *parent, const QString &caption)
{
    QTreeWidgetItem *owner = parent != nullptr ? parent : invisibleRootItem();
    for (int i = 0; i < owner->childCount(); ++i) {
        if (owner->child(i)->text(0) == caption) {
            if (m_touched != nullptr)
                m_touched->remove(owner->child(i));
            delete owner->child(i);
            return;
        }
    }
}

void WidgetGeneralSettings::saveExpandedState()
{
    if (topLevelItemCount() == 0)
        return;
    QHash<QString, bool> expanded = settings.expandedItems(viewName());
    for (int i = 0; i < topLevelItemCount(); ++i)
        expanded[topLevelItem(i)->text(0)] = topLevelItem(i)->isExpanded();
    settings.setExpandedItems(viewName(), expanded);
}

void WidgetGeneralSettings::clearTree()
{
    saveExpandedState();
    statisticsSection = nullptr;
    clear();
}

void WidgetGeneralSettings::insertRow(QTreeWidgetItem *parent, QTreeWidgetItem *row)
{
    // During a fill: after the last row it reached there, so that a row coming back takes its place.
    int at = parent->childCount();
    while (m_touched != nullptr && at > 0 && !m_touched->contains(parent->child(at - 1)))
        --at;
    parent->insertChild(at, row);
}

void WidgetGeneralSettings::markTouched(QTreeWidgetItem *item)
{
    if (m_touched != nullptr)
        m_touched->insert(item);
}

void WidgetGeneralSettings::removeUntouched(QTreeWidgetItem *item)
{
    for (int i = item->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *row = item->child(i);
        if (m_touched->contains(row))
            removeUntouched(row);
        else
            delete row;
    }
}

void WidgetGeneralSettings::fillConfig()
{
    Model *model = Model::instance();
    PXRMsgElement *config = PXRMsgChild(model->config());
    if (config == nullptr)
        return;
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    std::optional<qint64> clockOffset;
    if (model->clockOffsetValid())
        clockOffset = model->clockOffsetMs();
    // A refill only adds and updates rows; what it did not reach shows a setting that is gone.
    QSet<QTreeWidgetItem *> touched;
    m_touched = &touched;
    ConfigTreeFill(*this).fill(config, PXRMsgChild(model->infos()), clockOffset);
    removeUntouched(invisibleRootItem());
    m_touched = nullptr;
    fitCaptions();
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

void WidgetGeneralSettings::fillInfos()
{
    clearTree();
    PXRMsgElement *infos = PXRMsgChild(Model::instance()->infos());
    if (infos == nullptr)
        return;
    statisticsSection = InfoTreeFill(*this).fill(infos);
    updateStatistics();
    fitCaptions();
}

void WidgetGeneralSettings::fitCaptions()
{
    // Captions widen their column up to a point; a longer one elides, whole in its tooltip. The
    // view's own measure sees only the rows laid out so far, so every row is measured here.
    const int kWidestCaption = 240;
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem *up = (*it)->parent(); up != nullptr; up = up->parent())
            ++depth;
        const int width = QFontMetrics((*it)->font(0)).horizontalAdvance((*it)->text(0)) + depth * indentation();
        widest = qMax(widest, width + margins);
    }
    setColumnWidth(0, qMax(columnWidth(0), qMin(widest, kWidestCaption)));
}

void WidgetGeneralSettings::updateStatistics()
{
    if (statisticsSection != nullptr)
        InfoTreeFill(*this).statistics(statisticsSection);
}

void WidgetGeneralSettings::onCurrentItemChanged(QTreeWidgetItem *current)
{
    qDebug() << "onCurrentItemChanged";
    const QStringList path = current != nullptr ? current->data(0, PathRole).toStringList() : QStringList();
    const QString attribute = current != nullptr ? current->data(0, AttributeRole).toString() : QString();
    if (MainWindowInterface *window = MainWindowInterface::instance())
        window->showDocumentation(path, attribute);
}

void WidgetGeneralSettings::editClicked(QString strDialogTag)
{
    if (strDialogTag == "stats") {
        Model::instance()->resetStatistics();
        updateStatistics();
        return;
    }
    emit openDialog(strDialogTag);
}

void WidgetGeneralSettings::on_sliderLighting_valueChanged(int value)
{
    if (auto *slider = qobject_cast<WidgetSlider *>(sender()))
        LightingTreeFill::sendPower(this, slider, value);
}

void WidgetGeneralSettings::on_timerStat_timeout()
{
    updateStatistics();
}

void WidgetGeneralSettings::on_labelClassifSave_activated(QString strLink)
{
    CameraTreeFill::saveClassification(this, PXRMsgChild(Model::instance()->config()), strLink);
}
