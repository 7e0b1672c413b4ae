// The dialogs the dispatcher can open, keyed by their class name. The settings, network, security
// and integration dialogs register themselves here as they come.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

struct DialogArgs
{
    QString id;     // camera id, or lighting key for the LED and projector dialogs
    QString module; // "anpr" or "dgpr" for the dialogs serving both modules, else empty
};

using DialogFactory = std::function<std::unique_ptr<QDialog>(QWidget *parent, const DialogArgs &args)>;

class DialogFactories
{
public:
    static void add(const QString &name, DialogFactory factory);
    static void remove(const QString &name);
    static DialogFactory find(const QString &name);
};
