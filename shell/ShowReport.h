#pragma once

#include <memory>

namespace report {
class Report;
}

// True: hosts the report preview with the report as the main window's content and remembers
// the navigation node to return to. False: returns to that node (node 1 when none was
// remembered), which unloads the preview and creates a fresh screen there.
void ShowReport(std::shared_ptr<report::Report> report, bool show);
