#include "shell/DirectoryExport.h"
#include "shell/ProgramState.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;
using testing_support::moment;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The lines of an export (ASCII content), without their CR LF ends.
QList<QByteArray> lines(const QByteArray& bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    EXPECT_TRUE(out.last().isEmpty()) << "the file does not end with a line end";
    out.removeLast();
    for (QByteArray& line : out) {
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
    }
    return out;
}

QString exportTo(const QString& name, ExportForm form)
{
    const QString path = testenv::programFile(name);
    WriteDirectoryExport(program().ConnectionString, path, form);
    return path;
}

// People whose every column is known; Youth_Created is set because its default is the
// moment of the insert.
void addKnownPeople(DataFixture& db)
{
    db.addPerson(QStringLiteral("Bo"), QStringLiteral("Adams"),
                 {{"Youth_Visitor", true},
                  {"Youth_Status", 7},
                  {"Youth_Address1", QStringLiteral("Apt 4\tRear")},
                  {"Youth_Comments", QStringLiteral("line one\nline two")},
                  {"Youth_Contact", QStringLiteral("Ann")},
                  {"Youth_Bday", moment(2000, 1, 1, 12, 0)}, // a time of day is not written
                  {"Youth_Created", moment(2024, 5, 15, 10, 30)}});
    db.addPerson(
        {{"Youth_ID", 40000},
         {"Youth_FName", QStringLiteral("Ann")},
         {"Youth_MName", QStringLiteral("Marie")},
         {"Youth_LName", QStringLiteral("Smith, Jr.")},
         {"Youth_Address1", QStringLiteral("12 Elm St.")},
         {"Youth_City", QStringLiteral("Springfield")},
         {"Youth_State", QStringLiteral("IL")},
         {"Youth_Zip", QStringLiteral("62701")},
         {"Youth_Bday", day(2008, 3, 20)},
         {"Youth_Email", QStringLiteral("ann@example.org")},
         {"Youth_HomePhone", QStringLiteral("555-0100")},
         {"Youth_WorkPhone", QStringLiteral("555-0101")},
         {"Youth_BeeperPhone", QStringLiteral("555-0102")},
         {"Youth_CellPhone", QStringLiteral("555-0103")},
         {"Youth_Sex", 2},
         {"Youth_Comments", QStringLiteral("Loves music, plays piano\r\nAllergic to nuts")},
         {"Youth_Contact", QStringLiteral("Pastor \"Al\", Sr.")},
         {"Youth_Status", 1},
         {"Youth_School", QStringLiteral("Lincoln High")},
         {"Youth_School_Grade", 10},
         {"Youth_Mail_List", true},
         {"Youth_Created", moment(2024, 5, 1, 15, 4, 5)},
         {"Youth_Updated", day(2024, 5, 10)},
         {"Youth_ParentName", QStringLiteral("Joan Smith")},
         {"Youth_Team", QStringLiteral("Blue")}});
    db.addPerson(QStringLiteral("Cal"), QStringLiteral("adams"),
                 {{"Youth_Sex", 1},
                  {"Youth_Status", 3},
                  {"Youth_Created", moment(2023, 12, 31, 23, 59, 59)}});
    db.addPerson(QStringLiteral("Removed"), QStringLiteral("Person"), {{"Youth_Deleted", true}});
}

} // namespace

TEST(DirectoryExport, TheExtendedFormMatchesTheReviewedFileByteForByte)
{
    DataFixture db;
    addKnownPeople(db);
    const QByteArray written =
        readAll(exportTo(QStringLiteral("extended.txt"), ExportForm::Extended));
    const QByteArray expected =
        readAll(QStringLiteral(CORVESSA_EXPECTED_DIR "/directory-export.txt"));
    EXPECT_EQ(written.toStdString(), expected.toStdString());

    // The short form is the first 16 columns of the same lines.
    const QList<QByteArray> full = lines(written);
    const QList<QByteArray> brief =
        lines(readAll(exportTo(QStringLiteral("short.txt"), ExportForm::Short)));
    ASSERT_EQ(brief.size(), full.size());
    for (qsizetype i = 0; i < full.size(); ++i) {
        EXPECT_EQ(full[i].split('\t').size(), 26) << i;
        EXPECT_EQ(brief[i].split('\t').size(), 16) << i;
        EXPECT_EQ(brief[i], full[i].split('\t').mid(0, 16).join('\t')) << i;
    }
    EXPECT_TRUE(brief[3].contains("\t\"Smith, Jr.\"\t"));
}

TEST(DirectoryExport, TheCommandAsksTheFormThenTheFileAndReportsWhereItWent)
{
    DataFixture db; // no people
    const QString path = testenv::programFile(QStringLiteral("Directory.txt"));
    testenv::files().scriptFileName(path);
    testenv::messages().scriptAnswer(ui::Answer::Yes);
    ExportDirectory();

    const auto& shown = testenv::messages().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, ui::MessageKind::Question);
    EXPECT_EQ(shown[0].title, QStringLiteral("Use Outlook Format?"));
    EXPECT_EQ(shown[0].text,
              QStringLiteral(
                  "Do you plan to use the export file for importing your member information into "
                  "Outlook?  If so, answer Yes below.  Some fields need to be excluded because of "
                  "incompatibility with Outlook.  If you plan to use the export file for any other "
                  "purpose, click No and the extended set of fields will be included."));
    ASSERT_EQ(testenv::files().asked().size(), 1u);
    const auto& asked = testenv::files().asked().front();
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(asked.title, QStringLiteral("Export Membership Directory to Text"));
    EXPECT_EQ(asked.filter, QStringLiteral("Tab-Delimited Text (*.txt)|*.txt"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(asked.folder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(shown[1].kind, ui::MessageKind::Information);
    EXPECT_EQ(shown[1].title, QStringLiteral("Corvessa"));
    EXPECT_EQ(shown[1].text, QStringLiteral("Directory exported to the tab separated file named ") +
                                 path + QStringLiteral("."));
    // No people: the header line alone.
    EXPECT_EQ(lines(readAll(path)).size(), 1);
    EXPECT_EQ(lines(readAll(path)).front().split('\t').size(), 16);

    // No gives the extended form, replacing the file.
    testenv::files().scriptFileName(path);
    testenv::messages().scriptAnswer(ui::Answer::No);
    ExportDirectory();
    EXPECT_EQ(
        readAll(path),
        QByteArray(
            "First Name\tMiddle Name\tLast Name\tHome Street\tHome City\tHome State\tHome Zip\t"
            "Birthday\tE-mail Address\tHome Phone\tBusiness Phone\tPager\tMobile Phone\tGender\t"
            "Notes\tReferred By\tMember\tStatus\tSchool\tGrade\tMailList\tCreated\tUpdated\t"
            "Parent Name\tTeam\tBarcode ID\r\n"));

    // A cancelled file dialog ends the command without a word and without a file.
    testenv::messages().clear();
    testenv::files().scriptFileName(QString());
    ExportDirectory();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Question);
}

TEST(DirectoryExport, TextOutsideWindows1252TurnsTheWholeFileIntoUtf8)
{
    DataFixture db;
    db.addPerson(QStringLiteral("Zoë"), QStringLiteral("Müller"),
                 {{"Youth_Comments", QStringLiteral("€5 paid")},
                  {"Youth_City", QStringLiteral("Ÿÿ")}}); // the last places of the code page
    const QByteArray latin = readAll(exportTo(QStringLiteral("latin.txt"), ExportForm::Short));
    EXPECT_TRUE(latin.startsWith("First Name\t"));
    EXPECT_TRUE(latin.contains("\r\nZo\xEB\t\tM\xFCller\t\t\x9F\xFF\t"));
    EXPECT_TRUE(latin.contains("\t\x80"
                               "5 paid\t"));

    db.addPerson(QStringLiteral("Иван"), QStringLiteral("Петров"));
    const QByteArray wide = readAll(exportTo(QStringLiteral("wide.txt"), ExportForm::Short));
    ASSERT_TRUE(wide.startsWith("\xEF\xBB\xBF"
                                "First Name\t"));
    const QString text = QString::fromUtf8(wide.mid(3));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nZoë\t\tMüller\t")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nИван\t\tПетров\t")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t€5 paid\t")));
}

TEST(DirectoryExport, AFailureIsReportedAndLeavesAnEarlierFileAlone)
{
    const QString target = testenv::programFile(QStringLiteral("Directory.txt"));
    writeFile(target, "the export of last week\r\n");
    auto run = [](const QString& file) {
        testenv::messages().clear();
        testenv::files().scriptFileName(file);
        testenv::messages().scriptAnswer(ui::Answer::No);
        ExportDirectory();
        const auto& shown = testenv::messages().shown();
        EXPECT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown.back().kind, ui::MessageKind::Critical);
        EXPECT_TRUE(shown.back().text.startsWith(
            QStringLiteral("The directory could not be exported to ") + file))
            << shown.back().text.toStdString();
        return shown.back().text;
    };

    // The data file is missing.
    program().ConnectionString =
        data::buildConnectionString(testenv::programFolder(), QStringLiteral("CorvessaData.mdb"));
    EXPECT_THROW(WriteDirectoryExport(program().ConnectionString, target, ExportForm::Short),
                 data::DataError);
    run(target);
    EXPECT_EQ(readAll(target), QByteArray("the export of last week\r\n"));

    DataFixture db;
    db.addPerson(QStringLiteral("Ann"), QStringLiteral("Smith"));
    // A folder that does not exist, and a name that is taken by a folder.
    const QString nowhere = testenv::programFile(QStringLiteral("no such folder/Directory.txt"));
    run(nowhere);
    EXPECT_FALSE(QFile::exists(nowhere));
    const QString folderName = testenv::programFile(QStringLiteral("Taken.txt"));
    ASSERT_TRUE(QDir().mkdir(folderName));
    run(folderName);
    // A disk that fills up part-way: the system's reason is shown.
    {
        testing_support::FullDisk disk;
        EXPECT_TRUE(run(target).endsWith(testing_support::FullDisk::reason()));
    }
    // Nothing half-written is left behind.
    const QStringList left = QDir(testenv::programFolder()).entryList(QDir::Files);
    EXPECT_EQ(left, (QStringList{"CorvessaData.mdb", "Directory.txt"}));
    EXPECT_EQ(readAll(target), QByteArray("the export of last week\r\n"));
}
