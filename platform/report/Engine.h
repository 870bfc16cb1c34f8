#pragma once

#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <memory>

namespace report {

// Runs a layout once, from ReportStart to ReportEnd, into pages. A failing handler is
// recorded in the document's errors and the run goes on. The layout keeps the document
// (Report::document()). Throws ReportError when the layout is already running.
std::shared_ptr<const Document> run(Report& layout);

// A layout that never stops asking for rows is cut off after this many detail instances.
inline constexpr int kMaxDetailInstances = 2'000'000;

} // namespace report
