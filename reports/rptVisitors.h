#pragma once

#include "reports/LandscapeList.h"

// The visitors checklist, landscape: every visitor who is not removed, with contact details,
// who invited them, when they last came and three boxes ticked for the follow-ups done
// (letter, call, visit). With a report condition (the first-attended date) only the visitors
// whose first meeting matches it are listed.
class rptVisitors final : public LandscapeList {
public:
    rptVisitors();

protected:
    void FillDetail(data::Recordset& rows) override;
    void PageHeader_Format() override;
};
