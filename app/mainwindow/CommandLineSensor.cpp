// The sensor named on the command line: an address alone, or an address and a plain port
// joined by one colon.
#include "CommandLineSensor.h"

CommandLineSensor CommandLineSensor::parse(const QStringList &arguments)
{
    CommandLineSensor sensor;
    if (arguments.size() != 2)
        return sensor;
    const QString argument = arguments.at(1);
    const QStringList parts = argument.split(':');
    if (parts.size() > 2) {
        // Connecting elsewhere (say, to the last sensor used) would reach a device nobody named.
        sensor.action = Action::Refuse;
        sensor.error = tr("The address %1 is not supported: give an IPv4 address or a host name, "
                          "optionally followed by a colon and a port.")
                           .arg(argument);
        return sensor;
    }
    sensor.address = parts.at(0);
    if (parts.size() == 2) {
        bool isNumber = false;
        const uint port = parts.at(1).toUInt(&isNumber, 10);
        if (!isNumber || port < 1 || port > 65535) {
            sensor.action = Action::Refuse;
            sensor.error = tr("The port of %1 is not valid: give a number from 1 to 65535.").arg(argument);
            return sensor;
        }
        sensor.port = quint16(port);
    }
    sensor.action = Action::Connect;
    return sensor;
}
