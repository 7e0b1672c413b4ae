// The detail window of one passage.
#include "DialogRecognitionGroup.h"
#include "ui_DialogRecognitionGroup.h"

#include "DlgMsg.h"
#include "Model.h"
#include "MsgManager.h"
#include "PXRQt.h"
#include "RecognitionFields.h"
#include "RecognitionGroup.h"
#include "RecognitionManager.h"
#include "ZyDialogs.h"
#include "ZyTreeWidgetItem.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>

#include <algorithm>

using F = RecognitionFields;

namespace {
enum Column {
    ColDate, ColTime, ColType, ColDecision, ColContext, ColReliability, ColDirection, ColPlateSize, ColPlateAngle,
    ColOccurrence, ColBackground, ColMsg, ColSaveImage
};
// Where a row keeps the position of its message in the group's list (-1 for the speed row).
constexpr int PositionRole = Qt::UserRole + 1;

// A name proposed from sensor texts must stay a name: separators would change the folder.
QString safeName(QString name)
{
    for (QChar &c : name) {
        if (c == '/' || c == '\\' || c.category() == QChar::Other_Control)
            c = '_';
    }
    return name;
}

QString dateText(PXRMsg *message)
{
    const QDateTime date = MsgManager::getDate(message);
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd_hhmmss")) : QString();
}
// A sensor's text wider than this elides; the row's tooltip holds it whole.
const int kWidestColumn = 250;

} // namespace

DialogRecognitionGroup::DialogRecognitionGroup(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogRecognitionGroup>())
{
    ui->setupUi(this);
    ui->treeReco->init(tr("%iDate|%nTime|%nType|Decision|Context|Reliability|Direction|Plate Size|Plate Angle|"
                          "Plate Occurrence|Background colour|%nPXRMsg|%nSave image"),
                       QStringLiteral("treeDialogReco"));
    ui->treeReco->header()->setStretchLastSection(true);
    ui->checkDrawPlateRect->setChecked(ui->widgetImage->drawPlateRect());
    restoreGeometry(m_settings.dialogGeometry(QStringLiteral("DialogRecognitionGroup")));
    ui->splitter->restoreState(m_settings.splitterRecognitionGroupState());
    const QList<int> sizes = ui->splitter->sizes();
    if (sizes.size() > 1 && sizes.at(1) < 10) {
        // Before the first showing the parts have no size yet: share the window's height.
        const int total = sizes.at(0) + sizes.at(1) > 0 ? sizes.at(0) + sizes.at(1) : height();
        ui->splitter->setSizes({total / 2, total - total / 2});
    }
    ui->widgetImageContext->hide();
    ui->labelReco->hide();
    ui->labelContext->hide();
    ui->widgetSignature->hide();
    for (RecognitionManager *manager : {&Model::instance()->masterRecognitions(), &Model::instance()->slaveRecognitions()}) {
        connect(manager, &RecognitionManager::recognitionGroupsdeleted, this,
                &DialogRecognitionGroup::onRecognitionGroupsdeleted);
        connect(manager, &RecognitionManager::recognitionGroupChanged, this,
                &DialogRecognitionGroup::onRecognitionGroupChanged);
    }
}

DialogRecognitionGroup::~DialogRecognitionGroup() = default;

const RecognitionGroup *DialogRecognitionGroup::group() const
{
    if (m_groupId == 0)
        return nullptr;
    const RecognitionGroup *found = Model::instance()->masterRecognitions().groupById(m_groupId);
    return found != nullptr ? found : Model::instance()->slaveRecognitions().groupById(m_groupId);
}

void DialogRecognitionGroup::clear()
{
    m_groupId = 0;
    ui->treeReco->clear();
    m_messages.clear();
    m_speed = SharedMsg();
    on_treeReco_currentItemChanged(nullptr);
    ui->labelSpeed->hide();
    ui->widgetSignature->hide();
}

void DialogRecognitionGroup::setRecognitionGroup(quint32 groupId)
{
    clear();
    m_groupId = groupId;
    if (const RecognitionGroup *found = group())
        fill(*found);
    else
        m_groupId = 0;
}

void DialogRecognitionGroup::onRecognitionGroupChanged(const RecognitionGroup &changed)
{
    if (m_groupId == 0 || changed.id() != m_groupId)
        return;
    // A message that joins in front moves the others: refill, and keep the operator's row.
    QTreeWidgetItem *currentItem = ui->treeReco->currentItem();
    const SharedMsg current(messageOf(currentItem));
    const bool onSpeed = currentItem != nullptr && !current;
    setRecognitionGroup(changed.id());
    if (!current && !onSpeed)
        return;
    for (int row = 0; row < ui->treeReco->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = ui->treeReco->topLevelItem(row);
        if (messageOf(item) == current.get()) {
            ui->treeReco->setCurrentItem(item);
            return;
        }
    }
}

void DialogRecognitionGroup::fill(const RecognitionGroup &shown)
{
    ui->widgetSignature->hide();
    const QList<PXRMsg *> messages = shown.allMessages();
    for (PXRMsg *message : messages)
        m_messages.emplace_back(message);
    m_speed = SharedMsg(shown.speed());
    QTreeWidgetItem *first = nullptr;
    for (int position = 0; position < messages.size(); ++position) {
        auto *item = new ZyTreeWidgetItem();
        ui->treeReco->addTopLevelItem(item);
        if (fillRow(item, messages.at(position), position) && first == nullptr)
            first = item;
    }
    ui->labelSpeed->setVisible(shown.hasSpeed());
    if (shown.hasSpeed())
        fillSpeed(shown.speed());
    ui->treeReco->fitColumns(kWidestColumn);
    ui->treeReco->setCurrentItem(first);
    if (first == nullptr)
        on_treeReco_currentItemChanged(nullptr);
}

bool DialogRecognitionGroup::fillRow(ZyTreeWidgetItem *item, PXRMsg *message, int position)
{
    enum class Values { None, Decision, Classification, Signature };
    static const struct {
        const char *type;
        const char *caption;
        Values values;
        bool selectFirst;
    } kinds[] = {
        {"new", QT_TR_NOOP("New"), Values::None, false},
        {"triggerResult_decision", QT_TR_NOOP("Trigger result"), Values::Decision, true},
        {"triggerResult_noPlate", QT_TR_NOOP("Trigger result"), Values::None, true},
        {"anpr_decision", QT_TR_NOOP("ANPR Decision"), Values::Decision, true},
        {"dgpr_decision", QT_TR_NOOP("DGPR Decision"), Values::Decision, true},
        {"decision_dg", QT_TR_NOOP("DGPR Decision"), Values::Decision, true},
        {"classification_decision", QT_TR_NOOP("Classification Decision"), Values::Classification, true},
        {"signature_decision", QT_TR_NOOP("Signature Decision"), Values::Signature, true},
        {"end", QT_TR_NOOP("End"), Values::None, false},
    };
    item->setData(ColType, PositionRole, position);
    const QDateTime date = MsgManager::getDate(message);
    if (date.isValid()) {
        item->setValue(ColDate, date, QStringLiteral("dd/MM/yyyy"));
        item->setValue(ColTime, date, QStringLiteral("HH:mm:ss.zzz"));
    }
    const QString root = F::name(F::root(message));
    PXRMsgElement *element = F::first(message);
    const QString name = F::name(element);
    const QString type = name == "decision" || name == "noPlate" ? root + "_" + name : name;
    addLinks(item, ColMsg, {QStringLiteral("<a href='%1-view'>%2</a>").arg(position).arg(tr("View..."))});
    if (type.endsWith("_decision")) {
        QStringList links{QStringLiteral("<a href='%1-reco'>%2</a>").arg(position).arg(tr("Recognition"))};
        if (PXRMsgElementFirstChild(element, "contextJpeg") != nullptr)
            links << QStringLiteral("<a href='%1-context'>%2</a>").arg(position).arg(tr("Context"));
        addLinks(item, ColSaveImage, links);
    }
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto &k) { return type == k.type; });
    if (kind == std::end(kinds)) {
        item->setText(ColType, element != nullptr ? root + " / " + name : root);
        return false;
    }
    item->setText(ColType, tr(kind->caption));
    if (kind->values == Values::Decision) {
        fillDecisionColumns(item, message);
    } else if (kind->values == Values::Classification) {
        item->setText(ColDecision,
                      tr("class %1 (%2)").arg(F::text(element, "classNumber"), F::text(element, "vehicleType")));
        item->setText(ColReliability, QStringLiteral("%1%").arg(F::text(element, "reliability")));
    } else if (kind->values == Values::Signature) {
        item->setText(ColDecision, F::text(element, "plate"));
        showSignatureLinks(element, position);
    }
    return kind->selectFirst;
}

void DialogRecognitionGroup::showSignatureLinks(PXRMsgElement *element, int position)
{
    if (PXRMsgElementFirstChild(element, "signatureData") == nullptr)
        return;
    const QString link = QStringLiteral("<a href=\"%1\">%2</a>");
    ui->widgetSignature->show();
    ui->labelSaveSignature->setText(link.arg(position).arg(tr("Save signature...")));
    ui->labelCompareSignature->setText(link.arg(position).arg(tr("Compare signature with...")));
}

void DialogRecognitionGroup::fillDecisionColumns(ZyTreeWidgetItem *item, PXRMsg *message)
{
    PXRMsgElement *element = F::first(message);
    item->setText(ColDecision, F::text(element, "plate"));
    item->setText(ColContext, F::text(element, "context"));
    QString reliability;
    if (!F::text(element, "reliability").isEmpty())
        reliability = QStringLiteral("%1%").arg(F::text(element, "reliability"));
    PXRMsgElement *perCharacter = PXRMsgElementFirstChild(element, "reliabilityPerCharacter");
    if (perCharacter != nullptr && PXRMsgElementFirstChild(perCharacter, "char") != nullptr) {
        reliability += QStringLiteral(" ( ");
        for (PXRMsgElement *c = PXRMsgElementFirstChild(perCharacter, "char"); c != nullptr;
             c = PXRMsgElementNextChild(perCharacter, c, "char")) {
            const QString value = F::text(c, "reliability");
            reliability += value.isEmpty() ? QStringLiteral("? ") : QStringLiteral("%1% ").arg(value);
        }
        reliability += ')';
    }
    item->setText(ColReliability, reliability);
    if (F::has(element, "direction"))
        item->setText(ColDirection, F::text(element, "direction"));
    if (F::has(element, "width") || F::has(element, "height")) {
        item->setText(ColPlateSize, QStringLiteral("%1x%2")
                                        .arg(Model::scaleCoordinate(message, "width", true))
                                        .arg(Model::scaleCoordinate(message, "height", false)));
    }
    if (F::has(element, "sinus"))
        item->setText(ColPlateAngle, QString::number(F::angleDegrees(element), 'f', 1));
    if (F::has(element, "plateOccurences"))
        item->setText(ColOccurrence, F::text(element, "plateOccurences"));
    if (F::has(element, "plateBackground"))
        item->setText(ColBackground, F::text(element, "plateBackground"));
}

void DialogRecognitionGroup::fillSpeed(PXRMsg *speedMessage)
{
    PXRMsgElement *speed = PXRMsgElementFirstChild(F::root(speedMessage), "speed");
    QStringList parts;
    if (F::has(speed, "instantSpeed_km_h"))
        parts << tr("%1 km/h").arg(F::text(speed, "instantSpeed_km_h"));
    if (F::has(speed, "interdistance_m"))
        parts << tr("interdistance : %1 m").arg(F::text(speed, "interdistance_m"));
    if (F::has(speed, "interdistance_ms"))
        parts << tr("interdistance : %1 ms").arg(F::text(speed, "interdistance_ms"));
    ui->labelSpeed->setText(parts.join(QStringLiteral(" - ")));
    auto *item = new ZyTreeWidgetItem();
    ui->treeReco->addTopLevelItem(item);
    item->setData(ColType, PositionRole, -1);
    item->setText(ColType, tr("Speed"));
    item->setText(ColDecision, tr("%1 km/h").arg(F::text(speed, "instantSpeed_km_h")));
    item->setText(ColReliability, QStringLiteral("%1 %").arg(F::text(speed, "reliability_speed")));
    addLinks(item, ColMsg, {QStringLiteral("<a href='SPEED-pxrmsg'>%1</a>").arg(tr("Save..."))});
}

void DialogRecognitionGroup::addLinks(QTreeWidgetItem *item, int column, const QStringList &links)
{
    auto *label = new QLabel(links.join(QStringLiteral(", ")));
    label->setTextFormat(Qt::RichText);
    connect(label, &QLabel::linkActivated, this, &DialogRecognitionGroup::onSaveLinkClicked);
    ui->treeReco->setItemWidget(item, column, label);
}

PXRMsg *DialogRecognitionGroup::messageOf(QTreeWidgetItem *item) const
{
    const int position = item != nullptr ? item->data(ColType, PositionRole).toInt() : -1;
    return position >= 0 && size_t(position) < m_messages.size() ? m_messages[size_t(position)].get() : nullptr;
}

void DialogRecognitionGroup::on_treeReco_currentItemChanged(QTreeWidgetItem *current)
{
    ui->widgetImageContext->hide();
    ui->labelReco->hide();
    ui->labelContext->hide();
    PXRMsg *message = messageOf(current);
    if (message == nullptr) {
        ui->widgetImage->setRecognition(nullptr);
        ui->checkDrawPlateRect->hide();
        return;
    }
    ui->checkDrawPlateRect->show();
    ui->widgetImage->setRecognition(message);
    if (ui->widgetImageContext->setContext(message)) {
        ui->widgetImageContext->show();
        ui->labelReco->show();
        ui->labelContext->show();
    }
}

void DialogRecognitionGroup::on_checkDrawPlateRect_toggled(bool checked)
{
    ui->widgetImage->setDrawPlateRect(checked);
}

void DialogRecognitionGroup::onRecognitionGroupsdeleted(const QList<quint32> &listGroupId)
{
    if (m_groupId != 0 && listGroupId.contains(m_groupId))
        clear();
}

PXRMsg *DialogRecognitionGroup::linkedMessage(const QString &position)
{
    if (group() == nullptr) {
        clear();
        return nullptr;
    }
    if (position == QLatin1String("SPEED"))
        return m_speed.get();
    bool ok = false;
    const uint index = position.toUInt(&ok, 10);
    return ok && index < m_messages.size() ? m_messages[index].get() : nullptr;
}

void DialogRecognitionGroup::onSaveLinkClicked(const QString &strUrl)
{
    const qsizetype dash = strUrl.indexOf('-');
    const QString action = dash < 0 ? QString() : strUrl.mid(dash + 1);
    PXRMsg *message = linkedMessage(strUrl.left(dash));
    if (message == nullptr)
        return;
    if (action == QLatin1String("pxrmsg")) {
        saveFile(pxrMsgToByteArray(message), dateText(message) + "_" + F::name(F::first(message)),
                 QStringLiteral("RecognitionGroupReco"), tr("Save a PXRMsg"), tr("PXRMsg (*.pxrmsg)"));
    } else if (action == QLatin1String("view")) {
        DlgMsg viewer(this);
        viewer.exec(message, QString());
    } else if (action == QLatin1String("reco")) {
        saveContent(message, "jpeg", tr("There is no image in this decision"), QStringLiteral("_decision"),
                    QStringLiteral("RecognitionGroupImage"), tr("Save an image"), tr("Jpeg image (*.jpg)"));
    } else if (action == QLatin1String("context")) {
        saveContent(message, "contextJpeg", tr("There is no context image in this decision"),
                    QStringLiteral("_context"), QStringLiteral("RecognitionGroupImage"), tr("Save an image"),
                    tr("Jpeg image (*.jpg)"));
    }
}

void DialogRecognitionGroup::on_labelSaveSignature_linkActivated(const QString &strI)
{
    if (PXRMsg *message = linkedMessage(strI)) {
        saveContent(message, "signatureData", tr("There is no signature data"), QStringLiteral("_signature"),
                    QStringLiteral("RecognitionGroupSignature"), tr("Save a signature"), tr("Signature (*.sign)"));
    }
}

void DialogRecognitionGroup::on_labelCompareSignature_linkActivated(const QString &)
{
    // Comparing signatures is not offered yet: the link is only shown.
}

void DialogRecognitionGroup::saveContent(PXRMsg *message, const char *child, const QString &missing,
                                         const QString &suffix, const QString &key, const QString &caption,
                                         const QString &filter)
{
    PXRMsgElement *element = F::first(message);
    if (element == nullptr || PXRMsgElementFirstChild(element, child) == nullptr) {
        ZyDialogs::critical(this, tr("Error"), missing, QString());
        return;
    }
    saveFile(F::content(element, child), dateText(message) + "_" + F::text(element, "plate") + suffix, key, caption,
             filter);
}

void DialogRecognitionGroup::saveFile(const QByteArray &bytes, const QString &name, const QString &key,
                                      const QString &caption, const QString &filter)
{
    const QString folder = m_settings.lastSaveRecoDir();
    const QString proposed = folder.isEmpty() ? safeName(name) : folder + "/" + safeName(name);
    const QString path = ZyDialogs::getSaveFileName(this, key, caption, filter, proposed);
    if (path.isEmpty())
        return;
    m_settings.setLastSaveRecoDir(path.left(path.lastIndexOf('/')));
    QFile file(path);
    // A short write (a full disk) must not pass for a saved file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        ZyDialogs::critical(this, tr("Error"), tr("Unable to open file for writing"), QString());
}

void DialogRecognitionGroup::closeEvent(QCloseEvent *event)
{
    m_settings.setDialogGeometry(QStringLiteral("DialogRecognitionGroup"), saveGeometry());
    m_settings.setSplitterRecognitionGroupState(ui->splitter->saveState());
    event->ignore();
    hide();
}
