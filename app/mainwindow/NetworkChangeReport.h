// Implemented by the network settings dialog: whether the accepted change moved the sensor to
// other addresses or ports, which ends the connection.
#pragma once

class NetworkChangeReport
{
public:
    virtual ~NetworkChangeReport() = default;
    virtual bool networkChanged() const = 0;
};
