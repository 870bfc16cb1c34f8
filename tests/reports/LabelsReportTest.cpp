#include "bench/SampleData.h"
#include "reports/Registration.h"
#include "reports/clsMailingLabels.h"
#include "reports/frmReports.h"
#include "reports/rptLabels.h"
#include "tools/render-report/RenderReport.h"
#include "shell/ProgramState.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "tests/reports/ReportsScreenSupport.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <tuple>

using testing_support::DataFixture;
using testing_support::FieldValues;

namespace {

// The label sheet as it comes from the box (twips from the paper's top left corner): labels
// 2-5/8 in by 1 in, the first 3/16 in from the left edge and 1/2 in from the top, 1/8 in
// between the columns, none between the rows; three across, ten down.
constexpr double kSheetLeft = 270;
constexpr double kSheetTop = 720;
constexpr double kLabelWidth = 3780;
constexpr double kLabelHeight = 1440;
constexpr double kColumnStep = 3960;
constexpr int kRows = 10;
constexpr int kColumns = 3;

QRectF labelCell(int column, int row)
{
    return {kSheetLeft + column * kColumnStep, kSheetTop + row * kLabelHeight, kLabelWidth,
            kLabelHeight};
}

// The cell of the sheet that wholly holds a rectangle, as column and row; nullopt when none
// does.
std::optional<std::pair<int, int>> cellHolding(const QRectF& rect)
{
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            if (labelCell(column, row).contains(rect))
                return std::pair{column, row};
        }
    }
    return std::nullopt;
}

// A person who gets a label unless a test says otherwise.
int addAddressed(DataFixture& db, const QString& first, const QString& last, const QString& street,
                 const QString& zip, FieldValues more = {})
{
    FieldValues fields = {{"Youth_Address1", street},
                          {"Youth_City", "Lexington"},
                          {"Youth_State", "KY"},
                          {"Youth_Zip", zip},
                          {"Youth_Mail_List", true}};
    for (auto& field : more) {
        const auto same = std::find_if(fields.begin(), fields.end(),
                                       [&](const auto& f) { return f.first == field.first; });
        if (same != fields.end())
            same->second = field.second;
        else
            fields.push_back(field);
    }
    return db.addPerson(first, last, fields);
}

void addPeople(DataFixture& db, int n)
{
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= n; ++i)
        addAddressed(db, QStringLiteral("Kim"), QStringLiteral("P%1").arg(i, 5, 10, QChar('0')),
                     QStringLiteral("%1 Oak Street").arg(i), QStringLiteral("40502"));
    db.exec(QStringLiteral("COMMIT"));
}

struct LabelsRun {
    std::shared_ptr<rptLabels> layout;
    std::shared_ptr<const report::Document> doc;
    QStringList texts() const { return doc->texts(QStringLiteral("LabelText")); }
};

// Creates the layout with the hand-over values as the catalogue writes them, and runs it.
LabelsRun runLabels(bool combine = false,
                    const QString& sort = QStringLiteral("Youth_LName, Youth_FName"))
{
    program().ReportCombineAddresses = combine;
    program().ReportSort = sort;
    LabelsRun r;
    r.layout = std::make_shared<rptLabels>();
    program().ReportSort.clear(); // the catalogue clears it once the preview is open
    program().ReportFilter.clear();
    r.doc = report::run(*r.layout);
    return r;
}

QStringList nameLines(const QStringList& labels)
{
    QStringList names;
    for (const QString& label : labels)
        names << label.section(QLatin1Char('\n'), 0, 0);
    return names;
}

} // namespace

TEST(AbbreviateAddress, StreetLines)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"123 North Main St.", "123 N MAIN ST"},
        {"45 Riverside Drive, Apt. 3", "45 RIVERSIDE DRIVE APT 3"},
        {"9 Court Street", "9 COURT ST"},
        {"7 Lane Road", "7 LANE RD"},
        {"PO Box 12", "PO BOX 12"},
        {"1 Northeast Parkway", "1 NE PKWY"},
        {"200 Southwest Boulevard", "200 SW BLVD"},
        {"8 Northwest Highway", "8 NW HWY"},
        {"16 Southeast Trail", "16 SE TRL"},
        {"10 Upper West Street", "10 UPPER W ST"},
        {"1 East East Avenue", "1 E E AVE"},
        {"South Main Place", "S MAIN PL"},
        {"Route 9", "RTE 9"},
        {"3 Oak Lane, Apartment 4", "3 OAK LANE APT 4"},
        {"400 Main St., Suite 210", "400 MAIN ST STE 210"},
        {"50 Sunset Trace", "50 SUNSET TRCE"},
        {"12 Elm Court", "12 ELM CT"},
        // Direction and unit words only as words of their own.
        {"9 Midwest Ave", "9 MIDWEST AVE"},
        {"12 Feast St", "12 FEAST ST"},
        {"77 Keywest Court", "77 KEYWEST CT"},
        {"5 Southnorth Road", "5 SOUTHNORTH RD"},
        {"3 Parksuite Lane", "3 PARKSUITE LN"},
        // Only the street type that ends the line.
        {"5 Drive In Drive", "5 DRIVE IN DR"},
        {"2 Long Highway Road", "2 LONG HIGHWAY RD"},
        {"4 Place Street Street", "4 PLACE STREET ST"},
        {"6 Mainstreet", "6 MAINSTREET"},
        {"8 Oak Street ", "8 OAK STREET "},
    };
    for (const auto& [street, expected] : cases) {
        SCOPED_TRACE(street);
        EXPECT_EQ(AbbreviateAddress(QString::fromUtf8(street)), QString::fromUtf8(expected));
    }
}

TEST(MailingLabelCollection, KeysPositionsAndOrder)
{
    clsMailingLabels labels;
    clsMailingLabel& ann =
        labels.Add("Ann", "Smith", "Lexington", "KY", "40502", false, "12 Oak Street", "12 Oak");
    EXPECT_EQ(ann.FirstName, "Ann");
    EXPECT_EQ(ann.LastName, "Smith");
    EXPECT_EQ(ann.City, "Lexington");
    EXPECT_EQ(ann.State, "KY");
    EXPECT_EQ(ann.Zip, "40502");
    EXPECT_EQ(ann.Address, "12 Oak Street");
    EXPECT_FALSE(ann.Skip);
    labels.Add("Bob", "Jones", "", "", "", false, "1 Elm", "");
    labels.Add("Cal", "Reed", "", "", "", false, "2 Elm", "");
    labels.Add("Dee", "Ames", "", "", "", false, "3 Elm", "3 ELM");

    EXPECT_EQ(labels.Count(), 4);
    EXPECT_EQ(labels.Item("12 OAK"), &ann); // keys without regard to letter case
    EXPECT_EQ(labels.Item(qsizetype(1)), &ann);
    EXPECT_EQ(labels.Item(qsizetype(3))->FirstName, "Cal");
    EXPECT_EQ(labels.Item("nothing"), nullptr);
    EXPECT_EQ(labels.Item(""), nullptr);
    EXPECT_EQ(labels.Item(qsizetype(0)), nullptr);
    EXPECT_EQ(labels.Item(qsizetype(5)), nullptr);
    EXPECT_THROW(labels.Add("Eve", "", "", "", "", false, "", "12 oak"), std::invalid_argument);

    labels.Remove("12 oak");
    labels.Remove(qsizetype(2)); // Cal
    EXPECT_THROW(labels.Remove("12 Oak"), std::out_of_range);
    EXPECT_THROW(labels.Remove(qsizetype(3)), std::out_of_range);
    EXPECT_EQ(labels.Item("12 Oak"), nullptr);
    QStringList order;
    for (const clsMailingLabel& label : labels)
        order << label.FirstName;
    EXPECT_EQ(order, QStringList({"Bob", "Dee"}));
    EXPECT_EQ(labels.Item("3 elm")->FirstName, "Dee");
    // A removed key may be used again.
    labels.Add("Fay", "", "", "", "", false, "", "12 OAK");
    EXPECT_EQ(labels.Item("12 oak")->FirstName, "Fay");
}

TEST(MailingLabels, CombinedAddressesShareOneLabel)
{
    DataFixture db;
    addAddressed(db, "Ann", "Smith", "12 Oak Street", "40502");
    addAddressed(db, "Bob", "Jones", "12 Oak Street", "40502");
    addAddressed(db, "Cy", "Adams", "12 oak street", "40502", {{"Youth_City", "Lex"}});
    addAddressed(db, "Dot", "Young", "12 Oak Street", "40503"); // another postal code
    addAddressed(db, "Eli", "Smith", "12 Oak Street4", "0502"); // not the same address

    const LabelsRun r = runLabels(true);

    // Adams sorts first: the merged label takes the first person's name, street and city.
    EXPECT_EQ(r.texts(), QStringList({"CY & BOB & ANN ADAMS\n12 OAK ST\nLEX KY  40502",
                                      "ELI SMITH\n12 OAK STREET4\nLEXINGTON KY  0502",
                                      "DOT YOUNG\n12 OAK ST\nLEXINGTON KY  40503"}));
    EXPECT_EQ(r.layout->LabelCount(), 3);
    EXPECT_EQ(r.layout->Labels().Item(qsizetype(1))->Address, QStringLiteral("12 oak street"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST(MailingLabels, WithoutCombiningEveryPersonHasALabel)
{
    DataFixture db;
    addAddressed(db, "John", "Smith", "12 Oak Street", "40502");
    addAddressed(db, "John", "Smith", "12 Oak Street", "40502");
    addAddressed(db, "Ann", "Smith", "12 Oak Street", "40502");
    addAddressed(db, "Bob", "Jones", "12 Oak Street", "40502");

    const LabelsRun r = runLabels(false);

    EXPECT_EQ(nameLines(r.texts()),
              QStringList({"BOB JONES", "ANN SMITH", "JOHN SMITH", "JOHN SMITH"}));
    for (const QString& label : r.texts())
        EXPECT_TRUE(label.endsWith("\n12 OAK ST\nLEXINGTON KY  40502")) << label.toStdString();
}

TEST(MailingLabels, OnlyPeopleOnTheMailingListWithAStreetAndMeetingTheCondition)
{
    DataFixture db;
    addAddressed(db, "Ann", "Kept", "1 Elm", "40502", {{"Youth_Status", std::int16_t(1)}});
    addAddressed(db, "Bob", "OffList", "2 Elm", "40502", {{"Youth_Mail_List", false}});
    addAddressed(db, "Cal", "Removed", "3 Elm", "40502", {{"Youth_Deleted", true}});
    addAddressed(db, "Dee", "NoStreet", "", "40502");
    addAddressed(db, "Eve", "NullStreet", "", "40502", {{"Youth_Address1", data::Variant()}});
    addAddressed(db, "Fay", "Inactive", "6 Elm", "40502", {{"Youth_Status", std::int16_t(3)}});
    addAddressed(db, "Gus", "NoCity", "7 Elm", "",
                 {{"Youth_City", data::Variant()}, {"Youth_State", data::Variant()}});

    EXPECT_EQ(runLabels().texts(),
              QStringList({"FAY INACTIVE\n6 ELM\nLEXINGTON KY  40502",
                           "ANN KEPT\n1 ELM\nLEXINGTON KY  40502", "GUS NOCITY\n7 ELM\n   "}));

    program().ReportFilter = QStringLiteral("Youth_Status=1");
    EXPECT_EQ(nameLines(runLabels().texts()), QStringList({"ANN KEPT"}));

    // Nobody to address: no label and no message.
    program().ReportFilter = QStringLiteral("Youth_Status=2");
    const LabelsRun none = runLabels(true);
    EXPECT_EQ(none.layout->LabelCount(), 0);
    EXPECT_EQ(none.doc->count("Detail"), 0);
    EXPECT_EQ(none.doc->pageCount(), 1);
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST(MailingLabels, SortedByPostalCodeAMergedLabelSitsWhereItsFirstPersonSorts)
{
    DataFixture db;
    addAddressed(db, "Zoe", "Able", "9 Pine Road", "40509");
    addAddressed(db, "Ann", "Zane", "1 Elm Drive", "40501");
    addAddressed(db, "Bo", "Cole", "5 Ash Court", "40505");
    addAddressed(db, "Al", "Cole", "5 Ash Court", "40505");
    addAddressed(db, "Ned", "Best", "7 Fir Lane", "40507");

    EXPECT_EQ(nameLines(runLabels(true, "Youth_Zip, Youth_LName, Youth_FName").texts()),
              QStringList({"ANN ZANE", "AL & BO COLE", "NED BEST", "ZOE ABLE"}));
    EXPECT_EQ(nameLines(runLabels(true).texts()),
              QStringList({"ZOE ABLE", "NED BEST", "AL & BO COLE", "ANN ZANE"}));
}

TEST(MailingLabels, FirstLinePrintsAsTypedAboveTheCapitalisedLabel)
{
    DataFixture db;
    addAddressed(db, "Ann", "Smith", "12 North Oak Street", "40502");
    program().ReportLine1 = QStringLiteral("To the Parents of");

    EXPECT_EQ(runLabels().texts(),
              QStringList({"To the Parents of\nANN SMITH\n12 N OAK ST\nLEXINGTON KY  40502"}));

    program().ReportLine1.clear();
    EXPECT_EQ(runLabels().texts(), QStringList({"ANN SMITH\n12 N OAK ST\nLEXINGTON KY  40502"}));
}

TEST(MailingLabels, LongLinesWrapAndTheAddressAlwaysFits)
{
    DataFixture db;
    // A street too long for one line wraps onto a second.
    addAddressed(db, "Ann", "Aa", "12345 Shadow Mountain Ridge Boulevard", "40502");
    // With a first line, a name on two lines and a street on two lines, the name is cut to
    // one line so that the city line still prints.
    addAddressed(db, "Christopher", "Bb", "12345 Shadow Mountain Ridge Boulevard", "40503");
    addAddressed(db, "Alexandria", "Bb", "12345 Shadow Mountain Ridge Boulevard", "40503");
    addAddressed(db, "Maximilian", "Bb", "12345 Shadow Mountain Ridge Boulevard", "40503");
    // A name on two lines with a first line, a street line and the city line fill the label
    // exactly: the name stays whole.
    addAddressed(db, "Alexandria", "Dd", "9 Elm St", "40505");
    addAddressed(db, "Christopher", "Dd", "9 Elm St", "40505");
    addAddressed(db, "Maximilian", "Dd", "9 Elm St", "40505");
    // A street that would need many lines keeps as many as there is room for.
    addAddressed(db, "Cy", "Cc",
                 "Building 7 of the Riverside Commons Retirement Village and Conference "
                 "Centre, 4400 Old Frankfort Pike",
                 "40504");
    addAddressed(db, "Eve", "Ee", "Riverside Commons Retirement Village, 4400 Old Frankfort Pike",
                 "40506");
    program().ReportLine1 = QStringLiteral("To the Parents of");

    const LabelsRun r = runLabels(true);
    const QStringList labels = r.texts();
    ASSERT_EQ(labels.size(), 5);

    const QStringList ann = labels[0].split('\n');
    EXPECT_EQ(ann.size(), 5);
    EXPECT_EQ(ann.mid(2, 2).join(' '), "12345 SHADOW MOUNTAIN RIDGE BLVD");
    EXPECT_EQ(ann.last(), "LEXINGTON KY  40502");

    const QStringList bb = labels[1].split('\n');
    EXPECT_EQ(bb.size(), 5);
    EXPECT_EQ(bb[0], "To the Parents of");
    EXPECT_TRUE(bb[1].startsWith("ALEXANDRIA & CHRIS")) << bb[1].toStdString();
    EXPECT_EQ(bb.mid(2, 2).join(' '), "12345 SHADOW MOUNTAIN RIDGE BLVD");
    EXPECT_EQ(bb.last(), "LEXINGTON KY  40503");

    const QStringList cc = labels[2].split('\n');
    EXPECT_EQ(cc.size(), 5);
    EXPECT_EQ(cc[1], "CY CC");
    EXPECT_TRUE(cc[2].startsWith("BUILDING 7")) << cc[2].toStdString();
    EXPECT_EQ(cc.last(), "LEXINGTON KY  40504");

    const QStringList dd = labels[3].split('\n');
    EXPECT_EQ(dd.size(), 5);
    EXPECT_EQ(dd.mid(1, 2).join(' '), "ALEXANDRIA & CHRISTOPHER & MAXIMILIAN DD");
    EXPECT_EQ(dd[3], "9 ELM ST");

    // Every line fits the text box, which itself never grows out of its label.
    QFontMetricsF metrics(report::toQFont(report::Font{"Arial", 9.75}));
    for (const auto& found : r.doc->items("LabelText")) {
        const auto& item = std::get<report::TextItem>(*found.item);
        EXPECT_EQ(item.rect.size(), QSizeF(3120, 1260));
        EXPECT_LE(item.text.count('\n') + 1, int(1260 / metrics.lineSpacing()));
        for (const QString& line : item.text.split('\n'))
            EXPECT_LE(metrics.horizontalAdvance(line), 3120) << line.toStdString();
        EXPECT_TRUE(cellHolding(item.rect)) << item.text.toStdString();
    }

    // Without a first line, a street on three lines keeps all three.
    program().ReportLine1.clear();
    const QStringList ee = runLabels(true).texts().value(4).split('\n');
    EXPECT_EQ(ee.size(), 5);
    EXPECT_EQ(ee.mid(1, 3).join(' '),
              "RIVERSIDE COMMONS RETIREMENT VILLAGE 4400 OLD FRANKFORT PIKE");
}

TEST(MailingLabels, SheetsOfThirtyLabelsAtTheSheetsPositions)
{
    DataFixture db;
    addPeople(db, 31);

    const LabelsRun r = runLabels();

    ASSERT_EQ(r.doc->pageCount(), 2);
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Mailing Labels"));
    EXPECT_DUMP(*r.doc, "expected/labels-two-sheets.dump");
    const auto items = r.doc->items("LabelText");
    ASSERT_EQ(items.size(), 31u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        const int onSheet = int(i % 30);
        const QRectF text = report::itemBase(*items[i].item).rect;
        EXPECT_EQ(items[i].page, int(i / 30));
        const auto cell = cellHolding(text);
        ASSERT_TRUE(cell);
        EXPECT_EQ(*cell, std::pair(onSheet % 3, onSheet / 3)); // across, then down
        // 3/16 in inside the label's left edge and 1/12 in below its top.
        EXPECT_EQ(text.topLeft() - labelCell(cell->first, cell->second).topLeft(),
                  QPointF(450, 120));
    }
    // The second sheet starts where the first did.
    EXPECT_EQ(report::itemBase(*items[30].item).rect, report::itemBase(*items[0].item).rect);
    EXPECT_EQ(nameLines(r.texts()).last(), QStringLiteral("KIM P00031"));
    for (const report::Page& page : r.doc->pages()) {
        EXPECT_EQ(page.orientation, report::Orientation::Portrait);
        EXPECT_EQ(page.paper, QSizeF(12240, 15840));
        for (const report::PlacedSection& section : page.sections) {
            EXPECT_FALSE(section.clipped);
            if (section.kind != report::SectionKind::Detail) {
                EXPECT_TRUE(section.items.empty());
            }
        }
    }
}

TEST(MailingLabels, CountsLabelsBeyondSixteenBits)
{
    DataFixture db;
    constexpr int kPeople = 32'770;
    addPeople(db, kPeople);

    const LabelsRun r = runLabels();

    EXPECT_EQ(r.layout->LabelCount(), kPeople);
    EXPECT_EQ(r.doc->count("Detail"), kPeople);
    EXPECT_EQ(r.doc->pageCount(), 1093); // 1,092 sheets of 30 and 10 labels on the last
    EXPECT_EQ(nameLines(r.doc->texts("LabelText", 1092)).last(), QStringLiteral("KIM P32770"));
}

TEST(MailingLabels, DataThatCannotBeReadStopsTheReportWithTheError)
{
    struct Case {
        const char* what;
        bool dataFile;
        const char* filter;
        const char* errorPart;
    };
    const Case cases[] = {
        {"unknown field in the condition", true, "Youth_Nonsense=1", "Youth_Nonsense"},
        {"malformed condition", true, "Youth_Status=", ""},
        {"data file missing", false, "", "CorvessaData.mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<DataFixture> db;
        if (c.dataFile) {
            db.emplace();
            addAddressed(*db, "Ann", "Smith", "1 Elm", "40502");
        } else {
            program().ConnectionString = data::buildConnectionString(
                testenv::programFolder(), QStringLiteral("CorvessaData.mdb"));
        }
        program().ReportFilter = QString::fromUtf8(c.filter);
        try {
            rptLabels layout;
            ADD_FAILURE() << "no error";
        } catch (const std::exception& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QString::fromUtf8(c.errorPart)))
                << e.what();
            EXPECT_GT(std::strlen(e.what()), 10u);
        }
        EXPECT_TRUE(testenv::messages().shown().empty());
        if (db) {
            db.reset();
            QFile::remove(testenv::programFile(QStringLiteral("CorvessaData.mdb")));
        }
    }
}

namespace {

// A word of a PDF page as poppler's text extraction places it, in twips.
struct PdfWord {
    int page = 0;
    QRectF box;
    QString text;
};

std::vector<PdfWord> pdfWords(const QString& pdf)
{
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!extract.waitForFinished(60'000) || extract.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (package poppler-utils) could not read the PDF: "
                      << extract.errorString().toStdString();
        return {};
    }
    const QString html = QString::fromUtf8(extract.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    int page = -1;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        constexpr double kTwipsPerPoint = 20;
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back(
            {page, QRectF(topLeft * kTwipsPerPoint, bottomRight * kTwipsPerPoint), m.captured(5)});
    }
    return words;
}

} // namespace

TEST(MailingLabels, PrintedFromTheSampleDataEveryLabelLandsInItsCellOfTheSheet)
{
    const QString dataFile = testenv::programFile(QStringLiteral("CorvessaData.mdb"));
    sample::writeSampleData(dataFile, sample::Options{});
    RegisterReports();
    const QString out = testenv::programFile(QStringLiteral("labels.pdf"));
    QString err;
    {
        QTextStream stream(&err);
        ASSERT_EQ(tools::renderReport({"render-report", "rptLabels", testenv::programFolder(), out,
                                       "--combine", "--line1", "To the Parents of", "--sort",
                                       "Youth_Zip, Youth_LName, Youth_FName"},
                                      stream),
                  tools::Rendered)
            << err.toStdString();
    }
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    // The same labels, counted by the layout itself.
    program().ReportSort = QStringLiteral("Youth_Zip, Youth_LName, Youth_FName");
    const int labels = rptLabels().LabelCount();
    ASSERT_GT(labels, 300);

    const std::vector<PdfWord> words = pdfWords(out);
    ASSERT_FALSE(words.empty());
    std::map<int, std::set<std::pair<int, int>>> used; // page -> cells holding text
    std::map<std::tuple<int, int, int>, QStringList> cellText;
    for (const PdfWord& word : words) {
        const auto cell = cellHolding(word.box);
        ASSERT_TRUE(cell) << "\"" << word.text.toStdString() << "\" on page " << word.page + 1
                          << " at " << word.box.x() << ", " << word.box.y()
                          << " lies outside every label";
        used[word.page].insert(*cell);
        cellText[{word.page, cell->second, cell->first}] << word.text;
    }
    const int pages = (labels + 29) / 30;
    ASSERT_EQ(int(used.size()), pages);
    int printed = 0;
    for (const auto& [page, cells] : used) {
        const int expected = page + 1 < pages ? 30 : labels - 30 * (pages - 1);
        EXPECT_EQ(int(cells.size()), expected) << "page " << page + 1;
        printed += int(cells.size());
    }
    EXPECT_EQ(printed, labels);
    // Every label begins with the first line and ends with a five-digit postal code.
    for (const auto& [cell, text] : cellText) {
        EXPECT_EQ(text.mid(0, 4).join(' '), QStringLiteral("To the Parents of"));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{5}$")).match(text.last()).hasMatch())
            << text.join(' ').toStdString();
    }
}

TEST(MailingLabels, ARunThatCannotReadTheDataStaysOnTheCatalogue)
{
    RegisterReports();
    std::optional<DataFixture> db(std::in_place);
    addAddressed(*db, "Ann", "Smith", "1 Elm", "40502");
    frmReports screen;
    screen.Load();
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    reports_test::chooseReport(screen, QStringLiteral("Mailing Labels (Avery 5260)"));
    // The data file goes away between choosing and running.
    db.reset();
    ASSERT_TRUE(QFile::remove(testenv::programFile(QStringLiteral("CorvessaData.mdb"))));

    reports_test::click(screen.cmdPreview);

    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    const auto& shown = testenv::messages().last();
    EXPECT_EQ(shown.kind, ui::MessageKind::Critical);
    EXPECT_TRUE(shown.text.startsWith(
        QStringLiteral("The report \"Mailing Labels (Avery 5260)\" could not be opened.")))
        << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QStringLiteral("CorvessaData.mdb")))
        << shown.text.toStdString();
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(program().ReportSort, QString());
}
