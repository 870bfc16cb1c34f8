#include "tests/platform/data/DataTestHelpers.h"

#include "tests/support/TestEnvironment.h"

#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

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

    // Locked by another program: in use, not damaged (an open waits a few seconds first).
    QFile::remove(path);
    testing_support::DataFixture db;
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(openFailure(db.path()), data::dataFileInUseText(db.path()));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(openFailure(db.path()), QStringLiteral("opened"));
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
