#include "tests/platform/data/DataTestHelpers.h"

#include "tests/support/TestEnvironment.h"

#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <thread>

#include <gtest/gtest.h>

namespace {

TEST(Connection, OpeningAFileThatIsNotThereFailsAndCreatesNothing)
{
    const QString path = testenv::programFile("CorvessaData.mdb");
    data::Connection conn;
    EXPECT_THROW(
        conn.Open(data::buildConnectionString(testenv::programFolder(), "CorvessaData.mdb")),
        data::DataError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(conn.State(), data::adStateClosed);
    EXPECT_THROW(conn.Open("PROVIDER=Microsoft.Jet.OLEDB.4.0;"), data::DataError);
}

// Why the data file at path cannot be opened, as the user is told.
QString openFailure(const QString& path)
{
    data::Connection conn;
    try {
        conn.Open(data::buildConnectionString(QFileInfo(path).path(), QFileInfo(path).fileName()));
    } catch (const data::DataError& e) {
        return e.description();
    }
    return QStringLiteral("opened");
}

TEST(Connection, EachReasonAFileCannotBeUsedHasItsOwnWording)
{
    const QString path = testenv::programFile("CorvessaData.mdb");
    const QString missing = testenv::programFile("Gone.mdb");
    EXPECT_EQ(openFailure(missing), data::dataFileMissingText(missing));
    EXPECT_TRUE(data::dataFileMissingText(missing).contains("Gone.mdb"));

    // Not a database, and an empty file (which reads as a database without tables).
    for (const QByteArray& content : {QByteArray(4096, 'x'), QByteArray()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        EXPECT_EQ(openFailure(path), data::dataFileDamagedText(path)) << content.size();
    }
    // A people's table without the id and name columns is another program's; an older data
    // file with fewer columns than today's opens.
    for (const auto& [layout, failure] :
         {std::pair{"CREATE TABLE Youth(Youth_ID INTEGER PRIMARY KEY, Youth_FName)",
                    data::dataFileDamagedText(path)},
          std::pair{"CREATE TABLE Youth(Youth_ID INTEGER PRIMARY KEY, youth_fname, Youth_LName)",
                    QStringLiteral("opened")}}) {
        QFile::remove(path);
        sqlite3* made = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &made), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(made, layout, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(made);
        EXPECT_EQ(openFailure(path), failure) << layout;
    }

    // A path too long for the system: a name in it, or the whole path, longer than it allows;
    // a data file whose path is as long as SQLite takes (with "-journal" after it) opens, and
    // one a character longer is too long, also when reached through a link with a short path
    // (SQLite follows links).
    QFile::remove(path);
    testing_support::DataFixture db;
    const QString longName = testenv::programFile(QString(300, QLatin1Char('n')) + ".mdb");
    const QString longPath = testenv::programFile(QStringLiteral("p/").repeated(2100) + "x.mdb");
    EXPECT_EQ(openFailure(longName), data::dataFilePathTooLongText(longName));
    EXPECT_EQ(openFailure(longPath), data::dataFilePathTooLongText(longPath));
    const QString top =
        QFileInfo(testenv::programFolder()).canonicalFilePath() + '/' + QString(200, 'd');
    const QString deep = top + '/' + QString(200, 'e');
    const QString link = top + "-link";
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QFile::link(deep, link));
    const int fits = sqlite3_vfs_find(nullptr)->mxPathname - 8 - int(deep.toUtf8().size()) - 1;
    ASSERT_GT(fits, 10) << "the test folder's path is too long for this test";
    for (const int extra : {0, 1}) {
        const QString name = QString(fits + extra, QLatin1Char('f'));
        ASSERT_TRUE(QFile::copy(db.path(), deep + '/' + name));
        for (const QString& folder : {deep, link}) {
            const QString file = folder + '/' + name;
            EXPECT_EQ(openFailure(file),
                      extra == 0 ? QStringLiteral("opened") : data::dataFilePathTooLongText(file));
        }
    }
    QFile::remove(link);
    QDir(top).removeRecursively();

    // Locked by another program: in use, not damaged (an open waits a few seconds first).
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(openFailure(db.path()), data::dataFileInUseText(db.path()));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(openFailure(db.path()), QStringLiteral("opened"));
}

TEST(Connection, AnotherProgramsLocksAreWaitedForWithinOneBudgetAndOurOwnNeverAre)
{
    const int usualTimeout = data::busyTimeout();
    const auto restore = qScopeGuard([&] { data::setBusyTimeout(usualTimeout); });
    testing_support::DataFixture db;
    const QString insert =
        QStringLiteral("INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT 1 AS "
                       "Expr1, 1 AS Expr2;");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.path().toUtf8().constData(), &other), SQLITE_OK);
    const auto closeOther = qScopeGuard([&] { sqlite3_close(other); });
    data::Connection conn;
    conn.Open(db.connectionString());
    // Another connection of this program, idle: it holds no lock and must not count as one.
    data::Connection idle;
    idle.Open(db.connectionString());

    // Another program's write, let go after a moment: the statement waits for it and succeeds.
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    EXPECT_NO_THROW(conn.Execute(insert));
    release.join();
    EXPECT_EQ(db.count("Attendance"), 1);

    // Another program reading while a transaction's changes outgrow the page cache: every
    // spill asks for the file anew, but all the asking shares one budget. Then the commit
    // fails as in use and nothing of the transaction is stored.
    constexpr int kBudget = 400;
    data::setBusyTimeout(kBudget);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN; SELECT count(*) FROM Youth;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    QElapsedTimer waited;
    waited.start();
    {
        data::Transaction tx(conn);
        const QString row = QStringLiteral("INSERT INTO Youth ( Youth_FName, Youth_Comments ) "
                                           "SELECT 'P' AS Expr1, '%1' AS Expr2;")
                                .arg(QString(1500, QLatin1Char('x')));
        for (int i = 0; i < 3000; ++i)
            conn.Execute(row);
        try {
            tx.commit();
            ADD_FAILURE() << "committed while another program reads";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.inUseByAnotherProgram());
            EXPECT_EQ(e.description(), data::dataFileInUseText(db.path()));
        }
    }
    // A wait of its own for each spill would take minutes.
    EXPECT_LT(waited.elapsed(), 10 * kBudget);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    EXPECT_EQ(db.count("Youth"), 0);

    // A lock this program holds itself is never waited for, however long the budget: the
    // statement fails at once (waiting would hang the test).
    data::setBusyTimeout(24 * 60 * 60 * 1000);
    data::Transaction held(conn);
    conn.Execute(insert);
    try {
        idle.Execute(insert);
        ADD_FAILURE() << "written beside this program's own open transaction";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.inUseByAnotherProgram());
    }
}

TEST(Connection, ErrorsCarryTheMessageAndTheStatementAsSentAndAsRun)
{
    testing_support::DataFixture db;
    db.addPerson("Ann", "Adams");
    data::Connection conn;
    conn.Open(db.connectionString());
    const QString sql =
        "INSERT INTO Youth ( Youth_ID, Youth_FName ) SELECT 1 AS Expr1, 'Bob' AS Expr2;";
    try {
        conn.Execute(sql);
        ADD_FAILURE() << "a second row with id 1 was accepted";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.description().contains("UNIQUE constraint failed")) << e.what();
        EXPECT_EQ(e.sql(), sql);
        EXPECT_TRUE(e.translatedSql().startsWith("INSERT INTO Youth")) << e.what();
        EXPECT_EQ(e.code() & 0xff, SQLITE_CONSTRAINT);
    }
    conn.Close();
    EXPECT_THROW(conn.Execute("DELETE FROM Youth"), data::DataError);
}

TEST(Connection, TransactionsRollBackUnlessCommitted)
{
    testing_support::DataFixture db;
    data::Connection conn;
    conn.Open(db.connectionString());
    {
        data::Transaction tx(conn);
        conn.Execute("INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT 1 AS Expr1, "
                     "1 AS Expr2;");
        // leaving without commit
    }
    EXPECT_EQ(db.count("Attendance"), 0);
    {
        data::Transaction tx(conn);
        conn.Execute("INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT 1 AS Expr1, "
                     "1 AS Expr2;");
        {
            data::Transaction inner(conn);
            conn.Execute("INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT 2 AS "
                         "Expr1, 1 AS Expr2;");
        }
        tx.commit();
    }
    EXPECT_EQ(db.count("Attendance"), 1);
    EXPECT_EQ(conn.BeginTrans(), 1);
    EXPECT_EQ(conn.BeginTrans(), 2);
    conn.CommitTrans();
    conn.RollbackTrans();
    EXPECT_THROW(conn.CommitTrans(), data::DataError);
}

TEST(DataFile, LayoutKeepsTheStorageConventions)
{
    testing_support::DataFixture db;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    const int id = db.addPerson("Ann", "Adams", {{"Youth_Zip", "02134"}});
    const auto row = db.rows(QStringLiteral("SELECT Youth_Created, Youth_Visitor, Youth_Deleted, "
                                            "typeof(Youth_Zip), Youth_Status FROM Youth"))
                         .front();
    const QDateTime created = data::jetdate::toDateTime(row[0].number());
    EXPECT_GE(created, before);
    EXPECT_LE(created, QDateTime::currentDateTime().addSecs(2));
    EXPECT_EQ(row[1].number(), 0);
    EXPECT_EQ(row[2].number(), 0);
    EXPECT_EQ(row[3].text(), "text");
    EXPECT_TRUE(row[4].isNull());

    // Tools writing the file directly cannot store a Yes/No other than -1/0, nor text as a date.
    EXPECT_THROW(db.exec("UPDATE Youth SET Youth_Leader = 1"), data::DataError);
    EXPECT_THROW(db.exec("UPDATE Youth SET Youth_Bday = '2008-03-20'"), data::DataError);
    EXPECT_THROW(db.exec("UPDATE Youth SET Youth_Deleted = NULL"), data::DataError);
    EXPECT_EQ(db.count("Youth", QStringLiteral("Youth_ID = %1").arg(id)), 1);
    // Nothing but the built-in functions: a plain SQLite connection reads and sorts the file.
    EXPECT_EQ(db.value("SELECT Youth_FName FROM Youth WHERE Youth_LName = 'ADAMS'").text(), "Ann");

    EXPECT_THROW(data::schema::createDataFile(db.path()), data::DataError); // never overwrites
}

} // namespace
