#include "reports/rptRollSheet.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/FittedText.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"

namespace {

constexpr double kHeaderPoints = 10;
constexpr double kHeadingPoints = 9;
constexpr double kNamePoints = 10;
constexpr report::Twips kDetailHeight = 300;
constexpr report::Twips kBarcodeDetailHeight = 900;
constexpr report::Twips kBarcodeTop = 315;

void addFrame(report::Section& section, const QString& name, const QRectF& bounds)
{
    section.Controls().add<report::Shape>(name).setBounds(bounds.left(), bounds.top(),
                                                          bounds.width(), bounds.height());
}

// A caption, its box and the frame around the box.
void addMeetingBox(report::Section& header, const QString& labelName, const QRectF& label,
                   const QString& caption, const QString& boxName, const QRectF& box,
                   const QString& frameName, const QRectF& frame)
{
    addFrame(header, frameName, frame);
    reportparts::addLabel(header, labelName, label, caption, kHeaderPoints, true,
                          report::Alignment::Right);
    auto& text = header.Controls().add<report::TextBox>(boxName);
    text.setBounds(box.left(), box.top(), box.width(), box.height());
    text.setFontSize(kHeaderPoints);
}

void addLine(report::Section& section, const QString& name, report::Twips x1, report::Twips y1,
             report::Twips x2, report::Twips y2)
{
    section.Controls().add<report::Line>(name).setPoints(x1, y1, x2, y2);
}

} // namespace

rptRollSheet::rptRollSheet()
{
    setCaption(QStringLiteral("Roll Sheet"));

    report::Section& header = PageHeader();
    header.setHeight(1740);
    reportparts::addTitle(header, {0, 0, 8460, 540}, QStringLiteral("Roll Sheet"),
                          report::Alignment::Left);
    addMeetingBox(header, QStringLiteral("Label10"), {8460, 120, 960, 300}, QStringLiteral("Date:"),
                  QStringLiteral("MtgDate"), {9600, 120, 1080, 300}, QStringLiteral("Shape3"),
                  {9540, 60, 1200, 360});
    addMeetingBox(header, QStringLiteral("Label8"), {7920, 540, 1500, 360},
                  QStringLiteral("Attendance:"), QStringLiteral("MtgAttendance"),
                  {9600, 540, 1080, 300}, QStringLiteral("Shape1"), {9540, 480, 1200, 360});
    addMeetingBox(header, QStringLiteral("Label9"), {8280, 960, 1140, 360},
                  QStringLiteral("Offering:"), QStringLiteral("MtgOffering"),
                  {9600, 960, 1080, 300}, QStringLiteral("Shape2"), {9540, 900, 1200, 360});
    addMeetingBox(header, QStringLiteral("Label15"), {0, 540, 840, 300}, QStringLiteral("Topic:"),
                  QStringLiteral("MtgTopic"), {900, 540, 6240, 300}, QStringLiteral("Shape4"),
                  {840, 480, 6360, 360});
    addMeetingBox(header, QStringLiteral("Label16"), {0, 960, 840, 300}, QStringLiteral("Verse:"),
                  QStringLiteral("MtgVerse"), {900, 960, 2640, 300}, QStringLiteral("Shape5"),
                  {840, 900, 2760, 360});
    addFrame(header, QStringLiteral("HeaderBox"), {0, 1320, 10740, 360});
    const struct {
        const char* present;
        const char* name;
        report::Twips left;
    } columns[] = {
        {"Label6", "Label7", 0}, {"Label11", "Label12", 3600}, {"Label13", "Label14", 7200}};
    for (const auto& column : columns) {
        reportparts::addLabel(header, QString::fromLatin1(column.present),
                              {column.left, 1380, 840, 300}, QStringLiteral("Present"),
                              kHeadingPoints, true, report::Alignment::Center);
        reportparts::addLabel(header, QString::fromLatin1(column.name),
                              {column.left + 960, 1380, 1980, 300}, QStringLiteral("Name"),
                              kHeadingPoints, true, report::Alignment::Left);
    }
    addLine(header, QStringLiteral("VLine2"), 3600, 1320, 3600, 1680);
    addLine(header, QStringLiteral("Line4"), 7200, 1320, 7200, 1680);

    report::Section& detail = Detail();
    detail.setColumnCount(3);
    detail.setColumnDirection(report::ColumnDirection::DownThenAcross);
    detail.setHeight(kDetailHeight);
    auto& present = detail.Controls().add<report::CheckBox>(QStringLiteral("chkPresent"));
    present.setBounds(540, 60, 300, 240);
    auto& name = detail.Controls().add<report::TextBox>(QStringLiteral("txtYouthName"));
    name.setBounds(900, 60, 2460, 240);
    name.setFontSize(kNamePoints);
    name.setWordWrap(false);
    m_barcode = std::make_unique<PersonBarcodeSymbol>(detail, name, kBarcodeTop);

    PageFooter().setHeight(390);
    reportparts::addMakerFooter(PageFooter(), {0, 120, 10740, 240}, {0, 120, 3240, 240},
                                {7500, 120, 3240, 240});

    m_meetingMode = program().ReportWeekID >= 1;
    if (m_meetingMode) {
        // Removed people who attended are listed: they were there.
        OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth_ID, Youth_FName, Youth_LName, Weeks.*") +
                  QStringLiteral(" FROM Weeks INNER JOIN (Youth INNER JOIN Attendance ON "
                                 "Youth.Youth_ID = Attendance.Attend_Youth_ID) ON Weeks.Wk_ID = "
                                 "Attendance.Attend_Wk_ID") +
                  QStringLiteral(" WHERE Attend_Wk_ID = ") +
                  QString::number(program().ReportWeekID) +
                  QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
        if (RowCount() > 0) {
            TryStep("Reading the meeting of the roll sheet", [this] {
                data::Recordset& rows = Rows();
                m_meeting.date = shortDateText(rows[QStringLiteral("Wk_Date")]);
                if (ToDouble(rows[QStringLiteral("Wk_Offering")], 0) > 0)
                    m_meeting.offering =
                        QStringLiteral("$") + fieldText(rows, QStringLiteral("Wk_Offering"));
                m_meeting.topic = fieldText(rows, QStringLiteral("Wk_Topic"));
                m_meeting.verse = fieldText(rows, QStringLiteral("Wk_Scripture"));
            });
        }
    } else {
        OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth_ID, Youth_FName, Youth_LName") +
                  QStringLiteral(" From Youth WHERE Youth_Deleted = False ") + AndReportFilter() +
                  QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
    }

    PageHeader()
        .Controls()
        .Item<report::Label>(QStringLiteral("Title"))
        .setCaption(QStringLiteral("Roll Sheet - ") + settings().GroupName());
    m_barcodeMode = program().ReportOption == QLatin1String("BARCODE");
    detail.setHeight(m_barcodeMode ? kBarcodeDetailHeight : kDetailHeight);
}

void rptRollSheet::ReportStart()
{
    m_barcode->reset();
}

void rptRollSheet::PageStart()
{
    Printer().setOrientation(report::Orientation::Portrait);
    setPrintHeight(kPageHeight);
}

void rptRollSheet::PageHeader_Format()
{
    ListReport::PageHeader_Format();
    if (!m_meetingMode)
        return;
    report::ControlCollection& header = PageHeader().Controls();
    const auto set = [&header](const char* box, const QString& value) {
        header.Item<report::TextBox>(QString::fromLatin1(box)).setText(value);
    };
    const bool any = RowCount() > 0;
    set("MtgDate", m_meeting.date);
    set("MtgAttendance", any ? QString::number(RowCount()) : QString());
    set("MtgOffering", m_meeting.offering);
    set("MtgTopic", m_meeting.topic);
    set("MtgVerse", m_meeting.verse);
}

void rptRollSheet::FillDetail(data::Recordset& rows)
{
    const QString id = fieldText(rows, QStringLiteral("Youth_ID"));
    report::ControlCollection& controls = Detail().Controls();
    setFittedText(controls.Item<report::TextBox>(QStringLiteral("txtYouthName")),
                  fieldText(rows, QStringLiteral("Youth_LName")) + QStringLiteral(", ") +
                      fieldText(rows, QStringLiteral("Youth_FName")),
                  kNamePoints);
    controls.Item<report::CheckBox>(QStringLiteral("chkPresent")).setValue(m_meetingMode ? 1 : 0);
    if (m_barcodeMode)
        m_barcode->draw(id);
}
