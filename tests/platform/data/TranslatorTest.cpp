// The Jet dialect's traps: what the translation must keep, and what it must refuse.
#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

using data::Variant;
using datatest::show;

namespace {

class Translation : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db.addPerson("Ann", "Smith",
                       {{"Youth_Team", " Blue "}, {"Youth_Status", 1}, {"Youth_Visitor", true}});
        m_db.addPerson("Bob", "Jones", {{"Youth_Team", "Kids' Club AND Friends"}});
        m_db.addPerson({{"Youth_LName", "Doe"}, {"Youth_Status", 2}});
        m_db.addMeeting(QDate(2024, 3, 3), {{"Wk_Offering", Variant::currency(12.5)}});
        m_db.addMeeting(QDate(2024, 3, 10));
        m_db.attend(1, {1, 2});
        m_conn.Open(m_db.connectionString());
    }

    // The first value of the first row, as show() writes it, and the recordset for more.
    QString first(const QString& sql)
    {
        data::Recordset rs;
        rs.Open(sql, m_conn);
        return rs.EOF() ? QStringLiteral("(no row)") : show(rs.Fields(0));
    }

    testing_support::DataFixture m_db;
    data::Connection m_conn;
};

struct Kept {
    const char* what;
    const char* sql;
    const char* value;
};

TEST_F(Translation, KeepsTheJetMeaning)
{
    const Kept cases[] = {
        {"quotes doubled, # & True AND inside text", "SELECT 'It''s #1/2/2024# & True AND x'",
         "It's #1/2/2024# & True AND x"},
        {"double-quoted text", "SELECT \"say \"\"hi\"\" 'there'\"", "say \"hi\" 'there'"},
        {"a filter value holding ' AND '",
         "SELECT Count(*) FROM Youth WHERE Youth_Team='Kids'' Club AND Friends'", "1"},
        {"bracketed names", "SELECT [Youth_FName] FROM [Youth] WHERE [Youth_ID] = 1", "Ann"},
        {"keywords and names in any case", "select youth_fname from YOUTH where YOUTH_id = 1",
         "Ann"},
        {"nested sub-selects ending in ';'",
         "SELECT (SELECT Max(Wk_Date) FROM Weeks WHERE Wk_ID IN (SELECT Attend_Wk_ID FROM "
         "Attendance WHERE Attend_Youth_ID = Youth_ID;);) AS LastSeen FROM Youth WHERE Youth_ID = "
         "1;",
         "3/3/2024"},
        {"a date with a time", "SELECT #3/10/2024 2:30 PM#", "3/10/2024 14:30"},
        {"a date written year first", "SELECT #2024-03-10#", "3/10/2024"},
        {"a year before 1000",
         "SELECT Year(#3/9/999#) * 10000 + Month(#3/9/999#) * 100 + Day(#3/9/999#)", "9990309"},
        {"the first day dates can hold", "SELECT #1/1/100# = #0100-01-01#", "True"},
        {"True is -1 in comparisons", "SELECT Count(*) FROM Youth WHERE Youth_Visitor = True", "1"},
        {"a truth value read as a value",
         "SELECT (Youth_Visitor = False) FROM Youth WHERE Youth_ID = 2", "True"},
        {"a truth value compared with Yes",
         "SELECT Count(*) FROM Youth WHERE (IsNull(Youth_FName) Or Youth_Status = 2) = Yes", "1"},
        {"a truth value compared with False",
         "SELECT Count(*) FROM Youth WHERE (Youth_Status = 1) = False", "1"},
        {"& reads Null as empty text",
         "SELECT Youth_LName & ', ' & Youth_FName FROM Youth WHERE Youth_ID = 3", "Doe, "},
        {"& of a Null field and a text field is the text",
         "SELECT Youth_MName & Youth_FName FROM Youth WHERE Youth_ID = 1", "Ann"},
        {"& of Nulls only is Null",
         "SELECT Youth_MName & Youth_Comments FROM Youth WHERE Youth_ID = 1", "(null)"},
        {"& of a number", "SELECT Youth_LName & Youth_ID FROM Youth WHERE Youth_ID = 1", "Smith1"},
        {"& of a date", "SELECT 'On ' & Wk_Date FROM Weeks WHERE Wk_ID = 1", "On 3/3/2024"},
        {"computed text compares without case",
         "SELECT Count(*) FROM Youth WHERE Trim(Youth_Team) = 'BLUE'", "1"},
        {"IN compares text without case",
         "SELECT Count(*) FROM Youth WHERE Youth_FName IN ('ANN', 'bob')", "2"},
        {"LIKE with % ignores case", "SELECT Youth_FName FROM Youth WHERE Youth_LName LIKE 'SM%'",
         "Ann"},
        {"/ divides in floating point", "SELECT 7 / 2", "3.5"},
        {"\\ and Mod on whole numbers", "SELECT (7 \\ 2) * 10 + (7 Mod 2)", "31"},
        {"a date plus days is a date", "SELECT Wk_Date + 7 FROM Weeks WHERE Wk_ID = 1",
         "3/10/2024"},
        {"Year() as a range keeps dates of that year",
         "SELECT Count(*) FROM Weeks WHERE Year(Wk_Date) = 2024", "2"},
        {"Day() and Month()",
         "SELECT Month(Wk_Date) * 100 + Day(Wk_Date) FROM Weeks WHERE Wk_ID = 2", "310"},
        {"a table alias", "SELECT y.Youth_FName FROM Youth AS y WHERE y.Youth_ID = 2", "Bob"},
        {"a left join keeps the unmatched",
         "SELECT Count(*) FROM Youth LEFT JOIN Attendance ON "
         "Youth.Youth_ID = Attendance.Attend_Youth_ID",
         "3"},
        {"Between on text without case",
         "SELECT Count(*) FROM Youth WHERE Youth_LName BETWEEN 'a' AND 'K'", "2"},
        {"a sub-select in FROM",
         "SELECT Count(*) FROM (SELECT Youth_ID FROM Youth WHERE Youth_Status "
         "> 0) AS p",
         "2"},
    };
    for (const Kept& c : cases)
        EXPECT_EQ(first(QString::fromUtf8(c.sql)).toStdString(), c.value) << c.what;
}

TEST_F(Translation, NamesUnnamedColumnsAsJetDoes)
{
    data::Recordset rs;
    rs.Open("SELECT Count(Youth_ID), Sum(Weeks.Wk_Offering), Youth_ID + 1, Youth_FName FROM Youth, "
            "Weeks",
            m_conn);
    QStringList names;
    for (int i = 0; i < rs.Fields().Count(); ++i)
        names << rs.Fields(i).Name();
    EXPECT_EQ(names,
              QStringList({"CountOfYouth_ID", "SumOfWk_Offering", "Expr1000", "Youth_FName"}));
}

TEST_F(Translation, ActionStatementsWriteYesNoAndMoneyAsStored)
{
    m_conn.Execute("UPDATE Youth SET Youth_Leader = 1, Youth_Mail_List = (Youth_Status = 1) WHERE "
                   "Youth_ID <= 2");
    EXPECT_EQ(m_db.value("SELECT Youth_Leader FROM Youth WHERE Youth_ID = 1").number(), -1);
    EXPECT_EQ(m_db.value("SELECT Youth_Mail_List FROM Youth WHERE Youth_ID = 1").number(), -1);
    EXPECT_EQ(m_db.value("SELECT Youth_Mail_List FROM Youth WHERE Youth_ID = 2").number(), 0);

    m_conn.Execute("INSERT INTO Weeks (Wk_Date, Wk_Offering) VALUES (#1/5/2025#, 12.34567)");
    EXPECT_DOUBLE_EQ(m_db.value("SELECT Wk_Offering FROM Weeks WHERE Wk_ID = 3").number(), 12.3457);
    EXPECT_EQ(m_db.value("SELECT Wk_Date FROM Weeks WHERE Wk_ID = 3").number(),
              data::jetdate::fromDate(QDate(2025, 1, 5)));
}

TEST_F(Translation, DeleteOverAJoinRemovesRowsOfTheNamedTableOnly)
{
    EXPECT_EQ(m_conn.Execute("DELETE Attendance.* FROM Attendance INNER JOIN Weeks ON "
                             "Attendance.Attend_Wk_ID = Weeks.Wk_ID WHERE Wk_Date = #3/3/2024#"),
              2);
    EXPECT_EQ(m_db.count("Attendance"), 0);
    EXPECT_EQ(m_db.count("Weeks"), 2);
}

TEST_F(Translation, AYearConditionTakesBothEndsOfTheYear)
{
    for (const QDate& d :
         {QDate(2023, 12, 31), QDate(2024, 1, 1), QDate(2024, 12, 31), QDate(2025, 1, 1)})
        m_db.addMeeting(d);
    // The two meetings of March 2024 and the first and last day of the year.
    EXPECT_EQ(first("SELECT Count(*) FROM Weeks WHERE Year(Wk_Date)=2024"), "4");
    EXPECT_EQ(first("SELECT Count(*) FROM Weeks WHERE Year(Wk_Date)=2023"), "1");
    EXPECT_EQ(first("SELECT Min(Wk_Date) FROM Weeks WHERE Year(Wk_Date)=2025"), "1/1/2025");
}

// Statements nested deeper than any the program sends are refused with an error, never run into
// the end of the stack; long chains of AND and OR do not nest.
TEST_F(Translation, DeepNestingIsRefusedWithAnError)
{
    auto repeated = [](const char* part, int times) {
        QString text;
        for (int i = 0; i < times; ++i)
            text += QLatin1String(part);
        return text;
    };
    QStringList andTerms;
    for (int i = 0; i < 100000; ++i)
        andTerms << QStringLiteral("Youth_ID > 0");
    const QString deep[] = {
        "SELECT Count(*) FROM Youth WHERE " + repeated("NOT ", 20000) + "Youth_ID = 1",
        "SELECT " + repeated("- ", 20000) + "1 FROM Youth",
        "SELECT Count(*) FROM Youth WHERE " + andTerms.join(QLatin1String(" AND ")),
        "SELECT Count(*) FROM Youth WHERE " + andTerms.join(QLatin1String(" OR ")),
        "SELECT " + repeated("1 + ", 100000) + "1",
        "SELECT Count(*) FROM Youth WHERE Youth_ID" + repeated(" IS NULL", 20000),
        "SELECT " + repeated("(", 100000) + "1" + repeated(")", 100000),
        "SELECT * FROM " + repeated("(SELECT * FROM ", 5000) + "Youth" + repeated(") AS t", 5000),
        "SELECT * FROM " + repeated("(", 100000) + "Youth" + repeated(")", 100000),
    };
    for (const QString& sql : deep) {
        data::Recordset rs;
        EXPECT_THROW(rs.Open(sql, m_conn), data::DataError) << sql.left(40).toStdString();
    }
    data::Recordset filtered;
    filtered.Open("SELECT * FROM Youth", m_conn, data::adOpenStatic);
    EXPECT_THROW(filtered.setFilter(repeated("NOT ", 20000) + "Youth_ID = 1"), data::DataError);

    // A chain of a few hundred terms is no nesting at all.
    EXPECT_EQ(first("SELECT Count(*) FROM Youth WHERE " +
                    andTerms.mid(0, 500).join(QLatin1String(" AND "))),
              "3");
    filtered.setFilter(andTerms.mid(0, 500).join(QLatin1String(" OR ")) + " OR Youth_ID = 1");
    EXPECT_EQ(filtered.RecordCount(), 3);
}

struct Refused {
    const char* sql;
    const char* reason; // a part of the message
};

TEST_F(Translation, RefusesWhatItCannotCarryOverAndNamesTheStatement)
{
    const Refused cases[] = {
        {"SELECT * FROM Youth; DELETE FROM Youth", "text follows the end"},
        {"SELECT #13/1/2024#", "not a valid date"},
        {"SELECT #1/2/24#", "not a valid date"},
        {"SELECT #12/31/99#", "not a valid date"},
        {"SELECT 'open", "not closed"},
        {"SELECT Nz(Youth_Status, 0) FROM Youth", "Nz() is not supported"},
        {"SELECT First(Youth_FName) FROM Youth", "only over dates"},
        {"SELECT Last(Wk_Date) FROM Weeks", "Last() is not supported"},
        {"SELECT Youth_Status And 2 FROM Youth", "bit by bit"},
        {"SELECT 2 ^ 3", "^ is not supported"},
        {"SELECT * FROM Youth UNION SELECT * FROM Youth", "UNION"},
        {"CREATE TABLE x (a INT)", "only SELECT, INSERT, UPDATE and DELETE"},
        {"SELECT * FROM Weeks WHERE Wk_Date = '3/3/2024'", "a date compared with text"},
        {"SELECT * FROM Youth WHERE Youth_LName LIKE '[S]%'", "LIKE patterns with [...]"},
        {"SELECT TOP 10 PERCENT * FROM Youth", "PERCENT"},
        {"SELECT * FROM NoSuchTable", "no such table: NoSuchTable"},
        {"SELECT * FROM Youth WHERE Youth_Nmae = 1", "no such column: Youth_Nmae"},
        {"SELECT [Youth Nmae] FROM Youth", "no such column: Youth Nmae"},
    };
    for (const Refused& c : cases) {
        const QString sql = QString::fromUtf8(c.sql);
        try {
            data::Recordset rs;
            rs.Open(sql, m_conn);
            ADD_FAILURE() << "accepted: " << c.sql;
        } catch (const data::DataError& e) {
            EXPECT_EQ(e.sql(), sql) << c.sql;
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(sql)) << c.sql;
            EXPECT_TRUE(e.description().contains(QLatin1String(c.reason)))
                << c.sql << ": " << e.description().toStdString();
        }
    }
}

} // namespace
