// Fixture of the model tests: the model made fresh for each test beside a stand-in main window
// whose application and sensor-traces logs go to files, and messages built as trees.
#pragma once

#include "Model.h"
#include "Announcer.h"
#include "PXRQt.h"
#include "SensorTestSupport.h"
#include "WireBytes.h"

#include <QDateTime>

using fybsim::Element;

// A message as the sensor library hands it over: read from its wire form, read-only.
inline PXRMsg *receivedMessage(const Element &root)
{
    PXRMsg *msg = pxrMsgFromByteArray(QByteArray::fromStdString(fybsim::wireOf(root)));
    PXRMsgSetReadOnly(msg, 1);
    return msg;
}

inline std::string text(qint64 number)
{
    return std::to_string(number);
}

inline qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// A camera element with an id and further attributes.
inline Element camera(const std::string &id, std::vector<std::pair<std::string, std::string>> attributes = {})
{
    Element element("camera");
    element.set("id", id);
    for (const auto &[name, value] : attributes)
        element.set(name, value);
    return element;
}

class ModelTest : public SensorTest
{
protected:
    void SetUp() override
    {
        SensorTest::SetUp();
        window->sensor.initFile(true, logFolder.path(), "sensor", 0);
        model = Model::instance();
    }
    void TearDown() override
    {
        Model::deleteInstance();
        model = nullptr;
        SensorTest::TearDown();
    }

    // Hands the message over as the master (or slave) sensor's pump does.
    void push(const Element &root) { emit model->masterSensor().signalMsgReceived(receivedMessage(root)); }
    void pushFromSlave(const Element &root) { emit model->slaveSensor().signalMsgReceived(receivedMessage(root)); }

    // Binds one of the model's sensors to the test sensor and waits until both connections are up.
    void connectSensor(Sensor &client, fybsim::FybSensor &server)
    {
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_TRUE(client.connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
        ASSERT_TRUE(waitUntil([&] { return client.isConnected(); }));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 5s));
    }

    // What the sensor-traces log holds so far.
    QString sensorLog() const
    {
        const QStringList files = QDir(logFolder.path()).entryList({"*_sensor.log"}, QDir::Files);
        QFile file(logFolder.filePath(files.value(0)));
        if (files.isEmpty() || !file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromLatin1(file.readAll());
    }

    // An attribute of the kept tree's first element at the path of names below its root.
    static QString keptAttribute(PXRMsg *kept, std::initializer_list<const char *> path, const char *name)
    {
        PXRMsgElement *element = PXRMsgChild(kept);
        for (const char *step : path)
            element = PXRMsgElementFirstChild(element, step);
        return QString::fromUtf8(PXRMsgElementAttributeValue(element, name));
    }

    Model *model = nullptr;
};
