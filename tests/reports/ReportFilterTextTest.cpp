#include "reports/ReportFilters.h"
#include "tests/support/TestEnvironment.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

struct Pick {
    FilterIndex list;
    int index;
    int data;
    const char* text;
};

// The lists as the screen leaves them after the clearing: every list on its first item,
// Include on "Active Only" (data 1), Year on this year; shown as the chosen entry says.
FilterChoices cleared(std::initializer_list<FilterIndex> shown)
{
    FilterChoices c;
    for (auto& list : c.lists) {
        list.index = 0;
        list.text = QStringLiteral("(ANY)");
    }
    c.lists[fiSchoolType].index = -1; // the empty list
    c.lists[fiSchoolType].text.clear();
    c.lists[fiInclude] = {0, 1, QStringLiteral("Active Only"), false};
    c.lists[fiYear] = {0, 0, QStringLiteral("2024"), false};
    for (FilterIndex i : shown)
        c.lists[i].shown = true;
    return c;
}

FilterChoices with(FilterChoices c, std::initializer_list<Pick> picks, const char* date = "")
{
    for (const Pick& p : picks) {
        c.lists[p.list].index = p.index;
        c.lists[p.list].itemData = p.data;
        c.lists[p.list].text = QString::fromUtf8(p.text);
    }
    c.dateText = QString::fromUtf8(date);
    return c;
}

const std::initializer_list<FilterIndex> kPeople = {fiStatus, fiTeam,  fiVisitor, fiMailList,
                                                    fiSchool, fiGrade, fiGender};
const std::initializer_list<FilterIndex> kRoll = {fiTeam, fiInclude, fiSchool, fiGrade, fiGender};
const std::initializer_list<FilterIndex> kAttendance = {fiTeam,  fiYear,   fiSchool,
                                                        fiGrade, fiGender, fiMtgType};

} // namespace

TEST(ReportFilterText, ClausesInTheirOrderJoinedByAnd)
{
    const struct {
        const char* name;
        FilterChoices choices;
        const char* expected;
    } cases[] = {
        {"nothing chosen", cleared(kPeople), ""},
        {"nothing offered", cleared({}), ""},
        {"no selection at all",
         with(cleared(kPeople), {{fiStatus, -1, 0, ""}, {fiTeam, -1, 0, ""}}), ""},
        {"status and gender",
         with(cleared(kPeople), {{fiStatus, 2, 2, "Away/Active"}, {fiGender, 2, 2, "Female"}}),
         "Youth_Status=2 AND Youth_Sex=2"},
        {"a team with an apostrophe", with(cleared(kPeople), {{fiTeam, 3, 0, "O'Neil's"}}),
         "Youth_Team='O''Neil''s'"},
        {"yes/no lists carry -1 and 0",
         with(cleared(kPeople), {{fiVisitor, 2, 0, "No"}, {fiMailList, 1, -1, "Yes"}}),
         "Youth_Visitor=0 AND Youth_Mail_List=-1"},
        {"leader comes before visitor",
         with(cleared(kPeople), {{fiVisitor, 1, -1, "Yes"}, {fiLeader, 1, -1, "Yes"}}),
         "Youth_Leader=-1 AND Youth_Visitor=-1"},
        {"school before grade",
         with(cleared(kPeople), {{fiGrade, 9, 9, "9"}, {fiSchool, 1, 0, "Central High"}}),
         "Youth_School='Central High' AND Youth_School_Grade=9"},
        {"school type, drama and music never filter",
         with(cleared(kPeople),
              {{fiSchoolType, 1, 1, "Public"}, {fiDrama, 1, -1, "Yes"}, {fiMusic, 1, -1, "Yes"}}),
         ""},
        {"roll sheet defaults", cleared(kRoll), "Youth_Status=1"},
        {"roll sheet with everyone", with(cleared(kRoll), {{fiInclude, 1, 0, "All"}}), ""},
        {"roll sheet with a team",
         with(cleared(kRoll), {{fiTeam, 1, 0, "Blue"}, {fiGender, 1, 1, "Male"}}),
         "Youth_Team='Blue' AND Youth_Status=1 AND Youth_Sex=1"},
        {"include not offered gives nothing", cleared({fiTeam}), ""},
        {"attendance summary defaults", cleared(kAttendance), "YearPart=2024"},
        {"attendance summary, all its filters",
         with(cleared(kAttendance), {{fiTeam, 2, 0, "Blue"},
                                     {fiYear, 1, 1, "2023"},
                                     {fiSchool, 1, 0, "Central High"},
                                     {fiGrade, 9, 9, "9"},
                                     {fiGender, 2, 2, "Female"},
                                     {fiMtgType, 1, 0, "Youth Night"}}),
         "Youth_Team='Blue' AND YearPart=2023 AND Youth_School='Central High' AND "
         "Youth_School_Grade=9 AND Youth_Sex=2 AND Wk_Mtg_Type='Youth Night'"},
        {"offering summary with year and type",
         with(cleared({fiYear, fiMtgType}), {{fiYear, 1, 1, "2023"}, {fiMtgType, 2, 0, "Sunday"}}),
         "YearPart=2023 AND Wk_Mtg_Type='Sunday'"},
        {"meeting type with an apostrophe",
         with(cleared({fiYear, fiMtgType}), {{fiMtgType, 1, 0, "Men's Night"}}),
         "YearPart=2024 AND Wk_Mtg_Type='Men''s Night'"},
        {"visitors list date", with(cleared({fiStartDate}), {}, "12/8/2025"),
         "First(Wk_Date)=#12/8/2025#"},
        {"a two-digit year", with(cleared({fiStartDate}), {}, "12/8/25"),
         "First(Wk_Date)=#12/8/2025#"},
        {"a date in a hidden box still counts", with(cleared({}), {}, "5/15/2024"),
         "First(Wk_Date)=#5/15/2024#"},
        {"text that is no date", with(cleared({fiStartDate}), {}, "next week"),
         "First(Wk_Date)=#12/30/1899#"},
        {"the date sits between year and school",
         with(cleared({fiYear, fiSchool}), {{fiSchool, 1, 0, "East"}}, "1/2/2024"),
         "YearPart=2024 AND First(Wk_Date)=#1/2/2024# AND Youth_School='East'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildReportFilterText(c.choices), QString::fromUtf8(c.expected)) << c.name;
}

TEST(ReportFilterText, DatesAreMonthFirstWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = BuildReportFilterText(with(cleared({fiStartDate}), {}, "8.12.2025"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(text, QStringLiteral("First(Wk_Date)=#12/8/2025#"));
}

TEST(FilterColumn, OfferedFiltersStackInIndexOrder)
{
    std::array<bool, kFilterCount> offered{};
    for (FilterIndex i : kAttendance)
        offered[i] = true;
    const auto places = ArrangeFilterColumn(offered);
    const int expectedTops[] = {180, 560, 940, 1320, 1700, 2080};
    int k = 0;
    for (int i = 0; i < kFilterCount; ++i) {
        const FilterPlace& p = places[static_cast<std::size_t>(i)];
        if (!offered[static_cast<std::size_t>(i)]) {
            EXPECT_FALSE(p.shown) << i;
            continue;
        }
        EXPECT_TRUE(p.shown) << i;
        EXPECT_EQ(p.top, expectedTops[k++]) << i;
        EXPECT_EQ(p.left, 1380);
        EXPECT_EQ(p.captionLeft, 55);        // right edge 50 twips left of the list
        EXPECT_EQ(p.captionTop, p.top + 75); // bottom edges aligned
    }
    EXPECT_EQ(k, 6);

    // The date box carries on below the lists with its own height.
    offered = {};
    offered[fiStartDate] = true;
    EXPECT_EQ(ArrangeFilterColumn(offered)[fiStartDate].top, 180);
    EXPECT_EQ(ArrangeFilterColumn(offered)[fiStartDate].captionTop, 240);
    offered[fiTeam] = true;
    EXPECT_EQ(ArrangeFilterColumn(offered)[fiStartDate].top, 180 + 315 + 50);
}
