// The base of the dialogs that edit one element of the sensor's network, protocol, service or
// modem configuration: the element found by its path under the kept configuration, the
// dialog's own check of what the operator typed, then the element written under the same path.
#pragma once

#include "Dialog_Settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QLineEdit;

class DialogSectionSettings : public Dialog_Settings
{
    Q_OBJECT

protected:
    // The path below "config"; the answer is judged under the title.
    DialogSectionSettings(QWidget *parent, QList<QByteArray> path, QString answerTitle);

    // "config" and the path, for the documentation and the schema's enumerations and ranges.
    QStringList schemaPath() const;
    // Shows the element in the bound controls; without it they and OK stay disabled.
    void displayConfig();
    // The switch, URL and credentials that the web protocols' forms share under the same names;
    // the URL is then checked before sending.
    template <typename Form> void bindWebClient(Form &form)
    {
        binding.flag(form.groupBoxEnable, "enabled");
        binding.text(form.edtURL, "url").with(form.labelHost);
        binding.text(form.edtUsername, "username").with(form.labelHost_2);
        binding.text(form.edtPassword, "password").with(form.labelHost_4);
        m_webUrl = form.edtURL;
    }
    // The dialog's own check before sending; false after telling the operator why.
    virtual bool inputAccepted();
    // A URL field counts only while usable: false after a critical box when its text is not a
    // URL the sensor takes.
    bool urlAccepted(const QLineEdit *edit, const QString &title, const QString &text);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    PXRMsgElement *section() const;

    QList<QByteArray> m_path;
    QString m_answerTitle;
    const QLineEdit *m_webUrl = nullptr;
};
