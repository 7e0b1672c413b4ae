#include "DialogFactories.h"

#include <QHash>

namespace {

QHash<QString, DialogFactory> &table()
{
    static QHash<QString, DialogFactory> factories;
    return factories;
}

} // namespace

void DialogFactories::add(const QString &name, DialogFactory factory)
{
    table().insert(name, std::move(factory));
}

void DialogFactories::remove(const QString &name)
{
    table().remove(name);
}

DialogFactory DialogFactories::find(const QString &name)
{
    return table().value(name);
}
