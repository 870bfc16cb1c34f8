#pragma once

#include "reports/ListReport.h"

#include <QFontMetricsF>

// The member directory: every person who is not removed and meets the report condition,
// ordered by last and first name, as address cards three across the page, filled across and
// then down. Each card holds a name and address block and a block of phone, e-mail and
// birthday lines.
class rptDirectory final : public ListReport {
public:
    rptDirectory();

protected:
    void FillDetail(data::Recordset& rows) override;

private:
    // The height the block needs for its whole text at its width, and never less than its
    // designed height.
    report::Twips blockHeight(const report::TextBox& block) const;

    QFontMetricsF m_blockMetrics;
};
