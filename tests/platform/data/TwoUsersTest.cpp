// Two users on one data file: each has its own connection and its own recordset over the same
// rows, as two copies of the program have.
#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

using data::Variant;

namespace {

const QString kPeople =
    QStringLiteral("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
                   "Youth_Deleted=False ORDER by Youth_LName, Youth_FName;");

class TwoUsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ann = m_db.addPerson("Ann", "Adams", {{"Youth_HomePhone", "555-0100"}});
        m_bob = m_db.addPerson("Bob", "Brown");
        for (data::Connection* c : {&m_connA, &m_connB})
            c->Open(m_db.connectionString());
        m_a.Open(kPeople, m_connA, data::adOpenStatic, data::adLockOptimistic);
        m_b.Open(kPeople, m_connB, data::adOpenStatic, data::adLockOptimistic);
    }

    QString stored(const char* field, int id)
    {
        return datatest::show(m_db.value(QStringLiteral("SELECT %1 FROM Youth WHERE Youth_ID = %2")
                                             .arg(QLatin1String(field))
                                             .arg(id)));
    }

    // The refusal a save meets when another user changed what it changes.
    static void expectConflict(data::Recordset& rs)
    {
        try {
            rs.Update();
            ADD_FAILURE() << "the save was not refused";
        } catch (const data::DataError& e) {
            EXPECT_TRUE(e.changedByAnotherUser());
            EXPECT_TRUE(e.description().contains(
                QLatin1String("changed by another user since you opened it")));
        }
    }

    testing_support::DataFixture m_db;
    data::Connection m_connA, m_connB;
    data::Recordset m_a, m_b;
    int m_ann = 0, m_bob = 0;
};

TEST_F(TwoUsers, AChangeOverAnotherUsersNewerOneIsRefusedAndKept)
{
    m_a["Youth_HomePhone"] = "555-0111";
    m_a.Update();

    m_b["Youth_HomePhone"] = "555-0122";
    expectConflict(m_b);
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "555-0111");
    // Nothing typed is lost: the change stays pending, also through a move that tries again.
    EXPECT_EQ(m_b.EditMode(), data::adEditInProgress);
    EXPECT_EQ(m_b["Youth_HomePhone"].Value(), Variant("555-0122"));
    EXPECT_THROW(m_b.MoveNext(), data::DataError);
    EXPECT_EQ(m_b["Youth_FName"].Value().text(), "Ann");

    // Cancel shows the row as the file holds it now; the change made again then lands.
    m_b.CancelUpdate();
    EXPECT_EQ(m_b["Youth_HomePhone"].Value(), Variant("555-0111"));
    m_b["Youth_HomePhone"] = "555-0122";
    m_b.Update();
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "555-0122");
}

TEST_F(TwoUsers, AChangeOfLetterCaseOrToNullIsAChangeToo)
{
    data::Recordset c;
    c.Open(kPeople, m_connB, data::adOpenStatic, data::adLockOptimistic);
    m_a["Youth_LName"] = "ADAMS";
    m_a["Youth_HomePhone"] = Variant::null();
    m_a.Update();

    m_b["Youth_LName"] = "Adams-Lee";
    expectConflict(m_b);
    c["Youth_HomePhone"] = "555-0199";
    expectConflict(c);
    EXPECT_EQ(stored("Youth_LName", m_ann), "ADAMS");
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "(null)");
}

TEST_F(TwoUsers, ChangesToOtherFieldsAndOtherRowsAllLand)
{
    m_a["Youth_HomePhone"] = "555-0111";
    m_a.Update();
    m_b["Youth_CellPhone"] = "555-0222"; // same person, another field
    m_b.Update();
    // Both see both changes after their saves.
    EXPECT_EQ(m_b["Youth_HomePhone"].Value(), Variant("555-0111"));

    m_a.MoveNext();
    m_a["Youth_Team"] = "Red";
    m_a.Update();
    m_b.MoveNext();
    m_b["Youth_Team"] = "Blue"; // read as Null, and A made it Red since
    expectConflict(m_b);
    m_b.CancelUpdate();
    m_b["Youth_School"] = "Central";
    m_b.Update();

    EXPECT_EQ(stored("Youth_CellPhone", m_ann), "555-0222");
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "555-0111");
    EXPECT_EQ(stored("Youth_Team", m_bob), "Red");
    EXPECT_EQ(stored("Youth_School", m_bob), "Central");
}

TEST_F(TwoUsers, AStampEverySaveWritesIsNoConflict)
{
    for (data::Recordset* rs : {&m_a, &m_b})
        rs->excludeFromConflictCheck(QStringLiteral("youth_updated"));
    m_a["Youth_HomePhone"] = "555-0111";
    m_a["Youth_Updated"] = testing_support::moment(2024, 5, 15, 10, 0);
    m_a.Update();
    m_b["Youth_CellPhone"] = "555-0222";
    m_b["Youth_Updated"] = testing_support::moment(2024, 5, 15, 10, 5);
    m_b.Update();
    EXPECT_EQ(
        m_db.value(QStringLiteral("SELECT Youth_Updated FROM Youth WHERE Youth_ID = %1").arg(m_ann))
            .number(),
        testing_support::moment(2024, 5, 15, 10, 5).number());
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "555-0111");
}

TEST_F(TwoUsers, SavingARowAnotherUserDeletedFails)
{
    data::Connection other;
    other.Open(m_db.connectionString());
    other.Execute(QStringLiteral("DELETE Youth_FName FROM Youth WHERE Youth_ID=%1;").arg(m_ann));
    m_b["Youth_HomePhone"] = "555-0122";
    try {
        m_b.Update();
        ADD_FAILURE() << "the save of a deleted row was not refused";
    } catch (const data::DataError& e) {
        EXPECT_TRUE(e.removedByAnotherUser());
        EXPECT_EQ(e.description(), data::kRemovedByAnotherUser);
    }
    EXPECT_EQ(m_b.EditMode(), data::adEditInProgress);
    EXPECT_EQ(m_db.count("Youth"), 1);
}

TEST_F(TwoUsers, ARefusedSaveInsideATransactionLeavesTheRestOfItStanding)
{
    m_a["Youth_HomePhone"] = "555-0111";
    m_a.Update();

    data::Transaction tx(m_connB);
    m_connB.Execute(
        QStringLiteral("UPDATE Youth SET Youth_Team='Blue' WHERE Youth_ID=%1").arg(m_bob));
    m_b["Youth_HomePhone"] = "555-0122";
    expectConflict(m_b);
    m_b.CancelUpdate();
    m_b["Youth_CellPhone"] = "555-0222";
    m_b.Update();
    tx.commit();
    EXPECT_EQ(stored("Youth_Team", m_bob), "Blue");
    EXPECT_EQ(stored("Youth_HomePhone", m_ann), "555-0111");
    EXPECT_EQ(stored("Youth_CellPhone", m_ann), "555-0222");
}

} // namespace
