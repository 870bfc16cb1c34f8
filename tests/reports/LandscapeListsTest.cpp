#include "reports/Registration.h"
#include "shell/ProgramState.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using testing_support::DataFixture;

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
