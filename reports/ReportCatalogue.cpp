#include "reports/ReportCatalogue.h"

#include "reports/ReportFilters.h"
#include "reports/clsReports.h"

#include <array>

namespace {

constexpr unsigned bit(FilterIndex i)
{
    return 1u << i;
}

// The filters of the lists about people.
constexpr unsigned kPeople = bit(fiStatus) | bit(fiTeam) | bit(fiVisitor) | bit(fiMailList) |
                             bit(fiSchool) | bit(fiGrade) | bit(fiGender);
constexpr unsigned kRoll =
    bit(fiTeam) | bit(fiInclude) | bit(fiSchool) | bit(fiGrade) | bit(fiGender);

// Which stored defaults an entry carries (the value 99; Include's is 1).
enum Defaults : unsigned {
    dStatus = 1,
    dVisitor = 2,
    dMailList = 4,
    dInclude = 8,
    dPeople = dStatus | dVisitor | dMailList
};

struct Row {
    const char* title;
    const char* objectName;
    const char* description;
    unsigned filters;
    unsigned defaults;
};

const std::array<Row, 17> kCatalogue{{
    {"Attendance Summary", "rptAttendance",
     "See a graph of attendance per week as well as a breakdown of visitors.",
     bit(fiTeam) | bit(fiYear) | bit(fiSchool) | bit(fiGrade) | bit(fiGender) | bit(fiMtgType), 0},
    {"Birthdays", "rptBirthdays", "View members' birthdays.", kPeople, dPeople},
    {"Group Stats", "rptGrpStats", "A summary of your group in statistics, charts and graphs.", 0,
     0},
    {"Mailing Labels (Avery 5260)", "rptLabels", "Print mailing labels to use on newsletters, etc.",
     kPeople & ~bit(fiMailList), dStatus | dVisitor},
    {"Member Directory", "rptDirectory",
     "A directory suitable for giving out to everyone in the group.", kPeople, dPeople},
    {"Missing Data", "rptMissingData",
     "See where you are missing an address, phone number or birthday.", kPeople,
     dVisitor | dMailList},
    {"Missing in Action List", "rptMissingData",
     "See a list of all Active people who haven't been around in a while.",
     kPeople & ~bit(fiStatus), dVisitor | dMailList},
    {"Offering Summary", "rptOffering",
     "See a YTD total offering, as well as a breakdown by weeks and months.",
     bit(fiYear) | bit(fiMtgType), 0},
    {"Photo Directory", "rptPhotoDir",
     "A directory containing photos and basic contact information.", kPeople, dPeople},
    {"Roll Sheet", "rptRollSheet", "A blank roll sheet for taking with you to services/meetings.",
     kRoll, dInclude},
    {"Schools", "rptBirthdays", "View members grouped by school and grade level.", kPeople,
     dPeople},
    {"Sign-Up Sheet", "rptSignUp", "Print a blank sign-up sheet for an upcoming event.", 0, 0},
    {"Team Roster", "rptTeamRoster",
     "A roll sheet subdivided by team. Useful for evangelism programs.", kRoll, dInclude},
    {"Visitor Cards", "rptVisitorCard", "Cut these cards out and use them at your services.", 0, 0},
    {"Visitors List", "rptVisitors", "A list of visitors and a checklist for each one.",
     bit(fiStartDate), 0},
    {"---------------", "", "", 0, 0},
    {"Bulk E-mail", "<<e-mail>",
     "Not really a report.  Use this selection to send e-mail to mulitple people at once.", kPeople,
     dPeople},
}};

} // namespace

void LoadReportCatalogue(clsReports& reports)
{
    for (const Row& row : kCatalogue) {
        const QString title = QString::fromUtf8(row.title);
        clsReport& r = reports.Add(title, QString::fromUtf8(row.objectName),
                                   QString::fromUtf8(row.description), title);
        const auto has = [&](FilterIndex i) { return (row.filters & bit(i)) != 0; };
        r.FilterStatus = has(fiStatus);
        r.FilterTeam = has(fiTeam);
        r.FilterSchoolType = has(fiSchoolType);
        r.FilterLeader = has(fiLeader);
        r.FilterVisitor = has(fiVisitor);
        r.FilterMailList = has(fiMailList);
        r.FilterDrama = has(fiDrama);
        r.FilterMusic = has(fiMusic);
        r.FilterInclude = has(fiInclude);
        r.FilterYear = has(fiYear);
        r.FilterSchool = has(fiSchool);
        r.FilterGrade = has(fiGrade);
        r.FilterGender = has(fiGender);
        r.FilterMtgType = has(fiMtgType);
        r.FilterStartDate = has(fiStartDate);
        if (row.defaults & dStatus)
            r.DefaultStatus = 99;
        if (row.defaults & dVisitor)
            r.DefaultVisitor = 99;
        if (row.defaults & dMailList)
            r.DefaultMailList = 99;
        if (row.defaults & dInclude)
            r.DefaultInclude = 1;
    }
}
