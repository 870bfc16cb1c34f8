#include "shell/Helpers.h"
#include "shell/PhotoPath.h"
#include "platform/ui/Services.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using data::Variant;

namespace {
Variant date(int y, int m, int d)
{
    return Variant::date(QDate(y, m, d));
}
} // namespace

TEST(GetAge, CountsWholeYearsFromToday)
{
    testenv::clock().setToday(QDate(2024, 5, 15));
    EXPECT_EQ(GetAge(date(2010, 5, 16)), 13); // the day before the birthday
    EXPECT_EQ(GetAge(date(2010, 5, 15)), 14); // on it
    EXPECT_EQ(GetAge(date(2010, 5, 14)), 14); // after it
    EXPECT_EQ(GetAge(date(2010, 12, 31)), 13);
    EXPECT_EQ(GetAge(Variant("5/15/2010")), 14);
    EXPECT_EQ(GetAge(Variant::null()), 0);
    EXPECT_EQ(GetAge(Variant("not a date")), 0);
    // Values that are no date, though they carry a number, have no age.
    EXPECT_EQ(GetAge(Variant()), 0);
    EXPECT_EQ(GetAge(Variant(40000)), 0);
    EXPECT_EQ(GetAge(Variant(true)), 0);
    EXPECT_EQ(GetAge(date(2025, 1, 1)), -1);

    // A 29 February birthday falls on 1 March in other years.
    testenv::clock().setToday(QDate(2023, 2, 28));
    EXPECT_EQ(GetAge(date(2008, 2, 29)), 14);
    testenv::clock().setToday(QDate(2023, 3, 1));
    EXPECT_EQ(GetAge(date(2008, 2, 29)), 15);
    testenv::clock().setToday(QDate(2024, 2, 29));
    EXPECT_EQ(GetAge(date(2008, 2, 29)), 16);
}

TEST(CodeTexts, GenderAndStatus)
{
    EXPECT_EQ(GetGenderText(0), QString());
    EXPECT_EQ(GetGenderText(1), QStringLiteral("Male"));
    EXPECT_EQ(GetGenderText(2), QStringLiteral("Female"));
    EXPECT_EQ(GetGenderText(3), QString());
    EXPECT_EQ(GetStatusText(0), QStringLiteral("Unknown"));
    EXPECT_EQ(GetStatusText(1), QStringLiteral("Active"));
    EXPECT_EQ(GetStatusText(2), QStringLiteral("Away"));
    EXPECT_EQ(GetStatusText(3), QStringLiteral("Inactive"));
    EXPECT_EQ(GetStatusText(4), QString());
    EXPECT_EQ(GetStatusText(-1), QString());
}

TEST(ChartScaleMax, RoundsUpToTheStep)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {-5, 1},        {0, 1},         {1, 2},         {5, 6},
        {10, 11},       {11, 20},       {20, 20},       {99, 100},
        {100, 100},     {101, 200},     {1000, 1000},   {1001, 2000},
        {32767, 33000}, {40000, 40000}, {40001, 41000}, {1234567, 1235000},
    };
    for (const auto& [n, expected] : cases) {
        SCOPED_TRACE(n);
        std::int32_t value = n;
        EXPECT_EQ(ChartScaleMax(value), expected);
    }
    // Small values are increased in the caller's variable as well.
    std::int32_t n = 5;
    ChartScaleMax(n);
    EXPECT_EQ(n, 6);
    n = 50;
    ChartScaleMax(n);
    EXPECT_EQ(n, 50);
}

TEST(IsValidEmail, LooseCheckOfAtSignAndDot)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},        {"a@b.c", true},   {"@b.c", false},
        {"a@b", false},    {"a.b@c", false},  {"a@.c", false},
        {"a @b.c.", true}, {"a@b@c.d", true}, {"jo.smith@mail.example.org", true},
        {"plain", false},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(IsValidEmail(QString::fromUtf8(text)), expected);
    }
}

TEST(GetFileExtension, TakesTheTextAfterTheLastDotOfTheName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\x\\me.JPG", "JPG"}, {"C:\\x.y\\me", ""},  {"me.", ""},        {"me", ""},
        {"/p/a.b/me", ""},        {"/p/me.gif", "gif"}, {"a.tar.gz", "gz"}, {"", ""},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(GetFileExtension(QString::fromUtf8(path)), QString::fromUtf8(expected));
    }
}

TEST(MaxOf, ReturnsTheLargerArgumentItself)
{
    EXPECT_EQ(MaxOf(Variant(3), Variant("4")), Variant("4"));
    EXPECT_EQ(MaxOf(Variant("10"), Variant(9.5)), Variant("10"));
    const Variant five(std::int16_t(5));
    EXPECT_EQ(MaxOf(Variant(5.0), five).type(), Variant::Type::Integer); // the second on a tie
    EXPECT_TRUE(MaxOf(Variant("x"), Variant(1)).isEmpty());
    EXPECT_TRUE(MaxOf(Variant::null(), Variant(1)).isEmpty());
    EXPECT_TRUE(MaxOf(Variant(), Variant(1)).isEmpty());
    EXPECT_TRUE(MaxOf(date(2024, 1, 1), Variant(1)).isEmpty()); // a date is not a number
    EXPECT_TRUE(MaxOf(Variant(50000), date(2024, 1, 1)).isEmpty());
}

TEST(DistinctEntries, KeepEachValueOnceInAlphabeticalOrder)
{
    EXPECT_EQ(DistinctEntries({"Red", "Blue", "blue", "", "Red", "alpha", "BLUE"}),
              QStringList({"alpha", "Blue", "Red"}));
    EXPECT_TRUE(DistinctEntries({""}).isEmpty());
}

TEST(SelectComboByItemData, SelectsTheFirstMatch)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("a"), 7);
    combo.addItem(QStringLiteral("b"), 9);
    combo.addItem(QStringLiteral("c"), 9);
    combo.setCurrentIndex(0);
    SelectComboByItemData(&combo, 9);
    EXPECT_EQ(combo.currentIndex(), 1);
    SelectComboByItemData(&combo, 42);
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST(ResolvePhotoPath, StoredPathFirstThenTheSameNameInThePhotoFolder)
{
    const QDir folder(ui::programFolder());
    ASSERT_TRUE(folder.mkpath(QStringLiteral("Photos")));
    const auto touch = [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    };
    touch(folder.filePath(QStringLiteral("Photos/42.JPG")));
    touch(folder.filePath(QStringLiteral("elsewhere.png")));

    // As stored when a file is there.
    EXPECT_EQ(ResolvePhotoPath(folder.filePath(QStringLiteral("elsewhere.png"))),
              folder.filePath(QStringLiteral("elsewhere.png")));
    // A path from another computer, with either separator, finds the copy of the same name.
    const QString local = QDir(PhotoFolder()).filePath(QStringLiteral("42.JPG"));
    EXPECT_EQ(ResolvePhotoPath(QStringLiteral("C:\\Program Files\\Corvessa\\Photos\\42.JPG")),
              local);
    EXPECT_EQ(ResolvePhotoPath(QStringLiteral("/old/place/Photos/42.JPG")), local);
    // Nothing stored, nothing there, or a folder rather than a file.
    EXPECT_EQ(ResolvePhotoPath(QString()), QString());
    EXPECT_EQ(ResolvePhotoPath(QStringLiteral("C:\\Photos\\43.JPG")), QString());
    EXPECT_EQ(ResolvePhotoPath(QStringLiteral("C:\\Photos\\")), QString());
    EXPECT_EQ(ResolvePhotoPath(PhotoFolder()), QString());
}
