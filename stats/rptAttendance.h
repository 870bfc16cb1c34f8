#pragma once

#include "stats/AttendanceSummary.h"
#include "stats/BarGraph.h"
#include "stats/SummaryFilter.h"
#include "platform/data/Connection.h"
#include "platform/report/Landscape.h"
#include "platform/report/Report.h"

#include <QDate>

#include <cstdint>
#include <map>
#include <vector>

// The attendance summary: one landscape page for one calendar year, with a yellow bar per
// meeting date as tall as the number of people present (leaders left out), a dark red bar
// inside it for the people who came for the first time, the count above each bar, the day
// below it, a band with the month's short name under each month's bars, five scale lines and a
// legend. The report condition gives the year and restricts both queries; a team or meeting
// type chosen is named in the caption.
//
// The queries run while the page header is formatted the first time; a later format adds
// nothing. A query that fails is named in one critical message and the graph shows its frame
// and scale only.
class rptAttendance final : public report::Report {
public:
    rptAttendance();

    const stats::SummaryFilter& filter() const { return m_filter; }
    // What the page was built from, for inspection.
    const std::vector<stats::AttendancePoint>& points() const { return m_points; }
    const std::vector<stats::BarSpan>& monthBands() const { return m_bands; }
    std::int32_t CountFirstTimeVisitors(const QDate& date) const;

protected:
    void ReportStart() override;
    void ReportEnd() override;

private:
    void buildDesign();
    void PageHeader_Format();
    void showBars(const stats::BarLayout& bars, std::int32_t scaleMax);

    stats::SummaryFilter m_filter;
    data::Connection m_conn;
    bool m_formatted = false;
    std::vector<stats::AttendancePoint> m_points;
    std::map<QDate, std::int32_t> m_firstTime;
    std::vector<stats::BarSpan> m_bands;
    report::LandscapeRun m_landscape;
};
