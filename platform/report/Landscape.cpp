#include "platform/report/Landscape.h"

#include <utility>

namespace report {

void LandscapeRun::start(Report& layout)
{
    m_saved = layout.Printer().Orientation();
    layout.Printer().setOrientation(Orientation::Landscape);
}

void LandscapeRun::start(Report& layout, Twips printWidth, Twips printHeight)
{
    start(layout);
    layout.setPrintWidth(printWidth);
    layout.setPrintHeight(printHeight);
}

void LandscapeRun::end(Report& layout)
{
    if (m_saved)
        layout.Printer().setOrientation(*std::exchange(m_saved, std::nullopt));
}

} // namespace report
