#pragma once

class clsReports;

// Adds the report catalogue's seventeen entries to an empty catalogue, in list order, each
// under its title as key, with the filters it offers and its stored defaults.
void LoadReportCatalogue(clsReports& reports);
