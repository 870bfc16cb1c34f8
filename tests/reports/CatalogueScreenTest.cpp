#include "reports/clsReports.h"
#include "reports/frmReports.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Twips.h"
#include "tests/reports/ReportsScreenSupport.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace reports_test;

namespace {

class CatalogueScreenTest : public ::testing::Test {
protected:
    testing_support::DataFixture db; // a data file the screen can read

    void SetUp() override { open(); }

    void open()
    {
        screen = std::make_unique<frmReports>();
        screen->Load();
        screen->resize(ui::twipsToPixels(10500, screen.get()),
                       ui::twipsToPixels(7200, screen.get()));
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    }

    // The offered filters in column order, by caption, as the screen shows them.
    QStringList shownFilters() const
    {
        std::vector<std::pair<int, QString>> shown;
        for (int i = 0; i < kFilterListCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            EXPECT_EQ(screen->Select_Filter[k]->isHidden(), screen->lblLabels[k]->isHidden()) << i;
            if (!screen->Select_Filter[k]->isHidden())
                shown.emplace_back(screen->Select_Filter[k]->y(), screen->lblLabels[k]->text());
        }
        if (!screen->Text_Filter[0]->isHidden())
            shown.emplace_back(screen->Text_Filter[0]->y(), screen->Text_Filter_Label[0]->text());
        std::sort(shown.begin(), shown.end());
        QStringList captions;
        for (const auto& s : shown)
            captions << s.second;
        return captions;
    }

    QString options() const
    {
        QStringList shown;
        if (!screen->txtLine1->isHidden())
            shown << QStringLiteral("labels");
        if (!screen->chkBarcode->isHidden())
            shown << QStringLiteral("barcodes");
        if (!screen->SignUpPanel->isHidden())
            shown << QStringLiteral("event");
        return shown.join(QLatin1Char(','));
    }

    int twips(int pixels) const
    {
        return static_cast<int>(std::lround(ui::pixelsToTwips(pixels, screen.get())));
    }

    std::unique_ptr<frmReports> screen;
};

const QStringList kPeople = {
    "Status:", "Team:", "Visitor:", "Mail List:", "School:", "Grade:", "Gender:"};
const QStringList kRoll = {"Team:", "Include:", "School:", "Grade:", "Gender:"};

} // namespace

TEST_F(CatalogueScreenTest, EveryEntryShowsItsDescriptionFiltersAndOptions)
{
    const struct {
        const char* title;
        const char* description;
        QStringList filters;
        const char* options;
        const char* run; // "" for a hidden run button
    } entries[] = {
        {"Attendance Summary",
         "See a graph of attendance per week as well as a breakdown of visitors.",
         {"Team:", "Year:", "School:", "Grade:", "Gender:", "Mtg Type:"},
         "",
         "View Report"},
        {"Birthdays", "View members' birthdays.", kPeople, "", "View Report"},
        {"Group Stats",
         "A summary of your group in statistics, charts and graphs.",
         {},
         "",
         "View Report"},
        {"Mailing Labels (Avery 5260)",
         "Print mailing labels to use on newsletters, etc.",
         {"Status:", "Team:", "Visitor:", "School:", "Grade:", "Gender:"},
         "labels",
         "View Report"},
        {"Member Directory", "A directory suitable for giving out to everyone in the group.",
         kPeople, "", "View Report"},
        {"Missing Data", "See where you are missing an address, phone number or birthday.", kPeople,
         "", "View Report"},
        {"Missing in Action List",
         "See a list of all Active people who haven't been around in a while.",
         {"Team:", "Visitor:", "Mail List:", "School:", "Grade:", "Gender:"},
         "",
         "View Report"},
        {"Offering Summary",
         "See a YTD total offering, as well as a breakdown by weeks and months.",
         {"Year:", "Mtg Type:"},
         "",
         "View Report"},
        {"Photo Directory", "A directory containing photos and basic contact information.", kPeople,
         "barcodes", "View Report"},
        {"Roll Sheet", "A blank roll sheet for taking with you to services/meetings.", kRoll,
         "barcodes", "View Report"},
        {"Schools", "View members grouped by school and grade level.", kPeople, "", "View Report"},
        {"Sign-Up Sheet",
         "Print a blank sign-up sheet for an upcoming event.",
         {},
         "event",
         "View Report"},
        {"Team Roster", "A roll sheet subdivided by team. Useful for evangelism programs.", kRoll,
         "", "View Report"},
        {"Visitor Cards",
         "Cut these cards out and use them at your services.",
         {},
         "",
         "View Report"},
        {"Visitors List",
         "A list of visitors and a checklist for each one.",
         {"First Attended:"},
         "",
         "View Report"},
        {"---------------", "", {}, "", ""},
        {"Bulk E-mail",
         "Not really a report.  Use this selection to send e-mail to mulitple people at once.",
         kPeople, "", "Send E-mail"},
    };
    ASSERT_EQ(screen->ReportList->count(), 17);
    for (int row = 0; row < 17; ++row) {
        const auto& e = entries[row];
        SCOPED_TRACE(e.title);
        EXPECT_EQ(screen->ReportList->item(row)->text(), QString::fromUtf8(e.title));
        chooseReport(*screen, QString::fromUtf8(e.title));
        EXPECT_EQ(screen->DescPanel->Caption(), QString::fromUtf8(e.description));
        EXPECT_EQ(shownFilters(), e.filters);
        EXPECT_EQ(options(), QString::fromUtf8(e.options));
        EXPECT_EQ(screen->cmdPreview->isHidden(), *e.run == 0);
        if (*e.run) {
            EXPECT_EQ(screen->cmdPreview->text(), QString::fromUtf8(e.run));
        }
        EXPECT_EQ(settings().ReportListIndex(), row);
        // The options that belong together show together.
        EXPECT_EQ(screen->lblBarcode->isHidden(), screen->chkBarcode->isHidden());
        for (QWidget* w :
             {static_cast<QWidget*>(screen->lblLine1),
              static_cast<QWidget*>(screen->lblLine1Example),
              static_cast<QWidget*>(screen->lblCombine), static_cast<QWidget*>(screen->chkCombine),
              static_cast<QWidget*>(screen->Select_Sort),
              static_cast<QWidget*>(screen->Select_Sort_Label)})
            EXPECT_EQ(w->isHidden(), screen->txtLine1->isHidden()) << w->objectName().toStdString();
    }
}

TEST_F(CatalogueScreenTest, CatalogueKeepsTheLayoutNames)
{
    const clsReports& reports = screen->Reports();
    ASSERT_EQ(reports.Count(), 17);
    const char* const names[] = {"rptAttendance", "rptBirthdays",   "rptGrpStats",    "rptLabels",
                                 "rptDirectory",  "rptMissingData", "rptMissingData", "rptOffering",
                                 "rptPhotoDir",   "rptRollSheet",   "rptBirthdays",   "rptSignUp",
                                 "rptTeamRoster", "rptVisitorCard", "rptVisitors",    "",
                                 "<<e-mail>"};
    int row = 0;
    for (const clsReport& entry : reports) {
        EXPECT_EQ(entry.ObjectName, QString::fromUtf8(names[row])) << row;
        EXPECT_EQ(&reports.Item(entry.Title), &reports.Item(row)) << row;
        EXPECT_FALSE(entry.FilterSchoolType || entry.FilterLeader || entry.FilterDrama ||
                     entry.FilterMusic);
        ++row;
    }
    EXPECT_EQ(reports.Item(QStringLiteral("Roll Sheet")).DefaultInclude, 1);
    EXPECT_EQ(reports.Item(QStringLiteral("Bulk E-mail")).DefaultMailList, 99);
}

TEST_F(CatalogueScreenTest, FirstVisitOpensOnAttendanceSummaryWithTheColumnInPlace)
{
    EXPECT_EQ(screen->ReportList->currentRow(), 0);
    EXPECT_EQ(screen->ReportList->currentItem()->text(), QStringLiteral("Attendance Summary"));
    const FilterIndex order[] = {fiTeam, fiYear, fiSchool, fiGrade, fiGender, fiMtgType};
    int top = 180;
    for (FilterIndex i : order) {
        QComboBox* l = list(*screen, i);
        EXPECT_EQ(l->geometry().topLeft(), QPoint(ui::twipsToPixels(1380, screen.get()),
                                                  ui::twipsToPixels(top, screen.get())))
            << i;
        const QLabel* caption = screen->lblLabels[i];
        EXPECT_EQ(caption->geometry().bottom(), l->geometry().bottom()) << i;
        EXPECT_EQ(caption->geometry().right() + 1, ui::twipsToPixels(1330, screen.get())) << i;
        top += 380;
    }
    EXPECT_EQ(list(*screen, fiYear)->currentText(), QStringLiteral("2024"));
    EXPECT_EQ(list(*screen, fiTeam)->currentText(), QStringLiteral("(ANY)"));
    EXPECT_EQ(list(*screen, fiMtgType)->currentText(), QStringLiteral("(ANY)"));
}

TEST_F(CatalogueScreenTest, ListsHoldTheirItems)
{
    const auto items = [&](QComboBox* l) {
        QStringList texts;
        for (int i = 0; i < l->count(); ++i)
            texts << QStringLiteral("%1=%2").arg(l->itemText(i)).arg(l->itemData(i).toInt());
        return texts.join(QLatin1Char(' '));
    };
    EXPECT_EQ(items(list(*screen, fiStatus)),
              QStringLiteral("(ANY)=0 Active=1 Away/Active=2 Inactive=3"));
    EXPECT_EQ(items(list(*screen, fiSchoolType)), QString());
    for (FilterIndex i : {fiLeader, fiVisitor, fiMailList, fiDrama, fiMusic})
        EXPECT_EQ(items(list(*screen, i)), QStringLiteral("(ANY)=0 Yes=-1 No=0")) << i;
    EXPECT_EQ(items(list(*screen, fiInclude)), QStringLiteral("Active Only=1 All=0"));
    EXPECT_EQ(items(list(*screen, fiGender)), QStringLiteral("(ANY)=0 Male=1 Female=2"));
    EXPECT_EQ(items(screen->Select_Sort), QStringLiteral("Last Name=0 Zip Code=1"));

    QComboBox* years = list(*screen, fiYear);
    ASSERT_EQ(years->count(), 26); // 2024 down to 1999
    EXPECT_EQ(years->itemText(25), QStringLiteral("1999"));
    EXPECT_EQ(years->itemData(25).toInt(), 25);
    QComboBox* grades = list(*screen, fiGrade);
    ASSERT_EQ(grades->count(), 19);
    EXPECT_EQ(grades->itemText(18), QStringLiteral("18"));
    EXPECT_EQ(grades->itemData(18).toInt(), 18);
    const QStringList captions = {
        "Status:", "Team:",    "School Type:", "Leader:", "Visitor:", "Mail List:", "Drama:",
        "Music:",  "Include:", "Year:",        "School:", "Grade:",   "Gender:",    "Mtg Type:"};
    for (int i = 0; i < kFilterListCount; ++i) {
        const auto* caption = screen->findChild<QLabel*>(QStringLiteral("lblLabels(%1)").arg(i));
        ASSERT_NE(caption, nullptr) << i;
        EXPECT_EQ(caption->text(), captions[i]);
        EXPECT_NE(screen->findChild<QComboBox*>(QStringLiteral("Select_Filter(%1)").arg(i)),
                  nullptr);
    }
}

TEST_F(CatalogueScreenTest, ChoosingAnotherEntryClearsTheFiltersButNotTheOptions)
{
    chooseReport(*screen, QStringLiteral("Mailing Labels (Avery 5260)"));
    chooseItem(list(*screen, fiStatus), QStringLiteral("Inactive"));
    chooseItem(list(*screen, fiGender), QStringLiteral("Female"));
    chooseItem(screen->Select_Sort, QStringLiteral("Zip Code"));
    typeInto(screen->txtLine1, QStringLiteral("To the Parents of"));
    click(screen->chkCombine);

    chooseReport(*screen, QStringLiteral("Roll Sheet"));
    EXPECT_EQ(list(*screen, fiInclude)->currentText(), QStringLiteral("Active Only"));
    EXPECT_EQ(list(*screen, fiGender)->currentText(), QStringLiteral("(ANY)"));
    EXPECT_EQ(list(*screen, fiStatus)->currentIndex(), 0);
    chooseReport(*screen, QStringLiteral("Mailing Labels (Avery 5260)"));
    EXPECT_EQ(screen->Select_Sort->currentText(), QStringLiteral("Last Name"));
    EXPECT_EQ(screen->txtLine1->text(), QStringLiteral("To the Parents of"));
    EXPECT_TRUE(screen->chkCombine->isChecked());
}

TEST_F(CatalogueScreenTest, VisitorsListOffersTodayAndClearFiltersEmptiesIt)
{
    chooseReport(*screen, QStringLiteral("Visitors List"));
    EXPECT_EQ(screen->Text_Filter[0]->text(), QStringLiteral("5/15/2024"));
    EXPECT_EQ(screen->Text_Filter[0]->y(), ui::twipsToPixels(180, screen.get()));

    chooseReport(*screen, QStringLiteral("Offering Summary"));
    chooseItem(list(*screen, fiYear), QStringLiteral("2021"));
    click(screen->cmdReset);
    EXPECT_EQ(list(*screen, fiYear)->currentText(), QStringLiteral("2024"));
    EXPECT_TRUE(screen->Text_Filter[0]->text().isEmpty());

    chooseReport(*screen, QStringLiteral("Visitors List"));
    click(screen->cmdReset);
    EXPECT_TRUE(screen->Text_Filter[0]->text().isEmpty()); // not refilled
    EXPECT_FALSE(screen->Text_Filter[0]->isHidden());
}

TEST_F(CatalogueScreenTest, AFreshScreenReopensOnTheRowChosenLast)
{
    chooseReport(*screen, QStringLiteral("Schools"));
    chooseItem(list(*screen, fiTeam), QStringLiteral("(ANY)"));
    chooseItem(list(*screen, fiGrade), QStringLiteral("9"));
    screen->Unload();
    screen.reset();

    open();
    EXPECT_EQ(screen->ReportList->currentItem()->text(), QStringLiteral("Schools"));
    EXPECT_EQ(list(*screen, fiGrade)->currentIndex(), 0);
    EXPECT_EQ(screen->DescPanel->Caption(),
              QStringLiteral("View members grouped by school and grade level."));
}

TEST_F(CatalogueScreenTest, ResizingKeepsTheDescriptionDownAndTheRunButtonCentred)
{
    screen->resize(ui::twipsToPixels(12000, screen.get()), ui::twipsToPixels(9000, screen.get()));
    const int h = twips(screen->height());
    const int w = twips(screen->width());
    EXPECT_NEAR(twips(screen->DescPanel->y()), h - 1095 - 600, 15);
    EXPECT_NEAR(twips(screen->ReportList->height()), twips(screen->DescPanel->y()) - 660 - 300, 15);
    EXPECT_NEAR(twips(screen->FilterPanel->width()), w - 3120 - 300, 15);
    const QRect panel = screen->FilterPanel->geometry();
    const QRect run = screen->cmdPreview->geometry();
    EXPECT_LE(std::abs((run.left() - panel.left()) - (panel.right() - run.right())), 2);
    EXPECT_EQ(run.top(), ui::twipsToPixels(5880, screen.get()));

    // A content area smaller than the fixed parts.
    screen->resize(10, 10);
    EXPECT_GE(screen->ReportList->height(), 0);
    EXPECT_GE(screen->FilterPanel->width(), 0);
    EXPECT_EQ(screen->ReportList->currentRow(), 0);
}

TEST(clsReports, KeysAreUniqueAndLookupsFailLoudly)
{
    clsReports reports;
    clsReport& a = reports.Add(QStringLiteral("A"), QStringLiteral("rptA"), QStringLiteral("first"),
                               QStringLiteral("A"));
    reports.Add(QStringLiteral("Unkeyed"), QString(), QString(), QString());
    reports.Add(QStringLiteral("B"), QStringLiteral("rptB"), QString(), QStringLiteral("B"));
    EXPECT_EQ(a.Title, QStringLiteral("A"));
    EXPECT_EQ(a.ObjectName, QStringLiteral("rptA"));
    EXPECT_EQ(a.Description, QStringLiteral("first"));
    EXPECT_THROW(reports.Add(QStringLiteral("A2"), QString(), QString(), QStringLiteral("a")),
                 std::invalid_argument);
    EXPECT_EQ(reports.Count(), 3);
    EXPECT_THROW(reports.Item(QStringLiteral("C")), std::out_of_range);
    EXPECT_THROW(reports.Item(QStringLiteral("Unkeyed")), std::out_of_range);
    EXPECT_THROW(reports.Item(3), std::out_of_range);
    reports.Remove(QStringLiteral("A"));
    EXPECT_EQ(reports.Item(0).Title, QStringLiteral("Unkeyed"));
    EXPECT_EQ(reports.Item(QStringLiteral("B")).ObjectName, QStringLiteral("rptB"));
    reports.Add(QStringLiteral("A"), QString(), QString(), QStringLiteral("A"));
    QStringList order;
    for (const clsReport& r : reports)
        order << r.Title;
    EXPECT_EQ(order, QStringList({"Unkeyed", "B", "A"}));
}
