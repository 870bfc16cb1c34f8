#include "reports/rptBirthdays.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "platform/data/Variant.h"

#include <QLocale>

namespace {

constexpr report::Twips kWidth = 14160;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kFieldTop = 45;

const QString kGroupByField = QStringLiteral("GroupByFld");

} // namespace

rptBirthdays::rptBirthdays()
    : LandscapeList(
          {.width = kWidth, .headerHeight = 1260, .headingBoxTop = 915, .stampLeft = 10920}),
      m_mode(program().ReportOption.toUpper())
{
    using report::Alignment;

    addHeading(QStringLiteral("ColTitle1"), 120, kHeadingTop, 1140, QString(), Alignment::Center);
    addHeading(QStringLiteral("Label7"), 1500, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(QStringLiteral("Label8"), 4440, kHeadingTop, 2460, QStringLiteral("Address"));
    addHeading(QStringLiteral("Label9"), 8280, kHeadingTop, 1140, QStringLiteral("City"));
    addHeading(QStringLiteral("Label10"), 10500, kHeadingTop, 620, QStringLiteral("State"),
               Alignment::Center);
    addHeading(QStringLiteral("Label11"), 11340, kHeadingTop, 1200, QStringLiteral("Postal Code"));
    addHeading(QStringLiteral("Label12"), 12660, kHeadingTop, 1260, QStringLiteral("Home Phone"));
    addHeadingRules({1380, 4260, 8190, 10440, 11190, 12570});

    m_monthHeader = &addGroup(QStringLiteral("MonthHeader"), QStringLiteral("GroupFooter1"));
    m_monthHeader->setHeight(420);
    auto& band = m_monthHeader->Controls().add<report::Shape>(QStringLiteral("Shape1"));
    band.setBounds(0, 30, kWidth, 390);
    band.setBackStyle(report::BackStyle::Opaque);
    band.setBackColor(QColor(230, 230, 230));
    auto& caption = m_monthHeader->Controls().add<report::Label>(QStringLiteral("MonthLabel"));
    caption.setBounds(120, 60, 7920, 330);
    caption.setFontSize(12);
    caption.setFontBold(true);
    caption.setCaption(QStringLiteral("Birthdays For:"));
    m_monthHeader->onFormat([this] { MonthHeader_Format(); });
    m_monthHeader->footer().setHeight(0);

    Detail().setHeight(315);
    addField(QStringLiteral("txtBirthday"), 120, kFieldTop, 1140, Alignment::Center);
    addField(QStringLiteral("txtYouthName"), 1500, kFieldTop, 2700);
    addField(QStringLiteral("txtAddress"), 4320, kFieldTop, 3780);
    addField(QStringLiteral("txtCity"), 8280, kFieldTop, 2100);
    addField(QStringLiteral("txtState"), 10500, kFieldTop, 600, Alignment::Center);
    addField(QStringLiteral("txtZip"), 11280, kFieldTop, 1200);
    addField(QStringLiteral("txtPhone"), 12660, kFieldTop, 1440);
    addRowRules({1380, 4260, 8190, 10440, 11190, 12570},
                numbered(QStringLiteral("Line"), 3, 9) + numbered(QStringLiteral("Line"), 11, 12));
    Detail().onAfterPrint([this] { Detail_AfterPrint(); });

    const QString filter = AndReportFilter();
    if (SchoolMode()) {
        setCaption(QStringLiteral("Schools"));
        OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth.*, Trim(Youth_School) AS GroupByFld") +
                  QStringLiteral(" From Youth WHERE Youth_Deleted = False ") + filter +
                  QStringLiteral(" ORDER BY Trim(Youth_School), Youth_School_Grade, "
                                 "Youth_LName, Youth_FName;"));
    } else {
        setCaption(QStringLiteral("Birthdays"));
        OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth.*, Day([Youth_Bday]) AS BDAY, "
                                 "Month([Youth_Bday]) AS GroupByFld") +
                  QStringLiteral(" From Youth WHERE Youth_Deleted = False ") + filter +
                  QStringLiteral(" ORDER BY Month([Youth_Bday]), Day([Youth_Bday]), "
                                 "Youth_LName, Youth_FName;"));
    }
    takeGroupValue();
}

void rptBirthdays::takeGroupValue()
{
    data::Recordset& rows = Rows();
    if (rows.State() == data::adStateOpen && !rows.EOF())
        m_monthHeader->setGroupValue(rows[kGroupByField]);
}

void rptBirthdays::PageHeader_Format()
{
    ListReport::PageHeader_Format();
    report::ControlCollection& controls = PageHeader().Controls();
    controls.Item<report::Label>(QStringLiteral("Title"))
        .setCaption(SchoolMode() ? QStringLiteral("School Report")
                                 : QStringLiteral("Birthday Report"));
    controls.Item<report::Label>(QStringLiteral("ColTitle1"))
        .setCaption(SchoolMode() ? QStringLiteral("Grade") : QStringLiteral("Birthday"));
    takeGroupValue();
}

void rptBirthdays::MonthHeader_Format()
{
    data::Recordset& rows = Rows();
    if (rows.State() != data::adStateOpen || rows.EOF())
        return;
    auto& caption = m_monthHeader->Controls().Item<report::Label>(QStringLiteral("MonthLabel"));
    if (SchoolMode()) {
        caption.setCaption(fieldText(rows, kGroupByField).isEmpty()
                               ? QStringLiteral("Members not asigned to a school")
                               : fieldText(rows, QStringLiteral("Youth_School")));
        return;
    }
    const auto birthday = convert::toDate(rows[QStringLiteral("Youth_Bday")]);
    if (ToInteger(rows[kGroupByField], 0) == 0 || !birthday) {
        caption.setCaption(QStringLiteral("Members with unknown birthdays"));
        return;
    }
    const int month = data::jetdate::toDate(*birthday).month();
    caption.setCaption(QStringLiteral("Birthdays in ") +
                       QLocale().standaloneMonthName(month, QLocale::LongFormat));
}

void rptBirthdays::FillDetail(data::Recordset& rows)
{
    setField(QStringLiteral("txtYouthName"), fieldText(rows, QStringLiteral("Youth_FName")) +
                                                 QLatin1Char(' ') +
                                                 fieldText(rows, QStringLiteral("Youth_LName")));
    setField(QStringLiteral("txtBirthday"),
             SchoolMode() ? fieldText(rows, QStringLiteral("Youth_School_Grade")) + QLatin1Char(' ')
                          : shortDateText(rows[QStringLiteral("Youth_Bday")]));
    setField(QStringLiteral("txtAddress"), fieldText(rows, QStringLiteral("Youth_Address1")));
    setField(QStringLiteral("txtCity"), fieldText(rows, QStringLiteral("Youth_City")));
    setField(QStringLiteral("txtState"), fieldText(rows, QStringLiteral("Youth_State")).toUpper());
    setField(QStringLiteral("txtZip"), fieldText(rows, QStringLiteral("Youth_Zip")));
    setField(QStringLiteral("txtPhone"), fieldText(rows, QStringLiteral("Youth_HomePhone")));
}

void rptBirthdays::Detail_AfterPrint()
{
    takeGroupValue();
}
