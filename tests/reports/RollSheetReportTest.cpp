#include "reports/Registration.h"
#include "reports/rptRollSheet.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/Code39Reader.h"
#include "tests/reports/LayoutRun.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using testing_support::DataFixture;

namespace {

using RollSheetRun = reports_test::LayoutRun<rptRollSheet>;

RollSheetRun runRollSheet()
{
    return reports_test::runLayout<rptRollSheet>();
}

const QString kNoRecords = QStringLiteral("There are no records to print on this report.");

constexpr double kLeftMargin = 720;
constexpr double kTopMargin = 792;
constexpr double kHeaderHeight = 1740;
constexpr double kColumnPitch = 3600;
constexpr int kRowsPerColumn = 40; // (14256 - 1740 - 390) / 300

std::vector<bool> ticks(const report::Document& doc)
{
    std::vector<bool> result;
    for (const auto& found : doc.items(QStringLiteral("chkPresent")))
        result.push_back(std::get<report::CheckItem>(*found.item).checked);
    return result;
}

class RollSheetReport : public ::testing::Test {
protected:
    testing_support::RecordingMessageBoxes& messages() { return testenv::messages(); }
    DataFixture db;
};

} // namespace

TEST_F(RollSheetReport, ListsEveryoneTheConditionAllowsDownTheFirstColumnFirst)
{
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= 45; ++i)
        db.addPerson(QStringLiteral("Kim"), QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')),
                     {{"Youth_Status", std::int16_t(1)}});
    db.exec(QStringLiteral("COMMIT"));
    db.addPerson("Gone", "P00", {{"Youth_Deleted", true}});
    db.addPerson("Ina", "P00", {{"Youth_Status", std::int16_t(3)}});
    program().ReportFilter = QStringLiteral("Youth_Status=1");

    const RollSheetRun r = runRollSheet();

    EXPECT_FALSE(r.layout->MeetingMode());
    const QStringList names = r.doc->texts(QStringLiteral("txtYouthName"));
    ASSERT_EQ(names.size(), 45);
    EXPECT_EQ(names.first(), QStringLiteral("P01, Kim"));
    EXPECT_EQ(names.last(), QStringLiteral("P45, Kim"));
    const auto cells = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), 45u);
    const double firstTop = kTopMargin + kHeaderHeight;
    for (int i : {0, 1, kRowsPerColumn - 1, kRowsPerColumn, 44}) {
        SCOPED_TRACE(i);
        const QRectF& cell = cells[std::size_t(i)].second->rect;
        EXPECT_EQ(cell.left(), kLeftMargin + (i / kRowsPerColumn) * kColumnPitch);
        EXPECT_EQ(cell.top(), firstTop + (i % kRowsPerColumn) * 300);
        EXPECT_EQ(cell.height(), 300);
    }
    EXPECT_EQ(ticks(*r.doc), std::vector<bool>(45, false)); // ticked by hand
    // The header's meeting boxes stay empty; the labels show.
    EXPECT_EQ(r.doc->texts(QStringLiteral("MtgDate")), QStringList({""}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("MtgAttendance")), QStringList({""}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("Label8")), QStringList({"Attendance:"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("Label6")), QStringList({"Present"}));
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(RollSheetReport, MeetingModeListsTheSavedAttendeesTickedWithTheMeetingInTheHeader)
{
    const int ann = db.addPerson("Ann", "Adams", {{"Youth_Status", std::int16_t(3)}});
    const int rex = db.addPerson("Rex", "Removed", {{"Youth_Deleted", true}});
    const int bob = db.addPerson("Bob", "Brown");
    db.addPerson("Cal", "Absent");
    const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Courage"},
                                                        {"Wk_Scripture", "Joshua 1:9"},
                                                        {"Wk_Offering", 25.0},
                                                        {"Wk_Attendance", 40}});
    const int other = db.addMeeting(QDate(2024, 5, 5));
    db.exec("UPDATE Weeks SET Wk_Date = Wk_Date + 0.75"); // its evening time is not printed
    db.attend(week, {bob, rex, ann});
    db.attend(other, {bob});
    program().ReportWeekID = week;
    program().ReportFilter = QStringLiteral("Youth_Status=1"); // not applied to a meeting

    auto layout = std::make_shared<rptRollSheet>();
    program().ReportWeekID = 0; // the meetings screen resets it once the layout exists
    const auto doc = report::run(*layout);

    EXPECT_TRUE(layout->MeetingMode());
    EXPECT_EQ(doc->texts(QStringLiteral("txtYouthName")),
              QStringList({"Adams, Ann", "Brown, Bob", "Removed, Rex"}));
    EXPECT_EQ(ticks(*doc), std::vector<bool>(3, true));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgDate")), QStringList({"5/12/2024"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgAttendance")), QStringList({"3"})); // not 40
    EXPECT_EQ(doc->texts(QStringLiteral("MtgOffering")), QStringList({"$25"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgTopic")), QStringList({"Courage"}));
    EXPECT_EQ(doc->texts(QStringLiteral("MtgVerse")), QStringList({"Joshua 1:9"}));
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(RollSheetReport, OfferingBoxShowsOnlyAnAmountAboveZero)
{
    const int ann = db.addPerson("Ann", "Adams");
    const struct {
        data::Variant offering;
        const char* shown;
    } cases[] = {
        {data::Variant(0.0), ""},       {data::Variant::null(), ""}, {data::Variant(25.0), "$25"},
        {data::Variant(25.5), "$25.5"}, {data::Variant(-3.0), ""},
    };
    for (const auto& c : cases) {
        const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Offering", c.offering}});
        db.attend(week, {ann});
        program().ReportWeekID = week;
        const RollSheetRun r = runRollSheet();
        EXPECT_EQ(r.doc->texts(QStringLiteral("MtgOffering")),
                  QStringList({QString::fromUtf8(c.shown)}))
            << c.shown;
    }
}

TEST_F(RollSheetReport, MeetingNeverSavedWarnsAndPrintsAnEmptySheet)
{
    db.addPerson("Ann", "Adams");
    program().ReportWeekID = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Topic", "Courage"}});

    const RollSheetRun r = runRollSheet();

    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().kind, ui::MessageKind::Plain);
    EXPECT_EQ(messages().last().text, kNoRecords);
    EXPECT_EQ(messages().last().title, QStringLiteral("No Matching Records"));
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->count(QStringLiteral("Detail")), 0);
    for (const char* box : {"MtgDate", "MtgAttendance", "MtgOffering", "MtgTopic", "MtgVerse"})
        EXPECT_EQ(r.doc->texts(QString::fromLatin1(box)), QStringList({""})) << box;
    EXPECT_TRUE(r.doc->errors().empty());
}

// The next page's header is made once the last row has been read: it still shows the meeting.
TEST_F(RollSheetReport, EveryPageHeaderShowsTheMeetingAlsoAfterTheLastRow)
{
    const int week = db.addMeeting(QDate(2024, 3, 3), {{"Wk_Topic", "Joy"}});
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= 3 * kRowsPerColumn + 1; ++i)
        db.addAttendance(db.addPerson(QStringLiteral("Kim"),
                                      QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'))),
                         week);
    db.exec(QStringLiteral("COMMIT"));
    program().ReportWeekID = week;

    const RollSheetRun r = runRollSheet();

    ASSERT_EQ(r.doc->pageCount(), 2);
    EXPECT_EQ(r.doc->texts(QStringLiteral("txtYouthName"), 1), QStringList({"P121, Kim"}));
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(r.doc->texts(QStringLiteral("MtgDate"), page), QStringList({"3/3/2024"}));
        EXPECT_EQ(r.doc->texts(QStringLiteral("MtgTopic"), page), QStringList({"Joy"}));
        EXPECT_EQ(r.doc->texts(QStringLiteral("MtgAttendance"), page), QStringList({"121"}));
    }
}

TEST_F(RollSheetReport, BarcodesOnlyForTheExactOptionWord)
{
    db.addPerson("Ann", "Adams");
    for (const char* option : {"barcode", "", "BARCODES", " BARCODE"}) {
        program().ReportOption = QString::fromLatin1(option);
        const RollSheetRun r = runRollSheet();
        EXPECT_FALSE(r.layout->BarcodeMode()) << option;
        ASSERT_EQ(r.doc->count(QStringLiteral("Detail")), 1);
        EXPECT_EQ(r.doc->sections(QStringLiteral("Detail"))[0].second->rect.height(), 300);
        for (const auto& item : r.doc->sections(QStringLiteral("Detail"))[0].second->items)
            EXPECT_FALSE(std::holds_alternative<report::ImageItem>(item)) << option;
    }
}

TEST_F(RollSheetReport, MissingDigitPictureLeavesOutWholeSymbolsAndIsToldOnce)
{
    // The test's program folder has no barcode pictures.
    db.addPerson("Ann", "Adams");
    db.addPerson("Bob", "Brown");
    program().ReportOption = QStringLiteral("BARCODE");

    const RollSheetRun r = runRollSheet();

    EXPECT_TRUE(r.layout->BarcodeMode());
    const auto cells = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), 2u);
    for (const auto& [page, cell] : cells) {
        EXPECT_EQ(cell->rect.height(), 900);
        for (const auto& item : cell->items)
            EXPECT_FALSE(std::holds_alternative<report::ImageItem>(item));
    }
    EXPECT_EQ(r.doc->texts(QStringLiteral("txtYouthName")),
              QStringList({"Adams, Ann", "Brown, Bob"}));
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(messages().last().text.contains(QStringLiteral("0.gif")))
        << messages().last().text.toStdString();
}

// The three layouts that print people's sheets: created by name, and a query that cannot run
// is reported as such, not as an empty result.
TEST_F(RollSheetReport, SheetsAreRegisteredAndSayWhenTheirRowsCannotBeRead)
{
    RegisterReports();
    db.addPerson("Ann", "Adams", {{"Youth_Team", "Blue"}});
    const struct {
        const char* name;
        const char* caption;
    } layouts[] = {{"rptRollSheet", "Roll Sheet"},
                   {"rptPhotoDir", "Group Directory"},
                   {"rptTeamRoster", "Team Roster"}};
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.name);
        messages().clear();
        program().ReportFilter.clear();
        auto good = report::createLayout(QString::fromLatin1(l.name));
        ASSERT_NE(good, nullptr);
        EXPECT_EQ(good->Caption(), QString::fromLatin1(l.caption));
        EXPECT_EQ(report::run(*good)->count(QStringLiteral("Detail")), 1);
        EXPECT_TRUE(messages().shown().empty());

        program().ReportFilter = QStringLiteral("Youth_Nonsense=1");
        auto bad = report::createLayout(QString::fromLatin1(l.name));
        ASSERT_EQ(messages().shown().size(), 1u);
        EXPECT_EQ(messages().last().kind, ui::MessageKind::Critical);
        EXPECT_TRUE(messages().last().text.contains(QStringLiteral("could not be read")));
        const auto doc = report::run(*bad);
        EXPECT_EQ(doc->pageCount(), 1);
        EXPECT_EQ(doc->count(QStringLiteral("Detail")), 0);
        EXPECT_TRUE(doc->errors().empty());
    }
}

TEST_F(RollSheetReport, PersonSevenPrintsTheCharactersOfItsPaddedIdLeftToRight)
{
    testenv::installBarcodePictures();
    db.addPerson({{"Youth_ID", 7}, {"Youth_FName", "Sam"}, {"Youth_LName", "Seven"}});
    program().ReportOption = QStringLiteral("BARCODE");

    const RollSheetRun r = runRollSheet();

    const auto cells = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), 1u);
    const report::PlacedSection& cell = *cells[0].second;
    EXPECT_EQ(cell.rect.height(), 900);
    QStringList characters;
    double left = cell.rect.left() + 900;
    for (const auto& item : cell.items) {
        const auto* picture = std::get_if<report::ImageItem>(&item);
        if (!picture)
            continue;
        EXPECT_EQ(picture->rect, QRectF(left, cell.rect.top() + 315, 255, 300));
        left += 255;
        characters << QFileInfo(picture->source).completeBaseName();
    }
    EXPECT_EQ(characters, QStringList({"Code 39 *", "0", "0", "0", "0", "0", "7", "Code 39 *"}));
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

// The page as printed at 300 dots per inch, read back along the middle of every symbol as a
// scanner reads it: each symbol carries the id of the person above it, long ids whole.
TEST_F(RollSheetReport, PrintedBarcodesScanAsTheIdsOfThePeopleAboveThem)
{
    testenv::installBarcodePictures();
    const QList<int> ids = {7, 42, 1234, 40000, 123456, 1234567, 12345678, 99999999};
    for (int i = 0; i < ids.size(); ++i)
        db.addPerson({{"Youth_ID", ids[i]},
                      {"Youth_FName", "Kim"},
                      {"Youth_LName", QStringLiteral("P%1").arg(i)}});
    program().ReportOption = QStringLiteral("BARCODE");

    const RollSheetRun r = runRollSheet();
    constexpr double kDpi = 300;
    const QImage page = r.doc->renderPage(0, kDpi);
    const auto px = [](double twips) { return int(twips * kDpi / 1440); };

    const auto cells = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cells.size(), std::size_t(ids.size()));
    for (int i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        const QRectF cell = cells[std::size_t(i)].second->rect;
        const QStringList read = code39reader::readRow(page, px(cell.top() + 315 + 150),
                                                       px(cell.left()), px(cell.right()));
        EXPECT_EQ(read, QStringList({QString::number(ids[i]).rightJustified(6, u'0')}));
    }
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(RollSheetReport, MeetingSheetWithBarcodesMatchesItsReviewedDump)
{
    testenv::installBarcodePictures();
    const int ann = db.addPerson("Ann", "Adams");
    const int bob =
        db.addPerson({{"Youth_ID", 1234567}, {"Youth_FName", "Bob"}, {"Youth_LName", "Brown"}});
    const int week = db.addMeeting(
        QDate(2024, 5, 12),
        {{"Wk_Topic", "Courage"}, {"Wk_Scripture", "Joshua 1:9"}, {"Wk_Offering", 25.0}});
    db.attend(week, {ann, bob});
    program().ReportWeekID = week;
    program().ReportOption = QStringLiteral("BARCODE");
    settings().setGroupName(QStringLiteral("St. Luke Youth"));

    const RollSheetRun r = runRollSheet();
    EXPECT_DUMP(*r.doc, "expected/rollsheet-meeting-barcodes.dump");
}
