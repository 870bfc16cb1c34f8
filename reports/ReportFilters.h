#pragma once

#include <QString>

#include <array>

struct clsReport;

// The filters of the Reports screen: fourteen drop-down lists, by index, and the date box.
enum FilterIndex : int {
    fiStatus = 0,
    fiTeam = 1,
    fiSchoolType = 2,
    fiLeader = 3,
    fiVisitor = 4,
    fiMailList = 5,
    fiDrama = 6,
    fiMusic = 7,
    fiInclude = 8,
    fiYear = 9,
    fiSchool = 10,
    fiGrade = 11,
    fiGender = 12,
    fiMtgType = 13,
    fiStartDate = 14 // the date box "First Attended:"
};
inline constexpr int kFilterListCount = 14;
inline constexpr int kFilterCount = 15; // the lists and the date box

// Which filters an entry offers, by filter index.
std::array<bool, kFilterCount> FiltersOffered(const clsReport& entry);

// What the filters hold when the run button is pressed.
struct FilterListChoice {
    int index = -1;     // the selected item; -1 for none
    int itemData = 0;   // the selected item's data
    QString text;       // the selected item's text
    bool shown = false; // shown by the catalogue for the chosen entry
};
struct FilterChoices {
    std::array<FilterListChoice, kFilterListCount> lists;
    QString dateText; // the date box
};

// The report filter text: an SQL condition without WHERE, its clauses joined by " AND ", in
// a fixed order; empty for no condition. Text values have their quotes doubled, dates are
// written #m/d/yyyy#. The Include and Year lists give a clause only while shown.
QString BuildReportFilterText(const FilterChoices& choices);

// The filter column of the filter panel, in twips relative to the panel: the offered filters
// one under the other in index order, each with its caption to its left, bottom edges aligned.
namespace filtercolumn {
inline constexpr int kLeft = 1380;
inline constexpr int kFirstTop = 180;
inline constexpr int kGap = 50;
inline constexpr int kListHeight = 330;
inline constexpr int kDateWidth = 1095;
inline constexpr int kDateHeight = 315;
inline constexpr int kCaptionWidth = 1275;
inline constexpr int kCaptionHeight = 255;
inline constexpr int kListWidth = 3000; // room for long team names, clear of "Clear Filters"
} // namespace filtercolumn

struct FilterPlace {
    bool shown = false;
    int left = 0;
    int top = 0;
    int captionLeft = 0;
    int captionTop = 0;
};
std::array<FilterPlace, kFilterCount>
ArrangeFilterColumn(const std::array<bool, kFilterCount>& offered);
