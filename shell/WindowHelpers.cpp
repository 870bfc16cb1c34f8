#include "shell/WindowHelpers.h"

#include "shell/Forms.h"

#include <QWidget>

#include <cmath>

void SetWindowParent(QWidget* child, QWidget* parent)
{
    if (!child)
        return;
    const bool wasShown = child->isVisible() || !child->isHidden();
    child->setParent(parent);
    if (wasShown)
        child->show();
}

void FitWindowToContainer(QWidget* window, QWidget* container, bool isChild, double margin)
{
    if (!window || !container)
        return;
    const int m = static_cast<int>(std::lround(margin));
    const QRect area = container->rect();
    const int width = std::max(0, area.width() - 2 * m);
    const int height = std::max(0, area.height() - 2 * m);
    if (isChild) {
        window->setGeometry(m, m, width, height);
    } else {
        const QPoint topLeft = container->mapToGlobal(QPoint(m, m));
        window->setGeometry(QRect(topLeft, QSize(width, height)));
    }
}

QWidget* GetFirstChildWindow(QWidget* window)
{
    if (!window)
        return nullptr;
    const QObjectList& children = window->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* child = qobject_cast<QWidget*>(*it);
        if (child && !child->isHidden() && child != window)
            return child;
    }
    return nullptr;
}

int FindFormIndex(const QWidget* window)
{
    const QList<QWidget*> windows = Forms::all();
    for (int i = 0; i < windows.size(); ++i)
        if (windows[i] == window)
            return i;
    return -1;
}

int FindFormIndex(const QString& name)
{
    const QList<QWidget*> windows = Forms::all();
    for (int i = 0; i < windows.size(); ++i)
        if (windows[i]->objectName() == name)
            return i;
    return -1;
}
