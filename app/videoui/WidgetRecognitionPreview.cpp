// One line of the recognition list.
#include "WidgetRecognitionPreview.h"
#include "ui_WidgetRecognitionPreview.h"

#include "Model.h"
#include "RecognitionFields.h"
#include "RecognitionGroup.h"

#include <QTextDocumentFragment>

using F = RecognitionFields;

namespace {
qint64 dateLink(PXRMsg *message)
{
    return F::number64(F::root(message), "date");
}

qint64 timeLink(const QDateTime &time)
{
    return time.isValid() ? time.toMSecsSinceEpoch() : 0;
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

bool named(PXRMsgElement *element, const char *name)
{
    return element != nullptr && PXRMsgStringEqual(PXRMsgElementName(element), name);
}

QString sizeSuffix(PXRMsg *message)
{
    PXRMsgElement *element = F::first(message);
    if (!F::has(element, "width") || !F::has(element, "height"))
        return QString();
    return QStringLiteral(" - %1x%2")
        .arg(Model::scaleCoordinate(message, "width", true))
        .arg(Model::scaleCoordinate(message, "height", false));
}

// "plate (context) - reliability%" and the size.
QString plateText(PXRMsg *message)
{
    PXRMsgElement *element = F::first(message);
    return QStringLiteral("%1 (%2) - %3%")
               .arg(esc(F::text(element, "plate")), esc(F::text(element, "context")),
                    esc(F::text(element, "reliability"))) +
           sizeSuffix(message);
}
} // namespace

WidgetRecognitionPreview::WidgetRecognitionPreview(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::WidgetRecognitionPreview>())
{
    ui->setupUi(this);
}

WidgetRecognitionPreview::~WidgetRecognitionPreview() = default;

void WidgetRecognitionPreview::update(const RecognitionGroup &group, bool details, bool viewable)
{
    m_time = group.firstTime();
    m_entries.clear();
    const quint16 from = group.plateFrom();
    ui->labelFrom->setText(from == RecognitionGroup::PlateFromSlave    ? tr("(slave)")
                           : from == RecognitionGroup::PlateFromMaster ? tr("(master)")
                                                                       : QString());
    PXRMsgElement *speed = group.hasSpeed() ? PXRMsgElementFirstChild(F::root(group.speed()), "speed") : nullptr;
    // The speed is the sensor's text: a long one must leave room for the rest of the line.
    const QFontMetrics metrics = ui->labelSpeed->fontMetrics();
    const QString kmh = metrics.elidedText(F::text(speed, "instantSpeed_km_h"), Qt::ElideRight,
                                           metrics.horizontalAdvance(QStringLiteral("000000")));
    ui->labelSpeed->setText(F::has(speed, "instantSpeed_km_h") ? QStringLiteral("%1 km/h").arg(kmh) : QString());
    ui->labelViewInPlayer->setText(QStringLiteral("<a href='%1'>%2</a>").arg(group.id()).arg(tr("View")));
    if (group.isTriggered())
        describeTriggers(group);
    else if (group.hasIoState())
        describeIoState(group);
    else if (details)
        describeDetails(group);
    else
        describeDecisions(group);
    setViewable(viewable);
}

void WidgetRecognitionPreview::setViewable(bool viewable)
{
    m_viewable = viewable;
    showEntries();
}

void WidgetRecognitionPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showEntries();
}

void WidgetRecognitionPreview::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showEntries();
}

void WidgetRecognitionPreview::addEntry(qint64 link, const QString &time, const QString &text, const QString &session)
{
    const QString tagged = session.isNull() ? text : QStringLiteral("[%1] %2").arg(session, text);
    m_entries.append({link, time, tagged, QTextDocumentFragment::fromHtml(tagged).toPlainText()});
}

// A sensor text may be thousands of characters long: the line keeps the dock's width and its
// "View" link, and the text part of a too long entry is elided.
void WidgetRecognitionPreview::showEntries()
{
    QLabel *label = ui->labelDescription;
    const QFontMetrics metrics = label->fontMetrics();
    const int width = label->contentsRect().width();
    QStringList lines;
    for (const Entry &entry : std::as_const(m_entries)) {
        QString text = entry.text;
        if (label->isVisible()) {
            const int room = qMax(0, width - metrics.horizontalAdvance(entry.time + u' '));
            // Every character is at least a pixel wide: measure no more than fills the room.
            const QString head = entry.plain.left(room + 1);
            if (metrics.horizontalAdvance(head) > room)
                text = metrics.elidedText(head, Qt::ElideRight, room).toHtmlEscaped();
        }
        lines << (m_viewable ? QStringLiteral("<a href='%1'>%2</a> %3").arg(QString::number(entry.link), entry.time, text)
                             : QStringLiteral("%1 %2").arg(entry.time, text));
    }
    label->setText(lines.join(QStringLiteral("<br/>")));
}

void WidgetRecognitionPreview::describeTriggers(const RecognitionGroup &group)
{
    const QString format = QStringLiteral("hh:mm:ss.zzz");
    if (PXRMsg *off = group.secondTriggerAnswer()) {
        addEntry(timeLink(group.secondTriggerAnswerTime()), group.secondTriggerAnswerTime().toString(format),
                 tr("Trigger off (ID=%1)").arg(esc(F::text(F::root(off), "triggerId"))));
    }
    if (PXRMsg *result = group.triggerResult())
        addEntry(dateLink(result), group.timeOf(result).toString(format), decisionText(result));
    if (PXRMsg *on = group.triggerAnswer()) {
        PXRMsgElement *root = F::root(on);
        const QString id = esc(F::text(root, "triggerId"));
        addEntry(timeLink(group.triggerAnswerTime()), group.triggerAnswerTime().toString(format),
                 F::has(root, "timeout") ? tr("Trigger on, timeout=%2ms (ID=%1)").arg(id, esc(F::text(root, "timeout")))
                                         : tr("Trigger on (ID=%1)").arg(id));
    }
}

void WidgetRecognitionPreview::describeIoState(const RecognitionGroup &group)
{
    PXRMsg *io = group.ioState();
    const bool on = PXRMsgStrToBool(PXRMsgElementAttributeValue(F::root(io), "state")) != 0;
    addEntry(dateLink(io), group.creationTime().toString(QStringLiteral("hh:mm:ss.zzz")),
             tr("IO state changed (%1)").arg(on ? tr("on") : tr("off")));
}

void WidgetRecognitionPreview::describeDetails(const RecognitionGroup &group)
{
    const QList<PXRMsg *> messages = group.allMessages();
    for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
        PXRMsg *message = *it;
        QString text;
        if (message == group.newMessage()) {
            text = tr("New");
        } else if (message == group.endMessage()) {
            text = tr("End");
            PXRMsgElement *end = PXRMsgElementFirstChild(F::root(message), "end");
            if (F::has(end, "countingTrajectory"))
                text += " - " + esc(F::text(end, "countingTrajectory"));
        } else {
            text = decisionText(message);
        }
        addEntry(dateLink(message), group.timeOf(message).toString(QStringLiteral("hh:mm:ss.zzz")), text,
                 QString::number(F::number(F::root(message), "session")));
    }
}

void WidgetRecognitionPreview::describeDecisions(const RecognitionGroup &group)
{
    const QList<PXRMsg *> decisions = group.decisions();
    if (decisions.isEmpty()) {
        addEntry(group.sensorDateMs(), group.firstTime().toString(QStringLiteral("HH:mm:ss")),
                 tr("Detection without decision"));
        return;
    }
    for (auto it = decisions.crbegin(); it != decisions.crend(); ++it) {
        addEntry(dateLink(*it), group.timeOf(*it).toString(QStringLiteral("hh:mm:ss")), decisionText(*it),
                 QString::number(F::number(F::root(*it), "session")));
    }
}

QString WidgetRecognitionPreview::decisionText(PXRMsg *message)
{
    PXRMsgElement *root = F::root(message);
    PXRMsgElement *element = F::first(message);
    const bool hasPlate = !F::text(element, "plate").isEmpty();
    if (named(root, "anpr") && (named(element, "decision") || named(element, "decision_dg")) && !hasPlate)
        return tr("Vehicle");
    if (named(root, "anpr") && named(element, "decision_dg")) {
        return QStringLiteral("<span style='color:#FF6A00;'>%1 (DG) - %3%</span>")
                   .arg(esc(F::text(element, "plate")), esc(F::text(element, "reliability"))) +
               sizeSuffix(message);
    }
    if (named(root, "triggerResult")) {
        const QString id = esc(F::text(root, "triggerId"));
        return named(element, "decision") ? QStringLiteral("TriggerResult (ID=%1) : ").arg(id) + plateText(message)
                                          : QStringLiteral("TriggerResult (ID=%1): noPlate").arg(id);
    }
    if ((named(root, "anpr") || named(root, "dgpr")) && named(element, "decision"))
        return plateText(message);
    if (named(root, "vehicle") && named(element, "anpr_decision"))
        return plateText(message);
    if (named(root, "vehicle") && named(element, "classification_decision")) {
        return QStringLiteral("Class %1 (%2) - %3%")
            .arg(esc(F::text(element, "classNumber")), esc(F::text(element, "vehicleType")),
                 esc(F::text(element, "reliability")));
    }
    return QStringLiteral("%1 / %2").arg(esc(F::name(root)), esc(F::name(element)));
}

void WidgetRecognitionPreview::on_labelDescription_linkActivated(const QString &strLink)
{
    bool ok = false;
    const quint64 ms = strLink.toULongLong(&ok, 10);
    emit timestampClicked(QDateTime::fromMSecsSinceEpoch(ok ? qint64(ms) : 0));
}

void WidgetRecognitionPreview::on_labelViewInPlayer_linkActivated(const QString &strLink)
{
    bool ok = false;
    const quint32 id = strLink.toUInt(&ok, 10);
    if (ok)
        emit viewRecognitionGroupClicked(id);
}
