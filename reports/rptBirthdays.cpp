#include "reports/rptBirthdays.h"

#include "reports/ListTable.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "platform/data/Variant.h"

#include <QLocale>

using listtable::addField;
using listtable::addHeading;
using listtable::addVerticalRule;
using listtable::fieldText;

namespace {

// The table's width, and the rules between its columns (twips).
constexpr report::Twips kWidth = 14160;
constexpr report::Twips kRules[] = {1380, 4260, 8190, 10440, 11190, 12570};

constexpr report::Twips kHeaderHeight = 1260;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kHeaderBoxTop = 915;
constexpr report::Twips kGroupHeaderHeight = 420;
constexpr report::Twips kDetailHeight = 315;
constexpr report::Twips kFieldTop = 45;

const QString kGroupByField = QStringLiteral("GroupByFld");

} // namespace

rptBirthdays::rptBirthdays() : m_mode(program().ReportOption.toUpper())
{
    using report::Alignment;

    report::Section& header = PageHeader();
    header.setHeight(kHeaderHeight);
    listtable::addBox(header, QStringLiteral("HeaderBox"),
                      {0, kHeaderBoxTop, kWidth, kHeaderHeight - kHeaderBoxTop});
    AddTitle({0, 0, kWidth, 540}, QString());
    AddSubTitle({0, 480, kWidth, 360});
    AddTimestampAndPage({10920, 0, 3240, 270}, {10920, 300, 3240, 270});
    addHeading(header, QStringLiteral("ColTitle1"), 120, kHeadingTop, 1140, QString(),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label7"), 1500, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(header, QStringLiteral("Label8"), 4440, kHeadingTop, 2460,
               QStringLiteral("Address"));
    addHeading(header, QStringLiteral("Label9"), 8280, kHeadingTop, 1140, QStringLiteral("City"));
    addHeading(header, QStringLiteral("Label10"), 10500, kHeadingTop, 620, QStringLiteral("State"),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label11"), 11340, kHeadingTop, 1200,
               QStringLiteral("Postal Code"));
    addHeading(header, QStringLiteral("Label12"), 12660, kHeadingTop, 1260,
               QStringLiteral("Home Phone"));
    for (int i = 0; i < 6; ++i)
        addVerticalRule(header, QStringLiteral("VLine%1").arg(i + 1), kRules[i], kHeaderBoxTop,
                        kHeaderHeight);

    m_monthHeader = &addGroup(QStringLiteral("MonthHeader"), QStringLiteral("GroupFooter1"));
    m_monthHeader->setHeight(kGroupHeaderHeight);
    auto& band = listtable::addBox(*m_monthHeader, QStringLiteral("Shape1"), {0, 30, kWidth, 360});
    band.setBackStyle(report::BackStyle::Opaque);
    band.setBackColor(QColor(230, 230, 230));
    auto& caption = m_monthHeader->Controls().add<report::Label>(QStringLiteral("MonthLabel"));
    caption.setBounds(120, 60, 7920, 300);
    caption.setFontSize(12);
    caption.setFontBold(true);
    caption.setCaption(QStringLiteral("Birthdays For:"));
    m_monthHeader->onFormat([this] { MonthHeader_Format(); });
    m_monthHeader->footer().setHeight(0);

    report::Section& detail = Detail();
    detail.setHeight(kDetailHeight);
    addField(detail, QStringLiteral("txtBirthday"), 120, kFieldTop, 1140, Alignment::Center);
    addField(detail, QStringLiteral("txtYouthName"), 1500, kFieldTop, 2700);
    addField(detail, QStringLiteral("txtAddress"), 4320, kFieldTop, 3780);
    addField(detail, QStringLiteral("txtCity"), 8280, kFieldTop, 2100);
    addField(detail, QStringLiteral("txtState"), 10500, kFieldTop, 600, Alignment::Center);
    addField(detail, QStringLiteral("txtZip"), 11280, kFieldTop, 1200);
    addField(detail, QStringLiteral("txtPhone"), 12660, kFieldTop, 1440);
    // The outer edges, the rules between the columns and the line under the row.
    addVerticalRule(detail, QStringLiteral("Line3"), 0, 0, kDetailHeight);
    for (int i = 0; i < 6; ++i)
        addVerticalRule(detail, QStringLiteral("Line%1").arg(i + 4), kRules[i], 0, kDetailHeight);
    addVerticalRule(detail, QStringLiteral("Line11"), kWidth, 0, kDetailHeight);
    listtable::addHorizontalRule(detail, QStringLiteral("Line12"), kDetailHeight, 0, kWidth);
    detail.onAfterPrint([this] { Detail_AfterPrint(); });

    PageFooter().setHeight(390);
    AddMakerFooter({0, 90, kWidth, 270}, {0, 90, 3240, 270}, {10920, 90, 3240, 270});

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
    SetSubTitle();
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
    report::ControlCollection& c = Detail().Controls();
    auto set = [&c](const char* control, const QString& text) {
        c.Item<report::TextBox>(QString::fromLatin1(control)).setText(text);
    };
    set("txtBirthday", QString());
    set("txtYouthName", fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                            fieldText(rows, QStringLiteral("Youth_LName")));
    if (SchoolMode())
        set("txtBirthday",
            fieldText(rows, QStringLiteral("Youth_School_Grade")) + QLatin1Char(' '));
    else
        set("txtBirthday", fieldText(rows, QStringLiteral("Youth_Bday")));
    set("txtAddress", fieldText(rows, QStringLiteral("Youth_Address1")));
    set("txtCity", fieldText(rows, QStringLiteral("Youth_City")));
    set("txtState", fieldText(rows, QStringLiteral("Youth_State")).toUpper());
    set("txtZip", fieldText(rows, QStringLiteral("Youth_Zip")));
    set("txtPhone", fieldText(rows, QStringLiteral("Youth_HomePhone")));
}

void rptBirthdays::Detail_AfterPrint()
{
    takeGroupValue();
}
