#include "shell/clsCorvessa.h"
#include "platform/data/Variant.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

double day(int y, int m, int d)
{
    return data::jetdate::fromDate(QDate(y, m, d));
}

void store(const char* section, const char* key, const char* value)
{
    testenv::settings().write(QString::fromUtf8(section), QString::fromUtf8(key),
                              QString::fromUtf8(value));
}

std::optional<QString> stored(const char* section, const char* key)
{
    return testenv::settings().read(QString::fromUtf8(section), QString::fromUtf8(key));
}

} // namespace

TEST(Settings, DefaultsOnAnEmptyStore)
{
    clsCorvessa s;
    EXPECT_EQ(s.GroupName(), QStringLiteral("Corvessa: Group Edition"));
    EXPECT_EQ(s.ChurchName(), QString());
    EXPECT_EQ(s.WeeksToMIA(), 4);
    EXPECT_EQ(s.WeeksToMember(), 4);
    EXPECT_EQ(s.WeeksToInactive(), 9);
    EXPECT_TRUE(s.RemindGraduation());
    EXPECT_TRUE(s.AutoGradSchool());
    EXPECT_TRUE(s.AutoGradVisitor());
    EXPECT_TRUE(s.AutoBackup());
    EXPECT_EQ(s.LastAutoGradSchoolDate(), 0.0);
    EXPECT_EQ(s.LastRemindGradDate(), 0.0);
    EXPECT_EQ(s.LastAutoBackup(), day(1999, 9, 9));
    EXPECT_EQ(s.ReportListIndex(), 0);
    EXPECT_EQ(s.DataFileName(), QString());
    EXPECT_FALSE(s.IsDesignTime());
    // Reading writes nothing.
    EXPECT_EQ(testenv::settings().keyCount(), 0);
}

TEST(Settings, KeysMatchWithoutRegardToCase)
{
    clsCorvessa s;
    store("members", "autogradschool", "False");
    EXPECT_FALSE(s.AutoGradSchool());
    s.setAutoGradSchool(true);
    EXPECT_EQ(testenv::settings().keyCount(), 1);
    EXPECT_EQ(stored("MEMBERS", "AUTOGRADSCHOOL"), QStringLiteral("True"));

    store("GROUPINFO", "groupname", "Harbor Youth");
    EXPECT_EQ(s.GroupName(), QStringLiteral("Harbor Youth"));
}

TEST(Settings, BooleansReadWordsAndNumbersStrictly)
{
    clsCorvessa s;
    const std::pair<const char*, bool> readable[] = {{"0", false},   {"1", true},
                                                     {"-1", true},   {"False", false},
                                                     {"TRUE", true}, {"false", false}};
    for (const auto& [text, expected] : readable) {
        SCOPED_TRACE(text);
        store("Reminders", "RemindGrad", text);
        EXPECT_EQ(s.RemindGraduation(), expected);
    }
    // Unreadable text is told once in the run, naming the setting and the text; the default
    // stands in for it.
    store("Reminders", "RemindGrad", "Yes");
    EXPECT_TRUE(s.RemindGraduation());
    EXPECT_TRUE(s.RemindGraduation());
    store("Reminders", "RemindBackup", "");
    EXPECT_TRUE(s.AutoBackup());
    EXPECT_EQ(testenv::messages().texts(),
              QStringList({"The stored setting RemindGrad holds \"Yes\", which is not True or "
                           "False.\n\nThe default, True, is used in its place.",
                           "The stored setting RemindBackup holds \"\", which is not True or "
                           "False.\n\nThe default, True, is used in its place."}));
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);

    s.setAutoGradVisitor(false);
    EXPECT_EQ(stored("Members", "AutoGradVisitor"), QStringLiteral("False"));
    EXPECT_FALSE(s.AutoGradVisitor());
}

TEST(Settings, WeekCountsAreCachedUntilResetValues)
{
    clsCorvessa s;
    EXPECT_EQ(s.WeeksToMIA(), 4);
    store("Members", "WeeksToMIA", "6");
    EXPECT_EQ(s.WeeksToMIA(), 4);
    s.ResetValues();
    EXPECT_EQ(s.WeeksToMIA(), 6);

    s.setWeeksToInactive(12);
    EXPECT_EQ(stored("Members", "WeeksToInactive"), QStringLiteral("12"));
    store("Members", "WeeksToInactive", "20");
    EXPECT_EQ(s.WeeksToInactive(), 12);

    // A stored 0 is never cached.
    store("Members", "WeeksToMember", "0");
    EXPECT_EQ(s.WeeksToMember(), 0);
    store("Members", "WeeksToMember", "5");
    EXPECT_EQ(s.WeeksToMember(), 5);

    store("Members", "WeeksToMember", "2.5");
    s.ResetValues();
    EXPECT_EQ(s.WeeksToMember(), 2);
    store("Members", "WeeksToMember", "many");
    s.ResetValues();
    EXPECT_EQ(s.WeeksToMember(), 4);
    store("Members", "WeeksToMember", "40000");
    s.ResetValues();
    EXPECT_EQ(s.WeeksToMember(), 4);
    EXPECT_EQ(testenv::messages().shown().size(), 2u);
}

TEST(Settings, DatesReadBackUnderAnyLocale)
{
    clsCorvessa s;
    s.setLastAutoBackup(day(2024, 5, 9));
    EXPECT_EQ(stored("Reminders", "LastBackupDate"), QStringLiteral("2024-05-09"));
    {
        QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(s.LastAutoBackup(), day(2024, 5, 9));
        QLocale::setDefault(saved);
    }
    EXPECT_EQ(s.LastAutoBackup(), day(2024, 5, 9));

    // What the locale's short date wrote is still read.
    store("Reminders", "LastBackupDate", "5/9/2024");
    EXPECT_EQ(s.LastAutoBackup(), day(2024, 5, 9));
    store("Members", "LastAutoGradSchoolDate", "6/15/23");
    EXPECT_EQ(s.LastAutoGradSchoolDate(), day(2023, 6, 15));

    // The grade date is read tolerantly, the backup date strictly.
    store("Members", "LastAutoGradSchoolDate", "soon");
    EXPECT_EQ(s.LastAutoGradSchoolDate(), 0.0);
    store("Reminders", "LastBackupDate", "soon");
    EXPECT_EQ(s.LastAutoBackup(), day(1999, 9, 9));
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(testenv::messages().last().text.startsWith(
        "The stored setting LastBackupDate holds \"soon\", which is not a date."));

    s.setLastAutoGradSchoolDate(day(2024, 6, 15));
    EXPECT_EQ(s.LastAutoGradSchoolDate(), day(2024, 6, 15));
}

TEST(Settings, CustomFollowsTheMarkerFile)
{
    clsCorvessa s;
    EXPECT_FALSE(s.Custom());
    QFile marker(testenv::programFile(QStringLiteral("custom.txt")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_TRUE(s.Custom());
}

TEST(Settings, StoreFailuresReachTheCaller)
{
    clsCorvessa s;
    testenv::settings().failWrites = true;
    EXPECT_THROW(s.setGroupName(QStringLiteral("x")), ui::SettingsStoreError);
}
