#include "stats/SummaryFilter.h"

#include <gtest/gtest.h>

using namespace stats;

namespace {

constexpr std::int32_t kThisYear = 2024;

// What the summaries make of a condition.
struct Reading {
    QStringList fields; // of every clause, in order
    std::int32_t year = 0;
    QString caption;
    QString leading;
    QString trailing;
    QString groupBy;
};

Reading read(const QString& condition, bool withTeam)
{
    const SummaryFilter f = ReadSummaryFilter(condition, kThisYear, withTeam);
    Reading r;
    for (const QString& clause : f.clauses)
        r.fields << ClauseField(clause);
    r.year = f.reportYear;
    r.caption = SummaryCaption(f);
    r.leading = LeadingWhereTerms(f);
    r.trailing = TrailingWhereTerms(f);
    r.groupBy = GroupByHavingTerms(f);
    return r;
}

} // namespace

TEST(SummaryFilter, ReadsEveryClauseTheCatalogueWrites)
{
    struct Case {
        const char* what;
        const char* condition;
        bool withTeam; // the attendance summary names a team, the offering summary does not
        Reading expected;
    };
    const Case cases[] = {
        {"nothing chosen", "", true, {{}, kThisYear, "Report for 2024", "", "", ""}},
        {"offering: year and meeting type",
         "YearPart=2005 AND Wk_Mtg_Type='Sunday'",
         false,
         {{"YearPart", "Wk_Mtg_Type"},
          2005,
          "Report for 2005, Mtg Type='Sunday'",
          "Wk_Mtg_Type='Sunday' AND ",
          " AND Wk_Mtg_Type='Sunday'",
          ", Wk_Mtg_Type HAVING Wk_Mtg_Type='Sunday' "}},
        {"attendance: team before the year, grade after it",
         "Youth_Team='Blue' AND YearPart=2006 AND Youth_School_Grade=9",
         true,
         {{"Youth_Team", "YearPart", "Youth_School_Grade"},
          2006,
          "Report for 2006, Team='Blue'",
          "Youth_Team='Blue' AND Youth_School_Grade=9 AND ",
          " AND Youth_Team='Blue' AND Youth_School_Grade=9",
          ", Youth_Team, Youth_School_Grade HAVING Youth_Team='Blue'  AND Youth_School_Grade=9 "}},
        {"attendance: team and type named, school and gender only filter",
         "Youth_Team='Blue' AND YearPart=2006 AND Youth_School='Central High' AND Youth_Sex=2 AND "
         "Wk_Mtg_Type='Sunday'",
         true,
         {{"Youth_Team", "YearPart", "Youth_School", "Youth_Sex", "Wk_Mtg_Type"},
          2006,
          "Report for 2006, Team='Blue', Mtg Type='Sunday'",
          "Youth_Team='Blue' AND Youth_School='Central High' AND Youth_Sex=2 AND "
          "Wk_Mtg_Type='Sunday' AND ",
          " AND Youth_Team='Blue' AND Youth_School='Central High' AND Youth_Sex=2 AND "
          "Wk_Mtg_Type='Sunday'",
          ", Youth_Team, Youth_School, Youth_Sex, Wk_Mtg_Type HAVING Youth_Team='Blue'  AND "
          "Youth_School='Central High'  AND Youth_Sex=2  AND Wk_Mtg_Type='Sunday' "}},
        {"every clause of the filter text, in its order",
         "Youth_Status=1 AND Youth_Team='Kid''s' AND Youth_Leader=-1 AND Youth_Visitor=0 AND "
         "Youth_Mail_List=-1 AND YearPart=2006 AND First(Wk_Date)=#12/8/2006# AND "
         "Youth_School='St. Mary''s' AND Youth_School_Grade=9 AND Youth_Sex=2 AND "
         "Wk_Mtg_Type='Sunday'",
         true,
         {{"Youth_Status", "Youth_Team", "Youth_Leader", "Youth_Visitor", "Youth_Mail_List",
           "YearPart", "First(Wk_Date)", "Youth_School", "Youth_School_Grade", "Youth_Sex",
           "Wk_Mtg_Type"},
          2006,
          "Report for 2006, Team='Kid''s', Mtg Type='Sunday'",
          "Youth_Status=1 AND Youth_Team='Kid''s' AND Youth_Leader=-1 AND Youth_Visitor=0 AND "
          "Youth_Mail_List=-1 AND First(Wk_Date)=#12/8/2006# AND Youth_School='St. Mary''s' AND "
          "Youth_School_Grade=9 AND Youth_Sex=2 AND Wk_Mtg_Type='Sunday' AND ",
          " AND Youth_Status=1 AND Youth_Team='Kid''s' AND Youth_Leader=-1 AND Youth_Visitor=0 "
          "AND Youth_Mail_List=-1 AND First(Wk_Date)=#12/8/2006# AND Youth_School='St. Mary''s' "
          "AND Youth_School_Grade=9 AND Youth_Sex=2 AND Wk_Mtg_Type='Sunday'",
          ", Youth_Status, Youth_Team, Youth_Leader, Youth_Visitor, Youth_Mail_List, "
          "First(Wk_Date), Youth_School, Youth_School_Grade, Youth_Sex, Wk_Mtg_Type HAVING "
          "Youth_Status=1  AND Youth_Team='Kid''s'  AND Youth_Leader=-1  AND Youth_Visitor=0  AND "
          "Youth_Mail_List=-1  AND First(Wk_Date)=#12/8/2006#  AND Youth_School='St. Mary''s'  "
          "AND Youth_School_Grade=9  AND Youth_Sex=2  AND Wk_Mtg_Type='Sunday' "}},
        {"\" AND \" inside a quoted value stays in its clause",
         "Youth_Team='Youth AND Adults' AND YearPart=2006",
         true,
         {{"Youth_Team", "YearPart"},
          2006,
          "Report for 2006, Team='Youth AND Adults'",
          "Youth_Team='Youth AND Adults' AND ",
          " AND Youth_Team='Youth AND Adults'",
          ", Youth_Team HAVING Youth_Team='Youth AND Adults' "}},
        {"quotes, \"=\" and field names inside values",
         "Youth_Team='YearPart=1999' AND YearPart=2007 AND Wk_Mtg_Type='Kid''s AND Teen''s = "
         "Youth_Night'",
         true,
         {{"Youth_Team", "YearPart", "Wk_Mtg_Type"},
          2007,
          "Report for 2007, Team='YearPart=1999', Mtg Type='Kid''s AND Teen''s = Youth_Night'",
          "Youth_Team='YearPart=1999' AND Wk_Mtg_Type='Kid''s AND Teen''s = Youth_Night' AND ",
          " AND Youth_Team='YearPart=1999' AND Wk_Mtg_Type='Kid''s AND Teen''s = Youth_Night'",
          ", Youth_Team, Wk_Mtg_Type HAVING Youth_Team='YearPart=1999'  AND Wk_Mtg_Type='Kid''s "
          "AND Teen''s = Youth_Night' "}},
        {"the offering summary names no team",
         "Youth_Team='Blue' AND YearPart=2006",
         false,
         {{"Youth_Team", "YearPart"},
          2006,
          "Report for 2006",
          "Youth_Team='Blue' AND ",
          " AND Youth_Team='Blue'",
          ", Youth_Team HAVING Youth_Team='Blue' "}},
        {"a year clause that is no year keeps the current year",
         "YearPart=20x6",
         true,
         {{"YearPart"}, kThisYear, "Report for 2024", "", "", ""}},
        {"the last of two clauses of one field is named",
         "Youth_Team='Blue' AND Youth_Team='Red' AND YearPart=2006",
         true,
         {{"Youth_Team", "Youth_Team", "YearPart"},
          2006,
          "Report for 2006, Team='Red'",
          "Youth_Team='Blue' AND Youth_Team='Red' AND ",
          " AND Youth_Team='Blue' AND Youth_Team='Red'",
          ", Youth_Team, Youth_Team HAVING Youth_Team='Blue'  AND Youth_Team='Red' "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Reading r = read(QString::fromUtf8(c.condition), c.withTeam);
        EXPECT_EQ(r.fields, c.expected.fields);
        EXPECT_EQ(r.year, c.expected.year);
        EXPECT_EQ(r.caption, c.expected.caption);
        EXPECT_EQ(r.leading, c.expected.leading);
        EXPECT_EQ(r.trailing, c.expected.trailing);
        EXPECT_EQ(r.groupBy, c.expected.groupBy);
    }
}

TEST(SummaryFilter, SplitsOnlyAtTheJoiningWord)
{
    // Lower-case "and", an "AND" without blanks, and " AND " inside quotes join nothing.
    EXPECT_EQ(SplitClauses(QStringLiteral("Youth_Team='Rock and Roll' AND Youth_Sex=1")),
              QStringList({"Youth_Team='Rock and Roll'", "Youth_Sex=1"}));
    EXPECT_EQ(SplitClauses(QStringLiteral("Wk_Mtg_Type='BANDS' AND YearPart=2006")),
              QStringList({"Wk_Mtg_Type='BANDS'", "YearPart=2006"}));
    EXPECT_EQ(SplitClauses(QStringLiteral("Youth_Team=''' AND ''' AND YearPart=2006")),
              QStringList({"Youth_Team=''' AND '''", "YearPart=2006"}));
    EXPECT_EQ(SplitClauses(QString()), QStringList());
    EXPECT_EQ(ClauseField(QStringLiteral("Youth_Team='a=b'")), QStringLiteral("Youth_Team"));
    EXPECT_EQ(ClauseField(QStringLiteral("no field")), QStringLiteral("no field"));
}
