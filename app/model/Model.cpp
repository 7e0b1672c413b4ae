// The application's shared state: kept trees, message dispatch, clearing and the slave binding.
#include "Model.h"

#include "AppSettingsNotifier.h"
#include "MainWindowInterface.h"
#include "MsgManager.h"
#include "MsgManagerNotifier.h"
#include "PXRQt.h"
#include "SA_Core.h"
#include "ThreadSendRequest.h"

namespace {

Model *s_instance = nullptr;

void logMessage(const QString &heading, PXRMsg *msg)
{
    MainWindowInterface::logApp(7, heading);
    pxrMsgLog(msg, MainWindowInterface::appLog());
}

void logTrace(PXRMsgElement *root)
{
    bool isNumber = false;
    int level = QByteArray(PXRMsgElementAttributeValue(root, "severity")).toInt(&isNumber);
    if (!isNumber)
        level = 6;
    MainWindowInterface::logSensor(level, "SensorTrace: " + QString::fromUtf8(PXRMsgElementAttributeValue(root, "text")));
}

QString utf8(PXRMsgElement *element, const char *name)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(element, name));
}

int intAttribute(PXRMsgElement *element, const char *name, int missing = 0)
{
    const char *value = PXRMsgElementAttributeValue(element, name);
    return value != nullptr ? QByteArray(value).toInt() : missing;
}

uint uintAttribute(PXRMsgElement *element, const char *name)
{
    return QByteArray(PXRMsgElementAttributeValue(element, name)).toUInt();
}

// Each child element, in document order.
template <typename Function>
void forEachChild(PXRMsgElement *parent, const char *name, Function function)
{
    for (PXRMsgElement *child = PXRMsgElementFirstChild(parent, name); child != nullptr;
         child = PXRMsgElementNextChild(parent, child, name))
        function(child);
}

// "WxH" as two numbers (0 for a part that is not one); false unless there are exactly two parts.
bool parseSize(const char *text, QSize &size)
{
    const QList<QByteArray> parts = QByteArray(text).split('x');
    if (text == nullptr || parts.size() != 2)
        return false;
    size = QSize(int(parts[0].toUInt()), int(parts[1].toUInt()));
    return true;
}

const QSize kUnknownCameraSize(720, 288);

bool isRecognition(const char *name)
{
    for (const char *kind : {"anpr", "dgpr", "classification", "signature", "vehicle"})
        if (PXRMsgStringEqual(name, kind))
            return true;
    return false;
}

} // namespace

Model *Model::instance()
{
    if (s_instance == nullptr)
        s_instance = new Model();
    return s_instance;
}

void Model::deleteInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

Model::Model()
{
    // A burst's refresh comes no earlier than the delay after its last push.
    m_configTimer.setTimerType(Qt::PreciseTimer);
    m_infosTimer.setTimerType(Qt::PreciseTimer);
    m_configTimer.setSingleShot(true);
    m_configTimer.setInterval(kRefreshDelayMs);
    connect(&m_configTimer, &QTimer::timeout, this, &Model::signalConfigReceived);
    m_infosTimer.setSingleShot(true);
    m_infosTimer.setInterval(kRefreshDelayMs);
    connect(&m_infosTimer, &QTimer::timeout, this, &Model::signalInfosReceived);
    connect(&m_masterSensor, &Sensor::signalDisconnected, this, &Model::onDisconnection, Qt::QueuedConnection);
    connect(&m_masterSensor, &Sensor::signalMsgReceived, this, &Model::onMsgReceived);
    connect(&m_slaveSensor, &Sensor::signalMsgReceived, this, &Model::onMsgReceivedFromSlave);
    connect(AppSettingsNotifier::instance(), &AppSettingsNotifier::videoBufferDurationChanged, &m_masterPlayer,
            &VideoPlayer::reloadBufferDuration);
    MsgManager::setMasterSensor(&m_masterSensor);
}

Model::~Model()
{
    MsgManager::setMasterSensor(nullptr);
    clear();
}

void Model::onMsgReceived(void *pMsg)
{
    const PXRMessage msg(static_cast<PXRMsg *>(pMsg));
    if (PXRMsgElement *root = PXRMsgChild(msg.get())) {
        m_recorder.onMessage(msg.get());
        dispatch(msg.get(), root);
    }
}

// Only recognitions need the reception time, which costs a look at the time zone.
void Model::dispatch(PXRMsg *msg, PXRMsgElement *root)
{
    const char *name = PXRMsgElementName(root);
    if (PXRMsgStringEqual(name, "video")) {
        m_masterPlayer.onVideoMessage(msg);
        addVideoSampleOf(root);
    } else if (PXRMsgStringEqual(name, "infos")) {
        logMessage("Received infos:", msg);
        keepTree(m_infos, m_heldInfos, msg, m_infosTimer);
    } else if (PXRMsgStringEqual(name, "config")) {
        logMessage("Received config:", msg);
        keepConfig(msg, root);
    } else if (isRecognition(name)) {
        addLatencySample(msg);
        m_masterRecognitions.onMessage(msg, QDateTime::currentDateTime());
    } else if (PXRMsgStringEqual(name, "triggerResult") || PXRMsgStringEqual(name, "ioState")) {
        m_masterRecognitions.onMessage(msg, QDateTime::currentDateTime());
    } else if (PXRMsgStringEqual(name, "trace")) {
        logTrace(root);
    }
}

// A block without data or date says nothing about sizes or intervals.
void Model::addVideoSampleOf(PXRMsgElement *root)
{
    PXRMsgElement *data = PXRMsgElementFirstChild(root, "data");
    bool isNumber = false;
    const qint64 date = QByteArray(PXRMsgElementAttributeValue(root, "date")).toLongLong(&isNumber);
    if (data != nullptr && isNumber)
        m_statistics.addVideoSample(PXRMsgElementContentSize(data), date);
}

void Model::keepConfig(PXRMsg *msg, PXRMsgElement *root)
{
    PXRMsgElement *slave = PXRMsgElementFirstChild(PXRMsgElementFirstChild(root, "slaves"), "slaveAnpr");
    if (const char *mac = PXRMsgElementAttributeValue(slave, "macAddress"))
        bindSlave(mac);
    keepTree(m_config, m_heldConfig, msg, m_configTimer);
}

// The first push is kept whole; later ones only add and update, never remove.
void Model::keepTree(PXRMessage &kept, PXRMessage &held, PXRMsg *msg, QTimer &timer)
{
    PXRMessage &target = m_pendingDisconnection ? held : kept;
    if (!target)
        target.reset(PXRMsgCopy(msg));
    else if (PXRMsgElement *keptRoot = PXRMsgChild(target.get()))
        PXRMsgElementMerge(keptRoot, PXRMsgChild(msg), nullptr, 1);
    if (!m_pendingDisconnection)
        timer.start();
}

void Model::onMsgReceivedFromSlave(void *pMsg)
{
    const PXRMessage msg(static_cast<PXRMsg *>(pMsg));
    PXRMsgElement *root = PXRMsgChild(msg.get());
    if (root != nullptr && qstrcmp(PXRMsgElementName(root), "video") == 0)
        m_slavePlayer.onVideoMessage(msg.get());
}

void Model::clearKept()
{
    MainWindowInterface::logApp(7, "onDisconnection");
    m_config.reset();
    m_infos.reset();
    MainWindowInterface::logApp(7, "onDisconnection : cleared");
    m_clockOffsetValid = false;
    m_cameraModels.clear();
    m_lightingKinds.clear();
    m_statistics.reset();
    // A refresh still due for the dropped trees would come after this one.
    m_configTimer.stop();
    m_infosTimer.stop();
    emit signalConfigReceived();
    emit signalInfosReceived();
}

void Model::clear()
{
    dropHeldTrees();
    m_masterSensor.disconnect();
    m_slaveSensor.disconnect();
    m_slaveBinding.clear();
    m_recorder.stop();
    m_masterPlayer.reset();
    m_slavePlayer.reset();
    m_masterRecognitions.clear();
    m_slaveRecognitions.clear();
    m_statistics.reset();
    clearKept();
}

// A request's caller may be reading the kept trees while it waits.
void Model::onDisconnection()
{
    if (MsgManager::runningRequests() == 0) {
        clearKept();
        return;
    }
    if (!m_pendingDisconnection)
        m_pendingDisconnection = connect(MsgManagerNotifier::instance(), &MsgManagerNotifier::allRequestsFinished,
                                         this, &Model::clearKeptWhenRequestsEnd);
}

void Model::clearKeptWhenRequestsEnd()
{
    disconnect(m_pendingDisconnection);
    m_pendingDisconnection = {};
    clearKept();
    m_config = std::move(m_heldConfig);
    m_infos = std::move(m_heldInfos);
    if (m_config)
        m_configTimer.start();
    if (m_infos)
        m_infosTimer.start();
}

void Model::dropHeldTrees()
{
    disconnect(m_pendingDisconnection);
    m_pendingDisconnection = {};
    m_heldConfig.reset();
    m_heldInfos.reset();
}

void Model::addLatencySample(PXRMsg *msg)
{
    if (m_clockOffsetValid)
        m_statistics.addLatencySample(msg, m_clockOffsetMs, qint64(SA_GetTimeMs()));
}

void Model::requestSensorDate()
{
    m_clockOffsetValid = false;
    m_clockOffsetMs = 0;
    // Other sensors' dates are already on the local clock.
    if (m_masterSensor.detectedProtocol() != "FYB") {
        m_clockOffsetValid = true;
        return;
    }
    const PXRMessage request = pxrMsgWithRoot("getDate");
    PXRMsgSetReadOnly(request.get(), 1);
    const PXRMessage answer(ThreadSendRequest::sendQuietly(request.get(), kDateTimeoutMs));
    PXRMsgElement *root = PXRMsgChild(answer.get());
    bool isNumber = false;
    const qint64 date = QByteArray(PXRMsgElementAttributeValue(root, "date")).toLongLong(&isNumber);
    if (!answer) {
        MainWindowInterface::logApp(7, "Requesting date failed");
    } else if (PXRMsgStringEqual(PXRMsgElementName(root), "date") && isNumber) {
        m_clockOffsetMs = qint64(SA_GetTimeMs()) - date;
        m_clockOffsetValid = true;
    } else {
        MainWindowInterface::logApp(7, QString("Requesting date failed : %1").arg(QString::fromUtf8(PXRMsgElementAttributeValue(root, "errorText"))));
    }
}

void Model::parseInfos()
{
    m_cameraModels.clear();
    m_possibleContexts.clear();
    m_productVersion.clear();
    m_lightingKinds.clear();
    m_enabledAlgorithms.clear();
    m_lockPasswordNeeded = false;
    PXRMsgElement *root = PXRMsgChild(m_infos.get());
    if (root == nullptr)
        return;
    PXRMsgElement *sensor = PXRMsgElementFirstChild(root, "sensor");
    m_productVersion = utf8(sensor, "productVersion");
    if (const char *forbidden = PXRMsgElementAttributeValue(sensor, "setConfigForbidden"))
        m_configForbidden = PXRMsgStrToBool(forbidden);
    if (PXRMsgElement *anpr = PXRMsgElementFirstChild(root, "anpr"))
        m_possibleContexts = utf8(anpr, "possibleContexts");
    if (const char *needed = PXRMsgElementAttributeValue(PXRMsgElementFirstChild(root, "security"), "lockPasswordNeeded"))
        m_lockPasswordNeeded = PXRMsgStrToBool(needed);
    forEachChild(PXRMsgElementFirstChild(root, "cameras"), "camera", [this](PXRMsgElement *camera) { parseCamera(camera); });
    forEachChild(PXRMsgElementFirstChild(root, "lightings"), nullptr, [this](PXRMsgElement *lighting) {
        const char *kind = PXRMsgElementName(lighting);
        const QString key = QString("%1=%2").arg(QString::fromUtf8(kind), utf8(lighting, "id"));
        m_lightingKinds[key] = PXRMsgStringEqual(kind, "led")         ? tr("Internal LED board")
                               : PXRMsgStringEqual(kind, "projector") ? tr("External projector")
                                                                      : tr("Unknown light source");
    });
}

void Model::parseCamera(PXRMsgElement *camera)
{
    const QString id = utf8(camera, "id");
    m_cameraModels[id] = utf8(camera, "cameraModel");
    const char *size = PXRMsgElementAttributeValue(camera, "size");
    QSize parsed(1920, 1080);
    if (size == nullptr || parseSize(size, parsed))
        m_cameraSizes[id] = parsed;
    if (PXRMsgElement *algorithms = PXRMsgElementFirstChild(camera, "enabledAlgorithms")) {
        QStringList &names = m_enabledAlgorithms[id];
        forEachChild(algorithms, nullptr, [&names](PXRMsgElement *algorithm) {
            names << QString::fromUtf8(PXRMsgElementName(algorithm));
        });
    }
}

QString Model::cameraId(int index) const
{
    if (index < 0 || index >= m_cameraModels.size())
        return QString();
    return std::next(m_cameraModels.keyBegin(), index).operator*();
}

// Unknown ids are looked up without being added, so they never count as cameras.
QString Model::cameraLabel(const QString &id) const
{
    return QString("[%1] %2").arg(id, m_cameraModels.value(id));
}

QString Model::lightingLabel(const QString &key) const
{
    return QString("[%1] %2").arg(key, m_lightingKinds.value(key));
}

QStringList Model::enabledAlgorithms(const QString &id) const
{
    return m_enabledAlgorithms.value(id);
}

void Model::cameraSize(const QString &id, int *width, int *height) const
{
    const QSize size = m_cameraSizes.value(id, kUnknownCameraSize);
    *width = size.width();
    *height = size.height();
}

void Model::stillPictureSize(const QString &id, int *width, int *height) const
{
    QSize size = kUnknownCameraSize;
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(m_config.get()), "cameras");
    for (PXRMsgElement *camera = PXRMsgElementFirstChild(cameras, "camera"); camera != nullptr;
         camera = PXRMsgElementNextChild(cameras, camera, "camera")) {
        if (!PXRMsgStringEqual(PXRMsgElementAttributeValue(camera, "id"), id.toUtf8().constData()))
            continue;
        const char *still = PXRMsgElementAttributeValue(PXRMsgElementFirstChild(camera, "stillPicture"), "size");
        if (still == nullptr)
            size = m_cameraSizes.value(id, kUnknownCameraSize);
        else if (parseSize(still, size))
            break;
    }
    *width = size.width();
    *height = size.height();
}

// The camera that made a message of this type: the first whose algorithms include it.
int Model::scaleCoordinate(PXRMsg *msg, const char *attribute, bool horizontal)
{
    PXRMsgElement *root = PXRMsgChild(msg);
    const char *value = PXRMsgElementAttributeValue(PXRMsgElementFirstChild(root, nullptr), attribute);
    if (value == nullptr)
        return 0;
    const Model *model = instance();
    QString type = QString::fromUtf8(PXRMsgElementName(root));
    if (type == "triggerResult")
        type = "anpr";
    QString id = model->cameraId(0);
    for (int i = 0; i < model->cameraCount(); ++i) {
        if (model->enabledAlgorithms(model->cameraId(i)).contains(type)) {
            id = model->cameraId(i);
            break;
        }
    }
    int width = 0, height = 0, stillWidth = 0, stillHeight = 0;
    model->cameraSize(id, &width, &height);
    model->stillPictureSize(id, &stillWidth, &stillHeight);
    const quint32 coordinate = quint32(QByteArray(value).toInt());
    const quint32 scale = quint32(horizontal ? width : height);
    const quint32 still = quint32(horizontal ? stillWidth : stillHeight);
    // A still picture without a size cannot be scaled from.
    if (still == 0)
        return int(coordinate);
    return int(coordinate * scale / still);
}

bool Model::readZone(PXRMsgElement *zone, QVector<QPoint> &points, bool *isRectangle)
{
    points.clear();
    *isRectangle = PXRMsgElementAttributeValue(zone, "width") != nullptr;
    if (*isRectangle) {
        const QPoint corner(intAttribute(zone, "x"), intAttribute(zone, "y"));
        const int width = intAttribute(zone, "width");
        const int height = intAttribute(zone, "height");
        points << corner << corner + QPoint(width, 0) << corner + QPoint(width, height) << corner + QPoint(0, height);
        return true;
    }
    forEachChild(zone, nullptr, [&points](PXRMsgElement *point) {
        if (PXRMsgElementAttributeValue(point, "x") != nullptr && PXRMsgElementAttributeValue(point, "y") != nullptr)
            points << QPoint(intAttribute(point, "x"), intAttribute(point, "y"));
    });
    return true;
}

bool Model::ledCurrentRange(const char *ledId, int *min, int *max) const
{
    PXRMsgElement *lightings = PXRMsgElementFirstChild(PXRMsgChild(m_infos.get()), "lightings");
    PXRMsgElement *led = PXRMsgElementFirstChild(lightings, "led");
    while (led != nullptr && !PXRMsgStringEqual(PXRMsgElementAttributeValue(led, "id"), ledId))
        led = PXRMsgElementNextChild(lightings, led, "led");
    PXRMsgElement *range = PXRMsgElementFirstChild(led, "currentValues");
    const char *low = PXRMsgElementAttributeValue(range, "min");
    const char *high = PXRMsgElementAttributeValue(range, "max");
    if (low != nullptr)
        *min = QByteArray(low).toInt();
    if (high != nullptr)
        *max = QByteArray(high).toInt();
    return low != nullptr && high != nullptr;
}

// The slave is found among the sensors the main window's discovery has heard.
void Model::bindSlave(const char *macAddress)
{
    MainWindowInterface *window = MainWindowInterface::instance();
    PXRDiscover *discover = window != nullptr ? window->discover() : nullptr;
    uint32_t count = 0;
    if (discover == nullptr || !PXRDiscoverGetDiscovered(discover, nullptr, &count) || count == 0)
        return;
    std::vector<PXRMsg *> heard(count, nullptr);
    if (!PXRDiscoverGetDiscovered(discover, heard.data(), &count))
        count = 0;
    heard.resize(count);
    for (PXRMsg *announcement : heard) {
        PXRMsgElement *root = PXRMsgChild(announcement);
        if (PXRMsgStringEqual(PXRMsgElementAttributeValue(root, "macAddress"), macAddress)) {
            bindSlaveFrom(root);
            break;
        }
    }
    for (PXRMsg *announcement : heard)
        PXRMsgDestroy(announcement);
}

// Binding again drops the slave's connection and video, so it is done only when needed.
void Model::bindSlaveFrom(PXRMsgElement *announcement)
{
    const QString address = utf8(announcement, "ipAddress");
    const quint16 port = quint16(intAttribute(announcement, "port", 10001));
    // Legacy ports are unsigned 32-bit values; read as int, 0xFFFFFFFF would read -1.
    const uint commandPort = uintAttribute(announcement, "commandPort");
    const uint timePort = uintAttribute(announcement, "timePort");
    QStringList options;
    if (commandPort != 0 && commandPort != 11011)
        options << QString("commandPort=%1").arg(commandPort);
    if (timePort != 0 && timePort != 10000)
        options << QString("timePort=%1").arg(timePort);
    const QString binding = QString("%1:%2;%3").arg(address).arg(port).arg(options.join(';'));
    if (binding == m_slaveBinding && m_slaveSensor.handle() != nullptr)
        return;
    MainWindowInterface::logApp(7, QString("Binding slave %1:%2 (%3)").arg(address).arg(port).arg(options.join(';')));
    m_slaveBinding = m_slaveSensor.connect(address, port, options.join(';'), false, true, false, QString(), QString())
                         ? binding
                         : QString();
    m_slavePlayer.setCameraId(0);
    const PXRMessage streams = pxrMsgWithRoot("setEnableStreams");
    PXRMsgElement *root = PXRMsgChild(streams.get());
    PXRMsgElement *cameras = PXRMsgElementCreate("cameras");
    PXRMsgElementAddChild(root, cameras);
    PXRMsgElement *camera = PXRMsgElementCreate("camera");
    PXRMsgElementAddChild(cameras, camera);
    PXRMsgElementSetAttribute(camera, "enabled", "1");
    PXRMsgElementSetAttribute(camera, "id", "0");
    PXRSendAsynchronousMessage(m_slaveSensor.handle(), streams.get());
}
