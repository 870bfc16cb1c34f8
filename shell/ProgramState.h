#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class clsCorvessa;
class frmMainMDI;
class RunMarker;

// The program-wide variables: the settings object, the main window, the connection string
// and the values screens, the report catalogue and the report layouts hand to each other.
// Strings start empty, numbers 0, flags False, references empty.
struct ProgramState {
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    std::unique_ptr<clsCorvessa> Settings;
    std::unique_ptr<frmMainMDI> MainForm;
    QString ConnectionString;
    QString StoredReminders;
    QString ReportLine1;
    QString ReportLine2;
    QString ReportFilter;        // SQL conditions without WHERE, joined by " AND "
    QString ReportSort;          // an ORDER BY list
    bool ReportCombineAddresses = false;
    QString ReportOption;        // "MIA", "SCHOOL", "BARCODE" or empty
    std::int32_t SelectedYouthID = 0; // 0 = none
    QString BulkEmailList;       // each address followed by "; "
    std::int32_t ReportWeekID = 0;    // below 1 = all members

    // The navigation node a report preview returns to (kept by ShowReport between calls).
    std::int16_t ReturnNodeIndex = 0;

    // This run's marker beside the data file (RunMarker.h), while the main window is loaded.
    std::unique_ptr<RunMarker> ThisRun;
    // The people this run of the program added (their Youth_ID), so that it clears away its
    // own unfinished new rows even while another copy runs.
    std::vector<std::int32_t> PeopleAddedByThisRun;
};

// The one set of program-wide variables.
ProgramState& program();

// Drops the main window and the settings object and returns every variable to its start value.
void resetProgramState();

// The settings object, created on first use when start-up has not created it.
clsCorvessa& settings();
