#include "reports/frmCustomActiveReportsPreview.h"
#include "reports/frmReports.h"
#include "reports/Registration.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/frmMainMDI.h"
#include "platform/report/Registry.h"
#include "platform/report/ReportViewer.h"
#include "tests/reports/ReportsScreenSupport.h"
#include "tests/support/DataFixture.h"
#include "tests/support/ScreenDoubles.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace reports_test;

namespace {

// The hand-over values as a layout saw them while it was created.
struct Seen {
    int created = 0;
    QString filter, sort, option, line1, line2;
    bool combine = false;
};

class ProbeLayout : public report::Report {
public:
    ProbeLayout(Seen& seen, const QString& caption)
    {
        const ProgramState& p = program();
        ++seen.created;
        seen.filter = p.ReportFilter;
        seen.sort = p.ReportSort;
        seen.option = p.ReportOption;
        seen.line1 = p.ReportLine1;
        seen.line2 = p.ReportLine2;
        seen.combine = p.ReportCombineAddresses;
        setCaption(caption);
    }
};

// A layout registered under a name for one test.
class Registered {
public:
    Registered(const QString& name, report::LayoutFactory factory) : m_name(name)
    {
        report::registerLayout(name, std::move(factory));
    }
    ~Registered() { report::unregisterLayout(m_name); }

private:
    QString m_name;
};

class RunReportTest : public ::testing::Test {
protected:
    testing_support::DataFixture db; // a data file the screen can read

    void SetUp() override
    {
        ScreenRegistry::registerScreen(QStringLiteral("frmReports"), [] { return new frmReports; });
        ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                       [] { return new frmCustomActiveReportsPreview; });
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
        main().resize(1100, 700);
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
        main().ClickNode(5);
        ASSERT_NE(screen(), nullptr);
    }

    frmMainMDI& main() { return *program().MainForm; }
    frmReports* screen() { return qobject_cast<frmReports*>(main().CurrentForm()); }
    QString title() { return main().TitlePanelInner->Caption(); }

    // Registers a probe layout under a name.
    Registered probe(const QString& name, Seen& seen)
    {
        return Registered(
            name, [&seen] { return std::make_shared<ProbeLayout>(seen, QStringLiteral("Probe")); });
    }

    void run(frmReports& s) { click(s.cmdPreview); }

    void closePreview()
    {
        auto* preview = qobject_cast<frmCustomActiveReportsPreview*>(main().CurrentForm());
        ASSERT_NE(preview, nullptr);
        preview->arvPreview->tools().find(QStringLiteral("Close"))->action()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void expectOneShotValuesCleared()
    {
        EXPECT_EQ(program().ReportFilter, QString());
        EXPECT_EQ(program().ReportSort, QString());
        EXPECT_EQ(program().ReportOption, QString());
    }

    testing_support::RecordingScreens screens; // the other nodes
};

} // namespace

TEST_F(RunReportTest, MemberDirectoryRunsWithItsFilterAndReturnsToAFreshCatalogue)
{
    Seen seen;
    const Registered layout = probe(QStringLiteral("rptDirectory"), seen);
    frmReports* reports = screen();
    chooseReport(*reports, QStringLiteral("Member Directory"));
    chooseItem(list(*reports, fiStatus), QStringLiteral("Active"));
    chooseItem(list(*reports, fiTeam), QStringLiteral("(ANY)"));
    chooseItem(list(*reports, fiGender), QStringLiteral("Female"));
    run(*reports);

    EXPECT_EQ(seen.created, 1);
    EXPECT_EQ(seen.filter, QStringLiteral("Youth_Status=1 AND Youth_Sex=2"));
    EXPECT_EQ(seen.option, QString());
    EXPECT_EQ(title(), QStringLiteral("  Report Preview - Probe"));
    EXPECT_NE(qobject_cast<frmCustomActiveReportsPreview*>(main().CurrentForm()), nullptr);
    expectOneShotValuesCleared();
    EXPECT_EQ(list(*reports, fiStatus)->currentIndex(), 0); // the covered screen's filters
    EXPECT_EQ(list(*reports, fiGender)->currentIndex(), 0);
    EXPECT_TRUE(testenv::messages().shown().empty());

    QPointer<frmReports> old = reports;
    closePreview();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(screen()->ReportList->currentItem()->text(), QStringLiteral("Member Directory"));
    EXPECT_EQ(list(*screen(), fiStatus)->currentText(), QStringLiteral("(ANY)"));
    EXPECT_FALSE(list(*screen(), fiStatus)->isHidden());

    // And once more from the fresh screen.
    run(*screen());
    EXPECT_EQ(seen.created, 2);
    EXPECT_EQ(seen.filter, QString());
}

TEST_F(RunReportTest, MailingLabelsHandOverLineSortAndCombine)
{
    Seen seen;
    const Registered layout = probe(QStringLiteral("rptLabels"), seen);
    frmReports* reports = screen();
    chooseReport(*reports, QStringLiteral("Mailing Labels (Avery 5260)"));
    chooseItem(reports->Select_Sort, QStringLiteral("Zip Code"));
    typeInto(reports->txtLine1, QStringLiteral("To the Parents of"));
    click(reports->chkCombine);
    run(*reports);

    EXPECT_EQ(seen.sort, QStringLiteral("Youth_Zip, Youth_LName, Youth_FName"));
    EXPECT_EQ(seen.line1, QStringLiteral("To the Parents of"));
    EXPECT_TRUE(seen.combine);
    EXPECT_EQ(seen.filter, QString());
    expectOneShotValuesCleared();
    EXPECT_EQ(program().ReportLine1, QStringLiteral("To the Parents of")); // kept
    EXPECT_TRUE(program().ReportCombineAddresses);
    EXPECT_EQ(reports->Select_Sort->currentIndex(), 0);

    closePreview();
    click(screen()->chkCombine);
    click(screen()->chkCombine); // ticked and unticked again
    run(*screen());
    EXPECT_EQ(seen.sort, QStringLiteral("Youth_LName, Youth_FName"));
    EXPECT_EQ(seen.line1, QString());
    EXPECT_FALSE(seen.combine);
}

TEST_F(RunReportTest, BarcodeOptionLastsForOneRun)
{
    Seen photo, roll;
    const Registered a = probe(QStringLiteral("rptPhotoDir"), photo);
    const Registered b = probe(QStringLiteral("rptRollSheet"), roll);
    chooseReport(*screen(), QStringLiteral("Photo Directory"));
    click(screen()->chkBarcode);
    run(*screen());
    EXPECT_EQ(photo.option, QStringLiteral("BARCODE"));
    expectOneShotValuesCleared();

    closePreview();
    chooseReport(*screen(), QStringLiteral("Roll Sheet"));
    EXPECT_FALSE(screen()->chkBarcode->isChecked());
    // Run with the screen out of view: what the catalogue shows still decides the filter.
    main().hide();
    run(*screen());
    EXPECT_EQ(roll.created, 1);
    EXPECT_EQ(roll.option, QString());
    EXPECT_EQ(roll.filter, QStringLiteral("Youth_Status=1"));
}

TEST_F(RunReportTest, SharedLayoutsSeeOnlyTheirOwnOption)
{
    Seen missing, birthdays;
    const Registered a = probe(QStringLiteral("rptMissingData"), missing);
    const Registered b = probe(QStringLiteral("rptBirthdays"), birthdays);
    const struct {
        const char* title;
        Seen& seen;
        const char* option;
    } runs[] = {
        {"Missing in Action List", missing, "MIA"},
        {"Missing Data", missing, ""},
        {"Schools", birthdays, "SCHOOL"},
        {"Birthdays", birthdays, ""},
    };
    for (const auto& r : runs) {
        chooseReport(*screen(), QString::fromUtf8(r.title));
        run(*screen());
        EXPECT_EQ(r.seen.option, QString::fromUtf8(r.option)) << r.title;
        expectOneShotValuesCleared();
        closePreview();
    }
    EXPECT_EQ(missing.created, 2);
    EXPECT_EQ(birthdays.created, 2);
}

TEST_F(RunReportTest, SignUpSheetHandsOverBothEventTextsEvenWhenEmpty)
{
    Seen seen;
    const Registered layout = probe(QStringLiteral("rptSignUp"), seen);
    program().ReportLine1 = QStringLiteral("from an earlier run");
    program().ReportLine2 = QStringLiteral("from an earlier run");
    chooseReport(*screen(), QStringLiteral("Sign-Up Sheet"));
    run(*screen());
    EXPECT_EQ(seen.line1, QString());
    EXPECT_EQ(seen.line2, QString());
    closePreview();

    chooseReport(*screen(), QStringLiteral("Sign-Up Sheet"));
    typeInto(screen()->txtEventName, QStringLiteral("Winter Retreat"));
    typeInto(screen()->txtEventDetails, QStringLiteral("Feb 3-5, Camp Pinewood"));
    run(*screen());
    EXPECT_EQ(seen.line1, QStringLiteral("Winter Retreat"));
    EXPECT_EQ(seen.line2, QStringLiteral("Feb 3-5, Camp Pinewood"));
}

TEST_F(RunReportTest, AFailingLayoutLeavesNothingBehind)
{
    Seen seen;
    const Registered failing(
        QStringLiteral("rptMissingData"), [&]() -> std::shared_ptr<report::Report> {
            if (program().ReportOption == QLatin1String("MIA"))
                throw std::runtime_error("The query could not be run.");
            return std::make_shared<ProbeLayout>(seen, QStringLiteral("Missing Data"));
        });
    frmReports* reports = screen();
    chooseReport(*reports, QStringLiteral("Missing in Action List"));
    chooseItem(list(*reports, fiGrade), QStringLiteral("10"));
    run(*reports);

    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("Corvessa"));
    EXPECT_TRUE(testenv::messages().last().text.contains(QStringLiteral("Missing in Action List")));
    EXPECT_TRUE(
        testenv::messages().last().text.contains(QStringLiteral("The query could not be run.")));
    EXPECT_EQ(screen(), reports); // still on the catalogue
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
    expectOneShotValuesCleared();
    EXPECT_EQ(list(*reports, fiGrade)->currentIndex(), 0);

    chooseReport(*reports, QStringLiteral("Missing Data"));
    run(*reports);
    EXPECT_EQ(seen.created, 1);
    EXPECT_EQ(seen.option, QString());
    EXPECT_EQ(seen.filter, QString());
}

TEST_F(RunReportTest, AReportWithoutItsLayoutYetSaysSo)
{
    Seen seen;
    const Registered other = probe(QStringLiteral("rptDirectory"), seen);
    frmReports* reports = screen();
    chooseReport(*reports, QStringLiteral("Offering Summary"));
    chooseItem(list(*reports, fiYear), QStringLiteral("2020"));
    run(*reports);

    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Information);
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral("The report \"Offering Summary\" is not available yet."));
    EXPECT_EQ(screen(), reports);
    expectOneShotValuesCleared();
    EXPECT_EQ(list(*reports, fiYear)->currentText(), QStringLiteral("2024"));
    EXPECT_EQ(seen.created, 0);
}

TEST_F(RunReportTest, ALayoutFactoryGivingNothingIsAFailure)
{
    const Registered empty(QStringLiteral("rptVisitorCard"),
                           [] { return std::shared_ptr<report::Report>(); });
    chooseReport(*screen(), QStringLiteral("Visitor Cards"));
    run(*screen());
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(title(), QStringLiteral("  Reports"));
}

TEST_F(RunReportTest, TheListEntriesOpenTheirLayoutsInThePreview)
{
    QFile::remove(testenv::programFile(QStringLiteral("CorvessaData.mdb")));
    testing_support::DataFixture db;
    db.addPerson("Vic", "Visitor",
                 {{"Youth_Visitor", true},
                  {"Youth_Status", std::int16_t(1)},
                  {"Youth_Last_Attended", testing_support::day(2024, 1, 7)}});
    RegisterReports();

    struct Case {
        const char* title;
        const char* caption;
        const char* line1; // the first control the layout fills
        const char* text;
    };
    const Case cases[] = {
        {"Birthdays", "Birthdays", "MonthLabel", "Members with unknown birthdays"},
        {"Schools", "Schools", "MonthLabel", "Members not asigned to a school"},
        {"Visitors List", "Visitor Checklist", "txtYouthName", "Vic Visitor"},
        {"Missing Data", "Missing Data", "txtYouthName", "Vic Visitor"},
        {"Missing in Action List", "Missing in Action", "txtYouthName", "Vic Visitor"},
        {"Sign-Up Sheet", "Sign-Up Sheet", "EventName", "Winter Retreat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        chooseReport(*screen(), QString::fromUtf8(c.title));
        if (QString::fromUtf8(c.title) == QLatin1String("Visitors List"))
            typeInto(screen()->Text_Filter[0], QString()); // every visitor
        if (QString::fromUtf8(c.title) == QLatin1String("Sign-Up Sheet"))
            typeInto(screen()->txtEventName, QStringLiteral("Winter Retreat"));
        run(*screen());

        EXPECT_TRUE(testenv::messages().shown().empty())
            << testenv::messages().texts().join(' ').toStdString();
        EXPECT_EQ(title(), QStringLiteral("  Report Preview - ") + QString::fromUtf8(c.caption));
        auto* preview = qobject_cast<frmCustomActiveReportsPreview*>(main().CurrentForm());
        ASSERT_NE(preview, nullptr);
        const auto& doc = preview->arvPreview->document();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->texts(QString::fromUtf8(c.line1)).value(0), QString::fromUtf8(c.text));
        EXPECT_TRUE(doc->errors().empty());
        closePreview();
    }
}
