#include "reports/rptMissingData.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/StatusRules.h"
#include "platform/ui/Services.h"

namespace {

constexpr report::Twips kWidth = 14220;
constexpr report::Twips kHeadingTop = 960;
constexpr report::Twips kFieldTop = 45;

} // namespace

rptMissingData::rptMissingData()
    : LandscapeList(
          {.width = kWidth, .headerHeight = 1260, .headingBoxTop = 915, .stampLeft = 10980}),
      m_mode(program().ReportOption)
{
    using report::Alignment;

    addHeading(QStringLiteral("Label7"), 60, kHeadingTop, 1980, QStringLiteral("Name"));
    addHeading(QStringLiteral("DateLabel"), 2700, kHeadingTop, 1140, QString(), Alignment::Center);
    addHeading(QStringLiteral("Label8"), 3960, kHeadingTop, 2460, QStringLiteral("Address"));
    addHeading(QStringLiteral("Label9"), 7020, kHeadingTop, 1140, QStringLiteral("City"));
    addHeading(QStringLiteral("Label10"), 8760, kHeadingTop, 600, QStringLiteral("State"),
               Alignment::Center);
    addHeading(QStringLiteral("Label11"), 9360, kHeadingTop, 1140, QStringLiteral("Postal Code"),
               Alignment::Center);
    addHeading(QStringLiteral("Label13"), 10560, kHeadingTop, 1740, QStringLiteral("E-mail"));
    addHeading(QStringLiteral("Label12"), 12600, kHeadingTop, 1260, QStringLiteral("Home Phone"));
    addHeadingRules({2730, 3840, 6960, 8730, 9360, 10530, 12540});

    Detail().setHeight(315);
    addField(QStringLiteral("txtYouthName"), 60, kFieldTop, 2640);
    addField(QStringLiteral("txtDate"), 2760, kFieldTop, 1020, Alignment::Center);
    addField(QStringLiteral("txtAddress"), 3900, kFieldTop, 3000);
    addField(QStringLiteral("txtCity"), 7020, kFieldTop, 1680);
    addField(QStringLiteral("txtState"), 8760, kFieldTop, 600, Alignment::Center);
    addField(QStringLiteral("txtZip"), 9360, kFieldTop, 1140, Alignment::Center);
    addField(QStringLiteral("txtEmail"), 10560, kFieldTop, 1920)
        .setText(QStringLiteral("someone@mail.example"));
    addField(QStringLiteral("txtPhone"), 12600, kFieldTop, 1380);
    addRowRules({2730, 3840, 6960, 8730, 9360, 10530, 12540},
                numbered(QStringLiteral("Line"), 1, 10));

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
        TryStep("Counting the people missing in action", [&] {
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

    setField(QStringLiteral("txtYouthName"), fieldText(rows, QStringLiteral("Youth_FName")) +
                                                 QLatin1Char(' ') +
                                                 fieldText(rows, QStringLiteral("Youth_LName")));
    setField(QStringLiteral("txtDate"),
             shortDateText(rows[MiaMode() ? QStringLiteral("Youth_Last_Attended")
                                          : QStringLiteral("Youth_Bday")]));
    setField(QStringLiteral("txtAddress"), fieldText(rows, QStringLiteral("Youth_Address1")));
    setField(QStringLiteral("txtCity"), fieldText(rows, QStringLiteral("Youth_City")));
    setField(QStringLiteral("txtState"), fieldText(rows, QStringLiteral("Youth_State")).toUpper());
    setField(QStringLiteral("txtZip"), fieldText(rows, QStringLiteral("Youth_Zip")));
    setField(QStringLiteral("txtPhone"), fieldText(rows, QStringLiteral("Youth_HomePhone")));
    setField(QStringLiteral("txtEmail"), fieldText(rows, QStringLiteral("Youth_Email")));
}
