#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/DataError.h"
#include "platform/data/Session.h"

#include <gtest/gtest.h>

using data::Variant;
using testing_support::day;

namespace {

const QString kMembers =
    QStringLiteral("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
                   "Youth_Deleted=False ORDER by Youth_LName, Youth_FName;");

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ann = m_db.addPerson("Ann", "Adams", {{"Youth_Status", 1}});
        m_bob = m_db.addPerson("Bob", "Brown", {{"Youth_Status", 2}});
        m_cal = m_db.addPerson("Cal", "Cole", {{"Youth_Status", 3}});
        m_dee = m_db.addPerson("Dee", "Dunn", {{"Youth_Status", 0}});
        m_conn.Open(m_db.connectionString());
    }

    void openMembers(data::Recordset& rs, data::LockTypeEnum lock = data::adLockOptimistic)
    {
        rs.Open(kMembers, m_conn, data::adOpenStatic, lock);
    }

    QString name(data::Recordset& rs)
    {
        const data::Variant v = rs["Youth_FName"];
        return v.isString() ? v.text() : QStringLiteral("?");
    }

    testing_support::DataFixture m_db;
    data::Connection m_conn;
    int m_ann = 0, m_bob = 0, m_cal = 0, m_dee = 0;
};

// A field's value as a whole number (0 for Null), as the tests compare ids and flags.
long long number(const data::Variant& v)
{
    return v.hasNumber() ? static_cast<long long>(v.number()) : 0;
}

TEST_F(RecordsetTest, MovesStopAtBothEnds)
{
    data::Recordset rs;
    rs.Open(kMembers, m_conn); // forward-only: still counted exactly
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_FALSE(rs.BOF());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.MoveLast();
    EXPECT_EQ(name(rs), "Dee");
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF());
    EXPECT_EQ(rs.AbsolutePosition(), data::adPosEOF);
    EXPECT_THROW(rs.MoveNext(), data::DataError);
    EXPECT_THROW(rs["Youth_FName"].Value(), data::DataError);
    rs.MovePrevious();
    EXPECT_EQ(name(rs), "Dee");
    rs.Move(-3);
    EXPECT_EQ(name(rs), "Ann");
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF());
    EXPECT_EQ(rs.AbsolutePosition(), data::adPosBOF);
    EXPECT_THROW(rs.MovePrevious(), data::DataError);
    rs.Move(10);
    EXPECT_TRUE(rs.EOF());
    rs.setAbsolutePosition(2);
    EXPECT_EQ(name(rs), "Bob");
}

TEST_F(RecordsetTest, EmptyAndClosedRecordsetsAreAtBothEnds)
{
    data::Recordset empty;
    empty.Open("SELECT * FROM Youth WHERE Youth_ID = 0", m_conn);
    EXPECT_TRUE(empty.EOF());
    EXPECT_TRUE(empty.BOF());
    EXPECT_EQ(empty.RecordCount(), 0);
    empty.MoveFirst(); // nothing to do
    empty.MoveLast();
    EXPECT_THROW(empty.MoveNext(), data::DataError);

    data::Recordset closed;
    EXPECT_TRUE(closed.EOF()); // a loop "until EOF" over a failed open ends
    EXPECT_TRUE(closed.BOF());
    EXPECT_THROW(closed.MoveFirst(), data::DataError);
    EXPECT_THROW(closed.RecordCount(), data::DataError);
}

TEST_F(RecordsetTest, FieldsByNameWithoutRegardToCaseAndByPosition)
{
    m_db.exec("UPDATE Youth SET Youth_Email = 'ann@x.org', Youth_Zip = '02134', Youth_City = '', "
              "Youth_VCall = -1 WHERE Youth_ID = 1");
    data::Recordset rs;
    openMembers(rs);
    EXPECT_EQ(rs["youth_email"].Value(), Variant("ann@x.org"));
    EXPECT_EQ(rs["Youth_EMail"].Value(), Variant("ann@x.org"));
    EXPECT_EQ(rs.Fields(0).Value(), Variant(static_cast<std::int32_t>(m_ann)));
    EXPECT_EQ(rs.Fields("Youth_Zip").Value(), Variant("02134"));
    EXPECT_EQ(rs["Youth_City"].Value(), Variant(""));   // empty text stays empty text
    EXPECT_TRUE(rs["Youth_Address1"].Value().isNull()); // and Null stays Null
    EXPECT_EQ(rs["Youth_VCall"].Value(), Variant(true));
    EXPECT_EQ(number(rs["Youth_VCall"]), -1);
    EXPECT_EQ(rs["Youth_Status"].Value(), Variant(std::int16_t(1)));
    EXPECT_EQ(rs["YouthName"].Value(), Variant("Adams, Ann"));
    EXPECT_THROW(rs["Youth_Nmae"].Value(), data::DataError);
    EXPECT_THROW(rs.Fields(99), data::DataError);
}

TEST_F(RecordsetTest, AddNewThenUpdateReadsBackTheNewIdAndDefaults)
{
    data::Recordset rs;
    openMembers(rs);
    rs.AddNew();
    EXPECT_EQ(rs.EditMode(), data::adEditAdd);
    EXPECT_EQ(number(rs["Youth_ID"]), 0); // no id before the save
    EXPECT_EQ(rs.RecordCount(), 4);       // the pending row is not counted
    rs["Youth_FName"] = "Eve";
    rs["Youth_LName"] = "Evans";
    rs.Update();
    EXPECT_EQ(rs.EditMode(), data::adEditNone);
    EXPECT_EQ(number(rs["Youth_ID"]), 5);
    EXPECT_EQ(rs["YouthName"].Value(), Variant("Evans, Eve"));
    EXPECT_EQ(rs["Youth_Deleted"].Value(), Variant(false));
    EXPECT_TRUE(rs["Youth_Created"].Value().isDate());
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.AbsolutePosition(), 5); // the new row comes last
    EXPECT_EQ(m_db.count("Youth", "Youth_FName = 'Eve'"), 1);
}

TEST_F(RecordsetTest, IdsAreNeverHandedOutTwiceAndCopiedIdsAreKept)
{
    data::Recordset rs;
    rs.Open("SELECT * FROM Youth", m_conn, data::adOpenStatic, data::adLockOptimistic);
    rs.MoveLast();
    rs.Delete(); // Dee, id 4
    rs.AddNew();
    rs["Youth_FName"] = "Fay";
    rs.Update();
    EXPECT_EQ(number(rs["Youth_ID"]), 5);
    rs.AddNew(); // an upgrade copies rows with their ids
    rs["Youth_ID"] = 40;
    rs["Youth_FName"] = "Gil";
    rs.Update();
    EXPECT_EQ(number(rs["Youth_ID"]), 40);
    rs.AddNew();
    rs.Update();
    EXPECT_EQ(number(rs["Youth_ID"]), 41);
    EXPECT_THROW(rs["Youth_ID"] = 7, data::DataError); // a saved row keeps its id
}

TEST_F(RecordsetTest, MovingOffAnEditedRowSavesIt)
{
    data::Recordset rs;
    openMembers(rs);
    QStringList events;
    QObject::connect(&rs, &data::Recordset::willMove, [&](auto) { events << "willMove"; });
    QObject::connect(&rs, &data::Recordset::willChangeRecord, [&](data::EventReasonEnum r) {
        events << QStringLiteral("willChange%1").arg(r);
    });
    QObject::connect(&rs, &data::Recordset::moveComplete, [&](auto) { events << "moveComplete"; });
    rs["Youth_Team"] = "Blue";
    EXPECT_EQ(rs.EditMode(), data::adEditInProgress);
    EXPECT_EQ(m_db.count("Youth", "Youth_Team = 'Blue'"), 0);
    rs.MoveNext();
    EXPECT_EQ(m_db.count("Youth", "Youth_Team = 'Blue'"), 1);
    EXPECT_EQ(events, QStringList({"willChange11", "willMove", "willChange3", "moveComplete"}));
}

TEST_F(RecordsetTest, CancelUpdateUndoesAnEditOrAnAddedRow)
{
    data::Recordset rs;
    openMembers(rs);
    rs.MoveNext();
    rs["Youth_FName"] = "Robert";
    rs.CancelUpdate();
    EXPECT_EQ(name(rs), "Bob");
    rs.AddNew();
    rs["Youth_FName"] = "Zed";
    rs.CancelUpdate();
    EXPECT_EQ(name(rs), "Bob"); // back on the row current before AddNew
    EXPECT_EQ(m_db.count("Youth"), 4);
}

TEST_F(RecordsetTest, DeletedRowStaysCurrentUntilTheNextMove)
{
    data::Recordset rs;
    openMembers(rs);
    rs.MoveNext();
    rs.Delete();
    EXPECT_EQ(m_db.count("Youth", "Youth_ID = " + QString::number(m_bob)), 0);
    EXPECT_FALSE(rs.EOF());
    EXPECT_THROW(rs["Youth_FName"].Value(), data::DataError);
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveNext();
    EXPECT_EQ(name(rs), "Cal");
    rs.MovePrevious();
    EXPECT_EQ(name(rs), "Ann");
}

struct Written {
    const char* field;
    Variant value;
    const char* stored; // read back with plain SQL
};

TEST_F(RecordsetTest, WritesKeepTheStorageConventions)
{
    const Written cases[] = {
        {"Youth_Leader", Variant(static_cast<std::int32_t>(1)), "-1"},
        {"Youth_Leader", Variant::null(), "0"},
        {"Youth_Mail_List", Variant("True"), "-1"},
        {"Youth_Bday", Variant("3/20/2008"), "39527"},
        {"Youth_Bday", Variant(""), "(null)"},
        {"Youth_School_Grade", Variant(9.5), "10"}, // half to even
        {"Youth_School_Grade", Variant(8.5), "8"},
        {"Youth_School_Grade", Variant(32767.0), "32767"}, // a 16-bit field's ends
        {"Youth_School_Grade", Variant("-32768"), "-32768"},
        {"Youth_Zip", Variant("02134"), "02134"},
        {"Youth_City", Variant(""), ""},
    };
    data::Recordset rs;
    openMembers(rs);
    for (const Written& w : cases) {
        rs[w.field] = w.value;
        rs.Update();
        EXPECT_EQ(
            datatest::show(m_db.value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_ID = 1")
                                          .arg(QLatin1String(w.field)))),
            QLatin1String(w.stored))
            << w.field << " " << w.value.debugString().toStdString();
    }
    EXPECT_THROW(rs["Youth_Bday"] = "not a date", data::DataError);
    EXPECT_THROW(rs["Youth_School_Grade"] = 70000, data::DataError);
    EXPECT_THROW(rs["Youth_School_Grade"] = 32768, data::DataError);
    EXPECT_THROW(rs["Youth_Status"] = -32769.0, data::DataError);
    rs.CancelUpdate();
    EXPECT_EQ(m_db.value("SELECT Youth_School_Grade FROM Youth WHERE Youth_ID = 1").number(),
              -32768);
    EXPECT_THROW(rs["YouthName"] = "x", data::DataError); // computed
}

TEST_F(RecordsetTest, MoneyIsRoundedToFourPlaces)
{
    const int week = m_db.addMeeting(QDate(2024, 3, 3));
    data::Recordset rs;
    rs.Open("select Wk_Comments,Wk_Date,Wk_ID,Wk_Offering from Weeks Order by Wk_Date", m_conn,
            data::adOpenDynamic, data::adLockOptimistic);
    rs["Wk_Offering"] = 12.345678;
    rs.UpdateBatch(data::adAffectAll);
    EXPECT_DOUBLE_EQ(
        m_db.value(QStringLiteral("SELECT Wk_Offering FROM Weeks WHERE Wk_ID = %1").arg(week))
            .number(),
        12.3457);
    EXPECT_EQ(rs["Wk_Offering"].Value(), Variant::currency(12.3457));
}

TEST_F(RecordsetTest, OnlyUpdatableRecordsetsWrite)
{
    data::Recordset readOnly;
    openMembers(readOnly, data::adLockReadOnly);
    EXPECT_THROW(readOnly["Youth_Team"] = "Red", data::DataError);
    EXPECT_THROW(readOnly.AddNew(), data::DataError);

    data::Recordset joined;
    joined.Open("SELECT Youth_FName, Attend_Wk_ID FROM Youth INNER JOIN Attendance ON "
                "Youth.Youth_ID = Attendance.Attend_Youth_ID",
                m_conn, data::adOpenStatic, data::adLockOptimistic);
    data::Recordset grouped;
    grouped.Open("SELECT Youth_Status, Count(*) AS n FROM Youth GROUP BY Youth_Status", m_conn,
                 data::adOpenStatic, data::adLockOptimistic);
    EXPECT_THROW(grouped["Youth_Status"] = 1, data::DataError);
}

struct ShowFilter {
    const char* criteria;
    QStringList names;
};

TEST_F(RecordsetTest, FilterShowsTheMatchingRowsAndMovesToTheFirst)
{
    m_db.exec("UPDATE Youth SET Youth_Deleted = -1 WHERE Youth_ID = 4");
    const ShowFilter cases[] = {
        {"Youth_Deleted = False", {"Ann", "Bob", "Cal"}},
        {"(Youth_Deleted = False AND Youth_Status = 1) OR (Youth_Deleted = False AND Youth_Status "
         "= 2)",
         {"Ann", "Bob"}},
        {"Youth_Deleted = False AND Youth_Status = 3", {"Cal"}},
        {"youth_fname = 'DEE' AND Youth_Deleted = True", {"Dee"}},
        {"Youth_LName LIKE 'c*'", {"Cal"}},
        {"", {"Ann", "Bob", "Cal", "Dee"}},
    };
    data::Recordset rs;
    rs.Open("SELECT * FROM Youth ORDER BY Youth_FName", m_conn, data::adOpenStatic,
            data::adLockOptimistic);
    rs.MoveLast();
    for (const ShowFilter& f : cases) {
        rs.setFilter(QString::fromUtf8(f.criteria));
        EXPECT_EQ(rs.AbsolutePosition(), 1) << f.criteria;
        QStringList names;
        for (; !rs.EOF(); rs.MoveNext())
            names << name(rs);
        EXPECT_EQ(names, f.names) << f.criteria;
        EXPECT_EQ(rs.RecordCount(), f.names.size()) << f.criteria;
    }
    EXPECT_THROW(rs.setFilter("Youth_Nmae = 1"), data::DataError);
}

TEST_F(RecordsetTest, BookmarksNameRowsAcrossFiltersAndClones)
{
    data::Recordset rs;
    openMembers(rs);
    rs.setFilter("Youth_Status = 3");
    const Variant cal = rs.Bookmark();
    EXPECT_GT(cal.number(), 0);
    rs.setFilter("");
    rs.setBookmark(cal);
    EXPECT_EQ(name(rs), "Cal");

    // A clone is unfiltered and has its own position; the row it finds is one bookmark away.
    rs.setFilter("Youth_Status = 1 OR Youth_Status = 3");
    auto clone = rs.Clone();
    EXPECT_EQ(clone->RecordCount(), 4);
    clone->Move(0);
    clone->Find(QStringLiteral("Youth_ID = %1").arg(m_cal), 0, data::adSearchForward,
                data::adBookmarkFirst);
    ASSERT_FALSE(clone->EOF());
    rs.setBookmark(clone->Bookmark());
    EXPECT_EQ(name(rs), "Cal");
    clone->MoveFirst();
    rs.setBookmark(clone->Bookmark());
    EXPECT_EQ(name(rs), "Ann");
    clone->MoveNext(); // Bob: hidden by the filter
    EXPECT_THROW(rs.setBookmark(clone->Bookmark()), data::DataError);
}

TEST_F(RecordsetTest, ClonesShareTheRows)
{
    data::Recordset rs;
    openMembers(rs);
    auto clone = rs.Clone();
    rs["Youth_Team"] = "Green";
    rs.Update();
    EXPECT_EQ(clone->Fields("Youth_Team").Value(), Variant("Green"));
    clone->AddNew();
    clone->Fields("Youth_FName") = "Eve";
    clone->Update();
    EXPECT_EQ(rs.RecordCount(), 5);
    rs.MoveLast();
    EXPECT_EQ(name(rs), "Eve");
    clone->MoveFirst();
    clone->Delete();
    EXPECT_EQ(rs.RecordCount(), 4);
}

TEST_F(RecordsetTest, FindSearchesFromTheCurrentRowAndEndsAtEOFWhenNotFound)
{
    const int first = m_db.addMeeting(QDate(2024, 2, 25));
    m_db.addMeeting(QDate(2024, 3, 3));
    m_db.addMeeting(QDate(2024, 3, 3));
    data::Recordset rs;
    rs.Open("SELECT Wk_ID, Wk_Date FROM Weeks ORDER BY Wk_ID", m_conn, data::adOpenStatic,
            data::adLockOptimistic);
    rs.Find("Wk_Date=#3/3/2024#");
    EXPECT_EQ(number(rs["Wk_ID"]), first + 1);
    rs.Find("Wk_Date=#3/3/2024#", 1);
    EXPECT_EQ(number(rs["Wk_ID"]), first + 2);
    rs.Find("Wk_Date=#3/3/2024#", 1);
    EXPECT_TRUE(rs.EOF());
    rs.Find("Wk_Date < #3/1/2024#", 0, data::adSearchBackward, data::adBookmarkLast);
    EXPECT_EQ(number(rs["Wk_ID"]), first);
    rs.Find("Wk_Date = #1/1/2000#", 0, data::adSearchBackward);
    EXPECT_TRUE(rs.BOF());
}

TEST_F(RecordsetTest, RequeryReadsRowsAddedElsewhere)
{
    data::Recordset rs;
    openMembers(rs);
    rs.MoveLast();
    m_db.addPerson("Abe", "Aaron");
    EXPECT_EQ(rs.RecordCount(), 4);
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(name(rs), "Abe");
}

TEST_F(RecordsetTest, OpenRecordsetsLockNothing)
{
    data::Recordset people;
    openMembers(people);
    data::Recordset meetings;
    meetings.Open("SELECT * FROM Weeks", m_conn);
    EXPECT_EQ(m_conn.session()->activeStatementCount(), 0);

    data::Connection other;
    other.Open(m_db.connectionString());
    other.Execute(
        "INSERT INTO Attendance ( Attend_Youth_ID, Attend_Wk_ID ) SELECT 1 AS Expr1, 1 AS Expr2;");
    other.Execute("UPDATE Youth SET Youth_Team = 'Red' WHERE Youth_ID = 2");
    other.Execute("DELETE Attendance.* FROM Attendance WHERE Attend_Wk_ID=1;");
    people["Youth_Team"] = "Blue";
    people.Update();
    EXPECT_EQ(m_db.count("Youth", "Youth_Team IS NOT NULL"), 2);
}

TEST_F(RecordsetTest, RowsStayReadableAfterTheConnectionCloses)
{
    data::Recordset rs;
    openMembers(rs);
    m_conn.Close();
    EXPECT_EQ(name(rs), "Ann");
    rs.MoveNext();
    rs["Youth_Team"] = "Blue";                  // kept in the row...
    EXPECT_THROW(rs.Update(), data::DataError); // ...but cannot reach the file
}

TEST_F(RecordsetTest, ActionStatementOpenedAsRecordsetRunsAndStaysClosed)
{
    data::Recordset rs;
    rs.Open("DELETE Youth_FName FROM Youth WHERE Youth_FName='Dee';", m_conn);
    EXPECT_EQ(rs.State(), data::adStateClosed);
    EXPECT_EQ(m_db.count("Youth"), 3);
}

} // namespace
