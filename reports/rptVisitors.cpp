#include "reports/rptVisitors.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"

namespace {

constexpr report::Twips kWidth = 14100;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kDetailHeight = 615;
constexpr report::Twips kLine1Top = 45;
constexpr report::Twips kLine2Top = 300;

// The follow-up boxes, each centred in its 600-twip column and in the row.
constexpr report::Twips kCheckSide = 195;
constexpr report::Twips kCheckInset = 203; // (600 - 195) / 2, to a whole twip
constexpr report::Twips kCheckTop = 180;

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

rptVisitors::rptVisitors()
    : LandscapeList(
          {.width = kWidth, .headerHeight = 1440, .headingBoxTop = 870, .stampLeft = 10860})
{
    using report::Alignment;
    setCaption(QStringLiteral("Visitor Checklist"));

    PageHeader()
        .Controls()
        .Item<report::Label>(QStringLiteral("Title"))
        .setCaption(QStringLiteral("Visitor Checklist"));
    addHeading(QStringLiteral("Label7"), 60, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(QStringLiteral("Label8"), 2580, kHeadingTop, 2460, QStringLiteral("Address"));
    addHeading(QStringLiteral("Label12"), 5820, kHeadingTop, 2400,
               QStringLiteral("Home Phone / Email"));
    addHeading(QStringLiteral("Label16"), 9000, kHeadingTop, 1980, QStringLiteral("Invited By"));
    addHeading(QStringLiteral("lblLastAttend"), 11100, 900, 1080,
               QStringLiteral("Last") + kCrLf + QStringLiteral("Attended"), Alignment::Center)
        .setHeight(480);
    addHeading(QStringLiteral("Label14"), 12300, kHeadingTop, 600, QStringLiteral("Letter"),
               Alignment::Center);
    addHeading(QStringLiteral("Label11"), 12900, kHeadingTop, 600, QStringLiteral("Call"),
               Alignment::Center);
    addHeading(QStringLiteral("Label13"), 13500, kHeadingTop, 600, QStringLiteral("Visit"),
               Alignment::Center);
    addHeadingRules({2520, 5760, 8940, 11040, 12240, 12900, 13500});

    Detail().setHeight(kDetailHeight);
    addField(QStringLiteral("txtYouthName"), 60, kLine1Top, 2400);
    addField(QStringLiteral("txtAddress"), 2580, kLine1Top, 3120);
    addField(QStringLiteral("txtPhone"), 5820, kLine1Top, 2100);
    // Who invited the visitor may take both lines of the row.
    auto& contact = addField(QStringLiteral("txtContact"), 9000, kLine1Top, 1980);
    contact.setWordWrap(true);
    contact.setHeight(kDetailHeight - 2 * kLine1Top);
    addField(QStringLiteral("txtAttended"), 11100, kLine1Top, 1080, Alignment::Center);
    addField(QStringLiteral("txtCity"), 2580, kLine2Top, 3120);
    addField(QStringLiteral("txtEmail"), 5820, kLine2Top, 3060);
    for (const auto& [name, column] : {std::pair{"chkWrite", 12300}, std::pair{"chkCall", 12900},
                                       std::pair{"chkVisit", 13500}}) {
        auto& box = Detail().Controls().add<report::CheckBox>(QString::fromLatin1(name));
        box.setBounds(column + kCheckInset, kCheckTop, kCheckSide, 240);
    }
    addRowRules({2520, 5760, 8940, 11040, 12240, 12900, 13500},
                numbered(QStringLiteral("Line"), 1, 10));

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
    setField(QStringLiteral("txtYouthName"), fieldText(rows, QStringLiteral("Youth_FName")) +
                                                 QLatin1Char(' ') +
                                                 fieldText(rows, QStringLiteral("Youth_LName")));
    setField(QStringLiteral("txtAddress"), fieldText(rows, QStringLiteral("Youth_Address1")));
    QString city = fieldText(rows, QStringLiteral("Youth_City"));
    if (const QString state = fieldText(rows, QStringLiteral("Youth_State")); !state.isEmpty())
        city += QStringLiteral(", ") + state.toUpper();
    setField(QStringLiteral("txtCity"),
             city + QStringLiteral("  ") + fieldText(rows, QStringLiteral("Youth_Zip")));
    setField(QStringLiteral("txtPhone"), fieldText(rows, QStringLiteral("Youth_HomePhone")));
    setField(QStringLiteral("txtEmail"), fieldText(rows, QStringLiteral("Youth_Email")));
    setField(QStringLiteral("txtContact"), fieldText(rows, QStringLiteral("Youth_Contact")));
    setField(QStringLiteral("txtAttended"),
             shortDateText(rows[QStringLiteral("Youth_Last_Attended")]));
    // Ticked when the follow-up was done.
    for (const auto& [box, field] :
         {std::pair{"chkCall", "Youth_VCall"}, std::pair{"chkWrite", "Youth_VLetter"},
          std::pair{"chkVisit", "Youth_VHouseCall"}})
        Detail()
            .Controls()
            .Item<report::CheckBox>(QString::fromLatin1(box))
            .setValue(ToBoolean(rows[QString::fromLatin1(field)], false) ? 1 : 0);
}
