// The editor of one FTP server of the sensor's FTP output.
#include "WidgetFTPServerSettings.h"
#include "ui_WidgetFTPServerSettings.h"

#include "ConfigElement.h"
#include "ConfigRequest.h"
#include "FileNameTokens.h"
#include "Model.h"
#include "ZyDialogs.h"

namespace {

// What the test carries of the server's settings; retries and context files stay out.
const char *const kTestAttributes[] = {"protocol", "address", "login", "password", "port"};

} // namespace

WidgetFTPServerSettings::WidgetFTPServerSettings(QWidget *parent) : QWidget(parent), ui(new Ui::WidgetFTPServerSettings)
{
    ui->setupUi(this);
    ui->comboProtocol->fill({"config", "network", "ftp", "servers", "server0"}, "protocol");
    // The order in which the attributes are sent.
    binding.choice(ui->comboProtocol, "protocol");
    binding.text(ui->edtAddress, "address");
    binding.text(ui->edtLogin, "login");
    binding.text(ui->edtPassword, "password");
    binding.number(ui->spinPort, "port");
    binding.number(ui->spinRetryCount, "retryCount");
    binding.number(ui->spinRetryDelay, "retryDelay_ms");
    binding.text(ui->edtFile, "fileName");
    binding.text(ui->edtContext, "contextFileName");
    binding.flag(ui->checkContext, "exportContext");
}

WidgetFTPServerSettings::~WidgetFTPServerSettings() = default;

void WidgetFTPServerSettings::readConfig(PXRMsgElement *server)
{
    binding.load(server);
}

void WidgetFTPServerSettings::writeConfig(const ConfigElement &server) const
{
    binding.write(server);
}

void WidgetFTPServerSettings::fillTestRequest(const ConfigElement &test) const
{
    // Written as a save would write them, then only the test's part taken.
    PXRMsgElement *scratch = PXRMsgElementCreate("server");
    if (scratch == nullptr)
        return;
    writeConfig(ConfigElement(scratch));
    for (const char *attribute : kTestAttributes)
        if (const char *value = PXRMsgElementAttributeValue(scratch, attribute))
            test.set(attribute, value);
    const bool fileUsable = PXRMsgElementAttributeValue(scratch, "fileName") != nullptr;
    PXRMsgElementDestroy(scratch);
    if (fileUsable && Model::instance()->schemaDoc().hasAttribute({"testFTP"}, "fileName"))
        test.set("fileName", expandFileSyntax(ui->edtFile->text()));
}

QString WidgetFTPServerSettings::expandFileSyntax(const QString &pattern)
{
    return expandFileNameTokens(pattern, QDateTime::currentDateTimeUtc());
}

void WidgetFTPServerSettings::showExample(const QString &pattern)
{
    ZyDialogs::information(this, tr("Example"), expandFileSyntax(pattern));
}

void WidgetFTPServerSettings::on_btnTest_clicked()
{
    ConfigRequest request("testFTP");
    fillTestRequest(request.root());
    if (request.send(this, tr("Test FTP")))
        ZyDialogs::information(this, tr("Success"), tr("The sensor is able to connect to this FTP server"));
}

void WidgetFTPServerSettings::on_labelFileExample_linkActivated(const QString &)
{
    showExample(ui->edtFile->text());
}

void WidgetFTPServerSettings::on_labelContextExample_linkActivated(const QString &)
{
    showExample(ui->edtContext->text());
}
