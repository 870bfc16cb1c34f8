#pragma once

#include "reports/ListReport.h"

// The team roster: a roll sheet subdivided by team. Every person who is not removed, is not
// a leader and has a team, grouped by team under a grey band with the team's name, one row
// per person (name, home phone, e-mail and four boxes to tick by hand: present, Bible,
// offering, visitors), and after each team eight blank rows of the same grid.
class rptTeamRoster final : public ListReport {
public:
    rptTeamRoster();

    // The caption of a team's band for the team value of its first row.
    static QString TeamCaption(const data::Variant& team);

protected:
    void FillDetail(data::Recordset& rows) override;

private:
    void TeamHeader_Format();
};
