#include "reports/rptMissingData.h"

#include "reports/ListTable.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/ResumeNext.h"
#include "shell/StatusRules.h"
#include "platform/ui/Services.h"

using listtable::addField;
using listtable::addHeading;
using listtable::addVerticalRule;
using listtable::fieldText;

namespace {

constexpr report::Twips kWidth = 14220;
// The rules between the columns (twips).
constexpr report::Twips kRules[] = {2730, 3840, 6960, 8730, 9360, 10530, 12540};

constexpr report::Twips kHeaderHeight = 1260;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kHeaderBoxTop = 915;
constexpr report::Twips kDetailHeight = 315;
constexpr report::Twips kFieldTop = 45;

} // namespace

rptMissingData::rptMissingData() : m_mode(program().ReportOption)
{
    using report::Alignment;

    report::Section& header = PageHeader();
    header.setHeight(kHeaderHeight);
    listtable::addBox(header, QStringLiteral("HeaderBox"),
                      {0, kHeaderBoxTop, kWidth, kHeaderHeight - kHeaderBoxTop});
    AddTitle({0, 0, kWidth, 540}, QString());
    AddSubTitle({0, 480, kWidth, 360});
    AddTimestampAndPage({10980, 0, 3240, 270}, {10980, 300, 3240, 270});
    addHeading(header, QStringLiteral("Label7"), 60, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(header, QStringLiteral("DateLabel"), 2700, kHeadingTop, 1140, QString(),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label8"), 3960, kHeadingTop, 2460,
               QStringLiteral("Address"));
    addHeading(header, QStringLiteral("Label9"), 7020, kHeadingTop, 1140, QStringLiteral("City"));
    addHeading(header, QStringLiteral("Label10"), 8760, kHeadingTop, 600, QStringLiteral("State"),
               Alignment::Center);
    addHeading(header, QStringLiteral("Label11"), 9360, kHeadingTop, 1140,
               QStringLiteral("Postal Code"), Alignment::Center);
    addHeading(header, QStringLiteral("Label13"), 10560, kHeadingTop, 1740,
               QStringLiteral("E-mail"));
    addHeading(header, QStringLiteral("Label12"), 12600, kHeadingTop, 1260,
               QStringLiteral("Home Phone"));
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        addVerticalRule(header, QStringLiteral("VLine%1").arg(i + 1), kRules[i], kHeaderBoxTop,
                        kHeaderHeight);

    report::Section& detail = Detail();
    detail.setHeight(kDetailHeight);
    addField(detail, QStringLiteral("txtYouthName"), 60, kFieldTop, 2640);
    addField(detail, QStringLiteral("txtDate"), 2760, kFieldTop, 1020, Alignment::Center);
    addField(detail, QStringLiteral("txtAddress"), 3900, kFieldTop, 3000);
    addField(detail, QStringLiteral("txtCity"), 7020, kFieldTop, 1680);
    addField(detail, QStringLiteral("txtState"), 8760, kFieldTop, 600, Alignment::Center);
    addField(detail, QStringLiteral("txtZip"), 9360, kFieldTop, 1140, Alignment::Center);
    addField(detail, QStringLiteral("txtEmail"), 10560, kFieldTop, 1920)
        .setText(QStringLiteral("someone@mail.example"));
    addField(detail, QStringLiteral("txtPhone"), 12600, kFieldTop, 1380);
    addVerticalRule(detail, QStringLiteral("Line1"), 0, 0, kDetailHeight);
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        addVerticalRule(detail, QStringLiteral("Line%1").arg(i + 2), kRules[i], 0, kDetailHeight);
    addVerticalRule(detail, QStringLiteral("Line9"), kWidth, 0, kDetailHeight);
    listtable::addHorizontalRule(detail, QStringLiteral("Line10"), kDetailHeight, 0, kWidth);

    PageFooter().setHeight(390);
    AddMakerFooter({0, 90, kWidth, 270}, {0, 90, 3240, 270}, {10980, 90, 3240, 270});

    const QString& filter = program().ReportFilter;
    QString condition;
    if (MiaMode()) {
        condition = QStringLiteral(" WHERE (Youth_Deleted = False AND Youth_Status = ") +
                    QStringLiteral("1") + AndReportFilter() + QStringLiteral(")");
        setCaption(QStringLiteral("Missing in Action"));
    } else {
        condition = QStringLiteral(" WHERE ((IsNull(Youth_Address1) Or IsNull(Youth_Bday) Or "
                                   "IsNull(Youth_HomePhone) Or IsNull(Youth_Email))=Yes) AND "
                                   "Youth_Deleted=False") +
                    (filter.isEmpty() ? QStringLiteral(" ") : AndReportFilter());
        setCaption(QStringLiteral("Missing Data"));
    }
    OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth.*") + QStringLiteral(" From Youth") +
              condition + QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));

    // The missing-in-action rule decides row by row which active people print. Count them
    // first: when the query found active people but none of them is missing, say so rather
    // than show blank pages.
    m_listedCount = RowCount();
    if (MiaMode() && RowCount() > 0) {
        m_listedCount = 0;
        data::Recordset& rows = Rows();
        ResumeNext("Counting the people missing in action", [&] {
            for (rows.MoveFirst(); !rows.EOF(); rows.MoveNext()) {
                if (listed(rows))
                    ++m_listedCount;
            }
            rows.MoveFirst();
        });
        if (m_listedCount == 0)
            ui::plainMessage(kNoRecordsText, kNoRecordsTitle);
    }

    PageHeader()
        .Controls()
        .Item<report::Label>(QStringLiteral("Title"))
        .setCaption(MiaMode() ? QStringLiteral("Missing in Action List")
                              : QStringLiteral("Missing Data in the Directory"));
    PageHeader()
        .Controls()
        .Item<report::Label>(QStringLiteral("DateLabel"))
        .setCaption(MiaMode() ? QStringLiteral("MIA Since") : QStringLiteral("Birthday"));
    SetSubTitle();
}

bool rptMissingData::listed(data::Recordset& rows) const
{
    if (!MiaMode())
        return true;
    try {
        return IsMIA(ToInteger(rows[QStringLiteral("Youth_Status")], 0),
                     rows[QStringLiteral("Youth_Last_Attended")]);
    } catch (const std::exception&) {
        // A last-attended value that is not a date tells nothing about an absence.
        return false;
    }
}

void rptMissingData::FillDetail(data::Recordset& rows)
{
    Detail().setVisible(listed(rows));

    report::ControlCollection& c = Detail().Controls();
    auto set = [&c](const char* control, const QString& text) {
        c.Item<report::TextBox>(QString::fromLatin1(control)).setText(text);
    };
    set("txtYouthName", fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                            fieldText(rows, QStringLiteral("Youth_LName")));
    set("txtDate", fieldText(rows, MiaMode() ? QStringLiteral("Youth_Last_Attended")
                                             : QStringLiteral("Youth_Bday")));
    set("txtAddress", fieldText(rows, QStringLiteral("Youth_Address1")));
    set("txtCity", fieldText(rows, QStringLiteral("Youth_City")));
    set("txtState", fieldText(rows, QStringLiteral("Youth_State")).toUpper());
    set("txtZip", fieldText(rows, QStringLiteral("Youth_Zip")));
    set("txtPhone", fieldText(rows, QStringLiteral("Youth_HomePhone")));
    set("txtEmail", fieldText(rows, QStringLiteral("Youth_Email")));
}
