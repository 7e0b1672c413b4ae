// The page shown while no sensor is connected: the sensors heard on the network, the address,
// port, options and secured choices, and the Connect button that hands them to the main window.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

class QTreeWidgetItem;

namespace Ui {
class WidgetConnect;
}

class WidgetConnect : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetConnect(QWidget *parent = nullptr);
    ~WidgetConnect() override;

    void setLastSensor(const QString &address, quint16 port, quint16 portSSL, const QString &options);
    // Checks the address, remembers the choices and the sensor, then emits connect.
    void connectToSensor();
    // Replaces the main window's discovery object by a new, started one and lists afresh.
    void restartDiscovery();

signals:
    // Named as the main window's slot expects it; inside this class QObject::connect is spelt out.
    void connect(QString strAddress, uint16_t uPort, QString strOptions, bool bSecured, bool bIgnoreSSLErrors,
                 bool bUseCertificate, QString strCertificateFile, QString strKeyFile);

public slots:
    void on_btnConnect_clicked();
    void on_btnConnectReadOnly_clicked();
    void on_treeDiscover_itemClicked(QTreeWidgetItem *current, int column);
    void on_treeDiscover_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_btnOptionHelp_clicked();
    void on_checkSecured_stateChanged(int state);
    void on_btnCertificate_clicked();

private:
    void initDiscoveryList();
    void showPortOfMode();
    void refreshCertificateField();

    Ui::WidgetConnect *ui;
    quint16 uPlainPort = 10001;
    quint16 uSecuredPort = 12001;
};
