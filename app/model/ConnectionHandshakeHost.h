// What the connection handshake asks of the window that shows the connection: the modal wait,
// the lock command with its boxes, and the looks and panels that follow each step.
#pragma once

class Sensor;

class ConnectionHandshakeHost
{
public:
    virtual ~ConnectionHandshakeHost() = default;

    // The modal wait until the sensor is connected (at once when it already is); false when the
    // operator cancelled it.
    virtual bool waitForConnection(Sensor &sensor) = 0;
    // After a cancelled wait: the connection is given up and the window goes back to idle.
    virtual void abandonConnection() = 0;
    // A current sensor lost its lock with the connection: locked again as the lock switch would.
    virtual void relockSensor() = 0;
    // The sensor's schema was loaded into the model: the actions it allows are shown.
    virtual void showSchemaActions() = 0;
    virtual void showLockState() = 0;
    // The information's facts were parsed: what shows them and both trees are refreshed.
    virtual void showSensorState() = 0;
    // The handshake is through: the periodic work starts and the schema's last action follows.
    virtual void connectionEstablished() = 0;
    // A drop reached the application; the handshake runs again right after.
    virtual void connectionLost() = 0;
};
