// Typed access to the application's settings (the user's and the machine-wide store), the
// start-up password hash and the remembered plate-decryption key.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSettings>
#include <QString>

class AppSettings
{
public:
    AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    // Start-up password, kept as the SHA-1 digest of its UTF-8 bytes in the machine-wide store.
    QByteArray passwordHash() const;
    bool checkPassword(const QString &password) const;
    bool hasPassword() const;
    // False for a wrong old password, and when the machine-wide store did not take the new hash.
    bool changePassword(const QString &oldPassword, const QString &newPassword);
    bool isMachineWideWritable() const;

    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray &geometry);
    QByteArray windowState() const;
    void setWindowState(const QByteArray &state);
    bool showSettingsDock() const;
    void setShowSettingsDock(bool show);
    bool showTracesDock() const;
    void setShowTracesDock(bool show);
    // Whether a settings dialog opens with its schema documentation beside it.
    bool showDialogDoc() const;
    void setShowDialogDoc(bool show);

    QString lastSensorAddress() const;
    quint16 lastSensorPort() const;
    quint16 lastSensorPortSSL() const;
    QString lastSensorOptions() const;
    void setLastSensor(const QString &address, quint16 port, quint16 portSSL, const QString &options);
    void setLastSensorSecured(bool secured);
    bool securedConnection() const;
    void setSecuredConnection(bool secured);
    bool ignoreSSLErrors() const;
    void setIgnoreSSLErrors(bool ignore);

    // The geometry of the named dialog ("DialogRecognitionGroup"), under "GUI/dialogRecognitionGroupGeometry";
    // an empty name reads nothing and writes nothing.
    QByteArray dialogGeometry(const QString &dialogName) const;
    void setDialogGeometry(const QString &dialogName, const QByteArray &geometry);
    QByteArray splitterRecognitionGroupState() const;
    void setSplitterRecognitionGroupState(const QByteArray &state);
    QString lastSaveRecoDir() const;
    void setLastSaveRecoDir(const QString &dir);
    QString lastVideoFileDir() const;
    void setLastVideoFileDir(const QString &dir);
    void setLastSaveInfosFilePath(const QString &path);
    // The classification file last chosen for a camera.
    QString classifFile() const;
    void setClassifFile(const QString &path);

    // Which items of the named tree were expanded; an empty name reads nothing and writes nothing.
    QHash<QString, bool> expandedItems(const QString &treeName) const;
    void setExpandedItems(const QString &treeName, const QHash<QString, bool> &items);

    quint32 videoBufferDurationMs() const;
    // Also tells the master video player to read the duration again.
    void setVideoBufferDurationMs(quint32 durationMs);
    quint32 displayRecoDurationMs() const;
    // Whether live video is decoded and shown (display/video).
    bool displayVideo() const;
    void setDisplayVideo(bool display);
    // What the frame views draw over the picture, and whether the slave camera is shown.
    bool displayGrid() const;
    void setDisplayGrid(bool display);
    bool displayCoveringZone() const;
    void setDisplayCoveringZone(bool display);
    bool displaySlaveVideo() const;
    void setDisplaySlaveVideo(bool display);
    bool noHardwareRendering() const;
    void setNoHardwareRendering(bool disabled);
    void setShowDetails(bool show);

    // The remembered key (see PrivateKeyFile). The main window's plate decryptor gets the key;
    // without a window that step is skipped.
    QString privateKeyFilePath() const;
    // False, with nothing written and the key held before still in force, when the decryptor
    // refuses the key; false too when the key is in force but could not be remembered, which
    // keyInForce then tells apart.
    bool setPrivateKey(const QByteArray &key, const QString &passPhrase, bool remember, bool *keyInForce = nullptr);
    bool loadPrivateKey(QByteArray &key, QString &passPhrase);
    void erasePrivateKey();
    bool hasPrivateKey() const;

    // The file paths the security dialogs remember, each under its own "Security/" key.
    enum class SecurityPath {
        LastPFXUsed,
        LastCertFileUsed,
        LastPrivateFileUsed,
        LastAuthorityFileUsed,
        Dot1xLastPFXUsed,
        Dot1xLastCertFileUsed,
        Dot1xLastPrivateFileUsed,
        Dot1xLastAuthorityFileUsed,
        LastRSAKeyPath,
        LastRSAPrivateKeyPath,
        LastSavedFile,
        Dot1xLastSavedFile,
    };
    QString securityPath(SecurityPath which) const;
    void setSecurityPath(SecurityPath which, const QString &path);

private:
    QSettings m_machine;
    QSettings m_user;
    const QByteArray m_defaultPasswordHash;
};
