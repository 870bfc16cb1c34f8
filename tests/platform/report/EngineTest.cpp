#include "tests/platform/report/TestLayouts.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/Engine.h"
#include "platform/report/Landscape.h"
#include "tests/support/DataFixture.h"

#include <gtest/gtest.h>

using namespace report;
using reporttest::numberedRows;
using reporttest::RowsLayout;

namespace {

// The texts of txtRow page by page.
std::vector<QStringList> rowsByPage(const Document& doc)
{
    std::vector<QStringList> pages(std::size_t(doc.pageCount()));
    for (const FoundItem& f : doc.items(QStringLiteral("txtRow")))
        pages[std::size_t(f.page)] << itemText(*f.item);
    return pages;
}

QRectF rectOf(const FoundItem& f)
{
    return itemBase(*f.item).rect;
}

} // namespace

// --- Handler order and the section request ------------------------------------------------

TEST(ReportRun, CallsHandlersInEngineOrderOverTwoPagesWithAGroupChange)
{
    // Body of 3000 twips: group header 300 + 2 details of 600 + footer 300 + header 300 +
    // detail 600 = 2700 on page 1; the fourth detail goes to page 2.
    RowsLayout layout({"A/1", "A/2", "B/3", "B/4"});
    layout.setPrintHeight(4000);
    layout.addRowGroup();

    auto doc = run(layout);

    const QStringList expected = {
        "ReportStart@0",         "PageStart@1",         "PageHeader_Format@1",
        "GroupHeader1_Format@1", "Detail_Format@1",     "Detail_AfterPrint@1",
        "Detail_Format@1",       "Detail_AfterPrint@1", "GroupFooter1_Format@1",
        "GroupHeader1_Format@1", "Detail_Format@1",     "Detail_AfterPrint@1",
        "Detail_Format@1", // B/4 is formatted here and does not fit
        "PageFooter_Format@1",   "PageStart@2",         "PageHeader_Format@2",
        "Detail_AfterPrint@2",
        "Detail_Format@2", // no request: the rows end
        "GroupFooter1_Format@2", "PageFooter_Format@2", "ReportEnd@2",
    };
    EXPECT_EQ(layout.events, expected);
    ASSERT_EQ(doc->pageCount(), 2);
    EXPECT_EQ(rowsByPage(*doc)[0], QStringList({"A/1", "A/2", "B/3"}));
    EXPECT_EQ(rowsByPage(*doc)[1], QStringList({"B/4"}));
    EXPECT_EQ(doc->texts(QStringLiteral("lblGroup")), QStringList({"A", "B"}));
    EXPECT_TRUE(doc->errors().empty());
}

TEST(ReportRun, EachRequestPrintsOneDetailAndTheCallWithoutRequestEndsTheRows)
{
    for (int n : {0, 1, 7, 40}) {
        SCOPED_TRACE(n);
        RowsLayout layout(numberedRows(n));
        auto doc = run(layout);
        EXPECT_EQ(layout.detailFormats, n + 1);
        EXPECT_EQ(doc->count(QStringLiteral("Detail")), n);
        EXPECT_EQ(doc->texts(QStringLiteral("txtRow")), numberedRows(n));
        // There is always a page, with its header and footer.
        EXPECT_GE(doc->pageCount(), 1);
        EXPECT_EQ(doc->count(QStringLiteral("PageHeader")), doc->pageCount());
        EXPECT_EQ(doc->count(QStringLiteral("PageFooter")), doc->pageCount());
    }
}

TEST(ReportRun, CountsPastSixteenBits)
{
    RowsLayout layout(numberedRows(40000), 100);
    auto doc = run(layout);
    EXPECT_EQ(layout.detailFormats, 40001);
    const auto details = doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(details.size(), 40000u);
    EXPECT_EQ(details.back().second->instance, 40000);
    EXPECT_EQ(doc->texts(QStringLiteral("txtRow")).back(), QStringLiteral("row 40000"));
}

// --- Pages ------------------------------------------------------------------------------

TEST(ReportPages, LetterPortraitWithMarginsByDefault)
{
    RowsLayout layout({});
    EXPECT_EQ(layout.PrintWidth(), 10800);
    EXPECT_EQ(layout.PrintHeight(), 14256);
    auto doc = run(layout);
    const Page& page = doc->pages().front();
    EXPECT_EQ(page.paper, QSizeF(12240, 15840));
    EXPECT_EQ(page.printable, QRectF(720, 792, 10800, 14256));
    EXPECT_EQ(page.orientation, Orientation::Portrait);
    // Header at the top of the printable area, footer at its bottom.
    EXPECT_EQ(doc->sections(QStringLiteral("PageHeader")).front().second->rect.top(), 792);
    EXPECT_EQ(doc->sections(QStringLiteral("PageFooter")).front().second->rect.bottom(),
              792 + 14256);
}

TEST(ReportPages, ADetailThatDoesNotFitMovesWholeToTheNextPageFormattedOnce)
{
    // Body 3000: four details of 700 fit (2800), the fifth does not.
    RowsLayout layout(numberedRows(9), 700);
    layout.setPrintHeight(4000);
    auto doc = run(layout);

    EXPECT_EQ(layout.detailFormats, 10);
    ASSERT_EQ(doc->pageCount(), 3);
    const auto pages = rowsByPage(*doc);
    EXPECT_EQ(pages[0], QStringList({"row 1", "row 2", "row 3", "row 4"}));
    EXPECT_EQ(pages[1], QStringList({"row 5", "row 6", "row 7", "row 8"}));
    EXPECT_EQ(pages[2], QStringList({"row 9"}));
    // Row 5 starts page 2 right below the page header, whole.
    const auto row5 = doc->items(QStringLiteral("txtRow"), 1).front();
    EXPECT_EQ(rectOf(row5).top(), 792 + 500);
    EXPECT_FALSE(row5.section->clipped);
}

TEST(ReportPages, ASectionThatExactlyFillsTheRoomLeftStaysOnThePage)
{
    RowsLayout layout(numberedRows(6), 1000); // body 3000: exactly three
    layout.setPrintHeight(4000);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 2);
    EXPECT_EQ(rowsByPage(*doc)[0].size(), 3);
}

TEST(ReportPages, ASectionTallerThanThePageBodyGetsAPageOfItsOwnAndIsCutOff)
{
    RowsLayout layout(numberedRows(2), 5000); // body is 3000
    layout.setPrintHeight(4000);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        const auto details = doc->items(QStringLiteral("txtRow"), page);
        ASSERT_EQ(details.size(), 1u);
        EXPECT_TRUE(details.front().section->clipped);
        EXPECT_EQ(details.front().section->clipBottom, 792 + 4000 - 500);
    }
}

TEST(ReportPages, PageHeaderShowsWhatThePageFooterHandlerSetForThatPage)
{
    RowsLayout layout(numberedRows(9), 1000);
    layout.setPrintHeight(4000);
    auto& page = layout.PageHeader().Controls().add<Label>(QStringLiteral("lblPage"));
    page.setCaption(QStringLiteral("design text"));
    layout.PageFooter().onFormat(
        [&] { page.setCaption(QStringLiteral("Page: ") + QString::number(layout.PageNumber())); });
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 3);
    EXPECT_EQ(doc->texts(QStringLiteral("lblPage")),
              QStringList({"Page: 1", "Page: 2", "Page: 3"}));
    EXPECT_EQ(doc->texts(QStringLiteral("lblPage"), 2), QStringList({"Page: 3"}));
    // The header still takes its place at the top of each page.
    EXPECT_EQ(doc->pages()[2].sections.front().name, QStringLiteral("PageHeader"));
}

TEST(ReportPages, AHiddenPageHeaderTakesNoRoom)
{
    RowsLayout layout(numberedRows(2), 600);
    layout.PageHeader().setVisible(false);
    auto doc = run(layout);
    EXPECT_EQ(doc->count(QStringLiteral("PageHeader")), 0);
    const auto rows = doc->items(QStringLiteral("txtRow"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rectOf(rows[0]).top(), 792);
    EXPECT_EQ(rectOf(rows[1]).top(), 792 + 600);
}

TEST(ReportPages, LandscapeSetAtReportStartHoldsForEveryPageAndItsUndoingDoesNotTouchThem)
{
    // The landscape lists' way: the helper turns the pages at report start and puts the
    // printer's orientation back at report end.
    struct Landscape : RowsLayout {
        Landscape() : RowsLayout(numberedRows(30), 600) {}
        LandscapeRun landscape;
        void ReportStart() override { landscape.start(*this, 14256, 10656); }
        void ReportEnd() override { landscape.end(*this); }
    } layout;
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 2); // 10656 - 1000 leaves 16 rows a page
    for (const Page& page : doc->pages()) {
        EXPECT_EQ(page.orientation, Orientation::Landscape);
        EXPECT_EQ(page.paper, QSizeF(15840, 12240));
        EXPECT_EQ(page.printable, QRectF(720, 792, 14256, 10656));
    }
    EXPECT_EQ(layout.Printer().Orientation(), Orientation::Portrait);
}

TEST(ReportPages, AChangeMadeAtPageStartAppliesToThatPageOnly)
{
    struct Turning : RowsLayout {
        Turning() : RowsLayout(numberedRows(3), 14256 - 1000) {}
        void PageStart() override
        {
            Printer().setOrientation(PageNumber() == 2 ? Orientation::Landscape
                                                       : Orientation::Portrait);
        }
    } layout;
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 3);
    EXPECT_EQ(doc->pages()[0].orientation, Orientation::Portrait);
    EXPECT_EQ(doc->pages()[1].orientation, Orientation::Landscape);
    EXPECT_EQ(doc->pages()[1].paper, QSizeF(15840, 12240));
    EXPECT_EQ(doc->pages()[2].orientation, Orientation::Portrait);
}

// --- Columns ----------------------------------------------------------------------------

TEST(ReportColumns, AcrossThenDownFillsARowBeforeTheNext)
{
    RowsLayout layout(numberedRows(5), 1905);
    layout.PageHeader().setHeight(1020);
    layout.PageFooter().setHeight(360);
    layout.Detail().setColumnCount(3);
    auto doc = run(layout);
    const auto cells = doc->items(QStringLiteral("txtRow"));
    ASSERT_EQ(cells.size(), 5u);
    const double top = 792 + 1020;
    const std::vector<QPointF> expected = {
        {720, top}, {4320, top}, {7920, top}, {720, top + 1905}, {4320, top + 1905}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(rectOf(cells[i]).topLeft(), expected[i]) << i;
        EXPECT_EQ(cells[i].section->column, int(i % 3));
    }
}

TEST(ReportColumns, AcrossThenDownFillsSixRowsOfThreeOnADirectoryPage)
{
    RowsLayout layout(numberedRows(37), 1905);
    layout.PageHeader().setHeight(1020);
    layout.PageFooter().setHeight(360);
    layout.Detail().setColumnCount(3);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 3);
    EXPECT_EQ(rowsByPage(*doc)[0].size(), 18);
    EXPECT_EQ(rowsByPage(*doc)[1].first(), QStringLiteral("row 19"));
    EXPECT_EQ(rowsByPage(*doc)[2], QStringList({"row 37"}));
}

TEST(ReportColumns, DownThenAcrossFillsAColumnBeforeTheNext)
{
    // A sheet of 42 writing lines: 21 fit under a 1725 header and above a 390 footer.
    RowsLayout layout(numberedRows(42), 570);
    layout.PageHeader().setHeight(1725);
    layout.PageFooter().setHeight(390);
    layout.Detail().setColumnCount(2);
    layout.Detail().setColumnDirection(ColumnDirection::DownThenAcross);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 1);
    const auto cells = doc->items(QStringLiteral("txtRow"));
    ASSERT_EQ(cells.size(), 42u);
    const double top = 792 + 1725;
    EXPECT_EQ(rectOf(cells[0]).topLeft(), QPointF(720, top));
    EXPECT_EQ(rectOf(cells[20]).topLeft(), QPointF(720, top + 20 * 570));
    EXPECT_EQ(rectOf(cells[21]).topLeft(), QPointF(720 + 5400, top));
    EXPECT_EQ(rectOf(cells[41]).topLeft(), QPointF(720 + 5400, top + 20 * 570));
}

TEST(ReportColumns, AcrossThenDownTheNextRowStartsBelowTheTallestCellOfTheRow)
{
    // Cards grow with their text: the middle card of the first row is the tallest.
    RowsLayout layout(numberedRows(5), 1000);
    layout.Detail().setColumnCount(3);
    auto& grow = layout.Detail().Controls().add<Label>(QStringLiteral("grow"));
    layout.Detail().onFormat([&] {
        if (layout.m_row >= 5)
            return;
        grow.setBounds(0, 0, 100, layout.m_row == 1 ? 1700 : 100);
        ++layout.m_row;
        layout.Detail().request();
    });
    auto doc = run(layout);
    const auto cells = doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), 5u);
    const double top = 792 + 500;
    EXPECT_EQ(cells[1].second->rect.height(), 1700);
    EXPECT_EQ(cells[2].second->rect.top(), top);
    EXPECT_EQ(cells[3].second->rect.top(), top + 1700);
    EXPECT_EQ(cells[3].second->column, 0);
    EXPECT_EQ(cells[4].second->rect.top(), top + 1700);
}

TEST(ReportColumns, DownThenAcrossACellThatExactlyFitsStaysInItsColumn)
{
    // Body 3000: three cells of 1000 fill the first column exactly; the fourth opens column 2.
    RowsLayout layout(numberedRows(4), 1000);
    layout.setPrintHeight(4000);
    layout.Detail().setColumnCount(2);
    layout.Detail().setColumnDirection(ColumnDirection::DownThenAcross);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 1);
    const auto cells = doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[2].second->column, 0);
    EXPECT_EQ(cells[2].second->rect.bottom(), 792 + 4000 - 500);
    EXPECT_FALSE(cells[2].second->clipped);
    EXPECT_EQ(cells[3].second->column, 1);
    EXPECT_EQ(cells[3].second->rect.top(), 792 + 500);
}

TEST(ReportColumns, AFixedPitchPlacesLabelsThirtyToASheet)
{
    RowsLayout layout(numberedRows(31), 1440);
    layout.PageHeader().setHeight(0);
    layout.PageFooter().setHeight(0);
    layout.Printer().setMargins(540, 720, 270, 720);
    layout.setPrintWidth(10800);
    layout.Detail().setColumnCount(3);
    layout.Detail().setColumnPitch(3960);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 2);
    EXPECT_EQ(doc->pages()[0].printable.height(), 14400);
    const auto cells = doc->items(QStringLiteral("txtRow"));
    EXPECT_EQ(rectOf(cells[2]).topLeft(), QPointF(540 + 2 * 3960, 720));
    EXPECT_EQ(rectOf(cells[29]).topLeft(), QPointF(540 + 2 * 3960, 720 + 9 * 1440));
    EXPECT_EQ(cells[30].page, 1);
}

TEST(ReportColumns, AFullWidthSectionAfterAPartRowStartsBelowIt)
{
    RowsLayout layout({"A/1", "A/2", "A/3", "A/4", "B/5"}, 1000);
    layout.Detail().setColumnCount(3);
    layout.addRowGroup(300, 200);
    auto doc = run(layout);
    const auto footers = doc->sections(QStringLiteral("GroupFooter1"));
    ASSERT_EQ(footers.size(), 2u);
    const double bodyTop = 792 + 500;
    // Header A 300, two rows of cells (2000), then A's footer.
    EXPECT_EQ(footers[0].second->rect.top(), bodyTop + 300 + 2000);
    const auto headers = doc->sections(QStringLiteral("GroupHeader1"));
    EXPECT_EQ(headers[1].second->rect.top(), bodyTop + 300 + 2000 + 200);
    const auto cells = doc->items(QStringLiteral("txtRow"));
    EXPECT_EQ(rectOf(cells[4]).topLeft(), QPointF(720, bodyTop + 300 + 2000 + 200 + 300));
}

// --- Groups -----------------------------------------------------------------------------

TEST(ReportGroups, EachGroupGetsOneHeaderBeforeItsFirstRowAndOneFooterAfterItsLast)
{
    RowsLayout layout({"A/1", "A/2", "B/3"});
    layout.addRowGroup();
    auto doc = run(layout);
    const Page& page = doc->pages().front();
    QStringList order;
    for (const PlacedSection& s : page.sections)
        order << s.name;
    EXPECT_EQ(order, QStringList({"PageHeader", "GroupHeader1", "Detail", "Detail", "GroupFooter1",
                                  "GroupHeader1", "Detail", "GroupFooter1", "PageFooter"}));
    EXPECT_EQ(doc->texts(QStringLiteral("lblGroup")), QStringList({"A", "B"}));
}

TEST(ReportGroups, ZeroRowsPrintNoGroupHeaderOrFooter)
{
    RowsLayout layout({});
    layout.addRowGroup();
    // A fixed group value, as layouts set it from their first row, is there even with no rows.
    layout.group(0).setGroupValue(data::Variant("A"));
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 1);
    EXPECT_EQ(doc->count(QStringLiteral("GroupHeader1")), 0);
    EXPECT_EQ(doc->count(QStringLiteral("GroupFooter1")), 0);
    EXPECT_FALSE(layout.events.contains(QStringLiteral("GroupFooter1_Format@1")));
}

TEST(ReportGroups, GroupValuesCompareAsTheListSortsThem)
{
    // Null and empty text are one group; text ignores letter case; numbers compare by value.
    using data::Variant;
    EXPECT_TRUE(GroupHeader::sameGroup(Variant::null(), Variant("")));
    EXPECT_TRUE(GroupHeader::sameGroup(Variant(), Variant::null()));
    EXPECT_TRUE(GroupHeader::sameGroup(Variant("Blue"), Variant("blue")));
    EXPECT_TRUE(GroupHeader::sameGroup(Variant(std::int16_t(3)), Variant(3.0)));
    EXPECT_FALSE(GroupHeader::sameGroup(Variant("Blue"), Variant("Red")));
    EXPECT_FALSE(GroupHeader::sameGroup(Variant::null(), Variant(" ")));
    EXPECT_FALSE(GroupHeader::sameGroup(Variant(std::int16_t(0)), Variant::null()));

    RowsLayout layout({"Blue/1", "blue/2", "/3", "/4"});
    layout.addRowGroup();
    auto doc = run(layout);
    EXPECT_EQ(doc->count(QStringLiteral("GroupHeader1")), 2);
}

TEST(ReportGroups, AGroupValueCanBeAFieldOfTheCurrentRow)
{
    testing_support::DataFixture db;
    db.addPerson(QStringLiteral("Ann"), QStringLiteral("Abel"), {{"Youth_Team", "Blue"}});
    db.addPerson(QStringLiteral("Bob"), QStringLiteral("Baker"), {{"Youth_Team", "blue"}});
    db.addPerson(QStringLiteral("Cy"), QStringLiteral("Cole"), {{"Youth_Team", "Red"}});
    data::Connection connection;
    connection.Open(db.connectionString());
    data::Recordset rows;
    rows.Open(QStringLiteral("SELECT * FROM Youth ORDER BY Youth_Team, Youth_LName;"), connection,
              data::adOpenStatic, data::adLockReadOnly);

    Report layout;
    GroupHeader& team = layout.addGroup(QStringLiteral("TeamHeader"), QStringLiteral("TeamFooter"));
    auto& label = team.Controls().add<Label>(QStringLiteral("TeamLabel"));
    team.setGroupValueField(rows, QStringLiteral("Youth_Team"));
    team.onFormat([&] { label.setCaption(rows[QStringLiteral("Youth_Team")].Value().text()); });
    auto& name = layout.Detail().Controls().add<TextBox>(QStringLiteral("txtName"));
    layout.Detail().onFormat([&] {
        if (rows.EOF())
            return;
        name.setText(rows[QStringLiteral("Youth_FName")].Value().text());
        rows.MoveNext();
        layout.Detail().request();
    });
    auto doc = run(layout);
    // "Blue" and "blue" are one team; the header reads the team's first row.
    EXPECT_EQ(doc->texts(QStringLiteral("TeamLabel")), QStringList({"Blue", "Red"}));
    EXPECT_EQ(doc->texts(QStringLiteral("txtName")), QStringList({"Ann", "Bob", "Cy"}));
    EXPECT_EQ(doc->count(QStringLiteral("TeamFooter")), 2);
}

TEST(ReportGroups, AGroupHeaderIsNeverLeftAloneAtTheFootOfAPage)
{
    // After A/1..A/4 (300 + 4 x 600 = 2700 of 3000) B's header would just fit but its first
    // row would not: both go to page 2.
    RowsLayout layout({"A/1", "A/2", "A/3", "A/4", "B/5"});
    layout.setPrintHeight(4000);
    layout.addRowGroup(300, 0);
    auto doc = run(layout);
    ASSERT_EQ(doc->pageCount(), 2);
    const auto headers = doc->sections(QStringLiteral("GroupHeader1"));
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(headers[1].first, 1);
    EXPECT_EQ(headers[1].second->rect.top(), 792 + 500);
}

TEST(ReportGroups, NestedGroupsCloseFromTheInnermostOut)
{
    RowsLayout layout({"A/x", "A/y", "B/y"});
    layout.addRowGroup();
    GroupHeader& inner = layout.addGroup(QStringLiteral("Inner"), QStringLiteral("InnerFooter"));
    inner.setGroupValueSource([&layout]() -> std::optional<data::Variant> {
        if (layout.m_row >= 3)
            return std::nullopt;
        return data::Variant(QStringList({"A/x", "A/y", "B/y"})[layout.m_row].section('/', 1));
    });
    auto doc = run(layout);
    QStringList order;
    for (const PlacedSection& s : doc->pages().front().sections)
        order << s.name;
    EXPECT_EQ(order, QStringList({"PageHeader", "GroupHeader1", "Inner", "Detail", "InnerFooter",
                                  "Inner", "Detail", "InnerFooter", "GroupFooter1", "GroupHeader1",
                                  "Inner", "Detail", "InnerFooter", "GroupFooter1", "PageFooter"}));
}

// --- Instances and controls ---------------------------------------------------------------

TEST(ReportInstances, AHiddenDetailTakesNoRoomButItsAfterPrintRuns)
{
    RowsLayout layout(numberedRows(3));
    layout.Detail().onFormat([&] {
        ++layout.detailFormats;
        if (layout.detailFormats > 3)
            return;
        layout.Detail().setVisible(layout.detailFormats != 2);
        layout.Detail()
            .Controls()
            .Item<TextBox>(QStringLiteral("txtRow"))
            .setText(QString::number(layout.detailFormats));
        layout.Detail().request();
    });
    int afterPrints = 0;
    layout.Detail().onAfterPrint([&] { ++afterPrints; });
    auto doc = run(layout);
    EXPECT_EQ(afterPrints, 3);
    EXPECT_EQ(doc->texts(QStringLiteral("txtRow")), QStringList({"1", "3"}));
    const auto cells = doc->items(QStringLiteral("txtRow"));
    EXPECT_EQ(rectOf(cells[1]).top() - rectOf(cells[0]).top(), 600);
}

TEST(ReportInstances, ControlsAddedWhileFormattingShowInThatInstanceAndStay)
{
    RowsLayout layout(numberedRows(3));
    layout.Detail().onFormat([&] {
        ++layout.detailFormats;
        if (layout.detailFormats > 3)
            return;
        if (layout.detailFormats == 2) {
            Control& line = layout.Detail().Controls().Add(QStringLiteral("ddactivereports.LINE"));
            static_cast<Line&>(line).setPoints(0, 100, 1000, 100);
        }
        layout.Detail().request();
    });
    auto doc = run(layout);
    const auto details = doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(details.size(), 3u);
    EXPECT_EQ(details[0].second->items.size(), 1u);
    EXPECT_EQ(details[1].second->items.size(), 2u);
    EXPECT_EQ(details[2].second->items.size(), 2u);
    const auto& line = std::get<LineItem>(details[1].second->items[1]);
    EXPECT_EQ(line.line.p1(), details[1].second->rect.topLeft() + QPointF(0, 100));
}

TEST(ReportInstances, AHiddenControlPrintsNothing)
{
    RowsLayout layout(numberedRows(3));
    auto& mark = layout.Detail().Controls().add<Label>(QStringLiteral("lblMark"));
    mark.setBounds(3000, 0, 500, 300);
    mark.setCaption(QStringLiteral("X"));
    layout.Detail().onAfterPrint([&] { mark.setVisible(false); });
    auto doc = run(layout);
    // Shown on the first row only; the hidden ones leave no item at all.
    EXPECT_EQ(doc->texts(QStringLiteral("lblMark")), QStringList({"X"}));
    EXPECT_EQ(doc->sections(QStringLiteral("Detail"))[1].second->items.size(), 1u);
}

TEST(ReportInstances, OnceModeFormatsAndPrintsTheDetailOnceWhateverItRequests)
{
    RowsLayout layout(numberedRows(5));
    layout.setDetailMode(DetailMode::Once);
    auto doc = run(layout);
    EXPECT_EQ(layout.detailFormats, 1);
    EXPECT_EQ(doc->texts(QStringLiteral("txtRow")), QStringList({"row 1"}));
}

TEST(ReportInstances, ASectionGrowsToHoldItsLowestVisibleControl)
{
    RowsLayout layout(numberedRows(2), 600);
    auto& low = layout.Detail().Controls().add<Label>(QStringLiteral("low"));
    low.setBounds(0, 500, 100, 400);
    auto doc = run(layout);
    EXPECT_EQ(doc->sections(QStringLiteral("Detail"))[0].second->rect.height(), 900);

    low.setVisible(false);
    EXPECT_EQ(layout.Detail().placedHeight(), 600);
    low.setVisible(true);
    layout.Detail().setCanGrow(false);
    EXPECT_EQ(layout.Detail().placedHeight(), 600);
}

// --- Failures -----------------------------------------------------------------------------

TEST(ReportFailures, AFailingHandlerIsRecordedAndTheRunGoesOn)
{
    RowsLayout layout(numberedRows(3));
    layout.Detail().onAfterPrint([&] {
        if (layout.m_row == 2)
            layout.Detail().Controls().Item(QStringLiteral("noSuchControl"));
    });
    layout.PageFooter().onFormat([] { throw std::runtime_error("footer broke"); });
    auto doc = run(layout);
    EXPECT_EQ(doc->count(QStringLiteral("Detail")), 3);
    ASSERT_EQ(doc->errors().size(), 2u);
    EXPECT_EQ(doc->errors()[0].handler, QStringLiteral("Detail_AfterPrint"));
    EXPECT_TRUE(doc->errors()[0].message.contains(QStringLiteral("noSuchControl")));
    EXPECT_EQ(doc->errors()[1].handler, QStringLiteral("PageFooter_Format"));
    EXPECT_EQ(doc->errors()[1].page, 1);
    // The footer is still placed, showing what it had.
    EXPECT_EQ(doc->count(QStringLiteral("PageFooter")), 1);
}

TEST(ReportFailures, ALayoutCannotRunInsideItsOwnRun)
{
    RowsLayout layout(numberedRows(1));
    layout.PageHeader().onFormat([&] { run(layout); });
    auto doc = run(layout);
    ASSERT_EQ(doc->errors().size(), 1u);
    EXPECT_EQ(doc->errors()[0].handler, QStringLiteral("PageHeader_Format"));
    EXPECT_EQ(doc->count(QStringLiteral("Detail")), 1);
}
