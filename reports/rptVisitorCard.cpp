#include "reports/rptVisitorCard.h"

#include "platform/ui/Services.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"

#include <array>

namespace {

using report::Twips;

constexpr Twips kCardsWidth = 14160;
constexpr Twips kCardsHeight = 10800;
constexpr Twips kSideMargin = 840;
constexpr Twips kTopMargin = 720;

constexpr Twips kCardWidth = 6960;
constexpr Twips kCardHeight = 5220;
// The top left corners of the four cards in the detail.
constexpr std::array<std::pair<Twips, Twips>, 4> kCardCorners = {
    {{0, 0}, {7200, 0}, {0, 5580}, {7200, 5580}}};

constexpr int kLabels = 21;
constexpr int kCheckBoxes = 5;
constexpr int kShapes = 2;
constexpr int kLines = 13;

enum class Type { Welcome, Note, Caption, Hint, Heading };

report::Font fontFor(Type type)
{
    report::Font font;
    switch (type) {
    case Type::Welcome:
        font.size = 14;
        font.bold = true;
        break;
    case Type::Note:
        font.size = 10;
        font.italic = true;
        break;
    case Type::Caption:
        // "Postal Code:" must still fit its 1080 twips.
        font.size = 9;
        break;
    case Type::Hint:
        font.size = 7;
        break;
    case Type::Heading:
        font.size = 8;
        font.bold = true;
        break;
    }
    return font;
}

struct LabelDesign {
    int number;
    Twips left, top, width, height;
    const char* caption;
    Type type;
    report::Alignment alignment;
};

constexpr auto L = report::Alignment::Left;
constexpr auto C = report::Alignment::Center;
constexpr auto R = report::Alignment::Right;

// The first card's labels, in the order they are laid out.
const LabelDesign kLabelDesign[kLabels] = {
    {1, 60, 120, 6840, 360, "Welcome to Our Group!", Type::Welcome, C},
    {2, 60, 540, 6840, 360, "Please take a moment to provide us with a record of your visit.",
     Type::Note, C},
    {3, 0, 1080, 1200, 240, "Your name:", Type::Caption, R},
    {4, 1260, 1320, 2400, 180, "(First)", Type::Hint, C},
    {5, 3900, 1320, 2880, 180, "(Last)", Type::Hint, C},
    {6, 0, 1680, 1200, 240, "Address:", Type::Caption, R},
    {7, 0, 2160, 1200, 240, "City:", Type::Caption, R},
    {8, 3720, 2160, 600, 240, "State:", Type::Caption, R},
    {9, 5100, 2160, 540, 240, "Zip:", Type::Caption, R},
    {10, 0, 2640, 1200, 240, "E-mail:", Type::Caption, R},
    {11, 60, 3120, 1200, 240, "Phone #s:", Type::Caption, R},
    {20, 3300, 3000, 780, 240, "(Home)", Type::Hint, R},
    {21, 3300, 3300, 780, 240, "(Mobile)", Type::Hint, R},
    {12, 4020, 3300, 1020, 240, "Birthdate:", Type::Caption, R},
    {19, 5100, 3540, 1680, 240, "MM  /  DD  /  YY", Type::Hint, C},
    {13, 60, 3840, 1140, 240, "School:", Type::Caption, R},
    {14, 4380, 3840, 660, 240, "Grade:", Type::Caption, R},
    {15, 60, 4320, 2340, 240, "Person who invited you:", Type::Caption, L},
    {16, 60, 4740, 660, 240, "I am:", Type::Caption, L},
    {17, 2580, 4680, 1740, 240, "OFFICE USE ONLY:", Type::Heading, L},
    {18, 2580, 4920, 720, 240, "Date:", Type::Heading, R},
};

struct CheckBoxDesign {
    int number;
    Twips left, top, width, height;
    const char* caption;
};

const CheckBoxDesign kCheckBoxDesign[kCheckBoxes] = {
    {1, 900, 4620, 900, 240, "Male"},     {2, 900, 4860, 900, 240, "Female"},
    {3, 4140, 4920, 840, 240, "Step 1:"}, {4, 5100, 4920, 840, 240, "Step 2:"},
    {5, 6060, 4920, 840, 240, "Step 3:"},
};

// The writing lines, by their two end points.
const std::array<Twips, 4> kLineDesign[kLines] = {
    {1260, 1320, 3660, 1320}, {3900, 1320, 6780, 1320}, {1260, 1920, 5400, 1920},
    {1260, 2400, 3600, 2400}, {4380, 2400, 4980, 2400}, {5700, 2400, 6780, 2400},
    {1260, 2880, 6780, 2880}, {1260, 3540, 3900, 3540}, {5100, 3540, 6780, 3540},
    {1260, 4080, 3900, 4080}, {5100, 4080, 5760, 4080}, {2460, 4500, 6780, 4500},
    {1320, 3240, 3900, 3240},
};

QString numbered(const char* stem, int number)
{
    return QLatin1String(stem) + QString::number(number);
}

// Adds one copy of each of the first card's elements named stem + 1 ... stem + count, set up
// by copy(from, to). An element that cannot be read or added is left out; the others still
// come.
template <class T, class Copy>
void copyEach(report::ControlCollection& controls, const char* stem, int count,
              const char* className, Copy copy)
{
    for (int i = 1; i <= count; ++i) {
        TryStep("Copying an element of a card", [&] {
            const T& from = controls.Item<T>(numbered(stem, i));
            copy(from, dynamic_cast<T&>(controls.Add(QLatin1String(className))));
        });
    }
}

} // namespace

rptVisitorCard::rptVisitorCard()
{
    setCaption(QStringLiteral("Visitor Cards"));
    setDetailMode(report::DetailMode::Once);

    // Landscape letter paper (turned when the report starts) less these margins leaves the
    // 14160 x 10800 twips of the four cards, centred on the sheet.
    Printer().setMargins(kSideMargin, kTopMargin, kSideMargin, kTopMargin);
    PageHeader().setHeight(0);
    PageFooter().setHeight(0);
    Detail().setHeight(kCardsHeight);

    report::ControlCollection& controls = Detail().Controls();
    for (std::size_t k = 0; k < kCardCorners.size(); ++k)
        controls.add<report::Shape>(numbered("CardBorder", int(k) + 1))
            .setBounds(kCardCorners[k].first, kCardCorners[k].second, kCardWidth, kCardHeight);

    auto& box = controls.add<report::Shape>(QStringLiteral("Shape1"));
    box.setBounds(780, 4560, 1080, 600);
    auto& office = controls.add<report::Shape>(QStringLiteral("Shape2"));
    office.setBounds(2580, 4680, 4380, 540);
    office.setBackColor(QColor(0xE8, 0xE8, 0xE8));
    office.setBackStyle(report::BackStyle::Opaque);

    for (const LabelDesign& d : kLabelDesign) {
        auto& label = controls.add<report::Label>(numbered("MyLabel", d.number));
        label.setBounds(d.left, d.top, d.width, d.height);
        label.setCaption(QString::fromUtf8(d.caption));
        label.setFont(fontFor(d.type));
        label.setAlignment(d.alignment);
    }
    for (const CheckBoxDesign& d : kCheckBoxDesign) {
        auto& check = controls.add<report::CheckBox>(numbered("CheckBox", d.number));
        check.setBounds(d.left, d.top, d.width, d.height);
        check.setCaption(QString::fromUtf8(d.caption));
        check.setFont(fontFor(d.number <= 2 ? Type::Caption : Type::Heading));
    }
    for (int i = 0; i < kLines; ++i) {
        const auto& p = kLineDesign[i];
        controls.add<report::Line>(numbered("Line", i + 1)).setPoints(p[0], p[1], p[2], p[3]);
    }

    Detail().onFormat([this] { Detail_Format(); });
}

void rptVisitorCard::ReportStart()
{
    m_landscape.start(*this, kCardsWidth, kCardsHeight);
}

void rptVisitorCard::ReportEnd()
{
    m_landscape.end(*this);
}

void rptVisitorCard::Detail_Format()
{
    // The copies are added to the design itself: a second formatting would add them again.
    if (m_cardsCopied)
        return;
    m_cardsCopied = true;

    report::ControlCollection& controls = Detail().Controls();
    std::array<std::pair<Twips, Twips>, 3> offsets;
    for (int k = 2; k <= 4; ++k) {
        const report::Control& frame = controls.Item(numbered("CardBorder", k));
        offsets[std::size_t(k - 2)] = {frame.Left(), frame.Top()};
    }

    const QString groupName = settings().GroupName();
    controls.Item<report::Label>(QStringLiteral("MyLabel1"))
        .setCaption(QStringLiteral("Welcome to ") +
                    (groupName.isEmpty() ? QStringLiteral("Our Group") : groupName) +
                    QStringLiteral("!"));

    const QString country = ui::settingsStore().value(
        QStringLiteral("GroupInfo"), QStringLiteral("Country"), QStringLiteral("USA"));
    if (country == QLatin1String("Canada") || country == QLatin1String("Australia")) {
        if (country == QLatin1String("Canada"))
            controls.Item<report::Label>(QStringLiteral("MyLabel8"))
                .setCaption(QStringLiteral("Prov:"));
        auto& zip = controls.Item<report::Label>(QStringLiteral("MyLabel9"));
        zip.setCaption(QStringLiteral("Postal Code:"));
        zip.setLeft(zip.Left() - 0.7 * zip.Width());
        zip.setWidth(zip.Width() * 2);
    }

    for (const auto& [dx, dy] : offsets)
        copyCard(dx, dy);
}

void rptVisitorCard::copyCard(Twips dx, Twips dy)
{
    report::ControlCollection& controls = Detail().Controls();
    const auto moved = [&](const report::Control& from, report::Control& to) {
        to.setBounds(from.Left() + dx, from.Top() + dy, from.Width(), from.Height());
    };
    const auto text = [&](const auto& from, auto& to) {
        to.setCaption(from.Caption());
        moved(from, to);
        to.setFont(from.Font());
        to.setAlignment(from.Alignment());
    };

    copyEach<report::Shape>(controls, "Shape", kShapes, "DDActiveReports.Shape",
                            [&](const report::Shape& from, report::Shape& to) {
                                moved(from, to);
                                to.setBackColor(from.BackColor());
                                to.setBackStyle(from.BackStyle());
                            });
    copyEach<report::Label>(controls, "MyLabel", kLabels, "DDActiveReports.Label", text);
    copyEach<report::CheckBox>(controls, "CheckBox", kCheckBoxes, "DDActiveReports.Checkbox", text);
    copyEach<report::Line>(controls, "Line", kLines, "DDActiveReports.Line",
                           [&](const report::Line& from, report::Line& to) {
                               to.setPoints(from.X1() + dx, from.Y1() + dy, from.X2() + dx,
                                            from.Y2() + dy);
                           });
}
