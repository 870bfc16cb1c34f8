// The program stopped at every step of an upgrade of the sample data (killed, or the power
// gone: nothing after that point runs, nothing is cleaned up) always comes back at the next
// start with every row.
#include "bench/SampleData.h"

#include "shell/DataFile.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Connection.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/Recordset.h"
#include "platform/data/Schema.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The upgrade's steps after its backup: copy the template, rows copied (not yet saved), move
// the data file aside, remove its three journal files, move the filled copy in, remove the
// template, remove the aside file.
constexpr int kSteps = 9;
constexpr int kStopped = 3;
constexpr int kFinished = 4;

const QString kData = QStringLiteral("CorvessaData.mdb");
const QString kTemplate = QStringLiteral("CorvessaDataX.mdb");

// The plain file operations, but the process ends just before step `stopAt`.
class StopBefore : public UpgradeFiles {
public:
    explicit StopBefore(int stopAt) : m_stopAt(stopAt) {}
    bool copy(const QString& from, const QString& to) override
    {
        step();
        return UpgradeFiles::copy(from, to);
    }
    bool rename(const QString& from, const QString& to) override
    {
        step();
        return UpgradeFiles::rename(from, to);
    }
    bool remove(const QString& path) override
    {
        step();
        return UpgradeFiles::remove(path);
    }
    void rowsCopied() override { step(); }

private:
    void step()
    {
        if (m_step++ == m_stopAt)
            std::_Exit(kStopped);
    }

    int m_stopAt;
    int m_step = 0;
};

struct Sample {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("sample.mdb"));
    sample::Summary summary = sample::writeSampleData(path, sample::Options{});
};

const Sample& sampleData()
{
    static const Sample sample;
    return sample;
}

long long count(data::Connection& conn, const QString& table)
{
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT Count(*) AS n FROM ") + table, conn);
    return static_cast<long long>(rs.Fields(0).Value().number());
}

class UpgradeStopped : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(UpgradeStopped, TheNextStartHasEveryRow)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    const Sample& sample = sampleData();
    ASSERT_EQ(sample.summary.people, 2000);
    ASSERT_EQ(sample.summary.meetings, 1040);
    ASSERT_EQ(sample.summary.attendanceRows, 200000);
    settings().setDataFileName(kData);
    program().ConnectionString = data::buildConnectionString(testenv::programFolder(), kData);
    ASSERT_TRUE(QFile::copy(sample.path, testenv::programFile(kData)));
    data::schema::createDataFile(testenv::programFile(kTemplate));

    const int stopAt = GetParam();
    EXPECT_EXIT(
        {
            StopBefore files(stopAt);
            UpgradeDataFile(files);
            std::_Exit(kFinished);
        },
        ::testing::ExitedWithCode(stopAt < kSteps ? kStopped : kFinished), "");

    UpgradeDataFile(); // the next start
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(QDir(testenv::programFolder()).entryList(QDir::Files),
              (QStringList{kData, QStringLiteral("CorvessaData.OLD.bak")}));
    data::Connection conn;
    conn.Open(program().ConnectionString);
    EXPECT_EQ(count(conn, QStringLiteral("Youth")), 2000);
    EXPECT_EQ(count(conn, QStringLiteral("Weeks")), 1040);
    EXPECT_EQ(count(conn, QStringLiteral("Attendance")), 200000);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, UpgradeStopped, ::testing::Range(0, kSteps + 1));
