#include "reports/Registration.h"
#include "shell/ProgramState.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;

namespace {

// The landscape lists by catalogue entry: the layout, its option word and its caption.
struct Entry {
    const char* layout;
    const char* option;
    const char* caption;
};
const Entry kEntries[] = {
    {"rptBirthdays", "", "Birthdays"},
    {"rptBirthdays", "SCHOOL", "Schools"},
    {"rptVisitors", "", "Visitor Checklist"},
    {"rptMissingData", "", "Missing Data"},
    {"rptMissingData", "MIA", "Missing in Action"},
};

// The start of a PDF page's size in points: Letter turned, and upright.
constexpr const char* kLandscapeBox = "/MediaBox [0 0 792";
constexpr const char* kPortraitBox = "/MediaBox [0 0 612";

class LandscapeLists : public ::testing::Test {
protected:
    void SetUp() override { RegisterReports(); }

    std::shared_ptr<report::Report> create(const Entry& e, const QString& filter)
    {
        program().ReportOption = QString::fromLatin1(e.option);
        program().ReportFilter = filter;
        return report::createLayout(QString::fromLatin1(e.layout));
    }
};

} // namespace

TEST_F(LandscapeLists, AQueryThatCannotRunIsReportedAsSuchNotAsAnEmptyList)
{
    DataFixture db;
    db.addPerson("Ann", "Active", {{"Youth_Status", std::int16_t(1)}, {"Youth_Visitor", true}});
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(e.caption);
        testenv::messages().clear();
        const auto layout = create(e, QStringLiteral("Youth_Nonsense=1"));
        ASSERT_NE(layout, nullptr);
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        const auto& shown = testenv::messages().last();
        EXPECT_EQ(shown.kind, ui::MessageKind::Critical);
        EXPECT_TRUE(shown.text.startsWith(
            QStringLiteral("The records for the report \"%1\" could not be read.")
                .arg(QString::fromLatin1(e.caption))))
            << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QStringLiteral("Youth_Nonsense")));
        // The report still opens, with its page frame and no rows.
        const auto doc = report::run(*layout);
        EXPECT_EQ(doc->pageCount(), 1);
        EXPECT_EQ(doc->count(QStringLiteral("Detail")), 0);
        EXPECT_EQ(doc->texts("lblPage"), QStringList({"Page: 1"}));
        EXPECT_TRUE(doc->errors().empty());
    }
}

TEST_F(LandscapeLists, LandscapeForTheRunInThePagesAndThePdfThenThePrinterAsBefore)
{
    DataFixture db;
    db.exec("BEGIN");
    for (int i = 0; i < 40; ++i)
        db.addPerson(QStringLiteral("Kid"), QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0')),
                     {{"Youth_Status", std::int16_t(1)},
                      {"Youth_Visitor", true},
                      {"Youth_Last_Attended", day(2023, 1, 1)}});
    db.exec("COMMIT");
    const QString pdf = testenv::programFile(QStringLiteral("list.pdf"));

    for (const Entry& e : kEntries) {
        SCOPED_TRACE(e.caption);
        const auto layout = create(e, QString());
        ASSERT_EQ(layout->Printer().Orientation(), report::Orientation::Portrait);
        const auto doc = report::run(*layout);

        EXPECT_EQ(layout->Printer().Orientation(), report::Orientation::Portrait);
        EXPECT_EQ(doc->count(QStringLiteral("Detail")), 40);
        ASSERT_GE(doc->pageCount(), 2);
        for (const report::Page& page : doc->pages()) {
            EXPECT_EQ(page.orientation, report::Orientation::Landscape);
            EXPECT_EQ(page.paper, QSizeF(15840, 12240));
            EXPECT_EQ(page.printable.size(), QSizeF(14256, 10656));
        }
        ASSERT_TRUE(doc->exportPdf(pdf));
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.count(kLandscapeBox), doc->pageCount());
        EXPECT_EQ(bytes.count(kPortraitBox), 0);
    }

    // A portrait report run next prints portrait.
    program().ReportLine1 = QStringLiteral("Picnic");
    const auto sheet = report::createLayout(QStringLiteral("rptSignUp"));
    ASSERT_TRUE(report::run(*sheet)->exportPdf(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count(kPortraitBox), 1);
}
