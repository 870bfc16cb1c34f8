#pragma once

#include "reports/LandscapeList.h"

#include <cstdint>

// Two landscape lists on one table. The option word "MIA" (exactly so) lists the active
// people who are missing in action by the status rules, with the date they last came; rows of
// active people who are not missing are hidden. Anything else lists the people whose street
// address, birth date, home phone or e-mail is missing (Null: an empty text counts as given),
// with the birth date.
class rptMissingData final : public LandscapeList {
public:
    rptMissingData();

    // The option word as it was when the layout was created.
    const QString& Mode() const { return m_mode; }
    bool MiaMode() const { return m_mode == QLatin1String("MIA"); }

    // In the missing-in-action list, the number of rows that will print; otherwise the row
    // count.
    std::int32_t ListedCount() const { return m_listedCount; }

protected:
    void FillDetail(data::Recordset& rows) override;

private:
    // Whether the current row prints: always in the missing-data list; in the missing-in-action
    // list when the person is missing in action.
    bool listed(data::Recordset& rows) const;

    QString m_mode;
    std::int32_t m_listedCount = 0;
};
