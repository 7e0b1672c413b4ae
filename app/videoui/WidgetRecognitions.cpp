// The "Detections" page.
#include "WidgetRecognitions.h"
#include "ui_WidgetRecognitions.h"

#include "DateTimeOrder.h"
#include "DialogRecognitionGroup.h"
#include "Model.h"
#include "RecognitionManager.h"
#include "RecognitionStats.h"
#include "VideoPlayer.h"
#include "WidgetRecognitionPreview.h"
#include "WidgetVideoPlayer.h"
#include "ZyTreeWidgetItem.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// "Now" of the recognitions, the clock their groups were created and aged by.
QDateTime now()
{
    return Model::instance()->masterRecognitions().now();
}
} // namespace

WidgetRecognitions::WidgetRecognitions(QWidget *parent)
    : QWidget(parent), m_dialog(new DialogRecognitionGroup(this)), ui(std::make_unique<Ui::WidgetRecognitions>())
{
    ui->setupUi(this);
    m_container = new QWidget();
    m_layout = new QVBoxLayout(m_container);
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Expanding));
    QPalette palette = m_container->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_container->setPalette(palette);
    m_container->setAutoFillBackground(true);
    ui->scrollArea->setWidget(m_container);
    ui->labelClear->setText(QStringLiteral("<a href='foo'>%1</a>").arg(tr("Clear List")));
    ui->treeStat->init(tr("%nProperty|%nAverage Value|Acceptable Range"), QStringLiteral("treeRecognitionsStat"));
    ui->treeStat->header()->setStretchLastSection(true);
    // Widths kept from another language may be too narrow for this one's captions.
    QHeaderView *header = ui->treeStat->header();
    for (int section = 0; section < header->count(); ++section)
        header->resizeSection(section, qMax(header->sectionSize(section), header->sectionSizeHint(section)));
    ui->checkShowDetails->setChecked(true);
    ui->checkShowDetails->hide();
}

WidgetRecognitions::~WidgetRecognitions()
{
    m_settings.setShowDetails(ui->checkShowDetails->isChecked());
    deleteLines();
    ui->treeStat->clear();
    m_dialog->clear();
    m_dialog->hide();
}

void WidgetRecognitions::setVideoPlayer(WidgetVideoPlayer *player)
{
    m_videoPlayer = player;
}

void WidgetRecognitions::onRecognitionGroupChanged(const RecognitionGroup &group)
{
    if (WidgetRecognitionPreview *line = m_lines.value(group.id()))
        updatePreview(line, group);
    else
        addPreview(group);
}

void WidgetRecognitions::onRecognitionGroupsdeleted(const QList<quint32> &listGroupId)
{
    for (quint32 id : listGroupId) {
        if (WidgetRecognitionPreview *line = m_lines.take(id))
            delete line;
    }
}

void WidgetRecognitions::addPreview(const RecognitionGroup &group)
{
    auto *line = new WidgetRecognitionPreview();
    m_layout->insertWidget(0, line);
    connect(line, &WidgetRecognitionPreview::timestampClicked, this, &WidgetRecognitions::onTimestampClicked);
    connect(line, &WidgetRecognitionPreview::viewRecognitionGroupClicked, this,
            &WidgetRecognitions::onViewRecognitionGroupClicked);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(m_layout->count() % 2 == 0 ? QPalette::Base : QPalette::AlternateBase);
    updatePreview(line, group);
}

bool WidgetRecognitions::isViewable(const RecognitionGroup &group) const
{
    const QDateTime first = group.firstTime();
    if (!first.isValid())
        return false;
    const VideoPlayer &player = Model::instance()->masterPlayer();
    if (player.state() == VideoPlayer::Live)
        return first > now().addSecs(-60);
    QDateTime from, to;
    player.playbackRange(from, to);
    return DateTimeOrder::before(from, first) && DateTimeOrder::before(first, to);
}

void WidgetRecognitions::updatePreview(WidgetRecognitionPreview *line, const RecognitionGroup &group)
{
    line->update(group, ui->checkShowDetails->isChecked(), isViewable(group));
    m_lines.insert(group.id(), line);
}

void WidgetRecognitions::deleteLines()
{
    qDeleteAll(m_lines);
    m_lines.clear();
}

void WidgetRecognitions::refresh()
{
    deleteLines();
    Model *model = Model::instance();
    QList<RecognitionGroup> groups = model->masterRecognitions().groups() + model->slaveRecognitions().groups();
    std::stable_sort(groups.begin(), groups.end(), [](const RecognitionGroup &a, const RecognitionGroup &b) {
        return DateTimeOrder::before(a.creationTime(), b.creationTime());
    });
    for (const RecognitionGroup &group : groups)
        addPreview(group);
}

void WidgetRecognitions::updateViewLinks()
{
    if (Model::instance()->masterPlayer().state() != VideoPlayer::Live)
        return;
    const QDateTime limit = now().addMSecs(-qint64(m_settings.videoBufferDurationMs()));
    for (WidgetRecognitionPreview *line : std::as_const(m_lines))
        line->setViewable(DateTimeOrder::before(limit, line->time()));
}

void WidgetRecognitions::clear()
{
    deleteLines();
    ui->treeStat->clear();
    m_dialog->clear();
    m_dialog->hide();
}

void WidgetRecognitions::on_labelClear_linkActivated()
{
    const QDateTime limit = now().addSecs(5);
    Model::instance()->masterRecognitions().purgeBefore(limit);
    Model::instance()->slaveRecognitions().purgeBefore(limit);
    refresh();
}

void WidgetRecognitions::on_checkShowDetails_stateChanged()
{
    refresh();
}

void WidgetRecognitions::onTimestampClicked(const QDateTime &dt)
{
    if (m_videoPlayer)
        m_videoPlayer->seekToTimestamp(dt);
}

void WidgetRecognitions::onViewRecognitionGroupClicked(quint32 uGroupId)
{
    m_dialog->setRecognitionGroup(uGroupId);
    m_dialog->show();
    m_dialog->raise();
}

void WidgetRecognitions::updateStats()
{
    RecognitionStats stats;
    ui->treeStat->setVisible(true);
    const auto add = [&stats](PXRMsg *decision) { stats.add(decision); };
    Model::instance()->masterRecognitions().accumulateStats(add);
    Model::instance()->slaveRecognitions().accumulateStats(add);
    if (stats.count() == 0) {
        ui->treeStat->clear();
        return;
    }
    setStatRow(0, tr("Reliability"), stats.averageReliability(), 80, 100);
    setStatRow(1, tr("Plate width"), stats.averagePlateWidth(), 100, 160);
    setStatRow(2, tr("Plate angle"), stats.averagePlateAngle(), 0, 2);
    setStatRow(3, tr("Plate occurence"), stats.averageOccurrence(), 4, 100);
}

void WidgetRecognitions::setStatRow(int row, const QString &caption, float value, double minimum, double maximum)
{
    while (ui->treeStat->topLevelItemCount() < row + 1)
        ui->treeStat->addTopLevelItem(new ZyTreeWidgetItem());
    auto *item = static_cast<ZyTreeWidgetItem *>(ui->treeStat->topLevelItem(row));
    item->setValue(0, caption, QString());
    item->setValue(1, QString::number(value, 'f', 1), QString());
    item->setValue(2, QStringLiteral("%1-%2").arg(QString::number(minimum, 'g'), QString::number(maximum, 'g')),
                   QString());
    item->setForeground(1, value < minimum || value > maximum ? Qt::red : Qt::black);
}
