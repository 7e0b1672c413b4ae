// Typed access to the application's settings (the user's and the machine-wide store), the
// start-up password hash and the remembered plate-decryption key.
#include "AppSettings.h"

#include "AppSettingsNotifier.h"
#include "MainWindowInterface.h"
#include "PXRPrivateToolBox.h"
#include "PrivateKeyFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QIODevice>

namespace {

const char *const kPassword = "password";
const char *const kWindowGeometry = "GUI/windowGeometry";
const char *const kWindowState = "GUI/windowState";
const char *const kShowSettingsDock = "GUI/showSettingsDock";
const char *const kShowTracesDock = "GUI/showTracesDock";
const char *const kShowDialogDoc = "ShowDialogDoc";
const char *const kLastSensorAddress = "GUI/lastSensorAddress2";
const char *const kLastSensorPort = "GUI/lastSensorPort2";
const char *const kLastSensorPortSSL = "GUI/lastSensorPortSSL";
const char *const kLastSensorOptions = "GUI/lastSensorOptions";
const char *const kLastSensorSecured = "GUI/lastSensorSecured";
const char *const kSecuredConnection = "securedConnection";
const char *const kIgnoreSSLErrors = "ignoreSSLErrors";
const char *const kSplitterRecognitionGroupState = "GUI/splitterRecognitionGroupState";
const char *const kLastSaveRecoDir = "GUI/lastSaveRecoDir";
const char *const kLastVideoFileDir = "GUI/lastVideoFileDir";
const char *const kLastSaveInfosFilePath = "GUI/lastSaveInfosFilePath";
const char *const kClassifFile = "classif_file";
const char *const kExpandedItems = "GUI/expandedItems/";
const char *const kVideoBufferDurationMs = "videoBufferDurationMs";
const char *const kDisplayRecoDurationMs = "displayRecoDurationMs";
const char *const kDisplayVideo = "display/video";
const char *const kDisplayGrid = "display/grid";
const char *const kDisplayCoveringZone = "display/coveringZone";
const char *const kDisplaySlaveVideo = "display/slaveVideo";
const char *const kNoHardwareRendering = "noHardwareRendering";
const char *const kShowDetails = "ShowDetails";

// The keys the dialogs have always had: the class name with a small first letter.
QString dialogGeometryKey(const QString &dialogName)
{
    return QStringLiteral("GUI/") + dialogName.front().toLower() + dialogName.mid(1) + QStringLiteral("Geometry");
}

QByteArray sha1(const QString &text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
}

QSettings nativeSettings(QSettings::Scope scope)
{
    return QSettings(QSettings::NativeFormat, scope, QCoreApplication::organizationName(),
                     QCoreApplication::applicationName());
}

// The native store on Linux keeps text: "true"/"false" and numbers come back as strings.
bool readBool(const QSettings &settings, const char *key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    return fallback;
}

quint32 readUInt(const QSettings &settings, const char *key, quint32 fallback, quint32 largest)
{
    bool ok = false;
    const qulonglong number = settings.value(key).toString().trimmed().toULongLong(&ok);
    return ok && number <= largest ? quint32(number) : fallback;
}

PXRPToolPlateDecryptor *windowDecryptor()
{
    MainWindowInterface *window = MainWindowInterface::instance();
    return window ? window->plateDecryptor() : nullptr;
}

} // namespace

AppSettings::AppSettings()
    : m_machine(nativeSettings(QSettings::SystemScope))
    , m_user(nativeSettings(QSettings::UserScope))
    , m_defaultPasswordHash(sha1(QString()))
{
}

QByteArray AppSettings::passwordHash() const
{
    const QVariant value = m_machine.value(kPassword);
    return value.isValid() ? value.toByteArray() : m_defaultPasswordHash;
}

bool AppSettings::checkPassword(const QString &password) const
{
    return sha1(password) == passwordHash();
}

bool AppSettings::hasPassword() const
{
    return passwordHash() != m_defaultPasswordHash;
}

bool AppSettings::changePassword(const QString &oldPassword, const QString &newPassword)
{
    if (!checkPassword(oldPassword))
        return false;
    // A store of its own, so its status tells about this write alone.
    QSettings machine = nativeSettings(QSettings::SystemScope);
    if (!machine.isWritable())
        return false;
    const QVariant previous = machine.value(kPassword);
    machine.setValue(kPassword, sha1(newPassword));
    machine.sync();
    if (machine.status() == QSettings::NoError)
        return true;
    // The process shares one view of the store: put the old hash back so it matches the file.
    if (previous.isValid())
        machine.setValue(kPassword, previous);
    else
        machine.remove(kPassword);
    machine.sync();
    return false;
}

bool AppSettings::isMachineWideWritable() const
{
    return m_machine.isWritable();
}

QByteArray AppSettings::windowGeometry() const
{
    return m_user.value(kWindowGeometry).toByteArray();
}

void AppSettings::setWindowGeometry(const QByteArray &geometry)
{
    m_user.setValue(kWindowGeometry, geometry);
}

QByteArray AppSettings::windowState() const
{
    return m_user.value(kWindowState).toByteArray();
}

void AppSettings::setWindowState(const QByteArray &state)
{
    m_user.setValue(kWindowState, state);
}

bool AppSettings::showSettingsDock() const
{
    return readBool(m_user, kShowSettingsDock, true);
}

void AppSettings::setShowSettingsDock(bool show)
{
    m_user.setValue(kShowSettingsDock, show);
}

bool AppSettings::showTracesDock() const
{
    return readBool(m_user, kShowTracesDock, false);
}

void AppSettings::setShowTracesDock(bool show)
{
    m_user.setValue(kShowTracesDock, show);
}

bool AppSettings::showDialogDoc() const
{
    return readBool(m_user, kShowDialogDoc, true);
}

void AppSettings::setShowDialogDoc(bool show)
{
    m_user.setValue(kShowDialogDoc, show);
}

QString AppSettings::lastSensorAddress() const
{
    return m_user.value(kLastSensorAddress).toString();
}

quint16 AppSettings::lastSensorPort() const
{
    return quint16(readUInt(m_user, kLastSensorPort, 10001, 0xFFFF));
}

quint16 AppSettings::lastSensorPortSSL() const
{
    return quint16(readUInt(m_user, kLastSensorPortSSL, 12001, 0xFFFF));
}

QString AppSettings::lastSensorOptions() const
{
    return m_user.value(kLastSensorOptions).toString();
}

void AppSettings::setLastSensor(const QString &address, quint16 port, quint16 portSSL, const QString &options)
{
    m_user.setValue(kLastSensorAddress, address);
    m_user.setValue(kLastSensorPort, port);
    m_user.setValue(kLastSensorOptions, options);
    m_user.setValue(kLastSensorPortSSL, portSSL);
}

void AppSettings::setLastSensorSecured(bool secured)
{
    m_user.setValue(kLastSensorSecured, secured);
}

bool AppSettings::securedConnection() const
{
    return readBool(m_user, kSecuredConnection, false);
}

void AppSettings::setSecuredConnection(bool secured)
{
    m_user.setValue(kSecuredConnection, secured);
}

bool AppSettings::ignoreSSLErrors() const
{
    return readBool(m_user, kIgnoreSSLErrors, false);
}

void AppSettings::setIgnoreSSLErrors(bool ignore)
{
    m_user.setValue(kIgnoreSSLErrors, ignore);
}

QByteArray AppSettings::dialogGeometry(const QString &dialogName) const
{
    if (dialogName.isEmpty())
        return {};
    return m_user.value(dialogGeometryKey(dialogName)).toByteArray();
}

void AppSettings::setDialogGeometry(const QString &dialogName, const QByteArray &geometry)
{
    if (!dialogName.isEmpty())
        m_user.setValue(dialogGeometryKey(dialogName), geometry);
}

QByteArray AppSettings::splitterRecognitionGroupState() const
{
    return m_user.value(kSplitterRecognitionGroupState).toByteArray();
}

void AppSettings::setSplitterRecognitionGroupState(const QByteArray &state)
{
    m_user.setValue(kSplitterRecognitionGroupState, state);
}

QString AppSettings::lastSaveRecoDir() const
{
    return m_user.value(kLastSaveRecoDir).toString();
}

void AppSettings::setLastSaveRecoDir(const QString &dir)
{
    m_user.setValue(kLastSaveRecoDir, dir);
}

QString AppSettings::lastVideoFileDir() const
{
    return m_user.value(kLastVideoFileDir).toString();
}

void AppSettings::setLastVideoFileDir(const QString &dir)
{
    m_user.setValue(kLastVideoFileDir, dir);
}

void AppSettings::setLastSaveInfosFilePath(const QString &path)
{
    m_user.setValue(kLastSaveInfosFilePath, path);
}

QString AppSettings::classifFile() const
{
    return m_user.value(kClassifFile).toString();
}

void AppSettings::setClassifFile(const QString &path)
{
    m_user.setValue(kClassifFile, path);
}

QHash<QString, bool> AppSettings::expandedItems(const QString &treeName) const
{
    QHash<QString, bool> items;
    if (treeName.isEmpty())
        return items;
    QDataStream stream(m_user.value(kExpandedItems + treeName).toByteArray());
    stream >> items;
    if (stream.status() != QDataStream::Ok)
        items.clear();
    return items;
}

void AppSettings::setExpandedItems(const QString &treeName, const QHash<QString, bool> &items)
{
    if (treeName.isEmpty())
        return;
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << items;
    m_user.setValue(kExpandedItems + treeName, bytes);
}

quint32 AppSettings::videoBufferDurationMs() const
{
    return readUInt(m_user, kVideoBufferDurationMs, 60000, 0xFFFFFFFF);
}

void AppSettings::setVideoBufferDurationMs(quint32 durationMs)
{
    m_user.setValue(kVideoBufferDurationMs, durationMs);
    emit AppSettingsNotifier::instance()->videoBufferDurationChanged(durationMs);
}

quint32 AppSettings::displayRecoDurationMs() const
{
    return readUInt(m_user, kDisplayRecoDurationMs, 30000, 0xFFFFFFFF);
}

bool AppSettings::displayVideo() const
{
    return readBool(m_user, kDisplayVideo, true);
}

void AppSettings::setDisplayVideo(bool display)
{
    m_user.setValue(kDisplayVideo, display);
    emit AppSettingsNotifier::instance()->displayVideoChanged(display);
}

bool AppSettings::displayGrid() const
{
    return readBool(m_user, kDisplayGrid, false);
}

void AppSettings::setDisplayGrid(bool display)
{
    m_user.setValue(kDisplayGrid, display);
}

bool AppSettings::displayCoveringZone() const
{
    return readBool(m_user, kDisplayCoveringZone, false);
}

void AppSettings::setDisplayCoveringZone(bool display)
{
    m_user.setValue(kDisplayCoveringZone, display);
}

bool AppSettings::displaySlaveVideo() const
{
    return readBool(m_user, kDisplaySlaveVideo, true);
}

void AppSettings::setDisplaySlaveVideo(bool display)
{
    m_user.setValue(kDisplaySlaveVideo, display);
}

bool AppSettings::noHardwareRendering() const
{
    return readBool(m_user, kNoHardwareRendering, false);
}

void AppSettings::setNoHardwareRendering(bool disabled)
{
    m_user.setValue(kNoHardwareRendering, disabled);
}

void AppSettings::setShowDetails(bool show)
{
    m_user.setValue(kShowDetails, show);
}

QString AppSettings::privateKeyFilePath() const
{
    return PrivateKeyFile::path();
}

bool AppSettings::setPrivateKey(const QByteArray &key, const QString &passPhrase, bool remember, bool *keyInForce)
{
    const QByteArray phrase = passPhrase.toUtf8();
    PXRPToolPlateDecryptor *decryptor = windowDecryptor();
    const bool taken = decryptor == nullptr
                       || PXRPToolPlateDecryptorSetKey(decryptor, key.constData(), uint32_t(key.size()),
                                                       phrase.constData())
                              == 1;
    if (keyInForce != nullptr)
        *keyInForce = taken;
    // A refused key must not replace the one the next start restores.
    if (!taken)
        return false;
    return !remember || PrivateKeyFile::write(privateKeyFilePath(), key, phrase);
}

bool AppSettings::loadPrivateKey(QByteArray &key, QString &passPhrase)
{
    QByteArray phrase;
    if (!PrivateKeyFile::read(privateKeyFilePath(), key, phrase))
        return false;
    passPhrase = QString::fromUtf8(phrase);
    return true;
}

void AppSettings::erasePrivateKey()
{
    if (PXRPToolPlateDecryptor *decryptor = windowDecryptor())
        PXRPToolPlateDecryptorSetKey(decryptor, nullptr, 0, nullptr);
    QFile::remove(privateKeyFilePath());
}

bool AppSettings::hasPrivateKey() const
{
    PXRPToolPlateDecryptor *decryptor = windowDecryptor();
    return decryptor != nullptr && PXRPToolPlateDecryptorHasKey(decryptor) == 1;
}

namespace {

const char *securityKey(AppSettings::SecurityPath which)
{
    using P = AppSettings::SecurityPath;
    switch (which) {
    case P::LastPFXUsed: return "Security/LastPFXUsed";
    case P::LastCertFileUsed: return "Security/LastCertFileUsed";
    case P::LastPrivateFileUsed: return "Security/LastPrivateFileUsed";
    case P::LastAuthorityFileUsed: return "Security/LastAuthorityFileUsed";
    case P::Dot1xLastPFXUsed: return "Security/8021XLastPFXUsed";
    case P::Dot1xLastCertFileUsed: return "Security/8021XLastCertFileUsed";
    case P::Dot1xLastPrivateFileUsed: return "Security/8021XLastPrivateFileUsed";
    case P::Dot1xLastAuthorityFileUsed: return "Security/8021XLastAuthorityFileUsed";
    case P::LastRSAKeyPath: return "Security/LastRSAKeyPath";
    case P::LastRSAPrivateKeyPath: return "Security/LastRSAPrivateKeyPath";
    case P::LastSavedFile: return "Security/LastSavedFile";
    case P::Dot1xLastSavedFile: return "Security/8021XLastSavedFile";
    }
    return "Security/unknown";
}

} // namespace

QString AppSettings::securityPath(SecurityPath which) const
{
    return m_user.value(securityKey(which)).toString();
}

void AppSettings::setSecurityPath(SecurityPath which, const QString &path)
{
    m_user.setValue(securityKey(which), path);
}
