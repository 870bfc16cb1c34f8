#pragma once

#include <Qt>

#include <functional>
#include <optional>

class QAbstractButton;
class QObject;

namespace data {
class Recordset;
}

// First, previous, next and last over the records a screen shows one at a time, from its four
// buttons and the navigation keys. The screen says how a move is run (its checks before moving
// and how a failure is reported) and what happens when Next passes the last record or Previous
// the first, before the navigator goes back to that record.
class RecordNavigator {
public:
    enum class Step { First, Previous, Next, Last };
    // Ctrl with Up, Down, Page Up or Page Down goes to the first or last record while Ctrl is
    // held, or only with Ctrl alone (with Shift too it is a plain step).
    enum class CtrlRule { Held, Alone };

    struct Hooks {
        std::function<data::Recordset*()> records;
        std::function<void(const std::function<void()>& move)> run;
        std::function<void()> pastLast;
        std::function<void()> pastFirst;
    };

    explicit RecordNavigator(Hooks hooks);

    // The buttons' clicks make the four steps; `context` ends the connections when it goes.
    void connectButtons(QObject* context, QAbstractButton* first, QAbstractButton* previous,
                        QAbstractButton* next, QAbstractButton* last);
    void go(Step step);

    // The step a key asks for: End the last, Home the first, Up and Page Up the previous (the
    // first with Ctrl), Down and Page Down the next (the last with Ctrl); none for other keys.
    static std::optional<Step> stepForKey(int key, Qt::KeyboardModifiers modifiers, CtrlRule rule);

private:
    Hooks m_hooks;
};
