// The editor of one HTTP push server: its switch, URL, public certificate, message filter and
// time-out, written back as the sensor reported them.
#pragma once

#include <QWidget>

#include <memory>

#include "PXR.h"

namespace Ui {
class WidgetHttpPushServerSettings;
}

class WidgetHttpPushServerSettings : public QWidget
{
    Q_OBJECT

public:
    WidgetHttpPushServerSettings(quint32 id, QWidget *parent);
    ~WidgetHttpPushServerSettings() override;

    quint32 id() const { return m_id; }

    // Shows the server and remembers which of its attributes the sensor has.
    void readConfig(PXRMsgElement *server);
    // Writes the id, the attributes read and the certificate into an empty server element.
    void writeConfig(PXRMsgElement *server) const;
    // True when the server may be sent: a switched-on server needs a valid URL, and an operator
    // who accepts a certificate over plain HTTP.
    bool validate();

private slots:
    void on_toolButtonCertificate_clicked();
    void on_toolButtonFilter_clicked();

private:
    QString serverText(const QString &text) const;

    std::unique_ptr<Ui::WidgetHttpPushServerSettings> ui;
    quint32 m_id;
    bool m_hasEnable = false;
    bool m_hasUrl = false;
    bool m_hasCertificate = false;
    bool m_hasFilter = false;
    bool m_hasTimeout = false;
    // The time-out as stored, sent back as long as the operator leaves the spin box alone.
    qint64 m_storedTimeout = 0;
    int m_shownTimeout = 0;
};
