#include "reports/LandscapeList.h"

#include "shell/ReportParts.h"

namespace {

// The height of one line of 9 pt text with a little room below it.
constexpr report::Twips kLineHeight = 240;
constexpr double kPoints = 9;

// The printable area of the landscape page.
constexpr report::Twips kPrintWidth = 14256;
constexpr report::Twips kPrintHeight = 10656;

report::Line& addRule(report::Section& section, const QString& name, report::Twips x1,
                      report::Twips y1, report::Twips x2, report::Twips y2)
{
    auto& rule = section.Controls().add<report::Line>(name);
    rule.setPoints(x1, y1, x2, y2);
    return rule;
}

} // namespace

LandscapeList::LandscapeList(const Frame& frame) : m_frame(frame)
{
    report::Section& header = PageHeader();
    header.setHeight(frame.headerHeight);
    header.Controls()
        .add<report::Shape>(QStringLiteral("HeaderBox"))
        .setBounds(0, frame.headingBoxTop, frame.width, frame.headerHeight - frame.headingBoxTop);
    reportparts::addTitle(header, {0, 0, frame.width, 540}, QString());
    reportparts::addSubTitle(header, {0, 480, frame.width, 360});
    reportparts::addTimestampAndPage(header, {frame.stampLeft, 0, 3240, 270},
                                     {frame.stampLeft, 300, 3240, 270});

    PageFooter().setHeight(390);
    reportparts::addMakerFooter(PageFooter(), {0, 90, frame.width, 270}, {0, 90, 3240, 270},
                                {frame.stampLeft, 90, 3240, 270});
}

void LandscapeList::ReportStart()
{
    m_landscape.start(*this, kPrintWidth, kPrintHeight);
}

void LandscapeList::ReportEnd()
{
    m_landscape.end(*this);
}

report::Label& LandscapeList::addHeading(const QString& name, report::Twips left, report::Twips top,
                                         report::Twips width, const QString& text,
                                         report::Alignment alignment)
{
    auto& heading = PageHeader().Controls().add<report::Label>(name);
    heading.setBounds(left, top, width, kLineHeight);
    heading.setFontSize(kPoints);
    heading.setFontBold(true);
    heading.setAlignment(alignment);
    heading.setCaption(text);
    return heading;
}

report::TextBox& LandscapeList::addField(const QString& name, report::Twips left, report::Twips top,
                                         report::Twips width, report::Alignment alignment)
{
    auto& field = Detail().Controls().add<report::TextBox>(name);
    field.setBounds(left, top, width, kLineHeight);
    field.setFontSize(kPoints);
    field.setAlignment(alignment);
    // A value too long for its column is cut at the rule rather than wrapped out of sight.
    field.setWordWrap(false);
    return field;
}

void LandscapeList::addHeadingRules(std::initializer_list<report::Twips> rules)
{
    int n = 0;
    for (const report::Twips x : rules)
        addRule(PageHeader(), QStringLiteral("VLine%1").arg(++n), x, m_frame.headingBoxTop, x,
                m_frame.headerHeight);
}

void LandscapeList::addRowRules(std::initializer_list<report::Twips> rules,
                                const QStringList& names)
{
    report::Section& detail = Detail();
    const report::Twips height = detail.Height();
    int n = 0;
    auto name = [&] { return names.value(n++); };
    addRule(detail, name(), 0, 0, 0, height);
    for (const report::Twips x : rules)
        addRule(detail, name(), x, 0, x, height);
    addRule(detail, name(), m_frame.width, 0, m_frame.width, height);
    addRule(detail, name(), 0, height, m_frame.width, height);
}

void LandscapeList::setField(const QString& name, const QString& text)
{
    Detail().Controls().Item<report::TextBox>(name).setText(text);
}

QStringList LandscapeList::numbered(const QString& stem, int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << stem + QString::number(i);
    return names;
}
