// The sensor named on the command line: an address alone, or an address and a plain port
// joined by one colon.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CommandLineSensor
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineSensor)

public:
    static constexpr quint16 kDefaultPort = 10001;
    static constexpr quint16 kDefaultSecuredPort = 12001;

    enum class Action {
        None,    // no sensor named: nothing is connected at start
        Connect, // address and port below
        Refuse,  // a sensor named in a form we do not take: error tells the operator why
    };

    // Reads the program's arguments (the program itself first); only a single argument counts.
    static CommandLineSensor parse(const QStringList &arguments);

    Action action = Action::None;
    QString address;
    quint16 port = kDefaultPort;
    QString error;
};
