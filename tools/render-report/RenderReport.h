#pragma once

#include <QStringList>

class QTextStream;

namespace tools {

enum RenderResult : int {
    Rendered = 0,
    BadArguments = 1,
    UnknownLayout = 2,
    LayoutFailed = 3,
    NotWritten = 4,
    RanWithErrors = 5, // the PDF was written, but handlers failed: it may be incomplete
};

// render-report LAYOUT PROGRAMFOLDER OUT.pdf [--filter TEXT] [--sort TEXT] [--option WORD]
//     [--line1 TEXT] [--line2 TEXT] [--combine] [--week-id N] [--youth-id N]
//
// Sets the values a report run hands to its layout, points the program at the data file of
// PROGRAMFOLDER, creates the layout by its registered name, runs it and writes every page to
// OUT.pdf. Messages the layout shows and handlers that failed go to err; a run with failed
// handlers still writes the PDF but ends with RanWithErrors. arguments[0] is the program's name.
int renderReport(const QStringList& arguments, QTextStream& err);

} // namespace tools
