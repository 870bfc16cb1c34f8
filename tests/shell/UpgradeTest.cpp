#include "shell/DataFile.h"
#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Connection.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/data/Schema.h"
#include "tests/support/Doubles.h"
#include "tests/support/OtherCopy.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <optional>
#include <utility>

namespace {

QString file(const QString& name)
{
    return testenv::programFile(name);
}

const QString kData = QStringLiteral("CorvessaData.mdb");
const QString kTemplate = QStringLiteral("CorvessaDataX.mdb");
const QString kBackup = QStringLiteral("CorvessaData.OLD.bak");

// Plain SQLite access to a file, for building old data files and reading results.
class RawDb {
public:
    explicit RawDb(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~RawDb() { sqlite3_close(m_db); }
    void exec(const QString& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << error << " in " << sql.toStdString();
            sqlite3_free(error);
        }
    }
    QStringList column(const QString& sql)
    {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(m_db);
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(st, 0);
            out << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text))
                         : QStringLiteral("<null>"));
        }
        sqlite3_finalize(st);
        return out;
    }
    long long scalar(const QString& sql) { return column(sql).value(0).toLongLong(); }

private:
    sqlite3* m_db = nullptr;
};

class UpgradeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings().setDataFileName(kData);
        program().ConnectionString = data::buildConnectionString(testenv::programFolder(), kData);
    }

    void makeTemplate() { data::schema::createDataFile(file(kTemplate)); }

    // An old data file in the current layout with rows whose ids have gaps.
    void makeOldData()
    {
        data::schema::createDataFile(file(kData));
        RawDb db(file(kData));
        db.exec(
            "INSERT INTO Youth (Youth_ID, Youth_FName, Youth_LName, Youth_Status, Youth_Visitor, "
            "Youth_Bday, Youth_Comments) VALUES (3, 'Ann', 'Lee', 1, 0, 39000, 'line one\nline "
            "two'), "
            "(17, 'Bo', NULL, NULL, -1, NULL, '')");
        db.exec("INSERT INTO Weeks (Wk_ID, Wk_Date, Wk_Offering, Wk_Mtg_Type) VALUES "
                "(5, 45354, 12.5, 'Sunday'), (9, 45361, NULL, NULL)");
        db.exec("INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) VALUES (3, 5), (17, 5), "
                "(3, 9)");
    }

    static QStringList dump(RawDb& db)
    {
        QStringList all;
        all << db.column("SELECT Youth_ID || '|' || Youth_FName || '|' || "
                         "IFNULL(Youth_LName,'<null>') || '|' || "
                         "IFNULL(Youth_Status,'<null>') || '|' || Youth_Visitor || '|' || "
                         "IFNULL(Youth_Bday,'<null>') "
                         "|| '|' || Youth_Comments FROM Youth ORDER BY Youth_ID");
        all << db.column(
            "SELECT Wk_ID || '|' || Wk_Date || '|' || IFNULL(Wk_Offering,'<null>') || '|' || "
            "IFNULL(Wk_Mtg_Type,'<null>') FROM Weeks ORDER BY Wk_ID");
        all << db.column(
            "SELECT Attend_Youth_ID || '-' || Attend_Wk_ID FROM Attendance ORDER BY 1");
        return all;
    }

    bool exists(const QString& name) { return QFileInfo::exists(file(name)); }

    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(UpgradeTest, NothingHappensWithoutATemplate)
{
    makeOldData();
    UpgradeDataFile();
    EXPECT_FALSE(exists(kBackup));
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(UpgradeTest, FirstRunInstallsTheTemplate)
{
    makeTemplate();
    UpgradeDataFile();
    EXPECT_TRUE(exists(kData));
    EXPECT_FALSE(exists(kTemplate));
    EXPECT_FALSE(exists(kBackup));
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(UpgradeTest, CarriesEveryRowAndKeyIntoTheNewLayout)
{
    makeOldData();
    QStringList before;
    {
        RawDb old(file(kData));
        before = dump(old);
    }
    makeTemplate();
    UpgradeDataFile();

    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_FALSE(exists(kTemplate));
    EXPECT_TRUE(exists(kBackup));
    RawDb upgraded(file(kData));
    EXPECT_EQ(dump(upgraded), before);
    // The template's indexes, in order with the rows.
    EXPECT_EQ(upgraded.column("SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY 1"),
              (QStringList{"Attendance_ByMeeting", "Attendance_ByPerson", "Weeks_ByDate",
                           "Youth_ByFirstName", "Youth_ByName"}));
    EXPECT_EQ(upgraded.column("PRAGMA integrity_check"), QStringList{"ok"});
    // Ids are still never reused after the copy.
    upgraded.exec("INSERT INTO Youth (Youth_FName) VALUES ('New')");
    EXPECT_EQ(upgraded.scalar("SELECT MAX(Youth_ID) FROM Youth"), 18);
    // Nothing is left behind but the data file and its backup.
    EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files), (QStringList{kData, kBackup}));
}

TEST_F(UpgradeTest, ATableTheOldFileLacksStaysEmpty)
{
    {
        RawDb old(file(kData));
        // An older layout, whose Yes/No fields took any number, and Null.
        old.exec("CREATE TABLE Youth (Youth_ID INTEGER PRIMARY KEY AUTOINCREMENT, Youth_FName "
                 "TEXT, Youth_LName TEXT, Youth_Leader BOOLEAN, Youth_Mail_List BOOLEAN)");
        old.exec("CREATE TABLE Weeks (Wk_ID INTEGER PRIMARY KEY AUTOINCREMENT, Wk_Date REAL)");
        old.exec("INSERT INTO Youth VALUES (4, 'Cy', 'Ng', 1, NULL)");
    }
    makeTemplate();
    UpgradeDataFile();
    EXPECT_TRUE(testenv::messages().shown().empty());
    RawDb upgraded(file(kData));
    // Stored as the data layer stores them, the field the old table lacks at its default.
    EXPECT_EQ(upgraded.column("SELECT Youth_ID || Youth_FName || Youth_Leader || '/' || "
                              "Youth_Mail_List || '/' || Youth_Visitor FROM Youth"),
              QStringList{"4Cy-1/0/0"});
    EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Attendance"), 0);
    EXPECT_FALSE(exists(kTemplate));
}

TEST_F(UpgradeTest, ATableMissingInTheMiddleStopsNothingAfterIt)
{
    {
        RawDb old(file(kData));
        old.exec("CREATE TABLE Youth (Youth_ID INTEGER PRIMARY KEY AUTOINCREMENT, Youth_FName "
                 "TEXT, Youth_LName TEXT)");
        old.exec("CREATE TABLE Attendance (Attend_Youth_ID INTEGER, Attend_Wk_ID INTEGER)");
        old.exec("INSERT INTO Youth VALUES (4, 'Cy', 'Ng')");
        old.exec("INSERT INTO Attendance VALUES (4, 8), (4, 9)");
    }
    makeTemplate();
    UpgradeDataFile();
    EXPECT_TRUE(testenv::messages().shown().empty());
    RawDb upgraded(file(kData));
    EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Youth"), 1);
    EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Weeks"), 0);
    EXPECT_EQ(upgraded.column("SELECT Attend_Wk_ID FROM Attendance ORDER BY 1"),
              (QStringList{"8", "9"}));
}

// A copy that fails (a column the template lacks, a template that cannot be read to its end, a
// disk that fills up while the template is copied) is told, and keeps both files as they were.
TEST_F(UpgradeTest, AFailedCopyIsToldAndKeepsBothFiles)
{
    enum class Failure { ColumnTheTemplateLacks, TemplateUnreadable, DiskFull };
    for (const Failure failure :
         {Failure::ColumnTheTemplateLacks, Failure::TemplateUnreadable, Failure::DiskFull}) {
        SCOPED_TRACE(static_cast<int>(failure));
        QDir(testenv::programFolder()).removeRecursively();
        QDir().mkpath(testenv::programFolder());
        testenv::messages().clear();
        makeOldData();
        if (failure == Failure::ColumnTheTemplateLacks) {
            RawDb old(file(kData));
            old.exec("ALTER TABLE Youth ADD COLUMN Youth_Shoe_Size INTEGER");
        }
        makeTemplate();
        const QByteArray oldBytes = readAll(file(kData));
        const QByteArray templateBytes = readAll(file(kTemplate));

        {
            std::optional<testing_support::SourcesFailPartWay> unreadable;
            std::optional<testing_support::FullDisk> full;
            if (failure == Failure::TemplateUnreadable)
                unreadable.emplace();
            if (failure == Failure::DiskFull)
                full.emplace();
            UpgradeDataFile();
        }

        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
        EXPECT_EQ(testenv::messages().last().title, QStringLiteral("Corvessa"));
        EXPECT_EQ(testenv::messages().last().text,
                  QStringLiteral("A problem occured while updating certain settings. As a "
                                 "precaution, a backup of your data was saved with a '.OLD.bak' "
                                 "extension. If you encounter problems with using the program, "
                                 "contact Corvessa technical support."));
        EXPECT_EQ(readAll(file(kData)), oldBytes);
        EXPECT_TRUE(exists(kTemplate));
        EXPECT_TRUE(exists(kBackup));
        // The template is as clean as it shipped, so the next start tries again from scratch.
        EXPECT_EQ(readAll(file(kTemplate)), templateBytes);
        RawDb pristine(file(kTemplate));
        EXPECT_EQ(
            pristine.scalar("SELECT (SELECT COUNT(*) FROM Youth) + (SELECT COUNT(*) FROM Weeks) + "
                            "(SELECT COUNT(*) FROM Attendance)"),
            0);
        EXPECT_FALSE(exists(kTemplate + QStringLiteral(".upgrade")));
        EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files),
                  (QStringList{kData, kBackup, kTemplate}));
    }
}

// The upgrade's file operations never replace a file: copying or moving onto one fails and
// leaves both as they were.
TEST_F(UpgradeTest, TheFileOperationsNeverReplaceAFile)
{
    const QString from = file(kTemplate);
    const QString to = file(kTemplate + QStringLiteral(".upgrade"));
    using Operation = bool (UpgradeFiles::*)(const QString&, const QString&);
    for (const Operation operation : {&UpgradeFiles::copy, &UpgradeFiles::rename}) {
        for (const auto& [path, bytes] : {std::pair{from, "template"}, std::pair{to, "kept"}}) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        EXPECT_FALSE((UpgradeFiles::plain().*operation)(from, to));
        EXPECT_EQ(readAll(to), QByteArray("kept"));
        EXPECT_EQ(readAll(from), QByteArray("template"));
        EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files).size(), 2);
    }
}

TEST_F(UpgradeTest, ATableThatCannotBeReadFailsTheUpgrade)
{
    makeOldData();
    {
        RawDb old(file(kData));
        // A column whose every read fails.
        old.exec("ALTER TABLE Weeks ADD COLUMN Wk_Broken TEXT "
                 "GENERATED ALWAYS AS (abs(-9223372036854775807 - 1)) VIRTUAL");
    }
    makeTemplate();
    UpgradeDataFile();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(exists(kTemplate));
    RawDb still(file(kData));
    EXPECT_EQ(still.scalar("SELECT COUNT(*) FROM Youth"), 2);
}

TEST_F(UpgradeTest, NoUpgradeWithoutABackup)
{
    makeTemplate();
    // A data file that cannot be copied.
    ASSERT_TRUE(QDir(testenv::programFolder()).mkdir(kData));
    UpgradeDataFile();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(
        testenv::messages().last().text,
        QStringLiteral("There was a problem backing up the data file.  No backup was made. ") +
            data::dataFileMissingText(file(kData)));
    EXPECT_TRUE(exists(kTemplate));
    EXPECT_TRUE(QFileInfo(file(kData)).isDir());
}

TEST_F(UpgradeTest, WaitsWhileAnotherCopyRunsAndSaysWhy)
{
    makeOldData();
    makeTemplate();
    program().ThisRun = RunMarker::create();
    const QString other = testing_support::writeOtherCopyMarker(QStringLiteral("hall-pc"), 4242, 9);
    UpgradeDataFile();
    EXPECT_TRUE(exists(kTemplate));
    EXPECT_FALSE(exists(kBackup));
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_EQ(
        testenv::messages().last().text,
        QStringLiteral("This version of the program comes with an update of the data file, but "
                       "another copy of the program is using the data file (on the computer "
                       "hall-pc). The update was not made now, and nothing was changed. Close the "
                       "other copy, then start the program again to make the update."));

    // That copy's marker, left behind on the other computer, goes stale: the next start upgrades.
    testing_support::ageMarker(other, 11);
    UpgradeDataFile();
    EXPECT_FALSE(exists(kTemplate));
    EXPECT_EQ(testenv::messages().shown().size(), 1u);
    RawDb upgraded(file(kData));
    EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Attendance"), 3);
}

TEST_F(UpgradeTest, ADamagedDataFileIsNeverUpgraded)
{
    // Half a data file, and sound databases of another program, one of them with a table of the
    // people's table's name.
    const std::function<void()> spoilers[] = {
        [&] {
            QFile data(file(kData));
            ASSERT_TRUE(data.open(QIODevice::ReadWrite));
            ASSERT_TRUE(data.resize(data.size() / 2));
        },
        [&] {
            ASSERT_TRUE(QFile::remove(file(kData)));
            RawDb(file(kData)).exec("CREATE TABLE foo(a)");
        },
        [&] {
            ASSERT_TRUE(QFile::remove(file(kData)));
            RawDb(file(kData)).exec("CREATE TABLE Youth(x); INSERT INTO Youth VALUES (1)");
        },
    };
    for (const auto& spoil : spoilers) {
        QDir(testenv::programFolder()).removeRecursively();
        QDir().mkpath(testenv::programFolder());
        testenv::messages().clear();
        makeOldData();
        {
            RawDb old(file(kData));
            old.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                     "2000) INSERT INTO Youth (Youth_FName, Youth_Comments) SELECT 'P' || i, "
                     "hex(randomblob(100)) FROM n");
        }
        ASSERT_FALSE(BackupDataFile().isEmpty());
        const QByteArray goodBackup = readAll(file(kBackup));
        spoil();
        const QByteArray damaged = readAll(file(kData));
        makeTemplate();
        const QByteArray pristine = readAll(file(kTemplate));

        UpgradeDataFile();
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
        EXPECT_EQ(testenv::messages().last().text, DamagedDataFileText(true));
        EXPECT_TRUE(testenv::messages().last().text.endsWith(
            QLatin1String("The data file was not updated for this version of the program.")));
        EXPECT_EQ(readAll(file(kBackup)), goodBackup);
        EXPECT_EQ(readAll(file(kData)), damaged);
        EXPECT_EQ(readAll(file(kTemplate)), pristine);
        EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files).size(), 3);
    }
}

namespace {

// The plain file operations, except that one rename fails (a file in use).
class RenameFails : public UpgradeFiles {
public:
    explicit RenameFails(QString from) : m_from(std::move(from)) {}
    bool rename(const QString& from, const QString& to) override
    {
        if (QFileInfo(from).fileName() == m_from)
            return false;
        return UpgradeFiles::rename(from, to);
    }

private:
    QString m_from;
};

} // namespace

// Either move of the swap failing leaves the old data file in place and the template for the
// next start.
TEST_F(UpgradeTest, ASwapThatFailsPutsTheOldDataFileBack)
{
    for (const QString& failing : {kData, kTemplate + QStringLiteral(".upgrade")}) {
        QDir(testenv::programFolder()).removeRecursively();
        QDir().mkpath(testenv::programFolder());
        makeOldData();
        const QByteArray old = readAll(file(kData));
        makeTemplate();
        RenameFails files(failing);
        UpgradeDataFile(files);
        EXPECT_EQ(readAll(file(kData)), old) << failing.toStdString();
        EXPECT_TRUE(exists(kTemplate)) << failing.toStdString();
        EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files),
                  (QStringList{kData, kBackup, kTemplate}))
            << failing.toStdString();
        UpgradeDataFile(); // the next start
        EXPECT_FALSE(exists(kTemplate));
        RawDb upgraded(file(kData));
        EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Attendance"), 3);
    }
}

TEST_F(UpgradeTest, CopyingIntoATableThatHoldsRowsFails)
{
    makeOldData();
    makeTemplate();
    {
        RawDb t(file(kTemplate));
        t.exec("INSERT INTO Weeks (Wk_ID, Wk_Date) VALUES (100, 45000)");
    }
    data::Connection from;
    from.Open(program().ConnectionString);
    data::Connection to;
    to.Open(data::buildConnectionString(testenv::programFolder(), kTemplate));
    data::Recordset source;
    source.Open("SELECT * FROM Weeks;", from, data::adOpenForwardOnly, data::adLockReadOnly);
    data::Recordset destination;
    destination.Open("SELECT * FROM Weeks;", to, data::adOpenStatic, data::adLockOptimistic);
    EXPECT_FALSE(CopyRecords(source, destination)); // every row arrived, but the count is 3
    EXPECT_EQ(source.State(), data::adStateClosed);
    EXPECT_EQ(destination.State(), data::adStateClosed);
    from.Close();
    to.Close();

    // The upgrade's copy keeps the rule: both files stay as they were.
    ASSERT_TRUE(QFile::remove(file(kTemplate)));
    makeTemplate();
    RawDb(file(kTemplate)).exec("INSERT INTO Weeks (Wk_ID, Wk_Date) VALUES (100, 45000)");
    const QByteArray old = readAll(file(kData));
    const QByteArray held = readAll(file(kTemplate));
    UpgradeDataFile();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_EQ(readAll(file(kData)), old);
    EXPECT_EQ(readAll(file(kTemplate)), held);
}

TEST_F(UpgradeTest, LeavesNoStaleJournalAndCopiesLargeTables)
{
    makeOldData();
    {
        RawDb old(file(kData));
        old.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                 "INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) SELECT 3, i FROM n");
    }
    makeTemplate();
    QFile journal(file(kData + QStringLiteral("-journal")));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(512, '\0'));
    journal.close();

    UpgradeDataFile();
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_FALSE(exists(kTemplate));
    EXPECT_FALSE(exists(kData + QStringLiteral("-journal")));
    RawDb upgraded(file(kData));
    EXPECT_EQ(upgraded.scalar("SELECT COUNT(*) FROM Attendance"), 40003);
}
