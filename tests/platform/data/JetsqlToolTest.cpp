// The jetsql developer tool, run as a program on a data file.
#include "tests/support/DataFixture.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun jetsql(const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(QStringLiteral(JETSQL_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class Jetsql : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db.addPerson(
            "Ann", "Adams",
            {{"Youth_Bday", testing_support::day(2008, 3, 20)}, {"Youth_Visitor", true}});
        m_db.addPerson({{"Youth_LName", "Doe"}, {"Youth_Comments", "two\tcells"}});
    }
    testing_support::DataFixture m_db;
};

TEST_F(Jetsql, PrintsRowsTabSeparatedUnderAHeader)
{
    const ToolRun r =
        jetsql({m_db.path(), "SELECT Youth_FName, Youth_Bday, Youth_Visitor, Youth_Comments "
                             "FROM Youth ORDER BY Youth_LName"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Youth_FName\tYouth_Bday\tYouth_Visitor\tYouth_Comments\n"
                     "Ann\t3/20/2008\tTrue\t\n"
                     "\t\tFalse\ttwo\\tcells\n");
}

TEST_F(Jetsql, RunsStatementsFromStandardInputAndStopsAtTheFirstFailure)
{
    const ToolRun r =
        jetsql({m_db.path()}, "-- count\nSELECT Count(*) AS n\nFROM Youth;\n"
                              "-- remove\nDELETE Youth_FName FROM Youth WHERE Youth_FName='ann';\n"
                              "-- broken\nSELECT Nope FROM Youth\n"
                              "-- never run\nDELETE FROM Youth\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "-- count\nn\n2\n-- remove\n1 row(s) affected\n-- broken\n");
    EXPECT_TRUE(r.err.contains("no such column: Nope")) << r.err.toStdString();
    EXPECT_EQ(m_db.count("Youth"), 1);
}

TEST_F(Jetsql, TranslateShowsTheSqliteText)
{
    const ToolRun r =
        jetsql({"--translate", m_db.path(), "SELECT * FROM Youth WHERE Youth_Bday=#3/20/2008#"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "SELECT * FROM Youth WHERE Youth_Bday = 39527\n");
    EXPECT_EQ(jetsql({m_db.path() + ".missing", "SELECT 1"}).exitCode, 1);
}

} // namespace
