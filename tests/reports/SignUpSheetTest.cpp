#include "reports/rptSignUp.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const report::Document> runSheet(const QString& line1, const QString& line2)
{
    program().ReportLine1 = line1;
    program().ReportLine2 = line2;
    rptSignUp sheet;
    return report::run(sheet);
}

} // namespace

TEST(SignUpSheet, FortyTwoLinesInTwoColumnsDownThenAcross)
{
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    const auto doc =
        runSheet(QStringLiteral("Winter Retreat"), QStringLiteral("Feb 3-5, Camp Pinewood"));

    EXPECT_DUMP(*doc, "expected/sign-up-sheet.dump");
    const auto lines = doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(lines.size(), 42u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].second->column, i < 21 ? 0 : 1) << i;
}

TEST(SignUpSheet, HeadedByTheGroupAndTheEventAsTyped)
{
    settings().setGroupName(QStringLiteral("St. Luke Youth"));
    auto doc = runSheet(QStringLiteral("winter retreat"), QStringLiteral("Bring a bag & a pillow"));
    EXPECT_EQ(doc->caption(), QStringLiteral("Sign-Up Sheet"));
    EXPECT_EQ(doc->texts("SubTitle"), QStringList({"St. Luke Youth"}));
    EXPECT_EQ(doc->texts("Title"), QStringList({"Sign-up Sheet"}));
    EXPECT_EQ(doc->texts("EventName"), QStringList({"winter retreat"}));
    EXPECT_EQ(doc->texts("EventDetails"), QStringList({"Bring a bag & a pillow"}));

    // Empty texts print empty: the sheet's design texts never show.
    doc = runSheet(QString(), QString());
    EXPECT_EQ(doc->texts("EventName"), QStringList({""}));
    EXPECT_EQ(doc->texts("EventDetails"), QStringList({""}));
    EXPECT_EQ(doc->count(QStringLiteral("Detail")), 42);
}

TEST(SignUpSheet, PortraitWhateverThePrinterWasSetTo)
{
    program().ReportLine1 = QStringLiteral("Picnic");
    rptSignUp sheet;
    sheet.Printer().setOrientation(report::Orientation::Landscape);
    const auto doc = report::run(sheet);
    ASSERT_EQ(doc->pageCount(), 1);
    const report::Page& page = doc->pages()[0];
    EXPECT_EQ(page.orientation, report::Orientation::Portrait);
    EXPECT_EQ(page.paper, QSizeF(12240, 15840));
    EXPECT_EQ(page.printable.height(), 14256);
    EXPECT_EQ(doc->count(QStringLiteral("Detail")), 42);
}
