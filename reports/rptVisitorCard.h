#pragma once

#include "platform/report/Landscape.h"
#include "platform/report/Report.h"

// One landscape page of four blank visitor cards, two across and two down, for newcomers to
// fill in by hand. The first card is designed; when the page is made, every element of it is
// copied to the three other card positions, which are read from the frames CardBorder2 to
// CardBorder4. The welcome line carries the group's name and the address captions follow
// the group's country. The maker's footer line prints below the cards.
class rptVisitorCard final : public report::Report {
public:
    rptVisitorCard();

protected:
    void ReportStart() override;
    void ReportEnd() override;

private:
    void Detail_Format();
    // Adds the copies of the first card's shapes, labels, check boxes and lines for one card.
    void copyCard(report::Twips dx, report::Twips dy);

    report::LandscapeRun m_landscape;
    bool m_cardsCopied = false;
};
