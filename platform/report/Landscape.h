#pragma once

#include "platform/report/Report.h"
#include "platform/report/Units.h"

#include <optional>

namespace report {

// Landscape pages for one run of a layout, undone at its end. The layout calls start from its
// ReportStart and end from its ReportEnd:
//
//   void rptBirthdays::ReportStart() { m_landscape.start(*this, 14256, 10656); }
//   void rptBirthdays::ReportEnd() { m_landscape.end(*this); }
//
// start remembers the printer's orientation, turns it to landscape and sets the printable
// width and height (without them, the printable area is what the paper and margins leave);
// end puts the remembered orientation back. Every page keeps the orientation
// it started with, so the pages stay landscape in the preview, the printout and the PDF.
class LandscapeRun {
public:
    void start(Report& layout);
    void start(Report& layout, Twips printWidth, Twips printHeight);
    void end(Report& layout);

private:
    std::optional<Orientation> m_saved;
};

} // namespace report
