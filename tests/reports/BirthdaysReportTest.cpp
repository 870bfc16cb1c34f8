#include "reports/rptBirthdays.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DataFixture.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <QLocale>

#include <gtest/gtest.h>

using testing_support::DataFixture;
using testing_support::day;
using testing_support::moment;

namespace {

struct ListRun {
    std::shared_ptr<rptBirthdays> layout;
    std::shared_ptr<const report::Document> doc;
};

ListRun runList(const QString& option = QString())
{
    program().ReportOption = option;
    ListRun r;
    r.layout = std::make_shared<rptBirthdays>();
    r.doc = report::run(*r.layout);
    return r;
}

// The body of the list in print order, one line each: "# " + a group caption, or a person's
// name and first column.
std::string body(const report::Document& doc)
{
    QStringList lines;
    for (const report::Page& page : doc.pages()) {
        for (const report::PlacedSection& section : page.sections) {
            QString name, first;
            for (const report::PageItem& item : section.items) {
                const QString control = report::itemBase(item).control;
                if (control == QLatin1String("MonthLabel"))
                    lines << QStringLiteral("# ") + report::itemText(item);
                else if (control == QLatin1String("txtYouthName"))
                    name = report::itemText(item);
                else if (control == QLatin1String("txtBirthday"))
                    first = report::itemText(item);
            }
            if (section.kind == report::SectionKind::Detail)
                lines << name + QStringLiteral(" | ") + first;
        }
    }
    return lines.join(QLatin1Char('\n')).toStdString();
}

} // namespace

TEST(BirthdaysReport, GroupsByBirthMonthInMonthAndDayOrderWithTheUnknownFirst)
{
    DataFixture db;
    db.addPerson("Mia", "March", {{"Youth_Bday", day(2009, 3, 3)}});
    db.addPerson("Jan", "Late", {{"Youth_Bday", moment(2010, 1, 15, 6, 0)}}); // no time printed
    db.addPerson("Ann", "Zed", {{"Youth_Bday", day(2008, 1, 2)}});
    db.addPerson("Bea", "Able", {{"Youth_Bday", day(2011, 1, 2)}}); // same day: by name
    db.addPerson("Nob", "Date");
    db.addPerson("Dec", "Ember", {{"Youth_Bday", day(2007, 12, 31)}});
    db.addPerson("Rex", "Removed", {{"Youth_Bday", day(2009, 1, 1)}, {"Youth_Deleted", true}});

    const ListRun r = runList();

    EXPECT_EQ(body(*r.doc), R"(# Members with unknown birthdays
Nob Date | 
# Birthdays in January
Bea Able | 1/2/2011
Ann Zed | 1/2/2008
Jan Late | 1/15/2010
# Birthdays in March
Mia March | 3/3/2009
# Birthdays in December
Dec Ember | 12/31/2007)");
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Birthdays"));
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"Birthday Report"}));
    EXPECT_EQ(r.doc->texts("ColTitle1"), QStringList({"Birthday"}));
    EXPECT_EQ(r.doc->count("MonthHeader"), 4);
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(r.doc->errors().empty());
}

TEST(BirthdaysReport, MonthNamesComeFromTheLocale)
{
    DataFixture db;
    db.addPerson("Ann", "May", {{"Youth_Bday", day(2009, 5, 20)}});
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const ListRun r = runList();
    QLocale::setDefault(before);

    EXPECT_EQ(r.doc->texts("MonthLabel"), QStringList({"Birthdays in Mai"}));
}

TEST(BirthdaysReport, GroupsBySchoolWithBlankSchoolsAndLetterCaseInOneGroup)
{
    DataFixture db;
    db.addPerson("Nul", "One", {{"Youth_School_Grade", std::int16_t(9)}});
    db.addPerson("Emp", "Two", {{"Youth_School", ""}, {"Youth_School_Grade", std::int16_t(7)}});
    db.addPerson("Bla", "Three", {{"Youth_School", "   "}});
    db.addPerson("Lea", "Blank",
                 {{"Youth_School", " Central"}, {"Youth_School_Grade", std::int16_t(10)}});
    db.addPerson("Cap", "Upper",
                 {{"Youth_School", "Central"}, {"Youth_School_Grade", std::int16_t(11)}});
    db.addPerson("Low", "Lower",
                 {{"Youth_School", "central"}, {"Youth_School_Grade", std::int16_t(9)}});
    db.addPerson("Nor", "Th",
                 {{"Youth_School", "North"},
                  {"Youth_School_Grade", std::int16_t(12)},
                  {"Youth_State", "oh"},
                  {"Youth_City", "Troy"},
                  {"Youth_Zip", "45373"},
                  {"Youth_Address1", "1 Elm"},
                  {"Youth_HomePhone", "555-0100"}});

    // Upper-cased before it is compared.
    const ListRun r = runList(QStringLiteral("school"));

    ASSERT_TRUE(r.layout->SchoolMode());
    // Null schools sort before empty ones; within a school by grade, then by name.
    EXPECT_EQ(body(*r.doc), R"(# Members not asigned to a school
Nul One | 9 
Bla Three |  
Emp Two | 7 
# central
Low Lower | 9 
Lea Blank | 10 
Cap Upper | 11 
# North
Nor Th | 12 )");
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Schools"));
    EXPECT_EQ(r.doc->texts("Title"), QStringList({"School Report"}));
    EXPECT_EQ(r.doc->texts("ColTitle1"), QStringList({"Grade"}));
    // The state in capitals, the other columns as stored.
    const int north = int(r.doc->texts("txtYouthName").indexOf("Nor Th"));
    EXPECT_EQ(r.doc->texts("txtState")[north], QStringLiteral("OH"));
    EXPECT_EQ(r.doc->texts("txtCity")[north], QStringLiteral("Troy"));
    EXPECT_EQ(r.doc->texts("txtZip")[north], QStringLiteral("45373"));
    EXPECT_EQ(r.doc->texts("txtAddress")[north], QStringLiteral("1 Elm"));
    EXPECT_EQ(r.doc->texts("txtPhone")[north], QStringLiteral("555-0100"));
}

TEST(BirthdaysReport, EmptyResultPrintsNoGroupHeader)
{
    DataFixture db;
    db.addPerson("Rex", "Removed", {{"Youth_Bday", day(2009, 1, 1)}, {"Youth_Deleted", true}});

    for (const char* option : {"", "SCHOOL"}) {
        SCOPED_TRACE(option);
        testenv::messages().clear();
        const ListRun r = runList(QString::fromLatin1(option));
        ASSERT_EQ(testenv::messages().shown().size(), 1u);
        EXPECT_EQ(testenv::messages().last().title, QStringLiteral("No Matching Records"));
        EXPECT_EQ(r.doc->pageCount(), 1);
        EXPECT_EQ(r.doc->count("MonthHeader"), 0);
        EXPECT_EQ(r.doc->count("Detail"), 0);
        EXPECT_TRUE(r.doc->errors().empty());
    }
}

TEST(BirthdaysReport, PageAsPrinted)
{
    DataFixture db;
    settings().setGroupName(QStringLiteral("Harbor Youth"));
    db.addPerson("Nob", "Date", {{"Youth_City", "Troy"}});
    db.addPerson("Ann", "Abel",
                 {{"Youth_Bday", day(2009, 1, 2)},
                  {"Youth_Address1", "12 Elm St"},
                  {"Youth_City", "Dayton"},
                  {"Youth_State", "oh"},
                  {"Youth_Zip", "45402"},
                  {"Youth_HomePhone", "555-0101"}});
    db.addPerson("Bea", "Best", {{"Youth_Bday", day(2010, 1, 20)}});

    EXPECT_DUMP(*runList().doc, "expected/birthdays-page.dump");
}
