// Every statement the program sends, run on the group of DataTestHelpers.h, with the rows Jet
// gives for it.
#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

#include <algorithm>

using data::Variant;
using datatest::query;

namespace {

enum class Order { Ordered, Unordered };

struct Expect {
    const char* columns; // comma-separated field names
    Order order;
    QStringList rows;     // each row the columns joined by '|'
    bool anyCase = false; // text of case-insensitive groups may come back in either case
};

struct StatementCase {
    const char* name;
    const char* sql;
    std::vector<Expect> expects;
};

// Test output names the statement rather than dumping its bytes.
void PrintTo(const StatementCase& c, std::ostream* os)
{
    *os << c.name;
}

const QStringList kPeopleByName = {"(null)", "abbot", "Doe",    "Hill", "Ives",
                                   "Jones",  "King",  "O'Neil", "Smith"};

// The queries, with what Jet returns for them on the group.
const std::vector<StatementCase> kQueries = {
    {"UpgradeSourcePeople",
     "SELECT * FROM Youth;",
     {{"Youth_ID", Order::Unordered, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}}}},
    {"UpgradeSourceMeetings",
     "SELECT * FROM  Weeks;",
     {{"Wk_ID",
       Order::Unordered,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"}}}},
    {"UpgradeSourceAttendance",
     "SELECT * FROM  Attendance;",
     {{"Attend_Wk_ID", Order::Unordered, {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
                                          "10", "11", "13", "12", "9",  "11", "11", "13", "10",
                                          "13", "1",  "7",  "13", "10", "11", "13", "14"}}}},
    {"ExportPeople",
     "SELECT Youth.* FROM Youth WHERE Youth_Deleted = False ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, kPeopleByName}}},
    {"AttendanceSinceCutoff",
     "SELECT Attend_Youth_ID FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
     "Attendance.Attend_Wk_ID WHERE Wk_Date>=#1/19/2024#;",
     {{"Attend_Youth_ID",
       Order::Unordered,
       {"1", "1", "1", "2", "2", "3", "3", "6", "6", "9", "10", "10", "10", "10"}}}},
    {"StartPagePeople",
     "SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
     "Youth_Deleted = False ORDER by Youth_LName, Youth_FName;",
     {{"YouthName",
       Order::Ordered,
       {", New Profile", "abbot, new profile", "Doe, ", "Hill, Gus", "Ives, Hal", "Jones, Bob",
        "King, Ivy", "O'Neil, Cara", "Smith, Ann"}}}},
    {"DirectoryVisitors",
     "SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
     "Youth_Visitor=True AND Youth_Deleted=False ORDER by Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Ives", "Jones", "King"}}}},
    {"DirectoryMembers",
     "SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
     "Youth_Visitor=False AND Youth_Deleted=False ORDER by Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"(null)", "abbot", "Doe", "Hill", "O'Neil", "Smith"}}}},
    {"TeamList",
     "SELECT DISTINCT Youth_Team FROM Youth WHERE Youth_Team<>'' AND Youth_Team IS NOT NULL AND "
     "Youth_Deleted=False ORDER BY Youth_Team;",
     {{"Youth_Team", Order::Ordered, {" Red ", "Blue", "Red"}, true}}},
    {"RecentMeetingDates",
     "SELECT Wk_Date FROM Weeks WHERE Wk_Date>=#9/15/2023# ORDER BY Wk_Date DESC;",
     {{"Wk_Date",
       Order::Ordered,
       {"3/24/2024", "3/10/2024", "3/3/2024", "3/3/2024", "2/18/2024", "1/14/2024", "1/7/2024",
        "12/17/2023", "11/19/2023", "11/12/2023", "11/5/2023", "10/29/2023", "10/22/2023",
        "10/15/2023"}}}},
    {"PersonHistory",
     "SELECT Wk_Date FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID "
     "WHERE Attend_Youth_ID=2 AND Wk_Date>=#9/15/2023#;",
     {{"Wk_Date", Order::Unordered, {"1/14/2024", "3/3/2024", "3/3/2024"}}}},
    {"MeetingList",
     "select Wk_Comments,Wk_Date,Wk_ID,Wk_Offering,Wk_Scripture,Wk_Topic,Wk_Attendance,Wk_Mtg_Type "
     "from Weeks Order by Wk_Date",
     {{"Wk_Date",
       Order::Ordered,
       {"10/15/2023", "10/22/2023", "10/29/2023", "11/5/2023", "11/12/2023", "11/19/2023",
        "12/17/2023", "1/7/2024", "1/14/2024", "2/18/2024", "3/3/2024", "3/3/2024", "3/10/2024",
        "3/24/2024"}}}},
    {"MeetingTypes",
     "SELECT DISTINCT Wk_Mtg_Type FROM Weeks WHERE Wk_Mtg_Type<>'' AND Wk_Mtg_Type IS NOT NULL "
     "ORDER BY Wk_Mtg_Type;",
     {{"Wk_Mtg_Type", Order::Ordered, {"Bible Study", "Sunday"}, true}}},
    {"ActivePrefill",
     "SELECT Youth_ID, Youth_LName, Youth_FName From Youth WHERE Youth_Status=1 AND "
     "Youth_Deleted=False ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_ID,Youth_LName", Order::Ordered, {"2|Jones", "10|King", "3|O'Neil", "1|Smith"}}}},
    {"AttendeesByDate",
     "SELECT Youth_ID, Youth_FName, Youth_LName FROM Weeks INNER JOIN (Youth INNER JOIN "
     "Attendance ON Youth.Youth_ID = Attendance.Attend_Youth_ID) ON Weeks.Wk_ID = "
     "Attendance.Attend_Wk_ID WHERE Wk_Date=#3/3/2024# ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "Jones", "King", "O'Neil", "Smith"}}}},
    {"AttendeesByMeeting",
     "SELECT Youth_ID, Youth_FName, Youth_LName FROM Youth INNER JOIN Attendance ON "
     "Youth.Youth_ID = Attendance.Attend_Youth_ID WHERE Attend_Wk_ID=11 ORDER BY Youth_LName, "
     "Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "King", "O'Neil", "Smith"}}}},
    {"PeopleByLastName",
     "SELECT Youth_ID, Youth_FName, Youth_LName FROM Youth WHERE Youth_Deleted=False ORDER BY "
     "Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, kPeopleByName}}},
    {"PeopleByFirstName",
     "SELECT Youth_ID, Youth_FName, Youth_LName FROM Youth WHERE Youth_Deleted=False ORDER BY "
     "Youth_FName, Youth_LName;",
     {{"Youth_ID", Order::Ordered, {"4", "1", "2", "3", "8", "9", "10", "5", "7"}}}},
    {"MeetingByDate",
     "SELECT Wk_ID FROM Weeks WHERE Wk_Date = #3/3/2024#;",
     {{"Wk_ID", Order::Unordered, {"11", "12"}}}},
    {"ScanLookup",
     "SELECT Youth_LName & ', ' & Youth_FName AS FullName FROM Youth WHERE Youth_ID=4",
     {{"FullName", Order::Ordered, {"Doe, "}}}},
    {"MeetingTypesReport",
     "SELECT DISTINCT Wk_Mtg_Type From Weeks WHERE Wk_Mtg_Type<>'' AND Wk_Mtg_Type IS NOT NULL "
     "ORDER BY Wk_Mtg_Type;",
     {{"Wk_Mtg_Type", Order::Ordered, {"Bible Study", "Sunday"}, true}}},
    {"SchoolList",
     "SELECT DISTINCT Youth_School FROM Youth WHERE Youth_School<>'' AND Youth_School IS NOT "
     "NULL AND Youth_Deleted=False ORDER BY Youth_School;",
     {{"Youth_School", Order::Ordered, {"Central High", "Eastside"}, true}}},
    {"BulkEmail",
     "SELECT DISTINCT Youth_Email From Youth WHERE Youth_Email <> '' and Youth_Email IS NOT NULL "
     "AND Youth_Deleted = False ;",
     {{"Youth_Email", Order::Unordered, {"ann@x.org", "nb@x.org", "ivy@x.org"}, true}}},
    {"BulkEmailFiltered",
     "SELECT DISTINCT Youth_Email From Youth WHERE Youth_Email <> '' and Youth_Email IS NOT NULL "
     "AND Youth_Deleted = False  AND Youth_Status=1 AND Youth_Mail_List=-1;",
     {{"Youth_Email", Order::Unordered, {"ann@x.org"}, true}}},
    {"TeamRoster",
     "SELECT DISTINCTROW Youth.*  From Youth WHERE Youth_Deleted=False AND Youth_Leader=False AND "
     "Youth_Team <> '' AND Youth_Status=1 ORDER BY Youth_Team, Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "Smith"}}}},
    {"TeamRosterFiltered",
     "SELECT DISTINCTROW Youth.*  From Youth WHERE Youth_Deleted=False AND Youth_Leader=False AND "
     "Youth_Team <> '' AND Youth_Team='Blue' AND Youth_Status=1 AND Youth_School='Central High' "
     "AND Youth_School_Grade=9 AND Youth_Sex=2 ORDER BY Youth_Team, Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Smith"}}}},
    {"DirectoryReport",
     "SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, Youth_State, Youth_Zip, "
     "Youth_EMail, Youth_Bday, Youth_HomePhone, Youth_WorkPhone, Youth_BeeperPhone, "
     "Youth_CellPhone From Youth WHERE Youth_Deleted = False ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, kPeopleByName}}},
    {"DirectoryReportFiltered",
     "SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, Youth_State, Youth_Zip, "
     "Youth_EMail, Youth_Bday, Youth_HomePhone, Youth_WorkPhone, Youth_BeeperPhone, "
     "Youth_CellPhone From Youth WHERE Youth_Deleted = False AND Youth_Visitor=-1 AND "
     "Youth_Mail_List=-1 ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName,Youth_Email", Order::Ordered, {"Jones|ANN@X.ORG"}}}},
    {"BirthdayList",
     "SELECT DISTINCTROW Youth.*, Day([Youth_Bday]) AS BDAY, Month([Youth_Bday]) AS GroupByFld "
     "From Youth WHERE Youth_Deleted = False  ORDER BY Month([Youth_Bday]), Day([Youth_Bday]), "
     "Youth_LName, Youth_FName;",
     {{"Youth_LName,GroupByFld,BDAY",
       Order::Ordered,
       {"(null)|(null)|(null)", "abbot|(null)|(null)", "O'Neil|(null)|(null)", "Hill|1|15",
        "King|3|12", "Smith|3|20", "Doe|7|4", "Ives|9|9", "Jones|11|2"}}}},
    {"BirthdayListFiltered",
     "SELECT DISTINCTROW Youth.*, Day([Youth_Bday]) AS BDAY, Month([Youth_Bday]) AS GroupByFld "
     "From Youth WHERE Youth_Deleted = False  AND Youth_Status=1 AND Youth_Team='Blue' ORDER BY "
     "Month([Youth_Bday]), Day([Youth_Bday]), Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Smith", "Jones"}}}},
    {"SchoolGroups",
     "SELECT DISTINCTROW Youth.*, Trim(Youth_School) AS GroupByFld From Youth WHERE "
     "Youth_Deleted = False  ORDER BY Trim(Youth_School), Youth_School_Grade, Youth_LName, "
     "Youth_FName;",
     {{"Youth_LName",
       Order::Ordered,
       {"(null)", "abbot", "O'Neil", "Doe", "Smith", "Jones", "Hill", "Ives", "King"}}}},
    {"VisitorsChecklist",
     "SELECT DISTINCTROW Youth.* From Youth Where Youth_Visitor = True AND Youth_Deleted=False "
     "ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Ives", "Jones", "King"}}}},
    {"VisitorsFirstMeeting",
     "SELECT DISTINCTROW Youth_LName, Youth_FName, Youth_Last_Attended, First(Wk_Date) AS "
     "FirstOfWk_Date, Youth_Address1, Youth_City, Youth_State, Youth_Zip, Youth_EMail, "
     "Youth_HomePhone, Youth_Contact, Youth_VLetter, Youth_VCall, Youth_VHousecall FROM Youth "
     "INNER JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON "
     "Youth.Youth_ID = Attendance.Attend_Youth_ID WHERE (Youth_Visitor = True And Youth_Deleted "
     "= False) GROUP BY Youth_LName, Youth_FName, Youth_Last_Attended, Youth_Address1, "
     "Youth_City, Youth_State, Youth_Zip, Youth_EMail, Youth_HomePhone, Youth_Contact, "
     "Youth_VLetter, Youth_VCall, Youth_VHousecall HAVING First(Wk_Date)=#1/14/2024# ORDER BY "
     "Youth_LName, Youth_FName;",
     {{"Youth_LName,FirstOfWk_Date,Youth_VLetter", Order::Ordered, {"Jones|1/14/2024|True"}}}},
    {"MissingData",
     "SELECT DISTINCTROW Youth.* From Youth WHERE ((IsNull(Youth_Address1) Or IsNull(Youth_Bday) "
     "Or IsNull(Youth_HomePhone) Or IsNull(Youth_Email))=Yes) AND Youth_Deleted=False  ORDER BY "
     "Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"(null)", "abbot", "Hill", "Ives", "O'Neil"}}}},
    {"MissingDataMembers",
     "SELECT DISTINCTROW Youth.* From Youth WHERE ((IsNull(Youth_Address1) Or IsNull(Youth_Bday) "
     "Or IsNull(Youth_HomePhone) Or IsNull(Youth_Email))=Yes) AND Youth_Deleted=False AND "
     "Youth_Visitor=0 ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"(null)", "abbot", "Hill", "O'Neil"}}}},
    {"MissingInAction",
     "SELECT DISTINCTROW Youth.* From Youth WHERE (Youth_Deleted = False AND Youth_Status = 1) "
     "ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "King", "O'Neil", "Smith"}}}},
    {"MissingInActionTeam",
     "SELECT DISTINCTROW Youth.* From Youth WHERE (Youth_Deleted = False AND Youth_Status = 1 AND "
     "Youth_Team='Blue') ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "Smith"}}}},
    {"ProfileSheet",
     "SELECT *, (SELECT Min(Wk_Date) FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
     "Attendance.Attend_Wk_ID WHERE Attend_Youth_ID=Youth_ID;) as FirstDate, (SELECT "
     "Max(Wk_Date) FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID "
     "WHERE Attend_Youth_ID=Youth_ID;) as LastDate  From Youth WHERE Youth_ID = 2;",
     {{"Youth_ID,FirstDate,LastDate", Order::Ordered, {"2|1/14/2024|3/3/2024"}}}},
    {"RollSheetMeeting",
     "SELECT DISTINCTROW Youth_ID, Youth_FName, Youth_LName, Weeks.* FROM Weeks INNER JOIN "
     "(Youth INNER JOIN Attendance ON Youth.Youth_ID = Attendance.Attend_Youth_ID) ON "
     "Weeks.Wk_ID = Attendance.Attend_Wk_ID WHERE Attend_Wk_ID = 11 ORDER BY Youth_LName, "
     "Youth_FName;",
     {{"Youth_LName,Wk_ID,Wk_Offering",
       Order::Ordered,
       {"Jones|11|120.25", "King|11|120.25", "O'Neil|11|120.25", "Smith|11|120.25"}}}},
    {"RollSheetActive",
     "SELECT DISTINCTROW Youth_ID, Youth_FName, Youth_LName From Youth WHERE Youth_Deleted = "
     "False  AND Youth_Status=1 ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "King", "O'Neil", "Smith"}}}},
    {"RollSheetAll",
     "SELECT DISTINCTROW Youth_ID, Youth_FName, Youth_LName From Youth WHERE Youth_Deleted = "
     "False  ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, kPeopleByName}}},
    {"PhotoDirectory",
     "SELECT Youth_ID, Youth_LName, Youth_FName, Youth_PhotoFile, Youth_Address1, Youth_City, "
     "Youth_State, Youth_Zip, Youth_EMail, Youth_Bday, Youth_HomePhone, Youth_WorkPhone, "
     "Youth_BeeperPhone, Youth_CellPhone From Youth WHERE Youth_Deleted=False AND "
     "Youth_Team='Blue' ORDER BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "Smith"}}}},
    {"MailingLabels",
     "SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, Youth_State, Youth_Zip From "
     "Youth WHERE Youth_Deleted=False AND Youth_Mail_List=True AND Len(Youth_Address1)>0  ORDER "
     "BY Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Doe", "Hill", "Jones", "Smith"}}}},
    {"MailingLabelsByZip",
     "SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, Youth_State, Youth_Zip From "
     "Youth WHERE Youth_Deleted=False AND Youth_Mail_List=True AND Len(Youth_Address1)>0  AND "
     "Youth_Status=1 ORDER BY Youth_Zip, Youth_LName, Youth_FName;",
     {{"Youth_LName", Order::Ordered, {"Jones", "Smith"}}}},
    {"StatsStatusCounts",
     "SELECT Youth_Status, Youth_Visitor, Count(Youth_ID) AS MbrCount FROM Youth WHERE "
     "Youth_Deleted=False GROUP BY Youth_Status, Youth_Visitor HAVING Youth_Status > 0;",
     {{"Youth_Status,Youth_Visitor,MbrCount",
       Order::Unordered,
       {"1|True|2", "1|False|2", "2|False|1", "3|False|1"}}}},
    {"StatsSchools",
     "SELECT Youth_School, Count(Youth_ID) AS MbrCount FROM Youth WHERE Youth_Deleted = False "
     "GROUP BY Youth_School HAVING Youth_School > '' ORDER BY Count(Youth_ID) DESC, Youth_School;",
     {{"Youth_School,MbrCount", Order::Ordered, {"Central High|3", "Eastside|2"}, true}}},
    {"StatsLastTwelveMeetings",
     "SELECT top 12 Wk_Date, Count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER JOIN "
     "(Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
     "Attendance.Attend_Youth_ID WHERE Youth_Leader = False GROUP BY Wk_Date ORDER BY Wk_Date "
     "DESC;",
     {{"Wk_Date,TotAttendance",
       Order::Ordered,
       {"3/24/2024|1", "3/10/2024|4", "3/3/2024|4", "2/18/2024|3", "1/14/2024|2", "1/7/2024|1",
        "12/17/2023|2", "11/19/2023|1", "11/12/2023|1", "11/5/2023|1", "10/29/2023|1",
        "10/22/2023|1"}}}},
    {"StatsBirthdays",
     "SELECT Youth_Bday FROM Youth WHERE Youth_Deleted=False AND Youth_Status<3 AND Youth_Bday "
     "Is Not Null;",
     {{"Youth_Bday", Order::Unordered, {"3/20/2008", "11/2/2009", "7/4/2006", "3/12/2009"}}}},
    {"StatsGender",
     "SELECT Youth_Sex, Count(Youth_ID) AS SubTotal FROM Youth WHERE Youth_Deleted=False AND "
     "Youth_Leader = False AND (Youth_Status = 1 Or Youth_Status = 2) GROUP BY Youth_Sex;",
     {{"Youth_Sex,SubTotal", Order::Unordered, {"0|1", "1|1", "2|2"}}}},
    {"StatsStatus",
     "SELECT Youth_Status, Count(Youth_ID) AS SubTotal FROM Youth WHERE Youth_Deleted = False "
     "GROUP BY Youth_Status;",
     {{"Youth_Status,SubTotal", Order::Unordered, {"(null)|2", "0|1", "1|4", "2|1", "3|1"}}}},
    {"StatsTeams",
     "SELECT Trim([Youth_Team]) AS YouthTeam, Count(Youth.Youth_ID) AS SubTotal FROM Youth WHERE "
     "Youth_Deleted = False AND Youth_Status < 3 GROUP BY Trim([Youth_Team]) HAVING "
     "Trim([Youth_Team])>'';",
     {{"YouthTeam,SubTotal", Order::Unordered, {"Blue|2", "Red|2"}, true}}},
    {"OfferingsByYear",
     "SELECT Year([Wk_Date]) AS YearPart, Sum(Weeks.Wk_Offering) AS SumOfWk_Offering  FROM Weeks "
     " GROUP BY Year([Wk_Date]) ORDER BY Year([Wk_Date]);",
     {{"YearPart,SumOfWk_Offering", Order::Ordered, {"2023|240", "2024|370.85"}}}},
    {"OfferingsByYearOfType",
     "SELECT Year([Wk_Date]) AS YearPart, Sum(Weeks.Wk_Offering) AS SumOfWk_Offering  FROM Weeks "
     " GROUP BY Year([Wk_Date]), Wk_Mtg_Type HAVING Wk_Mtg_Type='Sunday'  ORDER BY "
     "Year([Wk_Date]);",
     {{"YearPart,SumOfWk_Offering", Order::Ordered, {"2023|240", "2024|325.75"}}}},
    {"OfferingsWeekly",
     "SELECT Month([Wk_Date]) AS MonthPart, Wk_Offering AS WeekOffering, Wk_Date  FROM Weeks  "
     "WHERE Year([Wk_Date])=2024 ORDER BY Wk_Date;",
     {{"MonthPart,Wk_Date",
       Order::Ordered,
       {"1|1/7/2024", "1|1/14/2024", "2|2/18/2024", "3|3/3/2024", "3|3/3/2024", "3|3/10/2024",
        "3|3/24/2024"}},
      {"WeekOffering,Wk_Date",
       Order::Unordered,
       {"100|1/7/2024", "80.5|1/14/2024", "25|2/18/2024", "120.25|3/3/2024", "0|3/3/2024",
        "45.1|3/10/2024", "(null)|3/24/2024"}}}},
    {"OfferingsWeeklyOfType",
     "SELECT Month([Wk_Date]) AS MonthPart, Wk_Offering AS WeekOffering, Wk_Date  FROM Weeks  "
     "WHERE Year([Wk_Date])=2024 AND Wk_Mtg_Type='Sunday' ORDER BY Wk_Date;",
     {{"MonthPart,WeekOffering,Wk_Date",
       Order::Ordered,
       {"1|100|1/7/2024", "1|80.5|1/14/2024", "2|25|2/18/2024", "3|120.25|3/3/2024",
        "3|(null)|3/24/2024"}}}},
    {"FirstTimeVisitors",
     "SELECT DISTINCT Youth_ID, First(Wk_Date) AS FirstWk FROM Youth INNER JOIN (Weeks INNER "
     "JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
     "Attendance.Attend_Youth_ID WHERE ((Wk_Date Between #10/15/2023# AND #1/15/2025#) AND "
     "Youth_Leader = False) GROUP BY Youth_ID ORDER BY First(Wk_Date);",
     {{"FirstWk",
       Order::Ordered,
       {"10/15/2023", "10/15/2023", "1/14/2024", "2/18/2024", "2/18/2024", "3/10/2024"}},
      {"Youth_ID,FirstWk",
       Order::Unordered,
       {"1|10/15/2023", "8|10/15/2023", "2|1/14/2024", "6|2/18/2024", "10|2/18/2024",
        "9|3/10/2024"}}}},
    {"FirstTimeVisitorsFiltered",
     "SELECT DISTINCT Youth_ID, First(Wk_Date) AS FirstWk FROM Youth INNER JOIN (Weeks INNER "
     "JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
     "Attendance.Attend_Youth_ID WHERE Youth_Team='Blue' AND Wk_Mtg_Type='Sunday' AND ((Wk_Date "
     "Between #10/15/2023# AND #1/15/2025#) AND Youth_Leader = False) GROUP BY Youth_ID ORDER BY "
     "First(Wk_Date);",
     {{"Youth_ID,FirstWk", Order::Ordered, {"1|10/15/2023", "2|1/14/2024", "6|2/18/2024"}}}},
    {"WeeklyAttendance",
     "SELECT Wk_Date, Count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER JOIN (Weeks INNER "
     "JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
     "Attendance.Attend_Youth_ID WHERE Year([Wk_Date])=2024 AND Youth_Leader = False GROUP BY "
     "Wk_Date ORDER BY Wk_Date;",
     {{"Wk_Date,TotAttendance",
       Order::Ordered,
       {"1/7/2024|1", "1/14/2024|2", "2/18/2024|3", "3/3/2024|4", "3/10/2024|4", "3/24/2024|1"}}}},
    {"WeeklyAttendanceFiltered",
     "SELECT Wk_Date, Count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER JOIN (Weeks INNER "
     "JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
     "Attendance.Attend_Youth_ID WHERE Year([Wk_Date])=2024 AND Youth_Leader = False GROUP BY "
     "Wk_Date , Youth_Team, Wk_Mtg_Type HAVING Youth_Team='Blue'  AND Wk_Mtg_Type='Sunday' ORDER "
     "BY Wk_Date;",
     {{"Wk_Date,TotAttendance",
       Order::Ordered,
       {"1/7/2024|1", "1/14/2024|2", "2/18/2024|2", "3/3/2024|2"}}}},
};

class ProgramStatements : public ::testing::TestWithParam<StatementCase> {
protected:
    void SetUp() override
    {
        datatest::buildGroup(m_db);
        m_conn.Open(m_db.connectionString());
    }

    testing_support::DataFixture m_db;
    data::Connection m_conn;
};

QStringList folded(QStringList rows, bool anyCase)
{
    if (anyCase) {
        for (QString& r : rows)
            r = r.toCaseFolded();
    }
    return rows;
}

TEST_P(ProgramStatements, ReturnsTheRowsJetReturns)
{
    const StatementCase& c = GetParam();
    for (const Expect& e : c.expects) {
        QStringList actual = folded(query(m_conn, QString::fromUtf8(c.sql), e.columns), e.anyCase);
        QStringList expected = folded(e.rows, e.anyCase);
        if (e.order == Order::Unordered) {
            actual.sort();
            expected.sort();
        }
        EXPECT_EQ(actual, expected) << "columns " << e.columns;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ProgramStatements, ::testing::ValuesIn(kQueries),
                         [](const auto& info) { return std::string(info.param.name); });

// Computed columns come back with the type the program reads them by.
struct TypedColumn {
    const char* query; // a name from kQueries
    const char* column;
    Variant::Type type;
};

class ComputedColumnTypes : public ProgramStatements {};

TEST_F(ComputedColumnTypes, CarryTheirJetTypes)
{
    const TypedColumn cases[] = {
        {"VisitorsFirstMeeting", "FirstOfWk_Date", Variant::Type::Date},
        {"ProfileSheet", "FirstDate", Variant::Type::Date},
        {"ProfileSheet", "LastDate", Variant::Type::Date},
        {"FirstTimeVisitors", "FirstWk", Variant::Type::Date},
        {"OfferingsByYear", "SumOfWk_Offering", Variant::Type::Currency},
        {"OfferingsByYear", "YearPart", Variant::Type::Integer},
        {"OfferingsWeekly", "MonthPart", Variant::Type::Integer},
        {"OfferingsWeekly", "WeekOffering", Variant::Type::Currency},
        {"StatsStatusCounts", "MbrCount", Variant::Type::Long},
        {"StatsStatusCounts", "Youth_Visitor", Variant::Type::Boolean},
        {"WeeklyAttendance", "TotAttendance", Variant::Type::Long},
        {"BirthdayList", "Youth_LName", Variant::Type::String},
        {"StartPagePeople", "YouthName", Variant::Type::String},
        {"StatsTeams", "YouthTeam", Variant::Type::String},
    };
    for (const TypedColumn& t : cases) {
        const auto it = std::find_if(kQueries.begin(), kQueries.end(), [&](const StatementCase& c) {
            return qstrcmp(c.name, t.query) == 0;
        });
        ASSERT_NE(it, kQueries.end()) << t.query;
        data::Recordset rs;
        rs.Open(QString::fromUtf8(it->sql), m_conn, data::adOpenStatic, data::adLockOptimistic);
        // The first row whose value is not Null.
        while (!rs.EOF() && rs[t.column].Value().isNull())
            rs.MoveNext();
        ASSERT_FALSE(rs.EOF()) << t.query << " " << t.column;
        EXPECT_EQ(rs[t.column].Value().type(), t.type)
            << t.query << " " << t.column << ": "
            << rs[t.column].Value().debugString().toStdString();
    }
}

TEST_F(ComputedColumnTypes, SumsOfMoneyAreExact)
{
    // Binary fractions add 0.10 and 0.20 to 0.30000000000000004.
    m_db.addMeeting(QDate(2030, 1, 6), {{"Wk_Offering", Variant::currency(0.10)}});
    m_db.addMeeting(QDate(2030, 1, 13), {{"Wk_Offering", Variant::currency(0.20)}});
    data::Recordset rs;
    rs.Open("SELECT Sum(Wk_Offering) AS Total FROM Weeks WHERE Year(Wk_Date) = 2030", m_conn);
    EXPECT_EQ(rs["Total"].Value(), Variant::currency(0.30));
}

// The statements that change data, each on a fresh group.
class ProgramActions : public ProgramStatements {};

TEST_F(ProgramActions, PlaceholderDeleteRemovesWholeRowsWithoutRegardToCase)
{
    EXPECT_EQ(m_conn.Execute("DELETE Youth_FName FROM Youth WHERE Youth_FName='New Profile';"), 2);
    EXPECT_EQ(m_db.count("Youth"), 8);
    EXPECT_EQ(m_db.count("Youth", "Youth_ID IN (5, 7)"), 0);
}

TEST_F(ProgramActions, SaveListReplacesAMeetingsRowsAndMovesLastAttendedForwardOnly)
{
    EXPECT_EQ(m_conn.Execute("DELETE Attendance.* FROM Attendance WHERE Attend_Wk_ID=13;"), 5);
    EXPECT_EQ(m_db.count("Attendance", "Attend_Wk_ID = 13"), 0);

    for (int person : {1, 3, 6, 9, 10}) {
        EXPECT_EQ(m_conn.Execute(QStringLiteral("INSERT INTO Attendance ( Attend_Youth_ID, "
                                                "Attend_Wk_ID ) SELECT %1 AS Expr1, 13 AS Expr2;")
                                     .arg(person)),
                  1);
    }
    EXPECT_EQ(m_db.count("Attendance", "Attend_Wk_ID = 13"), 5);

    const long changed = m_conn.Execute(
        "UPDATE DISTINCTROW Youth INNER JOIN Attendance ON Youth.Youth_ID = "
        "Attendance.Attend_Youth_ID SET Youth_Last_Attended=#3/10/2024# WHERE "
        "(Youth_Last_Attended<#3/10/2024# Or Youth_Last_Attended Is Null) AND Attend_Wk_ID=13;");
    EXPECT_EQ(changed, 2); // Eve (2/18) and Hal (never); each person once
    const double march10 = data::jetdate::fromDate(QDate(2024, 3, 10));
    const double march24 = data::jetdate::fromDate(QDate(2024, 3, 24));
    EXPECT_EQ(m_db.value("SELECT Youth_Last_Attended FROM Youth WHERE Youth_ID = 6").number(),
              march10);
    EXPECT_EQ(m_db.value("SELECT Youth_Last_Attended FROM Youth WHERE Youth_ID = 9").number(),
              march10);
    EXPECT_EQ(m_db.value("SELECT Youth_Last_Attended FROM Youth WHERE Youth_ID = 10").number(),
              march24);
    // Dates are stored as whole day numbers, so a later "= #3/10/2024#" still finds them.
    EXPECT_EQ(m_db.count("Youth", "Youth_Last_Attended = 45361"), 4);
}

TEST_F(ProgramActions, RollSheetCountsEachPersonOnceDespiteDuplicateRows)
{
    m_db.addAttendance(1, 11);
    const QString sql = QString::fromUtf8(
        std::find_if(kQueries.begin(), kQueries.end(), [](const StatementCase& c) {
            return qstrcmp(c.name, "RollSheetMeeting") == 0;
        })->sql);
    data::Recordset rs;
    rs.Open(sql, m_conn, data::adOpenStatic, data::adLockOptimistic);
    EXPECT_EQ(rs.RecordCount(), 4);
}

TEST_F(ProgramActions, TopKeepsRowsThatTieWithTheLast)
{
    // Two meetings share the latest date before 3/10/2024: TOP 1 returns both.
    const QStringList rows = query(m_conn,
                                   "SELECT TOP 1 Wk_ID FROM Weeks WHERE Wk_Date < #3/10/2024# "
                                   "ORDER BY Wk_Date DESC;",
                                   "Wk_ID");
    EXPECT_EQ(rows.size(), 2);
}

} // namespace
