#include "reports/Registration.h"
#include "reports/rptDirectory.h"
#include "tools/render-report/RenderReport.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;

namespace {

const QString kNoRecords = QStringLiteral("There are no records to print on this report.");

// The paper's left margin and the cards' pitch and height.
constexpr double kLeftMargin = 720;
constexpr double kTopMargin = 792;
constexpr double kColumnPitch = 3600;
constexpr double kCardHeight = 1905;
constexpr double kHeaderHeight = 1020;

struct DirectoryRun {
    std::shared_ptr<rptDirectory> layout;
    std::shared_ptr<const report::Document> doc;
};

DirectoryRun runDirectory()
{
    DirectoryRun r;
    r.layout = std::make_shared<rptDirectory>();
    r.doc = report::run(*r.layout);
    return r;
}

QString name(int i)
{
    return QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0'));
}

// Adds n people named "First P00001" ... in one transaction.
void addPeople(DataFixture& db, int n)
{
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= n; ++i)
        db.addPerson(QStringLiteral("First"), name(i));
    db.exec(QStringLiteral("COMMIT"));
}

QStringList firstLines(const QStringList& blocks)
{
    QStringList lines;
    for (const QString& block : blocks)
        lines << block.section(QLatin1Char('\n'), 0, 0);
    return lines;
}

class DirectoryReport : public ::testing::Test {
protected:
    testing_support::RecordingMessageBoxes& messages() { return testenv::messages(); }
};

} // namespace

TEST_F(DirectoryReport, ListsPeopleNotRemovedByLastThenFirstName)
{
    DataFixture db;
    db.addPerson("Bob", "Smith");
    db.addPerson("Zed", "Adams");
    db.addPerson("Gone", "Baker", {{"Youth_Deleted", true}});
    db.addPerson("Ann", "Smith");
    db.addPerson("Cal", "jones"); // order without regard to letter case

    const DirectoryRun r = runDirectory();

    EXPECT_EQ(firstLines(r.doc->texts("NameAddress")),
              QStringList({"Zed Adams", "Cal jones", "Ann Smith", "Bob Smith"}));
    EXPECT_EQ(r.layout->RowCount(), 4);
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(DirectoryReport, AppliesTheReportConditionReadWhenCreated)
{
    DataFixture db;
    db.addPerson("Ann", "Active", {{"Youth_Status", std::int16_t(1)}});
    db.addPerson("Ivy", "Inactive", {{"Youth_Status", std::int16_t(3)}});
    db.addPerson("Rex", "Removed", {{"Youth_Status", std::int16_t(1)}, {"Youth_Deleted", true}});
    db.addPerson("Val", "Visitor", {{"Youth_Status", std::int16_t(1)}, {"Youth_Visitor", true}});
    program().ReportFilter = QStringLiteral("Youth_Status=1");

    auto layout = std::make_shared<rptDirectory>();
    program().ReportFilter.clear(); // the catalogue clears it once the preview is open
    const auto doc = report::run(*layout);

    EXPECT_EQ(firstLines(doc->texts("NameAddress")), QStringList({"Ann Active", "Val Visitor"}));

    // Two clauses joined as the catalogue joins them.
    program().ReportFilter = QStringLiteral("Youth_Status=1 AND Youth_Visitor=-1");
    EXPECT_EQ(firstLines(runDirectory().doc->texts("NameAddress")), QStringList({"Val Visitor"}));
}

TEST_F(DirectoryReport, CardBlocks)
{
    struct Case {
        const char* lastName;
        testing_support::FieldValues fields;
        const char* nameAddress;
        const char* otherInfo;
    };
    const std::vector<Case> cases = {
        {"A-Everything",
         {{"Youth_Address1", "12 Elm St"},
          {"Youth_City", "Dayton"},
          {"Youth_State", "OH"},
          {"Youth_Zip", "45402"},
          {"Youth_HomePhone", "555-0101"},
          {"Youth_WorkPhone", "555-0102"},
          {"Youth_BeeperPhone", "555-0103"},
          {"Youth_CellPhone", "555-0104"},
          {"Youth_Email", "kim@mail.example"},
          {"Youth_Bday", day(2009, 3, 5)}},
         "Kim A-Everything\n12 Elm St\nDayton, OH  45402",
         "Home: 555-0101\nBeeper: 555-0103\nCell: 555-0104\nE-mail: kim@mail.example\n"
         "Birthday: 03/05"},
        {"B-CellOnly",
         {{"Youth_CellPhone", "555-0199"}},
         "Kim B-CellOnly\n\n,   ",
         "Cell: 555-0199"},
        {"C-WorkOnly", {{"Youth_WorkPhone", "555-0102"}}, "Kim C-WorkOnly\n\n,   ", ""},
        {"D-EmptyTexts",
         {{"Youth_HomePhone", ""}, {"Youth_Email", ""}, {"Youth_City", "Troy"}},
         "Kim D-EmptyTexts\n\nTroy,   ",
         ""},
        {"E-Birthday",
         {{"Youth_Bday", day(2010, 12, 25)}},
         "Kim E-Birthday\n\n,   ",
         "Birthday: 12/25"},
        {"F-MailAndBirthday",
         {{"Youth_Email", "f@mail.example"}, {"Youth_Bday", day(2008, 10, 1)}},
         "Kim F-MailAndBirthday\n\n,   ",
         "E-mail: f@mail.example\nBirthday: 10/01"},
    };
    DataFixture db;
    for (const Case& c : cases)
        db.addPerson("Kim", c.lastName, c.fields);

    const DirectoryRun r = runDirectory();
    const QStringList nameAddress = r.doc->texts("NameAddress");
    const QStringList otherInfo = r.doc->texts("OtherInfo");
    ASSERT_EQ(nameAddress.size(), qsizetype(cases.size()));
    ASSERT_EQ(otherInfo.size(), qsizetype(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].lastName);
        EXPECT_EQ(nameAddress[qsizetype(i)], QString::fromUtf8(cases[i].nameAddress));
        EXPECT_EQ(otherInfo[qsizetype(i)], QString::fromUtf8(cases[i].otherInfo));
    }
}

TEST_F(DirectoryReport, BlocksHoldTheirLinesInsideTheCard)
{
    DataFixture db;
    db.addPerson("Kim", "Full",
                 {{"Youth_Address1", "12 Elm St"},
                  {"Youth_City", "Dayton"},
                  {"Youth_State", "OH"},
                  {"Youth_Zip", "45402"},
                  {"Youth_HomePhone", "555-0101"},
                  {"Youth_BeeperPhone", "555-0103"},
                  {"Youth_CellPhone", "555-0104"},
                  {"Youth_Email", "kim@mail.example"},
                  {"Youth_Bday", day(2009, 3, 5)}});
    db.addPerson("Lee", "Zed"); // no contacts at all

    const DirectoryRun r = runDirectory();
    const auto names = r.doc->items("NameAddress");
    const auto others = r.doc->items("OtherInfo");
    ASSERT_EQ(names.size(), 2u);
    ASSERT_EQ(others.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const QRectF name = report::itemBase(*names[i].item).rect;
        const QRectF other = report::itemBase(*others[i].item).rect;
        const QRectF card = names[i].section->rect;
        EXPECT_EQ(name.left() - card.left(), 120);
        EXPECT_EQ(name.top() - card.top(), 120);
        EXPECT_EQ(name.width(), 3000);
        EXPECT_EQ(other.left(), name.left());
        // Three lines of 9 pt need more than the designed 240 twips; the contact block starts
        // below them.
        EXPECT_GT(name.height(), 3 * 180);
        EXPECT_GE(other.top(), name.bottom());
        EXPECT_LE(other.bottom(), card.top() + kCardHeight);
        EXPECT_EQ(card.height(), kCardHeight);
    }
    // Five lines of contacts need five lines of room.
    EXPECT_GT(report::itemBase(*others[0].item).rect.height(), 5 * 180);
}

TEST_F(DirectoryReport, FillsThreeCardsAcrossThenDown)
{
    DataFixture db;
    for (const char* last : {"A", "B", "C", "D", "E"})
        db.addPerson("Kim", last);

    const DirectoryRun r = runDirectory();
    const auto cards = r.doc->sections("Detail");
    ASSERT_EQ(cards.size(), 5u);
    const double firstRow = kTopMargin + kHeaderHeight;
    const std::vector<std::pair<double, double>> expected = {
        {0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}};
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SCOPED_TRACE(i);
        const QRectF& rect = cards[i].second->rect;
        EXPECT_EQ(rect.left(), kLeftMargin + expected[i].first * kColumnPitch);
        EXPECT_EQ(rect.top(), firstRow + expected[i].second * kCardHeight);
    }
    EXPECT_EQ(firstLines(r.doc->texts("NameAddress")),
              QStringList({"Kim A", "Kim B", "Kim C", "Kim D", "Kim E"}));
}

TEST_F(DirectoryReport, HeaderAndFooterOnEveryPage)
{
    DataFixture db;
    addPeople(db, 19);
    settings().setGroupName(QStringLiteral("St. Luke Youth"));
    testenv::clock().set(QDateTime(QDate(2024, 5, 15), QTime(18, 45, 30)));

    const DirectoryRun r = runDirectory();

    ASSERT_EQ(r.doc->pageCount(), 2);
    EXPECT_EQ(r.doc->texts("NameAddress", 0).size(), 18); // six rows of three
    EXPECT_EQ(r.doc->texts("NameAddress", 1).size(), 1);
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Group Directory"));
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(r.doc->texts("Title", page), QStringList({"Group Directory"}));
        EXPECT_EQ(r.doc->texts("SubTitle", page), QStringList({"St. Luke Youth"}));
        EXPECT_EQ(r.doc->texts("lblTimestamp", page), QStringList({"5/15/2024 6:45:30 PM"}));
        EXPECT_EQ(r.doc->texts("lblPage", page),
                  QStringList({QStringLiteral("Page: %1").arg(page + 1)}));
        EXPECT_EQ(r.doc->texts("Label3", page), QStringList({"Brantholme Technologies"}));
        EXPECT_EQ(r.doc->texts("Label4", page), QStringList({"Corvessa: Group Edition"}));
        EXPECT_EQ(r.doc->texts("Label5", page), QStringList({"www.corvessa.example"}));
    }
}

TEST_F(DirectoryReport, GroupNameDefaultsToTheProductName)
{
    DataFixture db;
    db.addPerson("Kim", "Lone");
    EXPECT_EQ(runDirectory().doc->texts("SubTitle"), QStringList({"Corvessa: Group Edition"}));
}

TEST_F(DirectoryReport, TwoThousandPeopleFillOneHundredTwelvePages)
{
    DataFixture db;
    addPeople(db, 2000);

    const DirectoryRun r = runDirectory();

    EXPECT_EQ(r.layout->RowCount(), 2000);
    EXPECT_EQ(r.doc->pageCount(), 112); // 111 pages of 18 cards and 2 on the last
    EXPECT_EQ(r.doc->texts("NameAddress", 111).size(), 2);
    EXPECT_EQ(r.doc->texts("lblPage", 111), QStringList({"Page: 112"}));
    EXPECT_EQ(r.doc->count("Detail"), 2000);
    EXPECT_EQ(firstLines(r.doc->texts("NameAddress", 111)),
              QStringList({"First P01999", "First P02000"}));
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(DirectoryReport, CountsRowsBeyondSixteenBits)
{
    DataFixture db;
    constexpr int kPeople = 32'770;
    addPeople(db, kPeople);

    const DirectoryRun r = runDirectory();

    EXPECT_EQ(r.layout->RowCount(), kPeople);
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_EQ(r.doc->count("Detail"), kPeople);
    EXPECT_EQ(firstLines(r.doc->texts("NameAddress", r.doc->pageCount() - 1)).last(),
              QStringLiteral("First P32770"));
}

TEST_F(DirectoryReport, EmptyResultSaysNoMatchingRecordsOnceAndShowsAnEmptyPage)
{
    DataFixture db;
    db.addPerson("Ann", "Active", {{"Youth_Status", std::int16_t(1)}});
    db.addPerson("Rex", "Removed", {{"Youth_Status", std::int16_t(3)}, {"Youth_Deleted", true}});
    program().ReportFilter = QStringLiteral("Youth_Status=3");

    const DirectoryRun r = runDirectory();

    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().kind, ui::MessageKind::Plain);
    EXPECT_EQ(messages().last().text, kNoRecords);
    EXPECT_EQ(messages().last().title, QStringLiteral("No Matching Records"));
    EXPECT_EQ(r.layout->RowCount(), 0);
    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->count("Detail"), 0);
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"Group Directory"}));
    EXPECT_EQ(r.doc->texts("lblPage"), QStringList({"Page: 1"}));
    EXPECT_EQ(r.doc->texts("Label3"), QStringList({"Brantholme Technologies"}));
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(DirectoryReport, QueryThatCannotRunShowsTheErrorNotAnEmptyResult)
{
    struct Case {
        const char* what;
        bool dataFile;
        const char* filter;
        const char* errorPart; // part of the error text the message must carry
    };
    const Case cases[] = {
        {"unknown field in the condition", true, "Youth_Nonsense=1", "Youth_Nonsense"},
        {"malformed condition", true, "Youth_Status=", ""},
        {"data file missing", false, "", "CorvessaData.mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages().clear();
        std::optional<DataFixture> db;
        if (c.dataFile) {
            db.emplace();
            db->addPerson("Ann", "Active", {{"Youth_Status", std::int16_t(1)}});
        } else {
            program().ConnectionString = data::buildConnectionString(
                testenv::programFolder(), QStringLiteral("CorvessaData.mdb"));
        }
        program().ReportFilter = QString::fromUtf8(c.filter);

        const DirectoryRun r = runDirectory();

        ASSERT_EQ(messages().shown().size(), 1u);
        const auto& shown = messages().last();
        EXPECT_EQ(shown.kind, ui::MessageKind::Critical);
        EXPECT_EQ(shown.title, QStringLiteral("Corvessa"));
        EXPECT_TRUE(shown.text.startsWith(
            QStringLiteral("The records for the report \"Group Directory\" could not be read.")))
            << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QString::fromUtf8(c.errorPart)))
            << shown.text.toStdString();
        EXPECT_GT(shown.text.size(), 70) << "the error itself is missing";
        EXPECT_FALSE(shown.text.contains(kNoRecords));
        // The report still opens, empty.
        EXPECT_EQ(r.layout->RowCount(), 0);
        EXPECT_EQ(r.doc->pageCount(), 1);
        EXPECT_EQ(r.doc->count("Detail"), 0);
        EXPECT_TRUE(r.doc->errors().empty());
        if (db) {
            db.reset();
            QFile::remove(testenv::programFile(QStringLiteral("CorvessaData.mdb")));
        }
    }
}

TEST_F(DirectoryReport, RegisteredByNameAndRenderedByTheTool)
{
    DataFixture db;
    addPeople(db, 20);
    RegisterReports();

    const auto layout = report::createLayout(QStringLiteral("rptDirectory"));
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->Caption(), QStringLiteral("Group Directory"));
    EXPECT_NE(dynamic_cast<rptDirectory*>(layout.get()), nullptr);

    const QString out = testenv::programFile(QStringLiteral("directory.pdf"));
    QString err;
    {
        QTextStream stream(&err);
        EXPECT_EQ(tools::renderReport({"render-report", "rptDirectory", testenv::programFolder(),
                                       out, "--filter", "Youth_LName<'P00004'"},
                                      stream),
                  tools::Rendered);
    }
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    // A condition nobody meets: the message goes to the tool's error output.
    {
        QTextStream stream(&err);
        EXPECT_EQ(tools::renderReport({"render-report", "rptDirectory", testenv::programFolder(),
                                       out, "--filter", "Youth_Status=2"},
                                      stream),
                  tools::Rendered);
    }
    EXPECT_EQ(err.trimmed(), QStringLiteral("[No Matching Records] ") + kNoRecords);
}
