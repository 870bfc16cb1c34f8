#include "reports/BarcodePictures.h"
#include "reports/rptPhotoDir.h"
#include "shell/PhotoPath.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "platform/report/Pictures.h"
#include "tests/reports/LayoutRun.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>

#include <cmath>
#include <map>

#include <gtest/gtest.h>

using testing_support::DataFixture;

namespace {

using PhotoDirRun = reports_test::LayoutRun<rptPhotoDir>;

PhotoDirRun runPhotoDir()
{
    return reports_test::runLayout<rptPhotoDir>();
}

constexpr double kLeftMargin = 720;
constexpr double kTopMargin = 792;
constexpr double kHeaderHeight = 900;
constexpr double kColumnPitch = 3600;
constexpr double kCardHeight = 1470;

// A plain picture of one colour, written into the program folder.
QString writePicture(const QString& relativePath, QSize size, QColor color)
{
    const QString path = testenv::programFile(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    EXPECT_TRUE(image.save(path));
    return path;
}

// The items of one card (a placed detail section) by control name.
const report::PageItem* cardItem(const report::PlacedSection& card, const char* control)
{
    for (const auto& item : card.items) {
        if (report::itemBase(item).control == QLatin1String(control))
            return &item;
    }
    return nullptr;
}

class PhotoDirReport : public ::testing::Test {
protected:
    testing_support::RecordingMessageBoxes& messages() { return testenv::messages(); }
    DataFixture db;
};

} // namespace

TEST_F(PhotoDirReport, PhotoInItsFrameOrNoPhotoAvailable)
{
    const QString wide = writePicture(QStringLiteral("Photos/1.png"), {400, 100}, Qt::red);
    writePicture(QStringLiteral("Photos/4.png"), {100, 200}, Qt::blue);
    db.addPerson("Ann", "A-Photo", {{"Youth_PhotoFile", wide}});
    db.addPerson("Bob", "B-None");
    db.addPerson("Cal", "C-Gone", {{"Youth_PhotoFile", "/nowhere/Photos/3.png"}});
    // A path stored on another computer: the copy of that name in the photo folder.
    db.addPerson("Dee", "D-Moved", {{"Youth_PhotoFile", "C:\\Old Place\\Photos\\4.png"}});
    db.addPerson("Eve", "E-Empty", {{"Youth_PhotoFile", ""}});

    const PhotoDirRun r = runPhotoDir();

    const auto cards = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cards.size(), 5u);
    const struct {
        bool photo;
        QColor color;
    } expected[] = {{true, Qt::red}, {false, {}}, {false, {}}, {true, Qt::blue}, {false, {}}};
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SCOPED_TRACE(i);
        const report::PlacedSection& card = *cards[i].second;
        const report::PageItem* photo = cardItem(card, "MugShot");
        const report::PageItem* label = cardItem(card, "NoPhotoLabel");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(report::itemText(*label),
                  expected[i].photo ? QString() : QStringLiteral("No Photo Available"));
        ASSERT_EQ(photo != nullptr, expected[i].photo);
        if (!photo)
            continue;
        // Inset 30 twips in the frame (30, 60, 1500, 1140).
        EXPECT_EQ(report::itemBase(*photo).rect,
                  QRectF(card.rect.left() + 60, card.rect.top() + 90, 1440, 1080));
        EXPECT_EQ(std::get<report::ImageItem>(*photo).image().pixelColor(0, 0), expected[i].color);
    }
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(PhotoDirReport, PhotoKeepsItsProportionsInTheFrame)
{
    // 4:1 in a 4:3 frame: as wide as the frame, a quarter as high, centred.
    db.addPerson(
        "Ann", "Wide",
        {{"Youth_PhotoFile", writePicture(QStringLiteral("Photos/1.png"), {400, 100}, Qt::red)}});
    const PhotoDirRun r = runPhotoDir();
    const QImage page = r.doc->renderPage(0, 144); // 10 twips to the pixel
    QRect red;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                red |= QRect(x, y, 1, 1);
        }
    }
    const QRectF card = r.doc->sections(QStringLiteral("Detail"))[0].second->rect;
    EXPECT_NEAR(red.width(), 144, 2);
    EXPECT_NEAR(red.height(), 36, 2);
    EXPECT_NEAR(red.left(), (card.left() + 60) / 10, 2);
    EXPECT_NEAR(red.top(), (card.top() + 90 + (1080 - 360) / 2) / 10, 2);
}

TEST_F(PhotoDirReport, CardTexts)
{
    db.addPerson("Ann", "A-Both",
                 {{"Youth_HomePhone", "555-0101"},
                  {"Youth_EMail", "ann@mail.example"},
                  {"Youth_CellPhone", "555-0199"},
                  {"Youth_Address1", "12 Elm St"},
                  {"Youth_City", "Troy"},
                  {"Youth_State", "OH"},
                  {"Youth_Zip", "45373"}});
    db.addPerson("Bob", "B-Phone", {{"Youth_HomePhone", "555-0102"}});
    db.addPerson("Cal", "C-Mail", {{"Youth_EMail", "cal@mail.example"}});
    db.addPerson("Dee", "D-Nothing", {{"Youth_WorkPhone", "555-0103"}});

    const PhotoDirRun r = runPhotoDir();

    EXPECT_EQ(r.doc->texts(QStringLiteral("MbrName")),
              QStringList({"Ann A-Both", "Bob B-Phone", "Cal C-Mail", "Dee D-Nothing"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("MbrAddress")),
              QStringList({"12 Elm St\nTroy, OH  45373", "\n,   ", "\n,   ", "\n,   "}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("OtherInfo")),
              QStringList(
                  {"Home: 555-0101\nann@mail.example", "Home: 555-0102", "cal@mail.example", ""}));
}

TEST_F(PhotoDirReport, LongLinesPrintWholeInASmallerType)
{
    const QString email = QStringLiteral("christopher.montgomery@ex.org");
    db.addPerson("Kim", "Long", {{"Youth_EMail", email}, {"Youth_HomePhone", "555-0101"}});
    db.addPerson("Lee", "Short", {{"Youth_EMail", "l@x.example"}});

    const PhotoDirRun r = runPhotoDir();

    const auto others = r.doc->items(QStringLiteral("OtherInfo"));
    ASSERT_EQ(others.size(), 2u);
    const auto& longBlock = std::get<report::TextItem>(*others[0].item);
    const auto& shortBlock = std::get<report::TextItem>(*others[1].item);
    EXPECT_EQ(shortBlock.font.size, 9);
    EXPECT_LT(longBlock.font.size, 9);
    EXPECT_GE(longBlock.font.size, 6);
    EXPECT_FALSE(longBlock.wordWrap);
    const QFontMetricsF metrics(report::toQFont(longBlock.font));
    EXPECT_LE(metrics.horizontalAdvance(email), longBlock.rect.width());
    // The largest type in half points that fits: half a point more would not.
    EXPECT_EQ(std::fmod(longBlock.font.size * 2, 1.0), 0.0);
    report::Font larger = longBlock.font;
    larger.size += 0.5;
    EXPECT_GT(QFontMetricsF(report::toQFont(larger)).horizontalAdvance(email),
              longBlock.rect.width());
}

TEST_F(PhotoDirReport, CardsThreeAcrossThenDownUnderTheGroupName)
{
    for (const char* last : {"A", "B", "C", "D"})
        db.addPerson("Kim", last);
    settings().setGroupName(QStringLiteral("St. Luke Youth"));

    const PhotoDirRun r = runPhotoDir();

    const auto cards = r.doc->sections(QStringLiteral("Detail"));
    ASSERT_EQ(cards.size(), 4u);
    const double top = kTopMargin + kHeaderHeight;
    EXPECT_EQ(cards[2].second->rect.topLeft(), QPointF(kLeftMargin + 2 * kColumnPitch, top));
    EXPECT_EQ(cards[3].second->rect.topLeft(), QPointF(kLeftMargin, top + kCardHeight));
    EXPECT_EQ(r.doc->texts(QStringLiteral("SubTitle")), QStringList({"St. Luke Youth"}));
}

TEST_F(PhotoDirReport, FilterForOneTeamAndTheEmptyResult)
{
    db.addPerson("Ann", "Blue", {{"Youth_Team", "Blue"}});
    db.addPerson("Bob", "Red", {{"Youth_Team", "Red"}});
    db.addPerson("Rex", "Removed", {{"Youth_Team", "Blue"}, {"Youth_Deleted", true}});

    program().ReportFilter = QStringLiteral("Youth_Team='Blue'");
    EXPECT_EQ(runPhotoDir().doc->texts(QStringLiteral("MbrName")), QStringList({"Ann Blue"}));
    EXPECT_TRUE(messages().shown().empty());

    program().ReportFilter = QStringLiteral("Youth_Team='Green'");
    const PhotoDirRun r = runPhotoDir();
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().title, QStringLiteral("No Matching Records"));
    EXPECT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->count(QStringLiteral("Detail")), 0);
}

TEST_F(PhotoDirReport, CardsWithBarcodesMatchTheirReviewedDumpAndOpenEachDigitFileOnce)
{
    testenv::installBarcodePictures();
    db.addPerson({{"Youth_ID", 1234},
                  {"Youth_FName", "Ann"},
                  {"Youth_LName", "Abel"},
                  {"Youth_Address1", "12 Elm St"},
                  {"Youth_City", "Troy"},
                  {"Youth_State", "OH"},
                  {"Youth_Zip", "45373"},
                  {"Youth_HomePhone", "555-0101"},
                  {"Youth_EMail", "ann@mail.example"},
                  {"Youth_PhotoFile",
                   writePicture(QStringLiteral("Photos/1234.png"), {300, 400}, Qt::red)}});
    db.addPerson({{"Youth_ID", 12345678}, {"Youth_FName", "Bob"}, {"Youth_LName", "Baker"}});
    program().ReportOption = QStringLiteral("BARCODE");
    std::map<QChar, int> opensBefore;
    for (const QChar digit : QStringLiteral("0123456789"))
        opensBefore[digit] = report::pictureFileOpens(barcodeDigitFile(digit));

    const PhotoDirRun r = runPhotoDir();
    EXPECT_DUMP(*r.doc, "expected/photodir-barcodes.dump");
    EXPECT_TRUE(r.doc->errors().empty());
    // 001234 and 12345678: the digits 1 to 4 print twice, 9 not at all.
    for (const auto& [digit, before] : opensBefore) {
        EXPECT_EQ(report::pictureFileOpens(barcodeDigitFile(digit)) - before,
                  digit == QLatin1Char('9') ? 0 : 1)
            << digit.toLatin1();
    }
}

TEST_F(PhotoDirReport, AnUnreadablePhotoFileLeavesTheFrameEmptyAndTheRunComplete)
{
    const QString path = testenv::programFile(QStringLiteral("Photos/1.jpg"));
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    db.addPerson("Ann", "Abel", {{"Youth_PhotoFile", path}});
    // Its header reads, its pixels are cut off: found out only when the page is made.
    const QString cut = writePicture(QStringLiteral("Photos/2.png"), {400, 300}, Qt::red);
    QFile cutFile(cut);
    ASSERT_TRUE(cutFile.open(QIODevice::ReadWrite));
    cutFile.resize(120);
    cutFile.close();
    db.addPerson("Bob", "Baker", {{"Youth_PhotoFile", cut}});

    const PhotoDirRun r = runPhotoDir();

    EXPECT_EQ(r.doc->texts(QStringLiteral("MbrName")), QStringList({"Ann Abel", "Bob Baker"}));
    EXPECT_EQ(r.doc->texts(QStringLiteral("NoPhotoLabel")),
              QStringList({"No Photo Available", ""}));
    const auto photos = r.doc->items(QStringLiteral("MugShot"));
    ASSERT_EQ(photos.size(), 1u);
    EXPECT_TRUE(std::get<report::ImageItem>(*photos[0].item).image().isNull());
    EXPECT_TRUE(r.doc->errors().empty());
}
