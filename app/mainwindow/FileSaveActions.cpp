// The main window's save actions: the kept information, the sensor's configuration, its schema
// and the schema's HTML documentation, each written whole or not at all.
#include "FileSaveActions.h"

#include "AppSettings.h"
#include "PXRQt.h"
#include "SchemaDoc.h"
#include "SensorAnswer.h"
#include "SensorTracesSave.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QMessageBox>
#include <QSaveFile>

void FileSaveActions::saveInformation(PXRMsg *infos)
{
    // Nothing to save yet: an empty file would pass for the sensor's information.
    if (infos == nullptr) {
        localFileError(m_window, tr("No information has been received from this sensor yet."));
        return;
    }
    const QString path = askPath(QStringLiteral("SaveInformations"),
                                 tr("Choose a file to save the configuration of this sensor"),
                                 tr("PXRMsg Files (*.pxrmsg)"));
    if (path.isEmpty())
        return;
    AppSettings().setLastSaveInfosFilePath(path);
    writeFile(path, pxrMsgToByteArray(infos), tr("Error while saving the read-only informations of this sensor."));
}

void FileSaveActions::saveConfiguration()
{
    const QString path = askPath(QStringLiteral("saveConfig"), tr("Choose a file to save the configuration of this sensor"),
                                 tr("PXRMsg Files (*.pxrmsg)"));
    if (path.isEmpty())
        return;
    const SensorAnswer answer("getConfig");
    if (answer.carriesData(m_window, tr("Unable to get config")))
        writeFile(path, pxrMsgToByteArray(answer.message()), tr("Error while saving the configuration of this sensor."));
}

void FileSaveActions::saveSchema()
{
    const QString path = askPath(QStringLiteral("saveXSD"), tr("Choose a file to save the XSD of this sensor"),
                                 tr("XSD Files (*.xsd)"));
    QByteArray schema;
    if (path.isEmpty() || !fetchSchema(schema))
        return;
    writeFile(path, schema, tr("Error while saving the XSD of this sensor : unable to create file"));
}

void FileSaveActions::saveSchemaDocumentation()
{
    const QString path = askPath(QStringLiteral("saveXSD"), tr("Choose a file to save the XSD documentation of this sensor"),
                                 tr("HTML Files (*.html)"));
    QByteArray schema;
    if (path.isEmpty() || !fetchSchema(schema))
        return;
    if (!SchemaDoc::saveHtmlDoc(schema.constData(), int(schema.size()), path))
        ZyDialogs::critical(m_window, tr("Error"), tr("Documentation generation failed"), QString());
}

void FileSaveActions::saveTraces()
{
    const QString path = askPath(QStringLiteral("saveSensorTraces"), tr("Choose a file to save the traces of this sensor"),
                                 tr("TXT Files (*.txt)"));
    if (!path.isEmpty())
        SensorTracesSave(m_window).run(path);
}

void FileSaveActions::localFileError(QWidget *window, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, window->windowTitle(), text, QMessageBox::Ok, window);
    ZyModalRunner::exec(&box);
}

QString FileSaveActions::askPath(const QString &key, const QString &caption, const QString &filter) const
{
    return ZyDialogs::getSaveFileName(m_window, key, caption, filter, QString());
}

bool FileSaveActions::writeFile(const QString &path, const QByteArray &bytes, const QString &errorText) const
{
    // An empty export is a failed one; a failed write or commit leaves any older file whole.
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        localFileError(m_window, errorText);
        return false;
    }
    return true;
}

bool FileSaveActions::fetchSchema(QByteArray &schema) const
{
    const SensorAnswer answer("getXSD");
    if (!answer.carriesData(m_window, tr("Unable to get XSD")))
        return false;
    PXRMsgElement *root = answer.root();
    if (root != nullptr && PXRMsgStringEqual(PXRMsgElementName(root), "xsd"))
        schema = QByteArray(static_cast<const char *>(PXRMsgElementContent(root)), int(PXRMsgElementContentSize(root)));
    // Anything but a schema text must not be saved as the sensor's schema.
    if (schema.isEmpty())
        ZyDialogs::critical(m_window, tr("Error"), tr("Unable to get XSD"), tr("The answer holds no schema"));
    return !schema.isEmpty();
}
