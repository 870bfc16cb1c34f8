#pragma once

#include "stats/OfferingSummary.h"
#include "stats/SummaryFilter.h"
#include "platform/data/Connection.h"
#include "platform/report/Report.h"

// The offering summary: one portrait page about the offerings of one calendar year. The year's
// total and the total of all years, a bar graph of the twelve monthly totals, and the year's
// meetings with date and amount in three columns of 40 (the first 120 meetings). A meeting
// type chosen restricts all of it, the all-years total included.
//
// The totals are read when the layout is created, the meetings while its page header is
// formatted the first time. A query that fails is named in one critical message: its totals
// stay empty, or the graph shows its frame and scale only and the list stays empty.
class rptOffering final : public report::Report {
public:
    rptOffering();

    const stats::SummaryFilter& filter() const { return m_filter; }
    // What the page was built from, for inspection.
    const stats::OfferingTotals& totals() const { return m_totals; }
    const stats::MonthlyOfferings& months() const { return m_months; }

private:
    void buildDesign();
    void PageHeader_Format();
    void showFailure(const QString& what, const QString& error);
    void showGraph(std::int32_t scaleMax);
    void placeListHeads();
    void showList(const std::vector<stats::WeekOffering>& weeks);

    stats::SummaryFilter m_filter;
    data::Connection m_conn;
    bool m_formatted = false;
    bool m_failureShown = false;
    stats::OfferingTotals m_totals;
    stats::MonthlyOfferings m_months;
};
