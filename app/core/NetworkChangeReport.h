// Implemented by the network settings dialog: whether the accepted change moved the sensor to
// other addresses or ports, which ends the connection, and whether the window was readied for
// that loss, which must be undone when the dialog closes without it.
#pragma once

class NetworkChangeReport
{
public:
    virtual ~NetworkChangeReport() = default;
    virtual bool networkChanged() const = 0;
    // The window's prepareForDisconnect ran during the dialog's life.
    virtual bool disconnectPrepared() const = 0;
};
