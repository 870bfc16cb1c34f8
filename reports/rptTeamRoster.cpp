#include "reports/rptTeamRoster.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"

#include <array>

namespace {

constexpr double kSmallPoints = 9;
constexpr report::Twips kRowHeight = 300;
constexpr report::Twips kRowRule = 280; // the rule under each row, from the row's top
constexpr int kBlankRows = 8;

// The column rules of a row and of the heading band, and the lefts of the four boxes.
constexpr std::array<report::Twips, 8> kRowRules = {0, 2580, 3360, 4140, 4920, 6000, 7320, 10740};
constexpr std::array<report::Twips, 6> kHeadingRules = {2580, 3360, 4140, 4920, 6000, 7320};
constexpr std::array<report::Twips, 4> kBoxLefts = {2880, 3660, 4440, 5100};
constexpr report::Twips kBoxSize = 180;
constexpr report::Twips kBoxTop = 60;

report::TextBox& addField(report::Section& section, const QString& name, const QRectF& bounds)
{
    auto& field = section.Controls().add<report::TextBox>(name);
    field.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    field.setFontSize(kSmallPoints);
    field.setWordWrap(false);
    return field;
}

// One row of the grid with its top at top: the column rules down to the next row, the four
// boxes and the rule under the row.
void addGridRow(report::Section& section, report::Twips top)
{
    for (report::Twips x : kRowRules)
        section.Controls().add<report::Line>().setPoints(x, top, x, top + kRowHeight);
    for (report::Twips left : kBoxLefts)
        section.Controls().add<report::Shape>().setBounds(left, top + kBoxTop, kBoxSize, kBoxSize);
    section.Controls().add<report::Line>().setPoints(0, top + kRowRule, 10800, top + kRowRule);
}

} // namespace

rptTeamRoster::rptTeamRoster()
{
    setCaption(QStringLiteral("Team Roster"));

    report::Section& header = PageHeader();
    header.setHeight(960);
    reportparts::addTitle(header, {0, 0, 10740, 540}, QStringLiteral("Team Rosters"),
                          report::Alignment::Left);
    header.Controls().add<report::Shape>(QStringLiteral("HeaderBox")).setBounds(0, 600, 10740, 360);
    reportparts::addTimestampAndPage(header, {7500, 0, 3240, 300}, {7500, 300, 3240, 240});
    const struct {
        const char* name;
        report::Twips left;
        report::Twips width;
        const char* caption;
        bool bold;
        report::Alignment alignment;
    } headings[] = {
        {"Label7", 120, 1980, "Name", true, report::Alignment::Left},
        {"Label10", 2580, 780, "Present", false, report::Alignment::Center},
        {"Label11", 3360, 780, "Bible", false, report::Alignment::Center},
        {"Label12", 4140, 780, "Offering", false, report::Alignment::Center},
        {"Label13", 4920, 1020, "Visitors (#)", false, report::Alignment::Center},
        {"Label9", 6060, 1140, "Phone", true, report::Alignment::Left},
        {"Label8", 7500, 2460, "E-mail", true, report::Alignment::Left},
    };
    for (const auto& h : headings) {
        reportparts::addLabel(header, QString::fromLatin1(h.name), {h.left, 660, h.width, 240},
                              QString::fromLatin1(h.caption), kSmallPoints, h.bold, h.alignment);
    }
    for (report::Twips x : kHeadingRules)
        header.Controls().add<report::Line>().setPoints(x, 600, x, 960);

    report::GroupHeader& team =
        addGroup(QStringLiteral("TeamHeader"), QStringLiteral("GroupFooter1"));
    team.setHeight(420);
    team.setBackColor(QColor(192, 192, 192));
    team.setBackStyle(report::BackStyle::Opaque);
    team.Controls().add<report::Shape>(QStringLiteral("Shape1")).setBounds(0, 0, 10740, 420);
    reportparts::addLabel(team, QStringLiteral("TeamLabel"), {120, 60, 7920, 300},
                          QStringLiteral("Team Name"), 12, true);
    team.onFormat([this] { TeamHeader_Format(); });
    // The group is the team of the row the next detail prints.
    team.setGroupValueSource([this]() -> std::optional<data::Variant> {
        data::Recordset& rows = Rows();
        if (rows.State() != data::adStateOpen || rows.EOF())
            return std::nullopt;
        return rows[QStringLiteral("Youth_Team")].Value();
    });

    report::Section& detail = Detail();
    detail.setHeight(kRowHeight);
    addField(detail, QStringLiteral("txtYouthName"), {60, 35, 2460, 240});
    addField(detail, QStringLiteral("txtPhone"), {6060, 35, 1200, 240});
    addField(detail, QStringLiteral("txtEmail"), {7380, 35, 3300, 240});
    addGridRow(detail, 0);

    report::Section& blankRows = team.footer();
    blankRows.setHeight(2520);
    for (int k = 0; k < kBlankRows; ++k)
        addGridRow(blankRows, k * kRowHeight);

    PageFooter().setHeight(390);
    reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
                                {7470, 90, 3240, 270});

    OpenQuery(QStringLiteral("SELECT DISTINCTROW Youth.* ") +
              QStringLiteral(" From Youth WHERE Youth_Deleted=False AND Youth_Leader=False AND "
                             "Youth_Team <> ''") +
              AndReportFilter() +
              QStringLiteral(" ORDER BY Youth_Team, Youth_LName, Youth_FName;"));

    header.Controls()
        .Item<report::Label>(QStringLiteral("Title"))
        .setCaption(QStringLiteral("Team Rosters - ") + settings().GroupName());
}

QString rptTeamRoster::TeamCaption(const data::Variant& team)
{
    if (ToString(team, QString()).trimmed().isEmpty())
        return QStringLiteral("Members not on a team");
    return ToString(team, QString());
}

void rptTeamRoster::TeamHeader_Format()
{
    data::Recordset& rows = Rows();
    if (rows.EOF())
        return;
    group(0)
        .Controls()
        .Item<report::Label>(QStringLiteral("TeamLabel"))
        .setCaption(TeamCaption(rows[QStringLiteral("Youth_Team")].Value()));
    group(0).request();
}

void rptTeamRoster::FillDetail(data::Recordset& rows)
{
    report::ControlCollection& controls = Detail().Controls();
    controls.Item<report::TextBox>(QStringLiteral("txtYouthName"))
        .setText(fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                 fieldText(rows, QStringLiteral("Youth_LName")));
    controls.Item<report::TextBox>(QStringLiteral("txtEmail"))
        .setText(fieldText(rows, QStringLiteral("Youth_Email")));
    controls.Item<report::TextBox>(QStringLiteral("txtPhone"))
        .setText(fieldText(rows, QStringLiteral("Youth_HomePhone")));
}
