// Bridges between PXR messages and Qt: sensor time stamps and readable log dumps.
#include "PXRQt.h"

#include "ZyLogs.h"
#include "ZyLogsUnit.h"

#include <QString>

namespace {

// Secrets are told by name whatever its case: PINs, pass phrases, passwords and any secret.
bool isSecret(const char *pcszName)
{
    const QString name = QString::fromUtf8(pcszName).toLower();
    return name == "pin" || name.contains("password") || name.contains("secret") || name.contains("phrase");
}

QString elementLine(PXRMsgElement *psElement, const QString &prefix)
{
    QString line = QString("%1%2").arg(prefix, QString::fromUtf8(PXRMsgElementName(psElement)));
    if (PXRMsgElementContentSize(psElement) > 0)
        line += " (has binary data) ";
    const uint32_t count = PXRMsgElementAttributeCount(psElement);
    if (count > 0)
        line += " - ";
    for (uint32_t i = 0; i < count; ++i) {
        const char *name = PXRMsgElementAttributeName(psElement, i);
        const QString shownName = QString::fromUtf8(name);
        if (isSecret(name))
            line += QString(" %1=XXXXX ").arg(shownName);
        else
            line += QString(" %1='%2' ").arg(shownName, QString::fromUtf8(PXRMsgElementAttributeValue(psElement, name)));
    }
    return line;
}

void pxrMsgLogElement(PXRMsgElement *psElement, const QString &prefix, ZyLogsUnit *unit)
{
    const QString line = elementLine(psElement, prefix);
    if (unit)
        unit->log(7, line);
    else
        ZyLogs::log(7, line);
    for (PXRMsgElement *child = PXRMsgElementFirstChild(psElement, nullptr); child;
         child = PXRMsgElementNextChild(psElement, child, nullptr))
        pxrMsgLogElement(child, prefix + "...", unit);
}

} // namespace

QDateTime pxrDateToDateTime(const char *pcszDate)
{
    const qint64 milliseconds = QString::fromLatin1(pcszDate).toLongLong(nullptr, 10);
    return QDateTime::fromMSecsSinceEpoch(milliseconds);
}

void pxrMsgLog(PXRMsg *psMsg, ZyLogsUnit *unit)
{
    PXRMsgElement *root = psMsg ? PXRMsgChild(psMsg) : nullptr;
    if (root)
        pxrMsgLogElement(root, QString(), unit);
}
