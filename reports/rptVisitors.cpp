#include "reports/rptVisitors.h"

#include "reports/ListTable.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"

using listtable::addField;
using listtable::addHeading;
using listtable::addVerticalRule;
using listtable::fieldText;

namespace {

constexpr report::Twips kWidth = 14100;
// The rules between the columns (twips).
constexpr report::Twips kRules[] = {2520, 5760, 8940, 11040, 12240, 12900, 13500};

constexpr report::Twips kHeaderHeight = 1440;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kHeaderBoxTop = 870;
constexpr report::Twips kDetailHeight = 615;
constexpr report::Twips kLine1Top = 45;
constexpr report::Twips kLine2Top = 300;

// The follow-up boxes, each centred in its 600-twip column.
constexpr report::Twips kCheckSide = 195;
constexpr report::Twips kCheckTop = 180;

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

rptVisitors::rptVisitors()
{
    using report::Alignment;
    setCaption(QStringLiteral("Visitor Checklist"));

    report::Section& header = PageHeader();
    header.setHeight(kHeaderHeight);
    listtable::addBox(header, QStringLiteral("HeaderBox"),
                      {0, kHeaderBoxTop, kWidth, kHeaderHeight - kHeaderBoxTop});
    AddTitle({0, 0, kWidth, 540}, QStringLiteral("Visitor Checklist"));
    AddSubTitle({0, 480, kWidth, 360});
    AddTimestampAndPage({10860, 0, 3240, 270}, {10860, 300, 3240, 270});
    addHeading(header, QStringLiteral("Label7"), 60, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(header, QStringLiteral("Label8"), 2580, kHeadingTop, 2460,
               QStringLiteral("Address"));
    addHeading(header, QStringLiteral("Label12"), 5820, kHeadingTop, 2400,
               QStringLiteral("Home Phone / Email"));
    addHeading(header, QStringLiteral("Label16"), 9000, kHeadingTop, 1980,
               QStringLiteral("Invited By"));
    addHeading(header, QStringLiteral("lblLastAttend"), 11100, 900, 1080,
               QStringLiteral("Last") + kCrLf + QStringLiteral("Attended"), Alignment::Center)
        .setHeight(480);
    addHeading(header, QStringLiteral("Label14"), 12300, kHeadingTop, 600, QStringLiteral("Letter"),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label11"), 12900, kHeadingTop, 600, QStringLiteral("Call"),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label13"), 13500, kHeadingTop, 600, QStringLiteral("Visit"),
               Alignment::Center);
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        addVerticalRule(header, QStringLiteral("VLine%1").arg(i + 1), kRules[i], kHeaderBoxTop,
                        kHeaderHeight);

    report::Section& detail = Detail();
    detail.setHeight(kDetailHeight);
    addField(detail, QStringLiteral("txtYouthName"), 60, kLine1Top, 2400);
    addField(detail, QStringLiteral("txtAddress"), 2580, kLine1Top, 3120);
    addField(detail, QStringLiteral("txtPhone"), 5820, kLine1Top, 2100);
    // Who invited the visitor may take both lines of the row.
    auto& contact = addField(detail, QStringLiteral("txtContact"), 9000, kLine1Top, 1980);
    contact.setWordWrap(true);
    contact.setHeight(kDetailHeight - kLine1Top - 45);
    addField(detail, QStringLiteral("txtAttended"), 11100, kLine1Top, 1080, Alignment::Center);
    addField(detail, QStringLiteral("txtCity"), 2580, kLine2Top, 3120);
    addField(detail, QStringLiteral("txtEmail"), 5820, kLine2Top, 3060);
    for (const auto& [name, column] : {std::pair{"chkWrite", 12300}, std::pair{"chkCall", 12900},
                                       std::pair{"chkVisit", 13500}}) {
        auto& box = detail.Controls().add<report::CheckBox>(QString::fromLatin1(name));
        box.setBounds(column + (600 - kCheckSide) / 2, kCheckTop, kCheckSide, 240);
        box.setFontSize(9);
    }
    addVerticalRule(detail, QStringLiteral("Line1"), 0, 0, kDetailHeight);
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        addVerticalRule(detail, QStringLiteral("Line%1").arg(i + 2), kRules[i], 0, kDetailHeight);
    addVerticalRule(detail, QStringLiteral("Line9"), kWidth, 0, kDetailHeight);
    listtable::addHorizontalRule(detail, QStringLiteral("Line10"), kDetailHeight, 0, kWidth);

    PageFooter().setHeight(390);
    AddMakerFooter({0, 90, kWidth, 270}, {0, 90, 3240, 270}, {10860, 90, 3240, 270});

    const QString& filter = program().ReportFilter;
    if (filter.isEmpty()) {
        OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth.*") + QStringLiteral(" From Youth") +
                  QStringLiteral(" Where Youth_Visitor = True AND Youth_Deleted=False") +
                  QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
    } else {
        // The condition (the first-attended date) applies to each visitor's meeting dates.
        OpenQuery(
            QStringLiteral("SELECT DISTINCTROW Youth_LName, Youth_FName, Youth_Last_Attended, "
                           "First(Wk_Date) AS FirstOfWk_Date, Youth_Address1, Youth_City, "
                           "Youth_State, Youth_Zip, Youth_EMail, Youth_HomePhone, Youth_Contact, "
                           "Youth_VLetter, Youth_VCall, Youth_VHousecall") +
            QStringLiteral(" FROM Youth INNER JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
                           "Attendance.Attend_Wk_ID) ON Youth.Youth_ID = "
                           "Attendance.Attend_Youth_ID") +
            QStringLiteral(" WHERE (Youth_Visitor = True And Youth_Deleted = False)") +
            QStringLiteral(" GROUP BY Youth_LName, Youth_FName, Youth_Last_Attended, "
                           "Youth_Address1, Youth_City, Youth_State, Youth_Zip, Youth_EMail, "
                           "Youth_HomePhone, Youth_Contact, Youth_VLetter, Youth_VCall, "
                           "Youth_VHousecall") +
            QStringLiteral(" HAVING ") + filter +
            QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
    }
    SetSubTitle();
}

void rptVisitors::PageHeader_Format()
{
    ListReport::PageHeader_Format();
    PageHeader()
        .Controls()
        .Item<report::Label>(QStringLiteral("lblLastAttend"))
        .setCaption(QStringLiteral("Last") + kCrLf + QStringLiteral("Attended"));
}

void rptVisitors::FillDetail(data::Recordset& rows)
{
    report::ControlCollection& c = Detail().Controls();
    auto set = [&c](const char* control, const QString& text) {
        c.Item<report::TextBox>(QString::fromLatin1(control)).setText(text);
    };
    auto tick = [&c, &rows](const char* control, const char* field) {
        c.Item<report::CheckBox>(QString::fromLatin1(control))
            .setValue(ToBoolean(rows[QString::fromLatin1(field)], false) ? 1 : 0);
    };
    set("txtYouthName", fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                            fieldText(rows, QStringLiteral("Youth_LName")));
    set("txtAddress", fieldText(rows, QStringLiteral("Youth_Address1")));
    QString city = fieldText(rows, QStringLiteral("Youth_City"));
    if (const QString state = fieldText(rows, QStringLiteral("Youth_State")); !state.isEmpty())
        city += QStringLiteral(", ") + state.toUpper();
    set("txtCity", city + QStringLiteral("  ") + fieldText(rows, QStringLiteral("Youth_Zip")));
    set("txtPhone", fieldText(rows, QStringLiteral("Youth_HomePhone")));
    set("txtEmail", fieldText(rows, QStringLiteral("Youth_Email")));
    set("txtContact", fieldText(rows, QStringLiteral("Youth_Contact")));
    set("txtAttended", fieldText(rows, QStringLiteral("Youth_Last_Attended")));
    tick("chkCall", "Youth_VCall");
    tick("chkWrite", "Youth_VLetter");
    tick("chkVisit", "Youth_VHouseCall");
}
