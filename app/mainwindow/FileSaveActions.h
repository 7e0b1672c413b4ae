// The main window's save actions: the kept information, the sensor's configuration, its schema
// and the schema's HTML documentation, each written whole or not at all.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include "PXR.h"

class QWidget;

class FileSaveActions
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    explicit FileSaveActions(QWidget *window) : m_window(window) {}

    // The information message the window keeps; null while none has arrived.
    void saveInformation(PXRMsg *infos);
    void saveConfiguration();
    void saveSchema();
    void saveSchemaDocumentation();
    void saveTraces();

    // The critical box about a local file, titled with the window's title.
    static void localFileError(QWidget *window, const QString &text);

private:
    QString askPath(const QString &key, const QString &caption, const QString &filter) const;
    // Replaces the file with the bytes; false after the error box with the text.
    bool writeFile(const QString &path, const QByteArray &bytes, const QString &errorText) const;
    // The schema text of a getXSD answer; false after the error box when there is none.
    bool fetchSchema(QByteArray &schema) const;

    QWidget *m_window;
};
