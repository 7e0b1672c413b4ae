// Downloads the sensor's trace files into one text file: the current traces, the five old
// files from the oldest, then the firmware-update log.
#include "SensorTracesSave.h"

#include "FileSaveActions.h"
#include "SensorAnswer.h"
#include "ZyDialogs.h"

namespace {

const char *const kExtraLog = "/data/var/log/firmware-update.log";
constexpr int kOldFiles = 5;

QByteArray attributeBytes(PXRMsgElement *element, const char *name, const char *fallback)
{
    const char *value = PXRMsgElementAttributeValue(element, name);
    return QByteArray(value != nullptr ? value : fallback);
}

} // namespace

void SensorTracesSave::run(const QString &path)
{
    const SensorAnswer current("getTraces");
    if (!current.carriesData(m_window, tr("Unable to get Traces")))
        return;
    m_file.setFileName(path);
    const QString createError = tr("Error while saving the traces of this sensor : unable to create file");
    if (!m_file.open(QIODevice::WriteOnly)) {
        FileSaveActions::localFileError(m_window, createError);
        return;
    }
    writeCurrent(current);
    writeOldFiles();
    writeExtraLog();
    // A failed write or commit must not pass for saved traces.
    if (!m_file.commit())
        FileSaveActions::localFileError(m_window, createError);
}

void SensorTracesSave::writeCurrent(const SensorAnswer &answer)
{
    if (answer.hasChild("currentExecution_current")) {
        if (answer.hasChild("previousExecution"))
            writeSection("=== PREVIOUS EXECUTION ===\n\n", answer.childContent("previousExecution"));
        m_file.write("=== CURRENT EXECUTION ===\n\n");
        m_file.write(answer.childContent("currentExecution_old"));
        m_file.write(answer.childContent("currentExecution_current"));
        return;
    }
    PXRMsgElement *root = answer.root();
    PXRMsgElement *trace = root != nullptr ? PXRMsgElementFirstChild(root, "trace") : nullptr;
    if (trace == nullptr)
        ZyDialogs::critical(m_window, tr("Error"), tr("Unknown PXRMsg trace format"), QString());
    for (; trace != nullptr; trace = PXRMsgElementNextChild(root, trace, "trace"))
        m_file.write("[" + attributeBytes(trace, "severity", "5") + "] " + attributeBytes(trace, "text", "") + "\r\n");
}

void SensorTracesSave::writeOldFiles()
{
    for (int n = kOldFiles; n >= 1; --n) {
        const QString file = QStringLiteral("old%1").arg(n);
        const SensorAnswer answer("getTraces", file);
        if (!answer.carriesData(m_window, tr("Unable to get old Traces")))
            return;
        if (answer.hasChild("previousExecution"))
            writeSection(QStringLiteral("=== PREVIOUS EXECUTION %1 ===\n\n").arg(file).toUtf8(),
                         answer.childContent("previousExecution"));
    }
}

void SensorTracesSave::writeExtraLog()
{
    const SensorAnswer answer("getTraces", QString::fromLatin1(kExtraLog));
    if (answer.carriesData(m_window, tr("Unable to get extra file Traces")) && answer.hasChild("extraTraces"))
        writeSection(QStringLiteral("=== EXTRA TRACES %1 ===\n\n").arg(QString::fromLatin1(kExtraLog)).toUtf8(),
                     answer.childContent("extraTraces"));
}

void SensorTracesSave::writeSection(const QByteArray &header, const QByteArray &content)
{
    m_file.write(header);
    m_file.write(content);
    m_file.write("\n\n");
}
