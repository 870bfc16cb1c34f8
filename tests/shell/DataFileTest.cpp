#include "shell/DataFile.h"
#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "platform/data/Variant.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>

#include <gtest/gtest.h>

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

} // namespace

TEST(Backup, CopiesTheDataFileAndRecordsTheDate)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.mdb"), "first");
    EXPECT_EQ(BackupDataFile(), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), QByteArray("first"));
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-15"));

    testenv::clock().setToday(QDate(2024, 5, 20));
    writeFile(file("CorvessaData.mdb"), "second, longer");
    EXPECT_EQ(BackupDataFile(), QStringLiteral("CorvessaData.OLD.bak"));
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), QByteArray("second, longer"));
    EXPECT_EQ(lastBackupSetting(), QStringLiteral("2024-05-20"));
    // Nothing but the data file and the backup is left behind.
    EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files).size(), 2);
}

TEST(Backup, AFailedBackupKeepsThePreviousOne)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.OLD.bak"), "good old backup");
    EXPECT_EQ(BackupDataFile(), QString()); // no data file
    ASSERT_TRUE(QDir(testenv::programFolder()).mkdir(QStringLiteral("CorvessaData.mdb")));
    EXPECT_EQ(BackupDataFile(), QString()); // a data file that cannot be read
    EXPECT_EQ(readFile(file("CorvessaData.OLD.bak")), QByteArray("good old backup"));
    EXPECT_FALSE(lastBackupSetting());
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

    writeFile(file("CorvessaData.mdb"), "data");
    main.mnuBackupData->trigger();
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral("Data backed up to ") + QDir::toNativeSeparators(file("CorvessaData.OLD.bak")) +
                  QStringLiteral(". You can manually copy this file elsewhere (such as a floppy) for safe keeping."));
}

TEST(Backup, WeeklyRuleAtExit)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.mdb"), "data");
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
    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("RemindBackup"), QStringLiteral("0"));
    AutomaticBackupAtExit();
    EXPECT_FALSE(QFileInfo::exists(backup));

    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("RemindBackup"), QStringLiteral("1"));
    testenv::settings().write(QStringLiteral("Reminders"), QStringLiteral("LastBackupDate"), QStringLiteral("garbled"));
    AutomaticBackupAtExit();
    EXPECT_TRUE(QFileInfo::exists(backup));
}

TEST(Backup, FirstExitEverIsDue)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.mdb"), "data");
    AutomaticBackupAtExit();
    EXPECT_TRUE(QFileInfo::exists(file("CorvessaData.OLD.bak")));
}

TEST(Backup, ExitBacksUpAfterEveryWindowIsGone)
{
    testing_support::RecordingScreens screens;
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    writeFile(file("CorvessaData.mdb"), "data");
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

TEST(RunMarker, SeesAnotherRunningCopy)
{
    settings().setDataFileName(QStringLiteral("CorvessaData.mdb"));
    auto mine = AcquireRunMarker();
    ASSERT_TRUE(mine);
    EXPECT_FALSE(AnotherCopyIsRunning(mine.get()));

    // A marker held by a live process.
    QLockFile other(file("CorvessaData.mdb.run-999999.lock"));
    ASSERT_TRUE(other.tryLock(0));
    EXPECT_TRUE(AnotherCopyIsRunning(mine.get()));
    other.unlock();
    EXPECT_FALSE(AnotherCopyIsRunning(mine.get()));

    // A marker whose copy ended without removing it.
    const QByteArray ghost = "4194999\nghost\n" + QSysInfo::machineHostName().toUtf8() + "\n" +
                             QSysInfo::machineUniqueId() + "\n" + QSysInfo::bootUniqueId() + "\n";
    writeFile(file("CorvessaData.mdb.run-4194999.lock"), ghost);
    EXPECT_FALSE(AnotherCopyIsRunning(mine.get()));
}
