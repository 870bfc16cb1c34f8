#include "people/RecordNavigator.h"

#include "platform/data/Recordset.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QScopeGuard>

RecordNavigator::RecordNavigator(Hooks hooks) : m_hooks(std::move(hooks)) {}

void RecordNavigator::connectButtons(QObject* context, QAbstractButton* first,
                                     QAbstractButton* previous, QAbstractButton* next,
                                     QAbstractButton* last)
{
    const std::pair<QAbstractButton*, Step> buttons[] = {
        {first, Step::First}, {previous, Step::Previous}, {next, Step::Next}, {last, Step::Last}};
    for (const auto& [button, step] : buttons)
        QObject::connect(button, &QAbstractButton::clicked, context, [this, s = step] { go(s); });
}

void RecordNavigator::go(Step step)
{
    m_hooks.run([this, step] {
        data::Recordset* rs = m_hooks.records();
        if (!rs)
            return;
        // A step past either end shows no record for a moment, and a screen disables its
        // controls while it shows none: the control that had the keyboard gets it back.
        const QPointer<QWidget> focus = QApplication::focusWidget();
        const auto keepFocus = qScopeGuard([&focus] {
            if (focus && focus != QApplication::focusWidget() && focus->isEnabled() &&
                focus->isVisible())
                focus->setFocus(Qt::OtherFocusReason);
        });
        switch (step) {
        case Step::First:
            rs->MoveFirst();
            break;
        case Step::Last:
            rs->MoveLast();
            break;
        case Step::Next:
            if (!rs->EOF())
                rs->MoveNext();
            if (rs->EOF() && rs->RecordCount() > 0) {
                m_hooks.pastLast();
                rs->MoveLast();
            }
            break;
        case Step::Previous:
            if (!rs->BOF())
                rs->MovePrevious();
            if (rs->BOF() && rs->RecordCount() > 0) {
                m_hooks.pastFirst();
                rs->MoveFirst();
            }
            break;
        }
    });
}

std::optional<RecordNavigator::Step>
RecordNavigator::stepForKey(int key, Qt::KeyboardModifiers modifiers, CtrlRule rule)
{
    // Only Shift, Ctrl and Alt count: arrow keys may also carry the keypad flag.
    const auto held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool toEnd =
        rule == CtrlRule::Held ? bool(held & Qt::ControlModifier) : held == Qt::ControlModifier;
    switch (key) {
    case Qt::Key_End:
        return Step::Last;
    case Qt::Key_Home:
        return Step::First;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return toEnd ? Step::First : Step::Previous;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return toEnd ? Step::Last : Step::Next;
    default:
        return std::nullopt;
    }
}
