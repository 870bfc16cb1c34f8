#include "reports/frmReports.h"
#include "shell/ProgramState.h"
#include "shell/frmMessage.h"
#include "platform/data/DataError.h"
#include "platform/ui/Twips.h"
#include "platform/report/Registry.h"
#include "tests/reports/ReportsScreenSupport.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>

using namespace reports_test;
using testing_support::DataFixture;

namespace {

class ReportDataTest : public ::testing::Test {
protected:
    void open()
    {
        screen = std::make_unique<frmReports>();
        screen->Load();
        screen->resize(ui::twipsToPixels(10500, screen.get()),
                       ui::twipsToPixels(7200, screen.get()));
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    }

    static QStringList items(QComboBox* l)
    {
        QStringList texts;
        for (int i = 0; i < l->count(); ++i)
            texts << l->itemText(i);
        return texts;
    }

    void chooseBulkEmail()
    {
        chooseReport(*screen, QStringLiteral("Bulk E-mail"));
        ASSERT_EQ(screen->cmdPreview->text(), QStringLiteral("Send E-mail"));
    }

    DataFixture db;
    std::unique_ptr<frmReports> screen;
};

} // namespace

TEST_F(ReportDataTest, TeamSchoolAndMeetingTypeListsComeFromTheDataFile)
{
    db.addPerson("Ann", "Ames", {{"Youth_Team", "Blue"}, {"Youth_School", "Central High"}});
    db.addPerson("Ben", "Bell", {{"Youth_Team", "blue"}, {"Youth_School", " East Middle  "}});
    db.addPerson("Cal", "Cole", {{"Youth_Team", "O'Neil's"}});
    db.addPerson("Dee", "Dunn", {{"Youth_Team", ""}, {"Youth_School", ""}});
    db.addPerson("Eve", "Earl",
                 {{"Youth_Team", "Gone"}, {"Youth_School", "Gone High"}, {"Youth_Deleted", true}});
    db.addPerson("Fay", "Ford", {{"Youth_Team", " Blue "}, {"Youth_School", "east middle"}});
    db.addMeeting(QDate(2024, 3, 3), {{"Wk_Mtg_Type", "Sunday"}});
    db.addMeeting(QDate(2024, 3, 6), {{"Wk_Mtg_Type", "Midweek"}});
    db.addMeeting(QDate(2024, 3, 10), {{"Wk_Mtg_Type", "Sunday"}});
    db.addMeeting(QDate(2024, 3, 13));
    db.addMeeting(QDate(2024, 3, 17), {{"Wk_Mtg_Type", " Sunday"}});
    open();

    // Each value once, trimmed and without regard to case, in alphabetical order.
    EXPECT_EQ(items(list(*screen, fiTeam)), QStringList({"(ANY)", "Blue", "O'Neil's"}));
    EXPECT_EQ(items(list(*screen, fiSchool)),
              QStringList({"(ANY)", "Central High", "East Middle"}));
    EXPECT_EQ(items(list(*screen, fiMtgType)), QStringList({"(ANY)", "Midweek", "Sunday"}));
}

TEST_F(ReportDataTest, ADataFileThatCannotBeReadIsReportedOnceAndRunsNoReport)
{
    const QString missing = testenv::programFile(QStringLiteral("Missing.mdb"));
    program().ConnectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + missing;
    open();
    for (FilterIndex i : {fiTeam, fiSchool, fiMtgType})
        EXPECT_EQ(items(list(*screen, i)), QStringList({"(ANY)"})) << i;
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().text, data::dataFileMissingText(missing));
    EXPECT_FALSE(screen->cmdPreview->isEnabled());
}

TEST_F(ReportDataTest, BulkEmailAddressesEveryoneMatchingOnce)
{
    db.addPerson(
        "Ann", "Ames",
        {{"Youth_Email", "ann@x.org"}, {"Youth_Mail_List", true}, {"Youth_Team", "O'Neil's"}});
    db.addPerson("Abe", "Ames",
                 {{"Youth_Email", "ANN@x.org"}, {"Youth_Mail_List", true}}); // same family
    db.addPerson(
        "Ben", "Bell",
        {{"Youth_Email", "ben#2@y.org"}, {"Youth_Mail_List", true}, {"Youth_Team", "O'Neil's"}});
    db.addPerson("Cal", "Cole", {{"Youth_Email", "cal@z.org"}, {"Youth_Mail_List", false}});
    db.addPerson("Dee", "Dunn", {{"Youth_Email", ""}, {"Youth_Mail_List", true}});
    db.addPerson("Eve", "Earl", {{"Youth_Mail_List", true}});
    db.addPerson(
        "Fay", "Ford",
        {{"Youth_Email", "fay@x.org"}, {"Youth_Mail_List", true}, {"Youth_Deleted", true}});
    int layouts = 0;
    report::registerLayout(QStringLiteral("<<e-mail>"), [&] {
        ++layouts;
        return std::shared_ptr<report::Report>();
    });
    open();

    chooseBulkEmail();
    chooseItem(list(*screen, fiMailList), QStringLiteral("Yes"));
    click(screen->cmdPreview);
    ASSERT_EQ(testenv::shell().opened.size(), 1);
    const QString link = testenv::shell().opened.front();
    EXPECT_TRUE(link == QStringLiteral("mailto:ann@x.org;%20ben%232@y.org;%20") ||
                link == QStringLiteral("mailto:ANN@x.org;%20ben%232@y.org;%20"))
        << link.toStdString();
    // Nothing is cleared after an e-mail: a second click sends the same selection.
    EXPECT_EQ(program().ReportFilter, QStringLiteral("Youth_Mail_List=-1"));
    EXPECT_EQ(list(*screen, fiMailList)->currentText(), QStringLiteral("Yes"));
    EXPECT_EQ(layouts, 0);

    // A team with an apostrophe goes into the query safely.
    chooseItem(list(*screen, fiMailList), QStringLiteral("(ANY)"));
    chooseItem(list(*screen, fiTeam), QStringLiteral("O'Neil's"));
    click(screen->cmdPreview);
    ASSERT_EQ(testenv::shell().opened.size(), 2);
    EXPECT_EQ(testenv::shell().opened.back(),
              QStringLiteral("mailto:ann@x.org;%20ben%232@y.org;%20"));
    EXPECT_TRUE(testenv::messages().shown().empty());
    report::unregisterLayout(QStringLiteral("<<e-mail>"));
}

TEST_F(ReportDataTest, BulkEmailFallsBackToTheMessageWindow)
{
    db.addPerson("Ann", "Ames", {{"Youth_Email", "ann@x.org"}, {"Youth_Status", 1}});
    db.addPerson("Ben", "Bell", {{"Youth_Email", "ben@y.org"}, {"Youth_Status", 3}});
    open();
    testenv::shell().succeed = false;
    chooseBulkEmail();
    click(screen->cmdPreview);
    auto* window = screen->findChild<frmMessage*>(QStringLiteral("frmMessage"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->txtContent->toPlainText(), QStringLiteral("ann@x.org; ben@y.org; "));

    chooseItem(list(*screen, fiStatus), QStringLiteral("Inactive"));
    click(screen->cmdPreview);
    EXPECT_EQ(window->txtContent->toPlainText(), QStringLiteral("ben@y.org; "));
    EXPECT_EQ(program().BulkEmailList, QStringLiteral("ben@y.org; "));

    chooseItem(list(*screen, fiStatus), QStringLiteral("Away/Active"));
    click(screen->cmdPreview);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("No matching e-mail addresses"));
    EXPECT_EQ(program().BulkEmailList, QString());
}

TEST_F(ReportDataTest, BulkEmailSaysWhenTheDataCannotBeRead)
{
    db.addPerson("Ann", "Ames", {{"Youth_Email", "ann@x.org"}});
    open();
    program().ConnectionString = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                                 testenv::programFile(QStringLiteral("Missing.mdb"));
    chooseBulkEmail();
    click(screen->cmdPreview);
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(
        QStringLiteral("The e-mail addresses could not be read from the data file.")));
    EXPECT_TRUE(testenv::shell().opened.isEmpty());
}
