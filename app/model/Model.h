// The application's shared state: the master and slave sensor connections, the kept configuration
// and information trees, the players, recognitions and recorder, and the facts derived from them.
#pragma once

#include "ModelStatistics.h"
#include "PXRMessage.h"
#include "RecognitionManager.h"
#include "SchemaDoc.h"
#include "Sensor.h"
#include "VideoPlayer.h"
#include "VideoRecorder.h"

#include <QMap>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include "PXR.h"

class Model : public QObject
{
    Q_OBJECT

public:
    // Pushes of one kind closer together than this give one refresh signal.
    static constexpr int kRefreshDelayMs = 250;
    static constexpr uint32_t kDateTimeoutMs = 30000;

    // Made without parent at first use; never null.
    static Model *instance();
    // Deletes the model and forgets it; main calls it after the event loop.
    static void deleteInstance();

    // Full reset: both connections dropped, recording stopped, players and recognitions emptied,
    // kept trees dropped (both signals emitted, configuration first).
    void clear();

    Sensor &masterSensor() { return m_masterSensor; }
    Sensor &slaveSensor() { return m_slaveSensor; }
    // The kept trees, or null; read-only, valid until the next clearing.
    PXRMsg *config() const { return m_config.get(); }
    PXRMsg *infos() const { return m_infos.get(); }
    SchemaDoc &schemaDoc() { return m_schemaDoc; }
    VideoPlayer &masterPlayer() { return m_masterPlayer; }
    VideoPlayer &slavePlayer() { return m_slavePlayer; }
    RecognitionManager &masterRecognitions() { return m_masterRecognitions; }
    RecognitionManager &slaveRecognitions() { return m_slaveRecognitions; }
    VideoRecorder &recorder() { return m_recorder; }

    // Facts of the information tree, rebuilt by parseInfos.
    void parseInfos();
    // Cameras in ascending order of their id text ("10" before "2").
    int cameraCount() const { return int(m_cameraModels.size()); }
    // Empty when the index is out of range.
    QString cameraId(int index) const;
    // "[id] model"; an unknown id gives "[id] ".
    QString cameraLabel(const QString &id) const;
    // 720 x 288 for an unknown id.
    void cameraSize(const QString &id, int *width, int *height) const;
    void stillPictureSize(const QString &id, int *width, int *height) const;
    QStringList enabledAlgorithms(const QString &id) const;
    // The attribute of the message's first element in pixels of the camera that made it.
    static int scaleCoordinate(PXRMsg *msg, const char *attribute, bool horizontal);
    // The zone's corners (a rectangle) or its points in document order; always true.
    static bool readZone(PXRMsgElement *zone, QVector<QPoint> &points, bool *isRectangle);
    // Lighting keys are the element name and its id joined by "=", as "led=1".
    QString lightingLabel(const QString &key) const;
    // True when the LED's current range has both bounds.
    bool ledCurrentRange(const char *ledId, int *min, int *max) const;
    QString productVersion() const { return m_productVersion; }
    QString possibleContexts() const { return m_possibleContexts; }
    bool lockPasswordNeeded() const { return m_lockPasswordNeeded; }
    bool configForbidden() const { return m_configForbidden; }

    // Measures the offset between the local clock and the master sensor's; the GUI keeps turning
    // (without user input) while the answer is awaited.
    void requestSensorDate();
    bool clockOffsetValid() const { return m_clockOffsetValid; }
    // Local time minus sensor time.
    qint64 clockOffsetMs() const { return m_clockOffsetMs; }

    // Statistics of the master's video and recognition delays.
    void addVideoSample(quint32 size, qint64 date) { m_statistics.addVideoSample(size, date); }
    void addLatencySample(PXRMsg *msg);
    void resetStatistics() { m_statistics.reset(); }
    const ModelStatistics &statistics() const { return m_statistics; }
    quint32 averageVideoSize() const { return m_statistics.averageVideoSize(); }
    quint32 minVideoSize() const { return m_statistics.minVideoSize(); }
    quint32 maxVideoSize() const { return m_statistics.maxVideoSize(); }
    qint64 averageVideoInterval() const { return m_statistics.averageVideoInterval(); }
    qint64 minVideoInterval() const { return m_statistics.minVideoInterval(); }
    qint64 maxVideoInterval() const { return m_statistics.maxVideoInterval(); }
    qint64 averageNewLatency() const { return m_statistics.averageNewLatency(); }
    qint64 averageDecisionLatency() const { return m_statistics.averageDecisionLatency(); }
    qint64 averageEndLatency() const { return m_statistics.averageEndLatency(); }
    QPixmap statisticsPixmap() const { return m_statistics.pixmap(); }

signals:
    // A kept tree changed or was dropped.
    void signalConfigReceived();
    void signalInfosReceived();

private slots:
    // Both take the message over.
    void onMsgReceived(void *pMsg);
    void onMsgReceivedFromSlave(void *pMsg);
    void onDisconnection();

private:
    Model();
    ~Model() override;

    void dispatch(PXRMsg *msg, PXRMsgElement *root);
    void keepConfig(PXRMsg *msg, PXRMsgElement *root);
    void keepTree(PXRMessage &kept, PXRMessage &held, PXRMsg *msg, QTimer &timer);
    void addVideoSampleOf(PXRMsgElement *root);
    void parseCamera(PXRMsgElement *camera);
    void bindSlave(const char *macAddress);
    void bindSlaveFrom(PXRMsgElement *announcement);
    void clearKept();
    void clearKeptWhenRequestsEnd();
    void dropHeldTrees();

    ModelStatistics m_statistics;
    QMap<QString, QString> m_cameraModels;
    QMap<QString, QString> m_lightingKinds;
    QString m_possibleContexts;
    QString m_productVersion;
    bool m_lockPasswordNeeded = false;
    QMap<QString, QStringList> m_enabledAlgorithms;
    QMap<QString, QSize> m_cameraSizes;
    Sensor m_masterSensor;
    PXRMessage m_config;
    PXRMessage m_infos;
    SchemaDoc m_schemaDoc;
    bool m_configForbidden = false;
    bool m_clockOffsetValid = false;
    qint64 m_clockOffsetMs = 0;
    QTimer m_configTimer;
    QTimer m_infosTimer;
    VideoPlayer m_masterPlayer;
    RecognitionManager m_masterRecognitions;
    Sensor m_slaveSensor;
    VideoPlayer m_slavePlayer;
    RecognitionManager m_slaveRecognitions;
    VideoRecorder m_recorder;
    // The slave's address, port and options as last bound.
    QString m_slaveBinding;
    // A loss reported while a request waits is dealt with once none does; trees pushed
    // meanwhile are held apart, so the caller's trees stay whole and the new ones are not lost.
    QMetaObject::Connection m_pendingDisconnection;
    PXRMessage m_heldConfig;
    PXRMessage m_heldInfos;
};
