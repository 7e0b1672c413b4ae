// The configuration tree's lighting sources: LED boards with their live power sliders and
// external projectors with their pulse rows, and the sending of a slider's change.
#include "LightingTreeFill.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "Sensor.h"
#include "WidgetGeneralSettings.h"
#include "WidgetSlider.h"
#include "ZyLumatrekTr.h"
#include "ZyTreeWidgetItem.h"

namespace {

bool lockedThroughUs()
{
    return Model::instance()->masterSensor().isLocked();
}

} // namespace

LightingTreeFill::LightingTreeFill(WidgetGeneralSettings &tree)
    : TreeFill(tree)
{
}

void LightingTreeFill::fill(PXRMsgElement *config)
{
    PXRMsgElement *lightings = child(config, "lightings");
    if (lightings == nullptr)
        return;
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Lighting sources"), lightings, true, "lightings", false,
                                              tr("Edit"));
    if (has(lightings, "shutterSynchronization"))
        m_tree.addProperty(top, tr("Shutter synchronization"),
                           ZyLumatrekTr::phaseLabel(PXRMsgElementAttributeValue(lightings, "shutterSynchronization")),
                           lightings, "shutterSynchronization", true);
    forEachChild(lightings, nullptr, [&](PXRMsgElement *lighting) {
        const bool isLed = PXRMsgStringEqual(PXRMsgElementName(lighting), "led") != 0;
        if (!isLed && !PXRMsgStringEqual(PXRMsgElementName(lighting), "projector"))
            return;
        const QString name = QString::fromLatin1(PXRMsgElementName(lighting));
        const QString key = name + '=' + text(lighting, "id");
        ZyTreeWidgetItem *section = m_tree.addSection(top, Model::instance()->lightingLabel(key), lighting, true,
                                                      key + ':' + name, false, tr("Edit"));
        if (!isLed) {
            row(section, lighting, {tr("Enabled"), "enabled", Kind::YesNo});
            if (has(lighting, "enabled") && !flag(lighting, "enabled"))
                return;
        }
        if (has(lighting, "synchronizedWithCamera"))
            m_tree.addProperty(section, tr("Synchronize with"),
                               Model::instance()->cameraLabel(text(lighting, "synchronizedWithCamera")), lighting,
                               "synchronizedWithCamera", true);
        row(section, lighting, {tr("Bracketing"), "bracketing", Kind::OnOff});
        const bool bracketing = flag(lighting, "bracketing");
        if (isLed)
            led(section, lighting, bracketing);
        else
            projector(section, lighting, bracketing);
    });
}

void LightingTreeFill::led(QTreeWidgetItem *section, PXRMsgElement *led, bool bracketing)
{
    int minimum = 0;
    int maximum = 0;
    if (!Model::instance()->ledCurrentRange(PXRMsgElementAttributeValue(led, "id"), &minimum, &maximum))
        minimum = maximum = 0;
    row(section, led, {tr("Eco mode"), "ecoMode", Kind::OnOff});
    const QString power = tr("Power");
    const QString high = tr("Power high value");
    const QString low = tr("Power low value");
    if (has(led, "power")) {
        m_tree.removeRow(section, bracketing ? power : high);
        powerRow(section, led, bracketing ? high : power, "power", minimum, maximum);
    }
    if (!bracketing)
        m_tree.removeRow(section, low);
    else if (has(led, "powerLowBracketing"))
        powerRow(section, led, low, "powerLowBracketing", minimum, maximum);
}

void LightingTreeFill::powerRow(QTreeWidgetItem *section, PXRMsgElement *led, const QString &caption,
                                const char *attribute, int minimum, int maximum)
{
    ZyTreeWidgetItem *item = m_tree.addProperty(section, caption, " ", led, attribute, true);
    // Reused rather than replaced: a slider whose change is being sent is still on the stack
    // while the sensor's push refills the tree.
    auto *slider = qobject_cast<WidgetSlider *>(m_tree.itemWidget(item, 1));
    if (slider == nullptr) {
        slider = new WidgetSlider(&m_tree, item);
        m_tree.setItemWidget(item, 1, slider);
    }
    item->setData(1, Qt::SizeHintRole, QSize(-1, slider->sizeHint().height()));
    QObject::disconnect(slider, &WidgetSlider::valueChanged, &m_tree,
                        &WidgetGeneralSettings::on_sliderLighting_valueChanged);
    slider->setRange(minimum, maximum);
    item->setData(0, WidgetGeneralSettings::LightingIdRole, text(led, "id"));
    item->setData(0, WidgetGeneralSettings::LightingAttributeRole, QString::fromLatin1(attribute));
    item->setData(0, WidgetGeneralSettings::LightingElementRole, QString::fromLatin1(PXRMsgElementName(led)));
    slider->setValue(int(std::strtol(PXRMsgElementAttributeValue(led, attribute), nullptr, 10)));
    slider->setEnabled(lockedThroughUs());
    QObject::connect(slider, &WidgetSlider::valueChanged, &m_tree,
                     &WidgetGeneralSettings::on_sliderLighting_valueChanged);
}

void LightingTreeFill::projector(QTreeWidgetItem *section, PXRMsgElement *projector, bool bracketing)
{
    const QString high = tr("Pulse delay high value");
    m_tree.removeRow(section, high);
    m_tree.removeRow(section, tr("Pulse delay low value"));
    m_tree.removeRow(section, tr("Pulse delay"));
    // Only current sensors pulse twice while bracketing.
    const bool twoDelays = bracketing && Model::instance()->masterSensor().detectedProtocol() == "FYB";
    row(section, projector, {twoDelays ? high : tr("Pulse delay"), "delay", Kind::Format, QString::fromUtf8("%1 µs")});
    if (bracketing)
        row(section, projector, {tr("Pulse delay low value"), "delayLowBracketing"});
    row(section, projector, {tr("Pulse width"), "width", Kind::Format, QString::fromUtf8("%1 µs")});
}

void LightingTreeFill::sendPower(WidgetGeneralSettings *tree, WidgetSlider *slider, int value)
{
    auto *item = static_cast<QTreeWidgetItem *>(slider->userData());
    const QByteArray id = item->data(0, WidgetGeneralSettings::LightingIdRole).toString().toLatin1();
    const QByteArray attribute = item->data(0, WidgetGeneralSettings::LightingAttributeRole).toString().toLatin1();
    const QByteArray element = item->data(0, WidgetGeneralSettings::LightingElementRole).toString().toLatin1();

    ConfigRequest request("setConfig");
    request.path({{"config"}, {"lightings"}, {element, id}}).set(attribute.constData(), unsigned(value));
    request.send(tree, tr("Configuration"));
}
