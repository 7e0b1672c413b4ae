// The HTTP servers the sensor pushes its messages to.
#include "DialogHttpPushSettings.h"
#include "ui_DialogHttpPushSettings.h"

#include "ConfigRequest.h"
#include "DecimalPrefix.h"
#include "Model.h"
#include "WidgetHttpPushServerSettings.h"
#include "ZyLogs.h"

#include <limits>

DialogHttpPushSettings::DialogHttpPushSettings(QWidget *parent)
    : Dialog_Settings(parent), ui(new Ui::DialogHttpPushSettings)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "network", "httpPush"};
    displayConfig();
}

DialogHttpPushSettings::~DialogHttpPushSettings() = default;

void DialogHttpPushSettings::displayConfig()
{
    PXRMsgElement *network = PXRMsgElementFirstChild(PXRMsgChild(model->config()), "network");
    PXRMsgElement *httpPush = PXRMsgElementFirstChild(network, "httpPush");
    PXRMsgElement *servers = PXRMsgElementFirstChild(httpPush, "servers");
    for (PXRMsgElement *server = PXRMsgElementFirstChild(servers, "server"); server != nullptr;
         server = PXRMsgElementNextChild(servers, server, "server")) {
        const char *idText = PXRMsgElementAttributeValue(server, "id");
        if (idText == nullptr) {
            ZyLogs::log(3, QStringLiteral("Got an HttpPush server configuration without ID"));
            continue;
        }
        // An id without digits would go back as 0, next to a real server 0.
        const std::optional<qint64> id = decimalPrefix(idText);
        if (!id || *id < 0 || *id > std::numeric_limits<quint32>::max()) {
            ZyLogs::log(3, QStringLiteral("Got an HttpPush server configuration with an invalid ID"));
            continue;
        }
        addEditor(quint32(*id), server);
    }
}

// Shown in id order above the spacer, whatever the configuration's order.
void DialogHttpPushSettings::addEditor(quint32 id, PXRMsgElement *server)
{
    auto *editor = new WidgetHttpPushServerSettings(id, this);
    editor->setObjectName(QStringLiteral("server%1").arg(id));
    int position = 0;
    for (const WidgetHttpPushServerSettings *shown : std::as_const(editors))
        position += shown->id() <= id ? 1 : 0;
    editors.append(editor);
    ui->verticalLayout->insertWidget(position, editor);
    editor->readConfig(server);
}

void DialogHttpPushSettings::on_buttonBox_accepted()
{
    for (WidgetHttpPushServerSettings *editor : std::as_const(editors))
        if (!editor->validate())
            return;
    ConfigRequest request("setConfig");
    PXRMsgElement *servers = request.path({{"config"}, {"network"}, {"httpPush"}, {"servers"}}).get();
    if (servers == nullptr)
        return;
    for (const WidgetHttpPushServerSettings *editor : std::as_const(editors)) {
        PXRMsgElement *server = PXRMsgElementCreate("server");
        if (server == nullptr || !PXRMsgElementAddChild(servers, server)) {
            PXRMsgElementDestroy(server);
            return;
        }
        editor->writeConfig(server);
    }
    sendRequest(request, tr("Set configuration"));
}
