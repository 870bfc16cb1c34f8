#include "platform/report/Registry.h"

#include <map>

namespace report {

namespace {

std::map<QString, LayoutFactory>& factories()
{
    static std::map<QString, LayoutFactory> all;
    return all;
}

} // namespace

void registerLayout(const QString& name, LayoutFactory factory)
{
    if (factory)
        factories()[name] = std::move(factory);
    else
        factories().erase(name);
}

void unregisterLayout(const QString& name)
{
    factories().erase(name);
}

std::shared_ptr<Report> createLayout(const QString& name)
{
    const auto it = factories().find(name);
    if (it == factories().end())
        return nullptr;
    return it->second();
}

QStringList registeredLayouts()
{
    QStringList names;
    for (const auto& [name, factory] : factories())
        names << name;
    return names;
}

} // namespace report
