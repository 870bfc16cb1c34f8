#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/clsCorvessa.h"
#include "tests/support/OtherCopy.h"
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <gtest/gtest.h>

namespace {

// A process id no process has (above any system's limit).
constexpr qint64 kEndedProcess = 2147483646;

class RunMarkers : public ::testing::Test {
protected:
    void SetUp() override { settings().setDataFileName(QStringLiteral("CorvessaData.mdb")); }

    QStringList markers() const
    {
        return QDir(testenv::programFolder())
            .entryList({QStringLiteral("CorvessaData.mdb.run-*")}, QDir::Files);
    }

    const QString m_here = QSysInfo::machineHostName();
    const qint64 m_alive = QCoreApplication::applicationPid();
};

} // namespace

TEST_F(RunMarkers, AnotherCopyCountsWhileItsMarkerIsFresh)
{
    program().ThisRun = RunMarker::create();
    ASSERT_TRUE(program().ThisRun);
    EXPECT_FALSE(AnotherCopyIsRunning()); // its own marker is no other copy

    const QString sameComputer = testing_support::writeOtherCopyMarker(m_here, m_alive);
    EXPECT_TRUE(AnotherCopyIsRunning());
    QFile::remove(sameComputer);

    const QString elsewhere =
        testing_support::writeOtherCopyMarker(QStringLiteral("hall-pc"), 4242, 9);
    const auto other = OtherRunningCopy();
    ASSERT_TRUE(other);
    EXPECT_EQ(other->host, QStringLiteral("hall-pc"));
    EXPECT_EQ(other->pid, 4242);
    EXPECT_FALSE(other->onThisComputer());

    // Not refreshed for more than ten minutes: that copy has ended, whatever computer it ran on.
    testing_support::ageMarker(elsewhere, 11);
    EXPECT_FALSE(AnotherCopyIsRunning());
    // A process of this computer that has ended is seen at once.
    testing_support::writeOtherCopyMarker(m_here, kEndedProcess);
    EXPECT_FALSE(AnotherCopyIsRunning());
    // A marker being written (nothing in it yet) counts.
    QFile blank(testenv::programFile(QStringLiteral("CorvessaData.mdb.run-blank")));
    ASSERT_TRUE(blank.open(QIODevice::WriteOnly));
    blank.close();
    EXPECT_TRUE(AnotherCopyIsRunning());
}

TEST_F(RunMarkers, AStartClearsTheMarkersOfEndedCopies)
{
    const QString ended = testing_support::writeOtherCopyMarker(m_here, kEndedProcess);
    const QString old = testing_support::writeOtherCopyMarker(QStringLiteral("hall-pc"), 4242, 60);
    const QString running =
        testing_support::writeOtherCopyMarker(QStringLiteral("office-pc"), 77, 2);
    program().ThisRun = RunMarker::create();
    ASSERT_TRUE(program().ThisRun);
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_TRUE(QFileInfo::exists(running));
    EXPECT_EQ(markers().size(), 2);
}

TEST_F(RunMarkers, ARunningCopyKeepsItsMarkerFreshAndTakesItAwayAtTheEnd)
{
    program().ThisRun = RunMarker::create();
    ASSERT_TRUE(program().ThisRun);
    const QString mine = program().ThisRun->path();
    QFile f(mine);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                              QFileDevice::FileModificationTime));
    f.close();
    program().ThisRun->refresh();
    EXPECT_LT(QFileInfo(mine).lastModified().secsTo(QDateTime::currentDateTime()), 60);

    // Seen from a copy without a marker of its own, it is another running copy.
    std::unique_ptr<RunMarker> mineHeld = std::move(program().ThisRun);
    EXPECT_TRUE(AnotherCopyIsRunning());
    // A marker removed by mistake comes back with the next refresh.
    QFile::remove(mine);
    mineHeld->refresh();
    EXPECT_TRUE(QFileInfo::exists(mine));
    mineHeld.reset();
    EXPECT_FALSE(QFileInfo::exists(mine));
    EXPECT_TRUE(markers().isEmpty());
}
