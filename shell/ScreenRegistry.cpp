#include "shell/ScreenRegistry.h"

#include "shell/ContentForm.h"

#include <QHash>

namespace ScreenRegistry {

namespace {
QHash<QString, Factory>& factories()
{
    static QHash<QString, Factory> map;
    return map;
}
} // namespace

void registerScreen(const QString& formName, Factory factory)
{
    factories().insert(formName, std::move(factory));
}

void unregisterScreen(const QString& formName)
{
    factories().remove(formName);
}

bool isRegistered(const QString& formName)
{
    return factories().contains(formName);
}

ContentForm* createScreen(const QString& formName)
{
    const auto it = factories().constFind(formName);
    if (it == factories().constEnd() || !*it)
        return new PlaceholderScreen(formName);
    return (*it)();
}

} // namespace ScreenRegistry
