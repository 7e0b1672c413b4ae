// Turns a configuration tag ("key" or "id:key") into the dialog or window action that edits it.
#pragma once

#include "DialogFactories.h"

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

struct DialogRoute
{
    const char *key;
    const char *target; // dialog class name, or window action name when action is set
    bool action;
    bool takesId;
    const char *module; // nullptr when the dialog serves one module only
};

class DialogDispatcher
{
public:
    using Action = std::function<void()>;
    using Logger = std::function<void(const QString &line)>;

    static void splitTag(const QString &tag, QString *id, QString *key);
    static const std::vector<DialogRoute> &routes();
    static const DialogRoute *route(const QString &key);

    DialogDispatcher(QWidget *parent, Logger logger) : m_parent(parent), m_logger(std::move(logger)) {}
    void setAction(const QString &name, Action action) { m_actions.insert(name, std::move(action)); }
    // Run when the network dialog was accepted with new addresses or ports.
    void setOnNetworkChanged(Action action) { m_onNetworkChanged = std::move(action); }
    void dispatch(const QString &tag) const;
    // Runs a dialog of the table with the window as parent; a missing one is logged.
    void runDialog(const QString &name, const DialogArgs &args = {}) const;

private:
    void openDialog(const DialogRoute &route, const DialogArgs &args) const;
    std::unique_ptr<QDialog> makeDialog(const QString &name, const DialogArgs &args) const;

    QWidget *m_parent;
    Logger m_logger;
    QHash<QString, Action> m_actions;
    Action m_onNetworkChanged;
};
