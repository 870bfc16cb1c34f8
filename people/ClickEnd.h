#pragma once

#include <functional>

class QObject;

// Runs a step at once or, while a mouse button is held down, just before the button is let go
// (and before the clicked control sees it). A check that may show a message runs this way when
// a box is left by a click: a message opened in the middle of a click would lose the click and
// leave the clicked button drawn pressed. The step is dropped when `context` is gone by then.
void RunWhenClickEnds(QObject* context, std::function<void()> step);
