// The configuration tree's sections, added or updated in place from the kept configuration,
// the security state of the kept information and the sensor's clock offset.
#pragma once

#include "TreeFill.h"

#include <optional>

class ConfigTreeFill : public TreeFill
{
    Q_DECLARE_TR_FUNCTIONS(ConfigTreeFill)

public:
    explicit ConfigTreeFill(WidgetGeneralSettings &tree);

    // The offset is this machine's time minus the sensor's, when known.
    void fill(PXRMsgElement *config, PXRMsgElement *infos, std::optional<qint64> clockOffsetMs);

    // "N seconds" for a time-out given in milliseconds.
    static QString secondsText(const QString &milliseconds);

private:
    ZyTreeWidgetItem *section(QTreeWidgetItem *parent, const QString &caption, PXRMsgElement *element, bool style,
                              const QString &tag = QString());

    void date(qint64 offsetMs);
    void device(PXRMsgElement *config);
    void security(PXRMsgElement *infos);
    void modem(PXRMsgElement *config);
    void network(PXRMsgElement *config);
    void addressing(QTreeWidgetItem *section, PXRMsgElement *network);
    void wifiAndRtsp(QTreeWidgetItem *section, PXRMsgElement *network);
    void ports(QTreeWidgetItem *section, PXRMsgElement *network);
    void timeout(QTreeWidgetItem *section, PXRMsgElement *protocol);
    void webPort(QTreeWidgetItem *section, PXRMsgElement *hxdq, const QString &caption, const char *enable,
                 const char *port);
    void vlans(QTreeWidgetItem *section, PXRMsgElement *network);
    void routes(QTreeWidgetItem *section, PXRMsgElement *network);
    void servers(QTreeWidgetItem *section, PXRMsgElement *list, const char *prefix, bool fromDhcp,
                 const QString &noneText);
    void ftp(QTreeWidgetItem *section, PXRMsgElement *network);
    void unicastClients(QTreeWidgetItem *section, PXRMsgElement *network);
    void httpPush(QTreeWidgetItem *section, PXRMsgElement *network);
    bool httpPushServer(QTreeWidgetItem *servers, PXRMsgElement *server);
    void protocols(QTreeWidgetItem *section, PXRMsgElement *network);
    void database(PXRMsgElement *config);
    void io(PXRMsgElement *config);
    void slaves(PXRMsgElement *config);
    QString slaveText(PXRMsgElement *slave);
    void services(PXRMsgElement *config);
};
