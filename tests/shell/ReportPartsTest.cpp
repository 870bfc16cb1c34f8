#include "shell/ProgramState.h"
#include "shell/ReportParts.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

// A layout without a query that puts the shared parts where the statistics do: everything in
// the page header, the footer line at its bottom, a left-aligned title; and two pages of rows.
class PartsLayout : public report::Report {
public:
    PartsLayout()
    {
        setCaption(QStringLiteral("Parts"));
        PageHeader().setHeight(1500);
        reportparts::addTitle(PageHeader(), {0, 0, 5280, 600}, QStringLiteral("Group Stats"),
                              report::Alignment::Left)
            .setFontSize(24);
        reportparts::addSubTitle(PageHeader(), {8700, 0, 5340, 300}, report::Alignment::Right);
        reportparts::addTimestampAndPage(PageHeader(), {8700, 300, 5340, 300},
                                         {8700, 600, 5340, 300});
        reportparts::addMakerFooter(PageHeader(), {0, 1200, 10740, 240}, {0, 1200, 3240, 240},
                                    {7500, 1200, 3240, 240});
        Detail().setHeight(6000);
        Detail().onFormat([this] {
            if (++m_rows <= 3)
                Detail().request();
        });
        PageFooter().onFormat([this] { reportparts::stampPage(*this); });
    }

private:
    int m_rows = 0;
};

} // namespace

TEST(ReportParts, TitleGroupNameStampAndMakerLinesInWhicheverSectionTheLayoutPutsThem)
{
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    PartsLayout layout;
    auto doc = report::run(layout);
    ASSERT_EQ(doc->pageCount(), 2);
    // Each page header shows its own page number, stamped when the page closed.
    EXPECT_EQ(doc->texts(QStringLiteral("lblPage")), QStringList({"Page: 1", "Page: 2"}));
    EXPECT_EQ(doc->texts(QStringLiteral("SubTitle")).value(1), QStringLiteral("Harbor Youth"));
    EXPECT_DUMP(*doc, "expected/report-parts.dump");
}

TEST(ReportParts, TheSubTitleFollowsTheGroupNameWhenTheHeaderIsFormatted)
{
    report::Report layout;
    reportparts::addSubTitle(layout.PageHeader(), {0, 480, 10740, 360});
    // Without a stored name the product's full name stands in.
    EXPECT_EQ(
        layout.PageHeader().Controls().Item<report::Label>(QStringLiteral("SubTitle")).Caption(),
        QStringLiteral("Corvessa: Group Edition"));
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    layout.PageHeader().onFormat([&] { reportparts::setSubTitle(layout.PageHeader()); });
    EXPECT_EQ(report::run(layout)->texts(QStringLiteral("SubTitle")),
              QStringList({"Harbor Youth"}));
    EXPECT_EQ(reportparts::pageText(12), QStringLiteral("Page: 12"));
}
