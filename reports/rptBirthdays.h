#pragma once

#include "reports/LandscapeList.h"

// Birthdays and schools on one landscape table. The option word "SCHOOL" (in any letter case)
// lists people grouped by school, ordered by school, grade and name; anything else groups
// them by birth month, ordered by month, day and name. Each group opens with a header naming
// the month or the school, taken from the group's first row.
class rptBirthdays final : public LandscapeList {
public:
    rptBirthdays();

    // The option word, upper-cased, as it was when the layout was created.
    const QString& Mode() const { return m_mode; }
    bool SchoolMode() const { return m_mode == QLatin1String("SCHOOL"); }

protected:
    void FillDetail(data::Recordset& rows) override;
    void PageHeader_Format() override;

private:
    void MonthHeader_Format();
    void Detail_AfterPrint();
    // The group value := GroupByFld of the current row, unless the rows are past their end.
    void takeGroupValue();

    QString m_mode;
    report::GroupHeader* m_monthHeader = nullptr;
};
