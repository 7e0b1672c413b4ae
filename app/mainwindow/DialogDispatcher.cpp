#include "DialogDispatcher.h"

#include "MainWindowInterface.h"
#include "NetworkChangeReport.h"
#include "ZyModalRunner.h"

#include <QStringList>

namespace {

DialogRoute dialog(const char *key, const char *name, bool takesId = false, const char *module = nullptr)
{
    return {key, name, false, takesId, module};
}

DialogRoute action(const char *key)
{
    return {key, key, true, false, nullptr};
}

} // namespace

void DialogDispatcher::splitTag(const QString &tag, QString *id, QString *key)
{
    const QStringList parts = tag.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    // Anything but key or id:key yields a key no route carries.
    if (parts.size() == 2) {
        *id = parts.at(0);
        *key = parts.at(1);
    } else {
        id->clear();
        *key = tag;
    }
}

const std::vector<DialogRoute> &DialogDispatcher::routes()
{
    // The first matching key wins, so the order is kept as it is.
    static const std::vector<DialogRoute> table = {
        dialog("device", "DialogDeviceSettings"),
        dialog("network", "DialogNetworkSettings"),
        dialog("ftp", "DialogFTPSettings"),
        dialog("nedapGenericBadge", "DialogNedapSettings"),
        dialog("cameras", "DialogCamerasSettings"),
        dialog("stream", "DialogVideoStreamSettings", true),
        action("recording_start"),
        action("save_video_buffer"),
        dialog("anpr", "DialogANPRSettings", true),
        dialog("dgpr", "DialogDGPRSettings", true),
        dialog("classification", "DialogClassification", true),
        dialog("enslavement", "DialogEnslavementSettings", true),
        dialog("autoExposure", "DialogAutoExposureSettings", true),
        dialog("anprocr", "DialogOCRSettings", true, "anpr"),
        dialog("anprtrigger", "DialogTriggerSettings", true, "anpr"),
        dialog("anpravar", "DialogAVARSettings", true),
        dialog("dgprtrigger", "DialogTriggerSettings", true, "dgpr"),
        dialog("dgprocr", "DialogOCRSettings", true, "dgpr"),
        dialog("anprserial", "DialogRS232Settings", true, "anpr"),
        dialog("dgprserial", "DialogRS232Settings", true, "dgpr"),
        dialog("speed", "DialogSpeedSettings", true),
        dialog("database", "DialogDatabaseSettings"),
        action("date_r"),
        dialog("projector", "DialogProjectorSettings", true),
        dialog("led", "DialogLedSettings", true),
        dialog("stillPicture", "DialogStillPictureSettings", true),
        dialog("areaOfInterest2", "DlgAreaOfInterest2", true),
        dialog("io", "DialogIOSettings"),
        dialog("slaves", "DialogMasterSlaveSettings"),
        dialog("lightings", "DialogLightingsSettings"),
        dialog("security-certificates", "DialogSecurity"),
        dialog("security-plate", "DialogSecurityRSA"),
        dialog("security-lock", "DialogSecurityLock"),
        dialog("security-8021X", "DialogSecurity8021X"),
        dialog("httpPush", "DialogHttpPushSettings"),
        dialog("rvd", "DialogRVDSettings"),
        dialog("moobyl", "DialogMoobylSettings"),
        dialog("SBFreeFlow", "DialogSBFreeFlowSettings"),
        dialog("amanoOne", "DialogAmanoOneSettings"),
        dialog("tiba", "DialogTibaSettings"),
        dialog("mDNS", "DialogMulticastDNSSettings"),
        action("modem-pin"),
        action("modem-apn"),
        dialog("pingTest", "DialogTestPingSettings"),
    };
    return table;
}

const DialogRoute *DialogDispatcher::route(const QString &key)
{
    for (const DialogRoute &candidate : routes())
        if (key == QLatin1String(candidate.key))
            return &candidate;
    return nullptr;
}

void DialogDispatcher::dispatch(const QString &tag) const
{
    QString id;
    QString key;
    splitTag(tag, &id, &key);
    const DialogRoute *found = route(key);
    if (found == nullptr)
        return;
    if (!found->action) {
        DialogArgs args;
        if (found->takesId)
            args.id = id;
        if (found->module != nullptr)
            args.module = QLatin1String(found->module);
        openDialog(*found, args);
        return;
    }
    const auto it = m_actions.constFind(key);
    if (it != m_actions.constEnd())
        (*it)();
    else
        m_logger(QStringLiteral("No action yet for the key %1").arg(key));
}

std::unique_ptr<QDialog> DialogDispatcher::makeDialog(const QString &name, const DialogArgs &args) const
{
    const DialogFactory factory = DialogFactories::find(name);
    if (!factory) {
        m_logger(QStringLiteral("Dialog %1 is not available yet").arg(name));
        return nullptr;
    }
    return factory(m_parent, args);
}

void DialogDispatcher::runDialog(const QString &name, const DialogArgs &args) const
{
    if (const std::unique_ptr<QDialog> dialog = makeDialog(name, args))
        ZyModalRunner::exec(dialog.get());
}

void DialogDispatcher::openDialog(const DialogRoute &route, const DialogArgs &args) const
{
    std::unique_ptr<QDialog> dialog = makeDialog(QLatin1String(route.target), args);
    if (!dialog)
        return;
    const int result = ZyModalRunner::exec(dialog.get());
    const auto *report = dynamic_cast<const NetworkChangeReport *>(dialog.get());
    if (qstrcmp(route.key, "network") != 0 || report == nullptr)
        return;
    const bool changed = result == QDialog::Accepted && report->networkChanged();
    const bool prepared = report->disconnectPrepared();
    // The window's handling of a loss may clear the model: the dialog goes first.
    dialog.reset();
    if (changed && m_onNetworkChanged)
        m_onNetworkChanged();
    else if (prepared && MainWindowInterface::instance() != nullptr)
        MainWindowInterface::instance()->undoPrepareForDisconnect();
}
