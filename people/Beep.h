#pragma once

#include <functional>

namespace people {

// The warning sound of the people screens. Tests replace the sound with a counter through
// BeepOverride, since a headless run cannot hear it.
void Beep();

class BeepOverride {
public:
    explicit BeepOverride(std::function<void()> sound);
    ~BeepOverride();
    BeepOverride(const BeepOverride&) = delete;
    BeepOverride& operator=(const BeepOverride&) = delete;

private:
    std::function<void()> m_previous;
};

} // namespace people
