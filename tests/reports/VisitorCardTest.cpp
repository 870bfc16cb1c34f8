#include "reports/rptVisitorCard.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/report/Engine.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

// Where the cards lie in the detail (twips).
const QPointF kCardOffsets[] = {{0, 0}, {7200, 0}, {0, 5580}, {7200, 5580}};
constexpr int kElementsPerCard = 21 + 5 + 2 + 13; // labels, check boxes, shapes, lines

struct CardsRun {
    std::shared_ptr<rptVisitorCard> layout;
    std::shared_ptr<const report::Document> doc;

    const report::PlacedSection& detail() const
    {
        return *doc->sections(QStringLiteral("Detail")).at(0).second;
    }
};

CardsRun runCards()
{
    CardsRun r;
    r.layout = std::make_shared<rptVisitorCard>();
    r.doc = report::run(*r.layout);
    return r;
}

// True when b looks like a moved to a + offset: the same kind, size, texts, fonts,
// alignment and fill.
bool isCopy(const report::PageItem& a, const report::PageItem& b, QPointF offset)
{
    if (a.index() != b.index() ||
        report::itemBase(a).rect.translated(offset) != report::itemBase(b).rect)
        return false;
    if (const auto* ta = std::get_if<report::TextItem>(&a)) {
        const auto& tb = std::get<report::TextItem>(b);
        return ta->text == tb.text && ta->font == tb.font && ta->alignment == tb.alignment;
    }
    if (const auto* ca = std::get_if<report::CheckItem>(&a)) {
        const auto& cb = std::get<report::CheckItem>(b);
        return ca->caption == cb.caption && ca->font == cb.font && ca->alignment == cb.alignment;
    }
    if (const auto* sa = std::get_if<report::ShapeItem>(&a))
        return sa->backColor == std::get<report::ShapeItem>(b).backColor;
    if (const auto* la = std::get_if<report::LineItem>(&a))
        return la->line.translated(offset) == std::get<report::LineItem>(b).line;
    return false;
}

const report::PageItem* named(const report::PlacedSection& section, const QString& name)
{
    for (const report::PageItem& item : section.items) {
        if (report::itemBase(item).control.compare(name, Qt::CaseInsensitive) == 0)
            return &item;
    }
    return nullptr;
}

// The item that looks like the named design element on card k (0 to 3), or nullptr; fails
// the test when several do.
const report::PageItem* onCard(const report::PlacedSection& section, const QString& name, int k)
{
    const report::PageItem* design = named(section, name);
    if (!design)
        return nullptr;
    if (k == 0)
        return design;
    const report::PageItem* found = nullptr;
    for (const report::PageItem& item : section.items) {
        if (report::itemBase(item).control.isEmpty() &&
            isCopy(*design, item, kCardOffsets[k] - kCardOffsets[0])) {
            EXPECT_EQ(found, nullptr) << name.toStdString() << " twice on card " << k + 1;
            found = &item;
        }
    }
    return found;
}

} // namespace

TEST(VisitorCards, FourCardsOnOneLandscapePage)
{
    settings().setGroupName(QStringLiteral("St. Luke Youth"));
    const CardsRun r = runCards();

    ASSERT_EQ(r.doc->pageCount(), 1);
    EXPECT_EQ(r.doc->caption(), QStringLiteral("Visitor Cards"));
    const report::Page& page = r.doc->pages().front();
    EXPECT_EQ(page.orientation, report::Orientation::Landscape);
    EXPECT_EQ(page.paper, QSizeF(15840, 12240));
    EXPECT_EQ(page.printable, QRectF(840, 720, 14160, 10800));
    EXPECT_EQ(r.doc->count("Detail"), 1);
    const report::PlacedSection& detail = r.detail();
    EXPECT_EQ(detail.rect, QRectF(840, 720, 14160, 10800));
    EXPECT_FALSE(detail.clipped);
    EXPECT_TRUE(r.doc->errors().empty());
    EXPECT_DUMP(*r.doc, "expected/visitor-cards.dump");

    // Each card has its own frame, and every element of the first card's design is copied
    // once to each of the three others.
    for (int k = 0; k < 4; ++k) {
        const auto* frame = named(detail, QStringLiteral("CardBorder%1").arg(k + 1));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(report::itemBase(*frame).rect,
                  QRectF(detail.rect.topLeft() + kCardOffsets[k], QSizeF(6960, 5220)));
    }
    QStringList design;
    for (int i = 1; i <= 21; ++i)
        design << QStringLiteral("MyLabel%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        design << QStringLiteral("CheckBox%1").arg(i);
    design << QStringLiteral("Shape1") << QStringLiteral("Shape2");
    for (int i = 1; i <= 13; ++i)
        design << QStringLiteral("Line%1").arg(i);
    for (const QString& name : design) {
        for (int k = 1; k < 4; ++k)
            EXPECT_NE(onCard(detail, name, k), nullptr) << name.toStdString() << " card " << k + 1;
    }
    EXPECT_EQ(detail.items.size(), std::size_t(4 + 4 * kElementsPerCard));

    // A few elements where the design puts them, relative to the detail.
    const QPointF origin = detail.rect.topLeft();
    EXPECT_EQ(report::itemBase(*onCard(detail, "MyLabel3", 1)).rect,
              QRectF(origin + QPointF(7200, 1080), QSizeF(1200, 240)));
    EXPECT_EQ(report::itemBase(*onCard(detail, "MyLabel3", 3)).rect,
              QRectF(origin + QPointF(7200, 6660), QSizeF(1200, 240)));
    EXPECT_EQ(std::get<report::LineItem>(*onCard(detail, "Line13", 2)).line,
              QLineF(origin + QPointF(1320, 8820), origin + QPointF(3900, 8820)));
    EXPECT_EQ(std::get<report::CheckItem>(*onCard(detail, "CheckBox5", 3)).caption, "Step 3:");

    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(report::itemText(*onCard(detail, "MyLabel1", k)), "Welcome to St. Luke Youth!");
        EXPECT_EQ(report::itemText(*onCard(detail, "MyLabel19", k)), "MM  /  DD  /  YY");
    }
}

TEST(VisitorCards, CountryCaptionsOnAllFourCards)
{
    struct Case {
        std::optional<QString> country;
        const char* state;
        const char* zip;
        QRectF zipBox; // relative to the card
    };
    const QRectF usaZip(5100, 2160, 540, 240);
    const QRectF postalCode(4722, 2160, 1080, 240);
    const Case cases[] = {
        {std::nullopt, "State:", "Zip:", usaZip},
        {QStringLiteral("USA"), "State:", "Zip:", usaZip},
        {QStringLiteral("Other"), "State:", "Zip:", usaZip},
        {QStringLiteral("canada"), "State:", "Zip:", usaZip}, // the stored word, exactly
        {QStringLiteral("Canada"), "Prov:", "Postal Code:", postalCode},
        {QStringLiteral("Australia"), "State:", "Postal Code:", postalCode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.country.value_or(QStringLiteral("(none stored)")).toStdString());
        if (c.country)
            testenv::settings().write(QStringLiteral("GroupInfo"), QStringLiteral("Country"),
                                      *c.country);
        const CardsRun r = runCards();
        const report::PlacedSection& detail = r.detail();
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k + 1);
            const auto* state = onCard(detail, "MyLabel8", k);
            const auto* zip = onCard(detail, "MyLabel9", k);
            ASSERT_NE(state, nullptr);
            ASSERT_NE(zip, nullptr);
            EXPECT_EQ(report::itemText(*state), QString::fromUtf8(c.state));
            EXPECT_EQ(report::itemText(*zip), QString::fromUtf8(c.zip));
            EXPECT_EQ(report::itemBase(*zip).rect,
                      c.zipBox.translated(detail.rect.topLeft() + kCardOffsets[k]));
        }
    }
}

TEST(VisitorCards, WelcomeLineWithoutAGroupName)
{
    // Nothing stored: the product's name, which the settings give for a missing group name.
    EXPECT_EQ(runCards().doc->texts("MyLabel1"),
              QStringList({"Welcome to Corvessa: Group Edition!"}));

    settings().setGroupName(QString());
    const CardsRun r = runCards();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(report::itemText(*onCard(r.detail(), "MyLabel1", k)), "Welcome to Our Group!");
}

TEST(VisitorCards, OrientationIsRestoredAndASecondRunAddsNothing)
{
    testenv::settings().write(QStringLiteral("GroupInfo"), QStringLiteral("Country"),
                              QStringLiteral("Canada"));
    rptVisitorCard layout;
    EXPECT_EQ(layout.Printer().Orientation(), report::Orientation::Portrait);
    const auto first = report::run(layout);
    EXPECT_EQ(layout.Printer().Orientation(), report::Orientation::Portrait);
    EXPECT_EQ(first->pages().front().orientation, report::Orientation::Landscape);

    const auto second = report::run(layout);
    const auto& a = first->sections("Detail").at(0).second->items;
    const auto& b = second->sections("Detail").at(0).second->items;
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(isCopy(a[i], b[i], QPointF(0, 0))) << i;
    EXPECT_EQ(second->texts("MyLabel9"), QStringList({"Postal Code:"}));
    EXPECT_EQ(report::itemBase(*second->items("MyLabel9").at(0).item).rect.left(), 840 + 4722);
}
