#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/RecordsetMapper.h"
#include "platform/data/RecordsetModel.h"

#include <QCheckBox>
#include <QDataWidgetMapper>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class BoundEditors : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db.addPerson("Ann", "Adams", {{"Youth_Bday", testing_support::day(2008, 3, 20)}});
        m_db.addPerson("Bob", "Brown", {{"Youth_Visitor", true}});
        m_conn.Open(m_db.connectionString());
        m_rs.Open("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth "
                  "ORDER by Youth_LName, Youth_FName;",
                  m_conn, data::adOpenStatic, data::adLockOptimistic);
        data::bindMapper(m_model, m_mapper,
                         {{&m_first, "Youth_FName"},
                          {&m_birthday, "Youth_Bday"},
                          {&m_visitor, "Youth_Visitor"}});
    }

    testing_support::DataFixture m_db;
    data::Connection m_conn;
    data::Recordset m_rs;
    data::RecordsetModel m_model{m_rs};
    QDataWidgetMapper m_mapper;
    QLineEdit m_first;
    QLineEdit m_birthday;
    QCheckBox m_visitor;
};

TEST_F(BoundEditors, FollowTheCurrentRow)
{
    EXPECT_EQ(m_first.text(), "Ann");
    EXPECT_EQ(m_birthday.text(), "3/20/2008");
    EXPECT_FALSE(m_visitor.isChecked());
    m_rs.MoveNext();
    EXPECT_EQ(m_first.text(), "Bob");
    EXPECT_EQ(m_birthday.text(), "");
    EXPECT_TRUE(m_visitor.isChecked());
    EXPECT_EQ(m_rs.EditMode(), data::adEditNone); // showing a row does not edit it
}

TEST_F(BoundEditors, HandTheirTextToTheRowOnMoveAndUpdate)
{
    m_first.setText("Anne");
    m_birthday.setText("4/1/2008");
    m_visitor.setChecked(true);
    m_rs.Move(0);
    EXPECT_EQ(m_rs.EditMode(), data::adEditInProgress);
    m_rs.Update();
    const auto row =
        m_db.rows("SELECT Youth_FName, Youth_Bday, Youth_Visitor FROM Youth WHERE Youth_ID = 1")
            .front();
    EXPECT_EQ(row[0].text(), "Anne");
    EXPECT_EQ(row[1].number(), data::jetdate::fromDate(QDate(2008, 4, 1)));
    EXPECT_EQ(row[2].number(), -1);

    m_rs.AddNew(); // an added row shows in the editors and is written on Update
    EXPECT_EQ(m_first.text(), "");
    m_first.setText("Cy");
    m_rs.Update();
    EXPECT_EQ(m_db.count("Youth", "Youth_FName = 'Cy'"), 1);
}

TEST_F(BoundEditors, TextThatIsNoDateIsNotTaken)
{
    m_birthday.setText("someday");
    m_rs.Update();
    EXPECT_EQ(m_db.value("SELECT Youth_Bday FROM Youth WHERE Youth_ID = 1").number(),
              data::jetdate::fromDate(QDate(2008, 3, 20)));
}

TEST_F(BoundEditors, AWriteForAnotherRowNeverMovesTheRecordset)
{
    // An editor still holding the first row's index after the recordset moved on.
    const QModelIndex stale = m_model.index(0, m_model.fieldIndex(QStringLiteral("Youth_FName")));
    m_rs.MoveNext();
    EXPECT_FALSE(m_model.setData(stale, QStringLiteral("Overwritten"), Qt::EditRole));
    EXPECT_EQ(m_rs.AbsolutePosition(), 2);
    EXPECT_EQ(m_rs.EditMode(), data::adEditNone);
    m_rs.MoveFirst();
    EXPECT_EQ(m_db.count("Youth", "Youth_FName = 'Overwritten'"), 0);
}

} // namespace
