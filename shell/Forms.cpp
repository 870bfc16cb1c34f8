#include "shell/Forms.h"

#include "shell/ContentForm.h"

namespace Forms {

namespace {
QList<QPointer<QWidget>>& list()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

void prune()
{
    list().removeIf([](const QPointer<QWidget>& p) { return p.isNull(); });
}
} // namespace

void add(QWidget* window)
{
    prune();
    if (window && !list().contains(window))
        list().append(window);
}

void remove(QWidget* window)
{
    list().removeIf([window](const QPointer<QWidget>& p) { return p.isNull() || p.data() == window; });
}

QList<QWidget*> all()
{
    prune();
    QList<QWidget*> out;
    for (const auto& p : list())
        out.append(p.data());
    return out;
}

int count()
{
    prune();
    return static_cast<int>(list().size());
}

void unload(QWidget* window)
{
    if (!window)
        return;
    if (auto* screen = qobject_cast<ContentForm*>(window)) {
        screen->Unload();
        return;
    }
    window->hide();
    remove(window);
    window->close();
    window->deleteLater();
}

} // namespace Forms
