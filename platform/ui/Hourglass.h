#pragma once

namespace ui {

// Shows the hourglass (wait) cursor for its lifetime; the normal cursor always comes back,
// also when the work in between throws. Nests.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool m_active = false;
};

} // namespace ui
