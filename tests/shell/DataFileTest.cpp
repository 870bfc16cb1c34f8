#include "shell/DataFile.h"
#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "platform/data/DataError.h"
#include "platform/data/Variant.h"
#include "tests/support/DataFixture.h"
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

} // namespace

TEST(Backup, CopiesTheDataFileAndRecordsTheDate)
{
    testing_support::DataFixture db;
    fillDataFile(db, "First", 3);
    EXPECT_EQ(BackupDataFile(), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), readFile(file("CorvessaData.mdb")));
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-15"));

    testenv::clock().setToday(QDate(2024, 5, 20));
    fillDataFile(db, "Second");
    BackupResult result = BackupResult::Failed;
    EXPECT_EQ(BackupDataFile(&result), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(result, BackupResult::Saved);
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), readFile(file("CorvessaData.mdb")));
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-20"));
    // Nothing but the data file and the backup is left behind.
    EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files).size(), 2);
}

TEST(Backup, AFailedBackupKeepsThePreviousOne)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.OLD.bak"), "good old backup");
    BackupResult result = BackupResult::Saved;
    EXPECT_EQ(BackupDataFile(&result), QString()); // no data file
    EXPECT_EQ(result, BackupResult::Failed);
    ASSERT_TRUE(QDir(testenv::programFolder()).mkdir(QStringLiteral("CorvessaData.mdb")));
    EXPECT_EQ(BackupDataFile(), QString()); // a data file that cannot be read
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), QByteArray("good old backup"));
    EXPECT_FALSE(lastBackupSetting());
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
    // Nor does a sound database of another program; the menu and the exit below meet it.
    ASSERT_TRUE(QFile::remove(file("CorvessaData.mdb")));
    {
        sqlite3* foreign = nullptr;
        ASSERT_EQ(sqlite3_open(file("CorvessaData.mdb").toUtf8().constData(), &foreign), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(foreign, "CREATE TABLE foo(a)", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(foreign);
    }
    const QByteArray foreign = readFile(file("CorvessaData.mdb"));
    EXPECT_EQ(BackupDataFile(), QString());
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), good);

    frmMainMDI main;
    main.Load();
    testenv::messages().clear();
    main.mnuBackupData->trigger();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().text, damaged);

    testenv::messages().clear();
    AutomaticBackupAtExit(); // due: the last good backup is 46 days old
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().text, damaged);
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), good);
    EXPECT_EQ(readFile(file("CorvessaData.mdb")), foreign);

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

    main.mnuBackupData->trigger();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral("There was a problem backing up the data file.  No backup was made."));
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("Corvessa"));

    testing_support::DataFixture db;
    main.mnuBackupData->trigger();
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral("Data backed up to ") +
                  QDir::toNativeSeparators(file("CorvessaData.OLD.bak")) +
                  QStringLiteral(". You can manually copy this file elsewhere (such as a floppy) "
                                 "for safe keeping."));
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
