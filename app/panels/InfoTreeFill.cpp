// The information tree's sections, built anew from the kept information, and the rows of its
// live statistics section.
#include "InfoTreeFill.h"

#include "Model.h"
#include "PXR.h"
#include "WidgetGeneralSettings.h"
#include "ZyLumatrekTr.h"
#include "ZyTreeWidgetItem.h"

#include <QColor>
#include <QDate>

namespace {

const QColor kRed(255, 0, 0);
const quint32 kNoSample = 0xFFFFFFFF;

} // namespace

InfoTreeFill::InfoTreeFill(WidgetGeneralSettings &tree)
    : TreeFill(tree)
{
}

ZyTreeWidgetItem *InfoTreeFill::fill(PXRMsgElement *infos)
{
    PXRMsgElement *sensor = child(infos, "sensor");
    if (sensor != nullptr)
        device(sensor);
    modem(infos);
    temperature(infos);
    if (sensor != nullptr)
        status(sensor);
    versions(sensor, child(infos, "anpr"));
    applications(infos);
    network(infos);
    rvd(infos);
    cameras(infos);
    lightings(infos);
    security(infos);
    counters(sensor);
    return m_tree.addSection(nullptr, tr("Statistics"), nullptr, true, "stats", true, tr("Reset"));
}

void InfoTreeFill::device(PXRMsgElement *sensor)
{
    rows(m_tree.addSection(nullptr, tr("Device"), nullptr, true), sensor,
         {{tr("MAC Address"), "macAddress"},
          {tr("Locked"), "locked", Kind::YesNo},
          {tr("Config modifications forbidden"), "setConfigForbidden", Kind::YesNo},
          {tr("Type"), "type"},
          {tr("Product version"), "productVersion"},
          {tr("Serial number"), "serial"},
          {tr("Supports POE"), "POE", Kind::YesNo}});
}

void InfoTreeFill::modem(PXRMsgElement *infos)
{
    PXRMsgElement *modem = child(infos, "modem");
    if (modem == nullptr)
        return;
    rows(m_tree.addSection(nullptr, tr("Modem"), nullptr, true), modem,
         {{tr("Type"), "type"},
          {tr("IMEI"), "imei"},
          {tr("Status"), "status"},
          {tr("Address"), "address"},
          {tr("Network"), "network"},
          {tr("Signal"), "signal"}});
}

void InfoTreeFill::temperature(PXRMsgElement *infos)
{
    PXRMsgElement *temperature = child(infos, "temperature");
    if (temperature == nullptr)
        return;
    QString value;
    if (has(temperature, "temperature_C"))
        value = ZyLumatrekTr::temperatureLabel(text(temperature, "temperature_C").toInt());
    if (has(temperature, "temperatureCPU_C"))
        value += tr(" (CPU: %1)").arg(ZyLumatrekTr::temperatureLabel(text(temperature, "temperatureCPU_C").toInt()));
    m_tree.addProperty(m_tree.addSection(nullptr, tr("Device"), nullptr, true), tr("Temperature"), value, temperature,
                       "temperature_C", true);
}

void InfoTreeFill::status(PXRMsgElement *sensor)
{
    ZyTreeWidgetItem *section = m_tree.addSection(nullptr, tr("Status"), sensor, true);
    section->setData(0, WidgetGeneralSettings::AttributeRole, QString("status"));
    // One row per part, in order: equal parts are separate rows, so they are not looked up.
    const QStringList parts = text(sensor, "status").split('|', Qt::KeepEmptyParts);
    for (const QString &part : parts) {
        auto *row = new ZyTreeWidgetItem;
        row->setText(0, part);
        section->addChild(row);
        if (part.contains("ERROR"))
            row->setRowForeground(kRed);
    }
    rows(m_tree.addSection(nullptr, tr("Device"), nullptr, true), sensor,
         {{tr("Total reboots"), "reboots"}, {tr("Unexpected reboots"), "unexpectedReboots"}});
}

void InfoTreeFill::versions(PXRMsgElement *sensor, PXRMsgElement *anpr)
{
    if (sensor != nullptr)
        rows(m_tree.addSection(nullptr, tr("Versions"), nullptr, true), sensor,
             {{tr("Firmware"), "firmwareVersion"},
              {tr("Carrier board"), "carrierboardVersion"},
              {tr("LEDs"), "ledsVersion"},
              {tr("OS"), "osVersion"}});
    if (anpr != nullptr)
        row(m_tree.addSection(nullptr, tr("Versions"), nullptr, true), anpr, {tr("ANPR Engine version"), "version"});
}

void InfoTreeFill::applications(PXRMsgElement *infos)
{
    PXRMsgElement *applications = child(infos, "applications");
    if (applications == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Applications"), nullptr, true);
    const QString address = QString::fromUtf8(PXRGetAddress(Model::instance()->masterSensor().handle()));
    forEachChild(applications, nullptr, [&](PXRMsgElement *application) {
        ZyTreeWidgetItem *section =
            m_tree.addSection(top, QString::fromUtf8(PXRMsgElementName(application)), application, true);
        const char *version = PXRMsgElementAttributeValue(application, "version");
        if (version == nullptr || PXRMsgStringEqual(version, "N/A")) {
            m_tree.addProperty(section, tr("Not installed"), QString(), application, "version", true);
            return;
        }
        row(section, application, {tr("Version"), "version"});
        if (has(application, "url"))
            m_tree.addProperty(section, tr("URL"), QString("http://%1/%2").arg(address, text(application, "url")),
                               application, "url", true);
    });
}

void InfoTreeFill::network(PXRMsgElement *infos)
{
    PXRMsgElement *network = child(infos, "network");
    if (network == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Network"), network, true);
    if (PXRMsgElement *wifi = child(network, "interfaceWifi"))
        rows(m_tree.addSection(top, tr("Wifi"), wifi, true), wifi,
             {{tr("MAC address"), "macAddress"}, {tr("Working"), "connected", Kind::YesNo}});
}

void InfoTreeFill::rvd(PXRMsgElement *infos)
{
    PXRMsgElement *rvd = child(child(infos, "services"), "rvd");
    if (rvd == nullptr)
        return;
    ZyTreeWidgetItem *section = m_tree.addSection(nullptr, tr("RVD"), rvd, true);
    const QString caption = tr("Performance validation");
    if (flag(rvd, "performanceValidationActivated") && flag(rvd, "performanceValidationStarted"))
        m_tree.addProperty(section, caption, tr("Recording"), rvd, "performanceValidationStarted", true);
    else
        m_tree.addProperty(section, caption, value(rvd, {caption, "performanceValidationActivated", Kind::Activated}),
                           rvd, "performanceValidationActivated", true);
}

void InfoTreeFill::cameras(PXRMsgElement *infos)
{
    PXRMsgElement *cameras = child(infos, "cameras");
    const uint32_t count = cameras != nullptr ? PXRMsgElementChildCount(cameras, "camera") : 0;
    if (count == 1) {
        PXRMsgElement *only = child(cameras, "camera");
        camera(m_tree.addSection(nullptr, tr("Camera"), only, true), only);
    } else if (count > 1) {
        ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Cameras"), cameras, true);
        forEachChild(cameras, "camera", [&](PXRMsgElement *each) {
            camera(m_tree.addSection(top, tr("Camera %1").arg(text(each, "id")), each, true), each);
        });
    }
}

void InfoTreeFill::camera(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    rows(section, camera,
         {{tr("Model"), "cameraModel"},
          {tr("Resolution"), "size"},
          {tr("Framerate"), "fps"},
          {tr("Supports IR Cut filter"), "hasIRCutFilter", Kind::YesNo},
          {tr("Filter"), "filter"},
          {tr("Supports Flip"), "hasFlip", Kind::YesNo}});
    PXRMsgElement *algorithms = child(camera, "enabledAlgorithms");
    if (algorithms == nullptr)
        return;
    ZyTreeWidgetItem *list = m_tree.addSection(section, tr("Algorithms"), algorithms, false);
    forEachChild(algorithms, nullptr, [&](PXRMsgElement *algorithm) {
        QString state = " ";
        if (has(algorithm, "initialized"))
            state = flag(algorithm, "initialized") ? tr("Initialized") : tr("Not initialized");
        m_tree.addProperty(list, QString::fromUtf8(PXRMsgElementName(algorithm)), state, algorithm, nullptr, true);
    });
}

void InfoTreeFill::lightings(PXRMsgElement *infos)
{
    PXRMsgElement *lightings = child(infos, "lightings");
    if (lightings == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Lightings"), lightings, true);
    Model *model = Model::instance();
    forEachChild(lightings, "led", [&](PXRMsgElement *led) {
        rows(m_tree.addSection(top, model->lightingLabel("led=" + text(led, "id")), led, true), led,
             {{tr("Model"), "ledModel"}, {tr("Color mode"), "color"}, {tr("Version"), "version"}});
    });
    forEachChild(lightings, "projector", [&](PXRMsgElement *projector) {
        row(m_tree.addSection(top, model->lightingLabel("projector=" + text(projector, "id")), projector, true),
            projector, {tr("Model"), "ledModel"});
    });
}

void InfoTreeFill::security(PXRMsgElement *infos)
{
    PXRMsgElement *security = child(infos, "security");
    if (security == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Security"), security, true);
    if (PXRMsgElement *certificate = child(security, "certificate"))
        this->certificate(top, certificate);
    rows(top, security,
         {{tr("Lock password"), "lockPasswordNeeded", Kind::YesNo}, {tr("Crypted plates"), "rsaCrypted", Kind::YesNo}});
    if (has(security, "rsaCrypted"))
        m_tree.addProperty(top, tr("Plates encryption key hint"), text(security, "rsaHint"), security, "rsaHint", true);
    PXRMsgElement *dot1x = child(security, "IEEE8021X");
    if (dot1x == nullptr)
        return;
    ZyTreeWidgetItem *section = m_tree.addSection(top, tr("802.1X"), dot1x, false);
    const char *method = PXRMsgElementAttributeValue(dot1x, "authentication");
    if (method == nullptr || PXRMsgStringEqual(method, "none")) {
        m_tree.addProperty(section, tr("Authentication method"), tr("None (disabled)"), dot1x, "authentication", true);
        return;
    }
    row(section, dot1x, {tr("Authentication method"), "authentication"});
    certificate(section, dot1x);
}

void InfoTreeFill::certificate(QTreeWidgetItem *section, PXRMsgElement *element)
{
    rows(section, element,
         {{tr("Certificate common name"), "commonName"}, {tr("Certificate organization name"), "organizationName"}});
    validity(section, element, tr("Certificate validity : from"), "validityFrom", 1);
    validity(section, element, tr("Certificate validity : to"), "validityTo", -1);
}

// The row is red when the date lies on the given side of today (1 after, -1 before).
void InfoTreeFill::validity(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption,
                            const char *attribute, int redSide)
{
    if (!has(element, attribute))
        return;
    const QDate date = QDate::fromString(text(element, attribute), "yyyy-MM-dd");
    // A date the sensor wrote otherwise is shown as it came, uncoloured.
    const QString shown = date.isValid() ? date.toString(tr("dd/MM/yyyy")) : text(element, attribute);
    ZyTreeWidgetItem *row = m_tree.addProperty(section, caption, shown, element, attribute, true);
    const QDate today = QDate::currentDate();
    if (date.isValid() && (redSide > 0 ? date > today : date < today))
        row->setRowForeground(kRed);
}

void InfoTreeFill::counters(PXRMsgElement *sensor)
{
    PXRMsgElement *counters = child(sensor, "technicalCounters");
    if (counters == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Technical counters"), nullptr, true);
    for (uint32_t i = 0; i < PXRMsgElementAttributeCount(counters); ++i) {
        const char *name = PXRMsgElementAttributeName(counters, i);
        const QString value = text(counters, name);
        if (value != "0")
            m_tree.addProperty(top, QString::fromUtf8(name), value, counters, name, true);
    }
}

void InfoTreeFill::statistics(QTreeWidgetItem *section)
{
    Model *model = Model::instance();
    const auto number = [](auto value) { return QString::number(value); };
    const quint32 smallest = quint32(model->minVideoSize());
    const std::pair<QString, QString> rows[] = {
        {tr("Msg drops"), number(quint32(model->masterSensor().messageDrops()))},
        {tr("Average video packet size"), QString("%1 bytes").arg(number(model->averageVideoSize()))},
        {tr("Min video packet size"), smallest == kNoSample ? QString("N/A") : QString("%1 bytes").arg(smallest)},
        {tr("Max video packet size"), QString("%1 bytes").arg(number(model->maxVideoSize()))},
        {tr("Max video frame duration"), QString("%1 ms").arg(number(model->maxVideoInterval()))},
        {tr("Min video frame duration"), QString("%1 ms").arg(number(model->minVideoInterval()))},
        {tr("Average video frame duration"), QString("%1 ms").arg(number(model->averageVideoInterval()))},
        {tr("Delay for New"), QString("%1 ms").arg(number(model->averageNewLatency()))},
        {tr("Delay for Decision"), QString("%1 ms").arg(number(model->averageDecisionLatency()))},
        {tr("Delay for End"), QString("%1 ms").arg(number(model->averageEndLatency()))},
    };
    for (const auto &[caption, value] : rows)
        m_tree.addProperty(section, caption, value, nullptr, nullptr, true);
}
