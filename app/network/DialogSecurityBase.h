// What the four security dialogs share: the sensor's security state from the kept information,
// the certificate summary, one setSecurity request built by the dialog and then either sent
// ("Set") or saved as a message file ("Save as PXRMsg..."), and the reading of its files.
#pragma once

#include "AppSettings.h"
#include "ConfigRequest.h"
#include "Dialog_Settings.h"

#include <optional>

class QLabel;
class QLineEdit;

class DialogSecurityBase : public Dialog_Settings
{
    Q_OBJECT

public:
    // The key under which the dialog remembers its saved message file.
    DialogSecurityBase(QWidget *parent, AppSettings::SecurityPath savedFileKey);
    ~DialogSecurityBase() override;

    // The request the operator's entries make; nothing after a box telling why.
    virtual std::optional<ConfigRequest> buildRequest() = 0;

    // The certificate's summary labels, in the order name, organization, from, to.
    struct CertificateLabels
    {
        QLabel *commonName;
        QLabel *organizationName;
        QLabel *from;
        QLabel *to;
    };
    // Fills them from the element; nothing happens without one. A start date after today or an
    // end date before today is shown red.
    static void showCertificate(PXRMsgElement *certificate, const CertificateLabels &labels);

protected slots:
    void on_btnSet_clicked();
    void on_labelSave_linkActivated(const QString &link);
    void on_buttonBox_rejected();

protected:
    // The "security" element of the kept information, or null.
    PXRMsgElement *securityInfo() const;
    // Shows the sensor's text as it is: its markup is not ours to render.
    static void showPlainText(QLabel *label, const char *utf8);
    // The field's file; nothing after the error box.
    std::optional<QByteArray> readField(const QLineEdit *field, const QString &error);
    // A new child of the parent holding the bytes.
    static void addContent(PXRMsgElement *parent, const char *child, const QByteArray &bytes);
    // Reads the field's file into a new child of the parent; false after the error box.
    bool addFile(PXRMsgElement *parent, const char *child, const QLineEdit *field, const QString &error);
    // Writes the request as a message file for its owner alone; false after the error box.
    bool saveRequest(const ConfigRequest &request, const QString &path);

private:
    AppSettings::SecurityPath m_savedFileKey;
};
