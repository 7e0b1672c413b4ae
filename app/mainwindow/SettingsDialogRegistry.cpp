#include "SettingsDialogRegistry.h"

#include "DialogANPRSettings.h"
#include "DialogAVARSettings.h"
#include "DialogAutoExposureSettings.h"
#include "DialogCamerasSettings.h"
#include "DialogDGPRSettings.h"
#include "DialogDatabaseSettings.h"
#include "DialogDeviceSettings.h"
#include "DialogEnslavementSettings.h"
#include "DialogFTPSettings.h"
#include "DialogFactories.h"
#include "DialogHttpPushSettings.h"
#include "DialogIOSettings.h"
#include "DialogLedSettings.h"
#include "DialogLightingsSettings.h"
#include "DialogNetworkSettings.h"
#include "DialogOCRSettings.h"
#include "DialogProjectorSettings.h"
#include "DialogRS232Settings.h"
#include "DialogTriggerSettings.h"
#include "DialogMasterSlaveSettings.h"
#include "DialogSpeedSettings.h"
#include "DialogTibaSettings.h"
#include "DialogAmanoOneSettings.h"
#include "DialogSBFreeFlowSettings.h"
#include "DialogNedapSettings.h"
#include "DialogMoobylSettings.h"
#include "DialogRVDSettings.h"
#include "DialogMulticastDNSSettings.h"
#include "DialogTestPingSettings.h"
#include "DialogRSAPrivateKey.h"
#include "DialogSecurity.h"
#include "DialogSecurity8021X.h"
#include "DialogSecurityLock.h"
#include "DialogSecurityRSA.h"
#include "DialogVideoStreamSettings.h"
#include "DialogStillPictureSettings.h"
#include "DialogClassification.h"
#include "DlgAreaOfInterest2.h"

namespace {

// A factory of a dialog built from the parent alone, or with the camera id.
template <typename T> DialogFactory plain()
{
    return [](QWidget *parent, const DialogArgs &) { return std::unique_ptr<QDialog>(new T(parent)); };
}

template <typename T> DialogFactory withId()
{
    return [](QWidget *parent, const DialogArgs &args) { return std::unique_ptr<QDialog>(new T(parent, args.id)); };
}

template <typename T> DialogFactory withIdAndModule()
{
    return [](QWidget *parent, const DialogArgs &args) {
        return std::unique_ptr<QDialog>(new T(parent, args.id, args.module));
    };
}

} // namespace

void registerSettingsDialogs()
{
    DialogFactories::add(QStringLiteral("DialogANPRSettings"), withId<DialogANPRSettings>());
    DialogFactories::add(QStringLiteral("DialogDGPRSettings"), withId<DialogDGPRSettings>());
    DialogFactories::add(QStringLiteral("DialogOCRSettings"), withIdAndModule<DialogOCRSettings>());
    DialogFactories::add(QStringLiteral("DialogTriggerSettings"), withIdAndModule<DialogTriggerSettings>());
    DialogFactories::add(QStringLiteral("DialogRS232Settings"), withIdAndModule<DialogRS232Settings>());
    DialogFactories::add(QStringLiteral("DialogCamerasSettings"), plain<DialogCamerasSettings>());
    DialogFactories::add(QStringLiteral("DialogAutoExposureSettings"), withId<DialogAutoExposureSettings>());
    DialogFactories::add(QStringLiteral("DialogEnslavementSettings"), withId<DialogEnslavementSettings>());
    DialogFactories::add(QStringLiteral("DialogAVARSettings"), withId<DialogAVARSettings>());
    DialogFactories::add(QStringLiteral("DialogDeviceSettings"), plain<DialogDeviceSettings>());
    DialogFactories::add(QStringLiteral("DialogDatabaseSettings"), plain<DialogDatabaseSettings>());
    DialogFactories::add(QStringLiteral("DialogIOSettings"), plain<DialogIOSettings>());
    DialogFactories::add(QStringLiteral("DialogLightingsSettings"), plain<DialogLightingsSettings>());
    DialogFactories::add(QStringLiteral("DialogLedSettings"), withId<DialogLedSettings>());
    DialogFactories::add(QStringLiteral("DialogProjectorSettings"), withId<DialogProjectorSettings>());
    DialogFactories::add(QStringLiteral("DialogFTPSettings"), plain<DialogFTPSettings>());
    DialogFactories::add(QStringLiteral("DialogHttpPushSettings"), plain<DialogHttpPushSettings>());
    DialogFactories::add(QStringLiteral("DialogMasterSlaveSettings"), plain<DialogMasterSlaveSettings>());
    DialogFactories::add(QStringLiteral("DialogSpeedSettings"), withId<DialogSpeedSettings>());
    // Outside-system protocols and sensor services.
    DialogFactories::add(QStringLiteral("DialogTibaSettings"), plain<DialogTibaSettings>());
    DialogFactories::add(QStringLiteral("DialogAmanoOneSettings"), plain<DialogAmanoOneSettings>());
    DialogFactories::add(QStringLiteral("DialogSBFreeFlowSettings"), plain<DialogSBFreeFlowSettings>());
    DialogFactories::add(QStringLiteral("DialogNedapSettings"), plain<DialogNedapSettings>());
    DialogFactories::add(QStringLiteral("DialogMoobylSettings"), plain<DialogMoobylSettings>());
    DialogFactories::add(QStringLiteral("DialogRVDSettings"), plain<DialogRVDSettings>());
    DialogFactories::add(QStringLiteral("DialogMulticastDNSSettings"), plain<DialogMulticastDNSSettings>());
    DialogFactories::add(QStringLiteral("DialogTestPingSettings"), plain<DialogTestPingSettings>());
    DialogFactories::add(QStringLiteral("DialogSecurity"), plain<DialogSecurity>());
    DialogFactories::add(QStringLiteral("DialogSecurity8021X"), plain<DialogSecurity8021X>());
    DialogFactories::add(QStringLiteral("DialogSecurityLock"), plain<DialogSecurityLock>());
    DialogFactories::add(QStringLiteral("DialogSecurityRSA"), plain<DialogSecurityRSA>());
    DialogFactories::add(QStringLiteral("DialogRSAPrivateKey"), plain<DialogRSAPrivateKey>());
    DialogFactories::add(QStringLiteral("DialogNetworkSettings"), plain<DialogNetworkSettings>());
    DialogFactories::add(QStringLiteral("DialogVideoStreamSettings"), withId<DialogVideoStreamSettings>());
    DialogFactories::add(QStringLiteral("DialogStillPictureSettings"), withId<DialogStillPictureSettings>());
    DialogFactories::add(QStringLiteral("DialogClassification"), withId<DialogClassification>());
    DialogFactories::add(QStringLiteral("DlgAreaOfInterest2"), withId<DlgAreaOfInterest2>());
}
