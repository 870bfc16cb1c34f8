#include "shell/DataFile.h"
#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "platform/data/DataError.h"
#include "platform/data/Variant.h"
#include "tests/support/DataFixture.h"
#include "tests/support/Doubles.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

QString file(const char* name)
{
    return testenv::programFile(QString::fromUtf8(name));
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double daysAgo(int n)
{
    return data::jetdate::fromDate(testenv::clock().today().addDays(-n));
}

std::optional<QString> lastBackupSetting()
{
    return testenv::settings().read(QStringLiteral("Reminders"), QStringLiteral("LastBackupDate"));
}

// The rows of a query on a database file opened on its own, read-only, each row's values joined
// by '|'; nothing when the file does not open so.
QStringList rowsIn(const QString& path, const char* sql)
{
    QStringList rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
        sqlite3_exec(
            db, sql,
            [](void* out, int n, char** values, char**) {
                QStringList row;
                for (int i = 0; i < n; ++i)
                    row << QString::fromUtf8(values[i] ? values[i] : "<null>");
                *static_cast<QStringList*>(out) << row.join(QLatin1Char('|'));
                return 0;
            },
            &rows, nullptr);
    sqlite3_close(db);
    return rows;
}

// A data file of a few pages, with people whose names say which version of the file it is.
void fillDataFile(testing_support::DataFixture& db, const QString& name, int people = 300)
{
    for (int i = 0; i < people; ++i)
        db.addPerson(name, QStringLiteral("Person %1").arg(i),
                     {{"Youth_Comments", QString(200, QLatin1Char('x'))}});
}

// The data file cut short, as a full disk or a crash in the middle of a copy leaves it.
void truncateDataFile(qint64 keep)
{
    QFile f(file("CorvessaData.mdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(keep < 0 ? f.size() / 2 : keep));
}

// File > Backup fails: one critical message, the fixed words followed by `cause`.
void menuBackupFails(frmMainMDI& main, const QString& cause)
{
    testenv::messages().clear();
    main.mnuBackupData->trigger();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("Corvessa"));
    EXPECT_EQ(
        testenv::messages().last().text,
        QStringLiteral("There was a problem backing up the data file.  No backup was made. ") +
            cause);
}

} // namespace

TEST(Backup, CopiesTheDataFileAndRecordsTheDate)
{
    testing_support::DataFixture db;
    const QString backup = file("CorvessaData.OLD.bak");
    const auto sameContent = [&] {
        for (const char* sql : {"SELECT type, name, sql FROM sqlite_master ORDER BY name",
                                "SELECT * FROM Youth ORDER BY Youth_ID"}) {
            EXPECT_FALSE(rowsIn(backup, sql).isEmpty()) << sql;
            EXPECT_EQ(rowsIn(backup, sql), rowsIn(file("CorvessaData.mdb"), sql)) << sql;
        }
    };
    fillDataFile(db, "First", 3);
    EXPECT_EQ(BackupDataFile(), QStringLiteral("CorvessaData.OLD.bak"));
    sameContent();
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-15"));

    testenv::clock().setToday(QDate(2024, 5, 20));
    fillDataFile(db, "Second");
    BackupResult result = BackupResult::Failed;
    EXPECT_EQ(BackupDataFile(&result), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(result, BackupResult::Saved);
    sameContent();
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-20"));
    // Nothing but the data file and the backup is left behind.
    EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files).size(), 2);

    // Changes that another program committed, but that its write-ahead log still holds while it
    // keeps the file open, are in the backup too; the backup opens on its own.
    db.exec("PRAGMA journal_mode = WAL");
    fillDataFile(db, "Third", 5);
    ASSERT_GT(QFileInfo(file("CorvessaData.mdb-wal")).size(), 0);
    EXPECT_EQ(BackupDataFile(), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(rowsIn(backup, "SELECT count(*) FROM Youth WHERE Youth_FName = 'Third'"),
              QStringList{"5"});
    EXPECT_EQ(rowsIn(backup, "PRAGMA journal_mode"), QStringList{"delete"});
    EXPECT_FALSE(QFileInfo::exists(backup + QStringLiteral("-wal")));
}

TEST(Backup, AFailedBackupKeepsThePreviousOneAndSaysWhy)
{
    testing_support::RecordingScreens screens;
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    const QString backup = file("CorvessaData.OLD.bak");
    writeFile(backup, "good old backup");
    BackupResult result = BackupResult::Saved;
    QString cause;
    EXPECT_EQ(BackupDataFile(&result, &cause), QString()); // no data file
    EXPECT_EQ(result, BackupResult::Failed);
    EXPECT_EQ(cause, data::dataFileMissingText(file("CorvessaData.mdb")));
    ASSERT_TRUE(QDir(testenv::programFolder()).mkdir(QStringLiteral("CorvessaData.mdb")));
    EXPECT_EQ(BackupDataFile(), QString()); // a data file that cannot be read
    EXPECT_EQ(readFile(backup), QByteArray("good old backup"));
    EXPECT_FALSE(lastBackupSetting());

    // A folder the backup may not be written to, and a disk that fills up during the copy: the
    // menu and the exit say why (the exit once), the earlier backup is kept, no date is stored.
    ASSERT_TRUE(QDir(testenv::programFolder()).rmdir(QStringLiteral("CorvessaData.mdb")));
    testing_support::DataFixture db;
    fillDataFile(db, "Good", 3);
    frmMainMDI main;
    main.Load();
    const auto saysWhy = [&](const QString& reason) {
        const QString because = QStringLiteral("The backup could not be written to the folder ") +
                                QDir::toNativeSeparators(testenv::programFolder()) +
                                QStringLiteral(": ") + reason + QLatin1Char('.');
        menuBackupFails(main, because);
        testenv::messages().clear();
        AutomaticBackupAtExit();
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
        EXPECT_EQ(testenv::messages().last().text,
                  QStringLiteral("The automatic backup of the data file could not be made. ") +
                      because + QStringLiteral(" The earlier backup, ") +
                      QDir::toNativeSeparators(backup) + QStringLiteral(", is kept as it was."));
        EXPECT_EQ(readFile(backup), QByteArray("good old backup"));
        EXPECT_FALSE(lastBackupSetting());
        EXPECT_TRUE(QDir(testenv::programFolder())
                        .entryList({QStringLiteral("CorvessaData.OLD.bak?*")}, QDir::Files)
                        .isEmpty());
    };
    {
        testing_support::ReadOnlyFolders readOnly;
        saysWhy(testing_support::ReadOnlyFolders::reason());
        QFile::remove(backup);
        testenv::messages().clear();
        AutomaticBackupAtExit();
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_TRUE(testenv::messages().last().text.endsWith(
            QLatin1String(". There is no earlier backup.")));
        writeFile(backup, "good old backup");
    }
    {
        testing_support::DataFilesCannotGrow full;
        saysWhy(QStringLiteral("database or disk is full"));
    }
}

// A damaged data file never replaces the good backup: not from the menu, not at exit.
TEST(Backup, ADamagedDataFileNeverReplacesTheGoodBackup)
{
    testing_support::RecordingScreens screens;
    testing_support::DataFixture db;
    fillDataFile(db, "Good");
    ASSERT_FALSE(BackupDataFile().isEmpty());
    const QByteArray good = readFile(file("CorvessaData.OLD.bak"));
    testenv::clock().setToday(QDate(2024, 6, 30));
    const QString damaged =
        data::dataFileDamagedText(file("CorvessaData.mdb")) +
        QStringLiteral(" It was not backed up, so that the last good backup, ") +
        QDir::toNativeSeparators(file("CorvessaData.OLD.bak")) +
        QStringLiteral(", is kept as it was. Copy that backup somewhere safe "
                       "before you go on.");

    for (const qint64 keep : {qint64(-1), qint64(100), qint64(0)}) { // half, the header, nothing
        truncateDataFile(keep);
        BackupResult result = BackupResult::Saved;
        EXPECT_EQ(BackupDataFile(&result), QString()) << keep;
        EXPECT_EQ(result, BackupResult::DataFileDamaged) << keep;
        EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), good) << keep;
        EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-15")) << keep;
    }
    // Nor does a sound database of another program, also one with a table of the people's
    // table's name; the menu and the exit below meet it.
    for (const char* sql : {"CREATE TABLE foo(a)", "CREATE TABLE Youth(x); INSERT INTO Youth "
                                                   "VALUES (1)"}) {
        ASSERT_TRUE(QFile::remove(file("CorvessaData.mdb")));
        {
            sqlite3* foreign = nullptr;
            ASSERT_EQ(sqlite3_open(file("CorvessaData.mdb").toUtf8().constData(), &foreign),
                      SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(foreign, sql, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(foreign);
        }
        const QByteArray foreign = readFile(file("CorvessaData.mdb"));
        EXPECT_EQ(BackupDataFile(), QString()) << sql;
        EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), good) << sql;

        frmMainMDI main;
        main.Load();
        testenv::messages().clear();
        main.mnuBackupData->trigger();
        ASSERT_EQ(testenv::messages().shown().size(), 1u) << sql;
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
        EXPECT_EQ(testenv::messages().last().text, damaged) << sql;

        testenv::messages().clear();
        AutomaticBackupAtExit(); // due: the last good backup is 46 days old
        ASSERT_EQ(testenv::messages().shown().size(), 1u) << sql;
        EXPECT_EQ(testenv::messages().last().text, damaged) << sql;
        EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), good) << sql;
        EXPECT_EQ(readFile(file("CorvessaData.mdb")), foreign) << sql;
    }

    // Without an earlier backup the message says so.
    QFile::remove(file("CorvessaData.OLD.bak"));
    EXPECT_EQ(DamagedDataFileText(false),
              data::dataFileDamagedText(file("CorvessaData.mdb")) +
                  QStringLiteral(" It was not backed up, and there is no earlier backup."));
}

TEST(Backup, MenuCommandReportsBothOutcomes)
{
    testing_support::RecordingScreens screens;
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    frmMainMDI main;
    main.Load();

    menuBackupFails(main, data::dataFileMissingText(file("CorvessaData.mdb")));

    testing_support::DataFixture db;
    // A settings store that cannot take the date does not undo a backup that was made.
    for (const bool storeWritable : {true, false}) {
        testenv::settings().failWrites = !storeWritable;
        QFile::remove(file("CorvessaData.OLD.bak"));
        main.mnuBackupData->trigger();
        EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
        EXPECT_EQ(testenv::messages().last().text,
                  QStringLiteral("Data backed up to ") +
                      QDir::toNativeSeparators(file("CorvessaData.OLD.bak")) +
                      QStringLiteral(". You can manually copy this file elsewhere (such as a "
                                     "floppy) for safe keeping."));
        EXPECT_TRUE(QFileInfo::exists(file("CorvessaData.OLD.bak")));
    }
}

TEST(Backup, WeeklyRuleAtExit)
{
    testing_support::DataFixture db;
    const QString backup = file("CorvessaData.OLD.bak");

    settings().setLastAutoBackup(daysAgo(6));
    AutomaticBackupAtExit();
    EXPECT_FALSE(QFileInfo::exists(backup));

    settings().setLastAutoBackup(daysAgo(7));
    AutomaticBackupAtExit();
    EXPECT_TRUE(QFileInfo::exists(backup));
    EXPECT_EQ(settings().LastAutoBackup(), daysAgo(0));

    QFile::remove(backup);
    settings().setLastAutoBackup(daysAgo(30));
    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("RemindBackup"),
                              QStringLiteral("0"));
    AutomaticBackupAtExit();
    EXPECT_FALSE(QFileInfo::exists(backup));

    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("RemindBackup"),
                              QStringLiteral("1"));
    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("LastBackupDate"),
                              QStringLiteral("garbled"));
    AutomaticBackupAtExit();
    EXPECT_TRUE(QFileInfo::exists(backup));
}

TEST(Backup, FirstExitEverIsDue)
{
    testing_support::DataFixture db;
    AutomaticBackupAtExit();
    EXPECT_TRUE(QFileInfo::exists(file("CorvessaData.OLD.bak")));
}

TEST(Backup, ExitBacksUpAfterEveryWindowIsGone)
{
    testing_support::RecordingScreens screens;
    testing_support::DataFixture db;
    const QString backup = file("CorvessaData.OLD.bak");
    bool backupExistedAtUnload = true;
    program().MainForm = std::make_unique<frmMainMDI>();
    program().MainForm->Load();
    QObject::connect(program().MainForm->CurrentForm(), &QObject::destroyed, [] {});
    screens.log.events.clear();
    class Probe : public QWidget {
    public:
        explicit Probe(bool& flag, QString path) : m_flag(flag), m_path(std::move(path)) {}
        void closeEvent(QCloseEvent*) override { m_flag = QFileInfo::exists(m_path); }
        bool& m_flag;
        QString m_path;
    };
    auto* options = new Probe(backupExistedAtUnload, backup);
    Forms::add(options);
    program().MainForm->close();
    EXPECT_FALSE(backupExistedAtUnload);
    EXPECT_TRUE(QFileInfo::exists(backup));
}
