// Bridges between PXR messages and Qt: wire-form byte arrays, sensor time stamps, readable log dumps.
#include "PXRQt.h"

#include "ZyLogs.h"
#include "ZyLogsUnit.h"

#include <QString>

#include <cstring>

namespace {

struct ImportCursor
{
    const QByteArray *bytes;
    qsizetype position;
};

int pxrMsgExportSink(const void *pData, uint32_t u32Length, void *pUser)
{
    static_cast<QByteArray *>(pUser)->append(static_cast<const char *>(pData), qsizetype(u32Length));
    return 1;
}

// Hands out what is left; once nothing is, an error, so a truncated message fails at once.
int32_t pxrMsgImportSource(void *pDestination, uint32_t u32MaxLength, void *pUser)
{
    auto *cursor = static_cast<ImportCursor *>(pUser);
    const qsizetype left = cursor->bytes->size() - cursor->position;
    if (left <= 0)
        return -1;
    const qsizetype count = qMin<qsizetype>(left, qsizetype(qMin<uint32_t>(u32MaxLength, INT32_MAX)));
    std::memcpy(pDestination, cursor->bytes->constData() + cursor->position, size_t(count));
    cursor->position += count;
    return int32_t(count);
}

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

QByteArray pxrMsgToByteArray(PXRMsg *psMsg)
{
    // A failed export may have written part of the message: none of it is kept.
    QByteArray bytes;
    if (!psMsg || !PXRMsgExport(psMsg, pxrMsgExportSink, &bytes))
        return QByteArray();
    return bytes;
}

PXRMsg *pxrMsgFromByteArray(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return nullptr;
    PXRMsg *psMsg = PXRMsgCreate();
    if (!psMsg)
        return nullptr;
    ImportCursor cursor{&bytes, 0};
    if (!PXRMsgImport(psMsg, pxrMsgImportSource, &cursor)) {
        PXRMsgDestroy(psMsg);
        return nullptr;
    }
    return psMsg;
}

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
