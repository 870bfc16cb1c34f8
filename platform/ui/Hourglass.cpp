#include "platform/ui/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

Hourglass::Hourglass()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

Hourglass::~Hourglass()
{
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace ui
