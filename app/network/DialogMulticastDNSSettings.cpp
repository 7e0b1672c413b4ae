// The sensor's multicast DNS announcement.
#include "DialogMulticastDNSSettings.h"
#include "ui_DialogMulticastDNSSettings.h"

#include "UrlRules.h"
#include "ZyDialogs.h"

DialogMulticastDNSSettings::DialogMulticastDNSSettings(QWidget *parent)
    : DialogSectionSettings(parent, {"network", "mDNS"}, tr("Set configuration")),
      ui(new Ui::DialogMulticastDNSSettings)
{
    ui->setupUi(this);
    binding.flag(ui->groupBoxEnable, "enable");
    // The name goes back whenever the sensor gave one, even with the announcement off.
    binding.text(ui->lineEditHostname, "hostname").with(ui->labelHostname).sentWhen(this);
    displayConfig();
}

DialogMulticastDNSSettings::~DialogMulticastDNSSettings() = default;

// Only a name the operator changed is checked: one read from the sensor goes back as it was.
bool DialogMulticastDNSSettings::inputAccepted()
{
    const SettingsBinding::Entry *hostname = binding.entry("hostname");
    if (hostname == nullptr || !hostname->present() || !hostname->touched()
        || UrlRules::isValidHostName(ui->lineEditHostname->text()))
        return true;
    ZyDialogs::critical(this, tr("mDNS"), tr("Invalid hostname: letters, digits and hyphen only."));
    return false;
}
