#include "tests/people/DirectoryFixture.h"

#include "people/LikePattern.h"
#include "people/PersonIcons.h"
#include "shell/clsCorvessa.h"

#include <QAbstractItemView>

using testing_support::day;

namespace {

TEST(PersonIconKeys, NameTheKindAndTheMarks)
{
    // Today is 15 May 2024; WeeksToMIA is 4 by default. 20 April is 3 weeks 4 days ago,
    // 10 April 5 weeks 1 day.
    const auto recent = day(2024, 4, 20);
    const auto longAgo = day(2024, 4, 10);
    const auto never = data::Variant::null();
    const struct {
        bool visitor;
        data::Variant attended;
        std::int16_t status;
        bool mail;
        bool leader;
        const char* key;
    } cases[] = {
        {true, recent, 1, true, true, "mbrVML"},
        {true, longAgo, 1, false, false, "mbrV"},
        {true, never, 3, true, false, "mbrVM"},
        {true, never, 0, false, true, "mbrVL"},
        {false, recent, 1, false, false, "mbr1"},
        {false, recent, 1, true, true, "mbr1ML"},
        {false, longAgo, 1, true, true, "mbrMIA"},
        {false, never, 1, false, true, "mbr1L"},
        {false, longAgo, 2, false, true, "mbr2L"},
        {false, recent, 2, true, false, "mbr2M"},
        {false, longAgo, 3, false, false, "mbr3"},
        {false, never, 0, true, false, "mbr3M"},
        {false, never, 7, false, false, "mbr3"},
        {false, never, -1, true, true, "mbr3ML"},
        {false, day(2024, 4, 11), 1, false, false, "mbr1"},   // 4 weeks 6 days: not yet missing
        {false, day(2024, 4, 10), 1, false, false, "mbrMIA"}, // 5 whole weeks
        {false, day(2024, 6, 1), 1, false, false, "mbr1"},    // a date to come
    };
    for (const auto& c : cases) {
        const QString key = GetPersonIconKey(c.visitor, c.attended, c.status, c.mail, c.leader);
        EXPECT_EQ(key, QString::fromLatin1(c.key)) << c.key;
        EXPECT_TRUE(PersonIconKeys().contains(key)) << c.key;
        EXPECT_FALSE(PersonIcon(key).isNull()) << c.key;
    }
    EXPECT_EQ(PersonIconKeys().size(), 17);

    settings().setWeeksToMIA(8);
    EXPECT_EQ(GetPersonIconKey(false, longAgo, 1, false, false), "mbr1");
    testenv::settings().write("Members", "WeeksToMIA", "many"); // unreadable: the default, 4
    settings().ResetValues();
    EXPECT_EQ(GetPersonIconKey(false, day(2020, 1, 1), 1, false, false), "mbrMIA");
}

TEST(PersonIconKeys, EveryPictureIsDistinct)
{
    QSet<QByteArray> seen;
    for (const QString& key : PersonIconKeys()) {
        const QImage image = PersonIcon(key).pixmap(16, 16).toImage();
        seen.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 17);
    EXPECT_TRUE(PersonIcon("mbr7").isNull());
}

TEST(LikePatterns, MatchAsTheLikeOperatorDoes)
{
    const struct {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        {"SM*", "SMITH, ANN", true}, {"SM*", "ASMITH", false},  {"?*", "X", true},
        {"?*", "", false},           {"#*", "7TH, ANN", true},  {"#*", "SEVENTH", false},
        {"[A-C]*", "BAKER", true},   {"[A-C]*", "DUNN", false}, {"[!A-C]*", "DUNN", true},
        {"[!A-C]*", "BAKER", false}, {"A[]B", "AB", true},      {"[-A]*", "-X", true},
        {"*N", "DUNN", true},        {"D*N*", "DUNN", true},    {"D**X", "DUNN", false},
        {"O'*", "O'NEIL", true},     {"[*]*", "*STAR", true},   {"[?]*", "X", false},
        {"smith*", "SMITH", false},  {"#*", "9TH, ANN", true},
    };
    for (const auto& c : cases) {
        const auto pattern = LikePattern::compile(QString::fromUtf8(c.pattern));
        ASSERT_TRUE(pattern.has_value()) << c.pattern;
        EXPECT_EQ(pattern->matches(QString::fromUtf8(c.text)), c.matches)
            << c.pattern << " ~ " << c.text;
    }
    for (const char* invalid : {"[", "AB[C", "[Z-A]*", "*[9-0]"})
        EXPECT_FALSE(LikePattern::compile(QString::fromUtf8(invalid)).has_value()) << invalid;
}

// A plain reading of a pattern, character by character, trying every length for each "*":
// slow, but plainly right for short texts.
bool plainLike(QStringView pattern, QStringView text)
{
    if (pattern.isEmpty())
        return text.isEmpty();
    const QChar p = pattern.front();
    if (p == u'*')
        for (qsizetype skip = 0; skip <= text.size(); ++skip)
            if (plainLike(pattern.mid(1), text.mid(skip)))
                return true;
    if (p == u'*' || text.isEmpty())
        return false;
    const QChar c = text.front();
    if (p == u'[') {
        const qsizetype close = pattern.indexOf(u']');
        const bool negated = pattern.at(1) == u'!';
        bool in = false;
        for (qsizetype i = negated ? 2 : 1; i < close; ++i) {
            if (i + 2 < close && pattern.at(i + 1) == u'-') {
                in = in || (c >= pattern.at(i) && c <= pattern.at(i + 2));
                i += 2;
            } else {
                in = in || c == pattern.at(i);
            }
        }
        return in != negated && plainLike(pattern.mid(close + 1), text.mid(1));
    }
    const bool one = p == u'?' || (p == u'#' && c.isDigit()) || p == c;
    return one && plainLike(pattern.mid(1), text.mid(1));
}

TEST(LikePatterns, AgreeWithAPlainReadingForEveryShortPatternAndText)
{
    const QStringList parts = {"A", "B", "?", "#", "*", "[AB]", "[!A]", "[0-9]"};
    // Every pattern of up to four parts, every text of up to five characters.
    QStringList patterns = {""};
    QStringList level = {""};
    for (int length = 1; length <= 4; ++length) {
        QStringList longer;
        for (const QString& p : level)
            for (const QString& part : parts)
                longer << p + part;
        patterns += longer;
        level = longer;
    }
    QStringList texts = {""};
    level = {""};
    for (int length = 1; length <= 5; ++length) {
        QStringList longer;
        for (const QString& t : level)
            for (const char* c : {"A", "B", "1"})
                longer << t + QLatin1String(c);
        texts += longer;
        level = longer;
    }
    int compared = 0;
    for (const QString& p : patterns) {
        const auto pattern = LikePattern::compile(p);
        ASSERT_TRUE(pattern) << p.toStdString();
        for (const QString& t : texts) {
            ASSERT_EQ(pattern->matches(t), plainLike(p, t))
                << p.toStdString() << " ~ " << t.toStdString();
            ++compared;
        }
    }
    EXPECT_GT(compared, 100000);
}

// Patterns that make a backtracking matcher try every way to place its stars end at once;
// their speed is measured by the picker benchmark.
TEST(LikePatterns, ManyStarsOverALongNameStillAnswer)
{
    const QString longName = QString(10000, u'K');
    const struct {
        const char* pattern;
        bool matches;
    } cases[] = {
        {"*K*K*K*Z*", false},
        {"*?*?*?*?*?*?*?*?*?*Z*", false},
        {"K*K*K*K*K*K*K*K*K*K*", true},
        {"*K*K*K*K", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LikePattern::compile(QString::fromUtf8(c.pattern))->matches(longName), c.matches)
            << c.pattern;
}

class PersonPickerOnScreen : public DirectoryFixture {
protected:
    void SetUp() override
    {
        db.addPerson("Ann", "Baker", {{"Youth_Status", 1}, {"Youth_Mail_List", true}});
        smith = db.addPerson("Bo", "smith", {{"Youth_Status", 2}, {"Youth_Leader", true}});
        db.addPerson("Cy", "Smythe", {{"Youth_Status", 3}});
        db.addPerson("Di", "7th", {{"Youth_Status", 1}, {"Youth_Last_Attended", day(2023, 1, 1)}});
        db.addPerson("Vi", "Visitor", {{"Youth_Visitor", true}, {"Youth_Mail_List", true}});
        db.addPerson("New Profile", "Zz");
        open();
    }
    void typeIn(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(picker(), c.toLatin1());
    }
    int smith = 0;
};

TEST_F(PersonPickerOnScreen, ListsEveryPersonWithTheirPicture)
{
    EXPECT_EQ(pickerTexts(),
              (QStringList{"7th, Di", "Baker, Ann", "smith, Bo", "Smythe, Cy", "New Profile"}));
    QStringList icons;
    QStringList keys;
    for (const PickerEntry& e : picker()->entries().entries()) {
        icons << e.iconKey;
        keys << e.key;
    }
    EXPECT_EQ(icons, (QStringList{"mbrMIA", "mbr1M", "mbr2L", "mbr3", "mbr3"}));
    EXPECT_EQ(keys[2], QStringLiteral("Y%1").arg(smith));
    const QModelIndex first = picker()->model()->index(0, 0);
    EXPECT_FALSE(first.data(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(PersonPickerOnScreen, TypingSelectsWithoutMovingAndEnterMoves)
{
    const struct {
        const char* typed;
        const char* selected;
    } cases[] = {
        {"s", "smith, Bo"},     {"sm", "smith, Bo"},   {"smy", "Smythe, Cy"}, {"?", "7th, Di"},
        {"#", "7th, Di"},       {"b", "Baker, Ann"},   {"[", "7th, Di"},      {"x", "7th, Di"},
        {"new", "New Profile"}, {"s*y", "Smythe, Cy"},
    };
    for (const auto& c : cases) {
        key(Qt::Key_Home); // any move clears what was typed and selects the person shown
        ASSERT_EQ(pickedText(), "7th, Di");
        typeIn(QString::fromUtf8(c.typed));
        EXPECT_EQ(pickedText(), c.selected) << c.typed;
        EXPECT_EQ(picker()->typeAhead(),
                  QString::fromUtf8(c.typed).toUpper() == picker()->typeAhead().toUpper()
                      ? picker()->typeAhead()
                      : QString());
        EXPECT_EQ(box(11)->text(), "Di") << c.typed; // nothing moved
    }

    key(Qt::Key_Home);
    typeIn("sm");
    QTest::keyClick(picker(), Qt::Key_Backspace);
    EXPECT_EQ(picker()->typeAhead(), "sm");
    EXPECT_EQ(pickedText(), "smith, Bo");
    QTest::keyClick(picker(), Qt::Key_Return);
    EXPECT_EQ(box(11)->text(), "Bo");
    EXPECT_EQ(picker()->typeAhead(), "");
    typeIn("b");
    EXPECT_EQ(picker()->typeAhead(), "b");
    pickText(picker(), "Smythe, Cy"); // a pick moves and clears the typed text
    EXPECT_EQ(box(11)->text(), "Cy");
    EXPECT_EQ(picker()->typeAhead(), "");
}

TEST_F(PersonPickerOnScreen, ANewPersonShowsTheModePictureUntilSaved)
{
    click("cmdAdd");
    const PickerEntry& added = picker()->entries().entry(picker()->count() - 1);
    EXPECT_EQ(added.key, "Y");
    EXPECT_EQ(added.text, "New Profile");
    EXPECT_EQ(added.iconKey, "mbr1M");
    pickText(combo("Select_Status"), "Inactive");
    click("cmdUpdate");
    EXPECT_EQ(picker()->entries().entry(picker()->count() - 1).iconKey, "mbr3");
    EXPECT_EQ(picker()->entries().entry(picker()->count() - 1).text, "New Profile");

    open(true);
    click("cmdAdd");
    EXPECT_EQ(picker()->entries().entry(picker()->count() - 1).iconKey, "mbrVM");
}

TEST_F(PersonPickerOnScreen, TheNameShowsInThePickerAsItIsTyped)
{
    key(Qt::Key_Down); // Baker, Ann
    retype(11, "Anne");
    EXPECT_EQ(pickedText(), "Baker, Anne");
    append(18, "r");
    EXPECT_EQ(pickedText(), "Bakerr, Anne");
    EXPECT_EQ(picker()->entries().entry(1).text, "Bakerr, Anne");
    append(0, "x"); // other boxes leave the picker alone
    EXPECT_EQ(pickedText(), "Bakerr, Anne");
}

} // namespace
