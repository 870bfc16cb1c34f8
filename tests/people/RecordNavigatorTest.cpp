#include "people/RecordNavigator.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "tests/support/DataFixture.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using Step = RecordNavigator::Step;
using Rule = RecordNavigator::CtrlRule;

TEST(RecordNavigatorKeys, StepByKeyWithCtrlHeldOrAlone)
{
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const Qt::KeyboardModifiers ctrlKeypad = Qt::ControlModifier | Qt::KeypadModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<Step> held;  // Ctrl counts while held (the directory)
        std::optional<Step> alone; // Ctrl counts alone (the meetings screen)
    } cases[] = {
        {Qt::Key_End, none, Step::Last, Step::Last},
        {Qt::Key_Home, ctrl, Step::First, Step::First},
        {Qt::Key_Up, none, Step::Previous, Step::Previous},
        {Qt::Key_PageUp, ctrl, Step::First, Step::First},
        {Qt::Key_Down, none, Step::Next, Step::Next},
        {Qt::Key_PageDown, ctrl, Step::Last, Step::Last},
        {Qt::Key_Down, ctrlShift, Step::Last, Step::Next},
        {Qt::Key_Up, ctrlShift, Step::First, Step::Previous},
        {Qt::Key_Down, ctrlKeypad, Step::Last, Step::Last}, // the keypad flag is no modifier
        {Qt::Key_Left, none, std::nullopt, std::nullopt},
        {Qt::Key_Escape, none, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordNavigator::stepForKey(c.key, c.modifiers, Rule::Held), c.held) << c.key;
        EXPECT_EQ(RecordNavigator::stepForKey(c.key, c.modifiers, Rule::Alone), c.alone) << c.key;
    }
}

// A step past either end shows no record for a moment, and the screen disables its boxes while
// it shows none: the box that had the keyboard has it again when the step comes back.
TEST(RecordNavigatorSteps, AStepPastEitherEndKeepsTheFocusWhereItWas)
{
    testing_support::DataFixture db;
    db.addMeeting(QDate(2024, 3, 1));
    db.addMeeting(QDate(2024, 3, 8));
    data::Connection conn;
    conn.Open(db.connectionString());
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT Wk_ID FROM Weeks"), conn, data::adOpenStatic);
    QWidget screen;
    auto* panel = new QWidget(&screen);
    QLineEdit* boxes[] = {new QLineEdit(panel), new QLineEdit(panel)};
    QObject::connect(&rs, &data::Recordset::moveComplete, panel,
                     [&] { panel->setEnabled(!rs.EOF() && !rs.BOF()); });
    int passedAnEnd = 0;
    RecordNavigator navigator({[&] { return &rs; },
                               [](const std::function<void()>& move) { move(); },
                               [&] { ++passedAnEnd; }, [&] { ++passedAnEnd; }});
    screen.show();
    QApplication::setActiveWindow(&screen);
    const struct {
        Step toEnd;
        Step past;
        QLineEdit* box;
    } cases[] = {{Step::Last, Step::Next, boxes[1]}, {Step::First, Step::Previous, boxes[0]}};
    for (const auto& c : cases) {
        navigator.go(c.toEnd);
        c.box->setFocus();
        navigator.go(c.past);
        EXPECT_TRUE(panel->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), c.box);
    }
    EXPECT_EQ(passedAnEnd, 2);
}

} // namespace
