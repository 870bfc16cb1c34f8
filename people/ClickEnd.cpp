#include "people/ClickEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>

namespace {

// Waits for the release of the last mouse button held, then runs the step once and goes.
class ReleaseWatch final : public QObject {
public:
    ReleaseWatch(QObject* context, std::function<void()> step)
        : m_context(context), m_step(std::move(step))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonRelease ||
            QGuiApplication::mouseButtons() != Qt::NoButton || !m_step)
            return false;
        QCoreApplication::instance()->removeEventFilter(this);
        deleteLater();
        const auto step = std::move(m_step);
        m_step = nullptr;
        if (m_context)
            step();
        return false;
    }

private:
    QPointer<QObject> m_context;
    std::function<void()> m_step;
};

} // namespace

void RunWhenClickEnds(QObject* context, std::function<void()> step)
{
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        step();
        return;
    }
    new ReleaseWatch(context, std::move(step));
}
