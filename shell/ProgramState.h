#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class clsCorvessa;
class frmMainMDI;
class RunMarker;

// An attendance list a meetings screen had not saved when a report preview covered it and the
// user chose to print the list as stored: the people listed (id, text, ticked) in list order,
// and the attendance as stored when the list was read.
struct KeptAttendanceList {
    struct Entry {
        std::int32_t id = 0;
        QString text;
        bool ticked = false;
    };
    std::int32_t meetingId = 0;
    std::optional<double> meetingDay; // Wk_Date, to name the meeting to the user
    std::vector<Entry> entries;
    std::vector<std::int32_t> stored;
    bool oldListConfirmed = false;
};

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
    QString ReportFilter; // SQL conditions without WHERE, joined by " AND "
    QString ReportSort;   // an ORDER BY list
    bool ReportCombineAddresses = false;
    QString ReportOption;             // "MIA", "SCHOOL", "BARCODE" or empty
    std::int32_t SelectedYouthID = 0; // 0 = none
    QString BulkEmailList;            // each address followed by "; "
    std::int32_t ReportWeekID = 0;    // below 1 = all members
    // Handed from the meetings screen a preview covered to the next meetings screen made.
    std::optional<KeptAttendanceList> KeptAttendance;

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
