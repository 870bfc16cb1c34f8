#include "people/RecordNavigator.h"

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

} // namespace
