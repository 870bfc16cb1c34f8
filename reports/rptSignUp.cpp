#include "reports/rptSignUp.h"

#include "shell/ProgramState.h"
#include "shell/ReportParts.h"

namespace {

constexpr report::Twips kWidth = 10740;
// The printable height of the portrait page.
constexpr report::Twips kPrintHeight = 14256;

report::Label& addCentred(report::Section& section, const QString& name, const QRectF& bounds,
                          double points, const QString& text)
{
    auto& label = section.Controls().add<report::Label>(name);
    label.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    label.setFontSize(points);
    label.setFontBold(true);
    label.setAlignment(report::Alignment::Center);
    label.setCaption(text);
    return label;
}

} // namespace

rptSignUp::rptSignUp()
{
    setCaption(QStringLiteral("Sign-Up Sheet"));

    report::Section& header = PageHeader();
    header.setHeight(1725);
    auto& box = header.Controls().add<report::Shape>(QStringLiteral("HeaderBox"));
    box.setBounds(0, 0, kWidth, 1680);
    auto& groupName = reportparts::addSubTitle(header, {0, 0, kWidth, 480});
    groupName.setFontSize(18);
    groupName.setFontBold(true);
    reportparts::addTitle(header, {0, 480, kWidth, 300}, QStringLiteral("Sign-up Sheet"))
        .setFontSize(12);
    // The event texts print as typed, also when empty.
    const ProgramState& state = program();
    addCentred(header, QStringLiteral("EventName"), {0, 780, kWidth, 480}, 18, state.ReportLine1);
    addCentred(header, QStringLiteral("EventDetails"), {0, 1380, 10680, 300}, 9, state.ReportLine2);

    report::Section& detail = Detail();
    detail.setHeight(570);
    detail.setColumnCount(2);
    detail.setColumnDirection(report::ColumnDirection::DownThenAcross);
    detail.Controls().add<report::Line>(QStringLiteral("Line1")).setPoints(240, 540, 5100, 540);
    detail.onFormat([this] { Detail_Format(); });

    PageFooter().setHeight(390);
    PageFooter().Controls().add<report::Line>(QStringLiteral("Line2")).setPoints(0, 60, 10680, 60);
    reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
                                {7470, 90, 3240, 270});
}

void rptSignUp::PageStart()
{
    Printer().setOrientation(report::Orientation::Portrait);
    setPrintHeight(kPrintHeight);
}

void rptSignUp::Detail_Format()
{
    ++m_lines;
    if (m_lines <= kLines)
        Detail().request();
}
