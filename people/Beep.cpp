#include "people/Beep.h"

#include <QApplication>

namespace people {

namespace {
std::function<void()>& sound()
{
    static std::function<void()> s;
    return s;
}
} // namespace

void Beep()
{
    if (sound())
        sound()();
    else
        QApplication::beep();
}

BeepOverride::BeepOverride(std::function<void()> replacement) : m_previous(std::move(sound()))
{
    sound() = std::move(replacement);
}

BeepOverride::~BeepOverride()
{
    sound() = std::move(m_previous);
}

} // namespace people
