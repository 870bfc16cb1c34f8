#include "reports/Registration.h"
#include "reports/rptProfile.h"
#include "tools/render-report/RenderReport.h"
#include "shell/PhotoPath.h"
#include "shell/ProgramState.h"
#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <algorithm>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;
using testing_support::FieldValues;
using testing_support::moment;

namespace {

// Everything a profile can hold.
FieldValues fullProfile()
{
    return {{"Youth_FName", "Kim"},
            {"Youth_MName", "Lee"},
            {"Youth_LName", "Park"},
            {"Youth_Address1", "12 Elm St"},
            {"Youth_City", "Dayton"},
            {"Youth_State", "OH"},
            {"Youth_Zip", "45402"},
            {"Youth_EMail", "kim@mail.example"},
            {"Youth_HomePhone", "555-0101"},
            {"Youth_WorkPhone", "555-0102"},
            {"Youth_BeeperPhone", "555-0103"},
            {"Youth_CellPhone", "555-0104"},
            {"Youth_IM_Username", "kimp"},
            {"Youth_IM_Service", "AIM"},
            {"Youth_Bday", day(2009, 3, 5)},
            {"Youth_Sex", std::int16_t(2)},
            {"Youth_School", "Central High"},
            {"Youth_School_Grade", "9"},
            {"Youth_Ministry", "Music"},
            {"Youth_ParentName", "Dana Park"},
            {"Youth_Team", "Blue"},
            {"Youth_Status", std::int16_t(2)},
            {"Youth_Contact", "Ann Smith"},
            {"Youth_Visitor", true},
            {"Youth_Mail_List", false},
            {"Youth_Leader", true},
            {"Youth_Comments", "Plays the piano.\r\nAsks good questions."},
            {"Youth_Created", moment(2023, 1, 2, 9, 30)},
            {"Youth_Updated", moment(2024, 5, 1, 14, 5)},
            {"Youth_Last_Attended", day(2024, 5, 12)}};
}

FieldValues with(FieldValues values, const FieldValues& changes)
{
    for (const auto& change : changes) {
        const auto field = std::find_if(values.begin(), values.end(),
                                        [&](const auto& f) { return f.first == change.first; });
        if (field != values.end())
            field->second = change.second;
        else
            values.push_back(change);
    }
    return values;
}

struct ProfileRun {
    std::shared_ptr<rptProfile> layout;
    std::shared_ptr<const report::Document> doc;

    QString text(const char* control) const
    {
        const QStringList texts = doc->texts(QString::fromLatin1(control));
        EXPECT_EQ(texts.size(), 1) << control;
        return texts.value(0);
    }
    bool ticked(const char* control) const
    {
        const auto found = doc->items(QString::fromLatin1(control));
        if (found.size() != 1)
            return false;
        const auto* check = std::get_if<report::CheckItem>(found.front().item);
        return check && check->checked;
    }
    const report::ImageItem* photo() const
    {
        const auto found = doc->items(QStringLiteral("Photo"));
        return found.size() == 1 ? std::get_if<report::ImageItem>(found.front().item) : nullptr;
    }
};

ProfileRun runProfile(int youthId)
{
    program().SelectedYouthID = youthId;
    ProfileRun r;
    r.layout = std::make_shared<rptProfile>();
    r.doc = report::run(*r.layout);
    return r;
}

QString writePicture(const QString& path, const QSize& size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

class ProfileReport : public ::testing::Test {
protected:
    testing_support::RecordingMessageBoxes& messages() { return testenv::messages(); }
    DataFixture db;
};

} // namespace

TEST_F(ProfileReport, PrintsEveryFieldOfThePerson)
{
    db.addPerson("Someone", "Else");
    const int kim = db.addPerson(
        with(fullProfile(), {{"Youth_PhotoFile", "C:\\Program Files\\Corvessa\\Photos\\2.png"}}));
    writePicture(QDir(PhotoFolder()).filePath(QStringLiteral("2.png")), {300, 500});
    // Attendance saved out of date order: the first and last come from the dates themselves,
    // not from the last-attended field.
    db.attend(db.addMeeting(QDate(2024, 3, 3)), {kim});
    db.attend(db.addMeeting(QDate(2023, 9, 10)), {kim});
    db.attend(db.addMeeting(QDate(2024, 1, 7)), {kim});
    db.addMeeting(QDate(2024, 4, 7));                     // not attended
    db.exec("UPDATE Weeks SET Wk_Date = Wk_Date + 0.75"); // evening meetings: no time printed

    const ProfileRun r = runProfile(kim);

    EXPECT_EQ(r.layout->Caption(), QStringLiteral("Member Profile"));
    EXPECT_DUMP(*r.doc, "expected/profile-sheet.dump");
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(ProfileReport, PartsLeftOutWhenEmpty)
{
    struct Case {
        const char* what;
        FieldValues changes;
        const char* control;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"no middle name", {{"Youth_MName", data::Variant::null()}}, "FullName", "Kim Park"},
        {"empty middle name", {{"Youth_MName", ""}}, "FullName", "Kim Park"},
        {"no state", {{"Youth_State", ""}}, "CityStateZip", "Dayton, 45402"},
        {"no postal code", {{"Youth_Zip", data::Variant::null()}}, "CityStateZip", "Dayton, OH"},
        {"nothing of the city line",
         {{"Youth_City", data::Variant::null()},
          {"Youth_State", data::Variant::null()},
          {"Youth_Zip", data::Variant::null()}},
         "CityStateZip",
         ""},
        {"no IM service", {{"Youth_IM_Service", data::Variant::null()}}, "IMUsername", "kimp"},
        {"no birth date", {{"Youth_Bday", data::Variant::null()}}, "Age", "0"},
        {"no birth date", {{"Youth_Bday", data::Variant::null()}}, "Bday", ""},
        {"no birth time", {{"Youth_Bday", moment(2004, 1, 14, 6, 0)}}, "Bday", "1/14/2004"},
        {"no gender", {{"Youth_Sex", std::int16_t(0)}}, "Gender", ""},
        {"no status", {{"Youth_Status", data::Variant::null()}}, "Status", "Unknown"},
        {"no comments", {{"Youth_Comments", data::Variant::null()}}, "Comments", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int id = db.addPerson(with(fullProfile(), c.changes));
        const ProfileRun r = runProfile(id);
        EXPECT_EQ(r.text(c.control), QString::fromUtf8(c.text));
        EXPECT_EQ(r.text("Title"), QStringLiteral("Kim Park")) << "never the middle name";
    }
}

TEST_F(ProfileReport, NeverAttendedLeavesTheDatesEmpty)
{
    const int kim = db.addPerson(fullProfile()); // Youth_Last_Attended is set, but no meeting
    db.attend(db.addMeeting(QDate(2024, 3, 3)), {db.addPerson("Other", "Person")});

    const ProfileRun r = runProfile(kim);

    EXPECT_EQ(r.text("FirstAttended"), QString());
    EXPECT_EQ(r.text("LastAttended"), QString());
}

TEST_F(ProfileReport, APersonNoLongerThereGivesAnEmptySheetWithoutAWord)
{
    db.addPerson(fullProfile());

    const ProfileRun r = runProfile(999);

    EXPECT_EQ(r.text("Title"), QStringLiteral("Member Name"));
    EXPECT_EQ(r.text("SubTitle"), QStringLiteral("Member Profile"));
    EXPECT_EQ(r.text("FullName"), QString());
    EXPECT_FALSE(r.ticked("Visitor"));
    ASSERT_NE(r.photo(), nullptr);
    EXPECT_TRUE(r.photo()->image().isNull());
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST_F(ProfileReport, ADataFileThatCannotBeReadIsSaidSo)
{
    const int kim = db.addPerson(fullProfile());
    program().ConnectionString = data::buildConnectionString(
        testenv::programFile(QStringLiteral("missing")), QStringLiteral("CorvessaData.mdb"));

    const ProfileRun r = runProfile(kim);

    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(messages().last().text.startsWith(
        QStringLiteral("The records for the report \"Member Profile\" could not be read.")));
    EXPECT_EQ(r.text("Title"), QStringLiteral("Member Name"));
    EXPECT_EQ(r.doc->pageCount(), 1);
}

TEST_F(ProfileReport, ThePhotoComesFromTheStoredPathOrThePhotoFolder)
{
    const QString own =
        writePicture(testenv::programFile(QStringLiteral("own/kim.png")), {300, 500});
    writePicture(QDir(PhotoFolder()).filePath(QStringLiteral("77.png")), {400, 300});
    {
        QFile broken(QDir(PhotoFolder()).filePath(QStringLiteral("78.jpg")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }
    struct Case {
        const char* what;
        data::Variant stored;
        QSize picture; // empty: no picture
    };
    const std::vector<Case> cases = {
        {"the path as stored", own, {300, 500}},
        {"a path from another computer", "C:\\Program Files\\Corvessa\\Photos\\77.png", {400, 300}},
        {"a file that is gone", "C:\\Program Files\\Corvessa\\Photos\\76.png", {}},
        {"a file that is no picture", "C:\\Program Files\\Corvessa\\Photos\\78.jpg", {}},
        {"no photo", data::Variant::null(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages().clear();
        const ProfileRun r =
            runProfile(db.addPerson(with(fullProfile(), {{"Youth_PhotoFile", c.stored}})));
        const report::ImageItem* photo = r.photo();
        ASSERT_NE(photo, nullptr);
        if (c.picture.isEmpty()) {
            EXPECT_TRUE(photo->image().isNull());
        } else {
            ASSERT_FALSE(photo->image().isNull());
            // Shown whole, in proportion, in the middle of its frame.
            EXPECT_EQ(photo->image().size(), c.picture);
            EXPECT_EQ(photo->sizeMode, report::SizeMode::Zoom);
            EXPECT_EQ(photo->alignment, report::PictureAlignment::Center);
        }
        EXPECT_EQ(photo->rect, QRectF(720 + 7140, 792 + 1800, 3180, 2520));
        EXPECT_TRUE(messages().shown().empty());
        EXPECT_TRUE(r.doc->errors().empty());
    }
}

TEST_F(ProfileReport, RegisteredByNameAndRenderedForAPerson)
{
    const int kim = db.addPerson(fullProfile());
    RegisterReports();

    const auto layout = report::createLayout(QStringLiteral("rptProfile"));
    ASSERT_NE(dynamic_cast<rptProfile*>(layout.get()), nullptr);

    const QString out = testenv::programFile(QStringLiteral("profile.pdf"));
    QString err;
    QTextStream stream(&err);
    EXPECT_EQ(tools::renderReport({"render-report", "rptProfile", testenv::programFolder(), out,
                                   "--youth-id", QString::number(kim)},
                                  stream),
              tools::Rendered);
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}
