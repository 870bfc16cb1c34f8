#pragma once

#include "stats/BarGraph.h"
#include "stats/GroupStats.h"
#include "platform/data/Connection.h"
#include "platform/report/ChartData.h"
#include "platform/report/Landscape.h"
#include "platform/report/Report.h"

#include <array>
#include <cstdint>
#include <vector>

// The group statistics: one landscape page that sums up the whole group on the day it is
// printed. A summary of members and visitors by status, the schools people attend, the
// attendance at the last 12 meetings, birthdays by month, and charts by gender, status, age
// and team. It reads no report condition: it always covers the whole data file.
//
// Everything is placed while the page header is formatted the first time: the page's queries
// are all read first (GatherGroupStats), then the page is marked as built, then the controls
// are added. A query that fails is named in one critical message and its part of the page
// stays empty; a later format of the page header adds nothing.
class rptGrpStats final : public report::Report {
public:
    rptGrpStats();

    // Five scale lines with their values on a graph frame.
    void Bargraph_Draw_H_Lines(const report::Shape& frame, std::int32_t scaleMax);
    // People aged first to last (inclusive), from the ages counted with the birthdays.
    std::int32_t AgeRangeCount(std::int16_t first, std::int16_t last) const;
    // The age band set (1 to 5) for the age chart.
    std::int16_t DetermineAgeConcentration() const;
    // Adds one row (from 1) of the school table.
    void PositionSchoolLabels(const QString& school, std::int32_t count, std::int16_t row);

    // What the page was built from, for inspection.
    bool formatted() const { return mFormatted; }
    const std::array<stats::AttendancePoint, stats::kAttendanceSlots>& attendance() const
    {
        return mAttend;
    }
    const stats::AgeCounts& ageCounts() const { return mAgeCount; }
    const std::vector<stats::BarSpan>& barSpans() const { return mBarSpan; }
    const report::ChartData& genderChart() const
    {
        return chartData(QStringLiteral("GenderChart"));
    }
    const report::ChartData& statusChart() const
    {
        return chartData(QStringLiteral("StatusChart"));
    }
    const report::ChartData& ageChart() const { return chartData(QStringLiteral("AgeChart")); }
    const report::ChartData& teamChart() const { return chartData(QStringLiteral("TeamChart")); }

protected:
    void ReportStart() override;
    void ReportEnd() override;

private:
    void buildDesign();
    void PageHeader_Format();

    void showGrid(const stats::GroupStatsData& data);
    void showSchools(const stats::GroupStatsData& data);
    void showAttendance(const stats::GroupStatsData& data);
    void showBirthdays(const stats::GroupStatsData& data);
    void showCharts(const stats::GroupStatsData& data);

    QRectF frameOf(const QString& shape);
    const report::ChartData& chartData(const QString& chart) const;

    data::Connection mConn;
    bool mFormatted = false;
    std::array<stats::AttendancePoint, stats::kAttendanceSlots> mAttend{};
    stats::AgeCounts mAgeCount{};
    std::vector<stats::BarSpan> mBarSpan;
    report::LandscapeRun m_landscape;
};
