#include "reports/rptLabels.h"

#include "reports/ReportData.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// The label sheet (twips): labels 2-5/8 in wide with 1/8 in between, so a label starts every
// 2-3/4 in; rows 1 in high, ten to a sheet.
constexpr report::Twips kLabelPitch = 3960;
constexpr report::Twips kLabelHeight = 1440;
constexpr int kRowsPerSheet = 10;
constexpr int kColumns = 3;

// The text box inside each label.
constexpr report::Twips kTextLeft = 180;
constexpr report::Twips kTextTop = 120;
constexpr report::Twips kTextWidth = 3120;
constexpr report::Twips kTextHeight = 1260;
// Room kept free at the right of each line, so that no device's rounding of glyph widths
// pushes a line past the box.
constexpr report::Twips kWidthReserve = 30;

const QString kCrLf = QStringLiteral("\r\n");

report::Font labelFont()
{
    report::Font font;
    font.family = QStringLiteral("Arial");
    font.size = 9.75;
    return font;
}

// Replaces every occurrence of find that starts the text or follows a blank.
void replaceWords(QString& text, const QString& find, const QString& replacement)
{
    qsizetype from = 0;
    while ((from = text.indexOf(find, from)) >= 0) {
        if (from == 0 || text.at(from - 1) == QLatin1Char(' ')) {
            text.replace(from, find.size(), replacement);
            from += replacement.size();
        } else {
            from += 1;
        }
    }
}

} // namespace

QString AbbreviateAddress(const QString& street)
{
    if (street.isEmpty())
        return QString();
    QString text = street.toUpper();
    text.remove(QLatin1Char('.'));
    text.remove(QLatin1Char(','));

    static const std::pair<const char*, const char*> kWords[] = {
        {"NORTHEAST ", "NE "}, {"NORTHWEST ", "NW "}, {"SOUTHEAST ", "SE "}, {"SOUTHWEST ", "SW "},
        {"NORTH ", "N "},      {"SOUTH ", "S "},      {"EAST ", "E "},       {"WEST ", "W "},
        {"ROUTE ", "RTE "},    {"APARTMENT", "APT"},  {"SUITE ", "STE "},
    };
    for (const auto& [find, replacement] : kWords)
        replaceWords(text, QLatin1String(find), QLatin1String(replacement));

    // Only the street type that ends the line is shortened: "5 DRIVE IN DRIVE" is a drive.
    static const std::pair<const char*, const char*> kStreetTypes[] = {
        {" STREET", " ST"},    {" ROAD", " RD"},     {" AVENUE", " AVE"},     {" DRIVE", " DR"},
        {" COURT", " CT"},     {" HIGHWAY", " HWY"}, {" BOULEVARD", " BLVD"}, {" LANE", " LN"},
        {" PARKWAY", " PKWY"}, {" PLACE", " PL"},    {" TRACE", " TRCE"},     {" TRAIL", " TRL"},
    };
    for (const auto& [ending, replacement] : kStreetTypes) {
        const QLatin1String end(ending);
        if (text.endsWith(end))
            text = text.left(text.size() - end.size()) + QLatin1String(replacement);
    }
    return text;
}

rptLabels::rptLabels()
    : m_labelText(Detail().Controls().add<report::TextBox>(QStringLiteral("LabelText"))),
      m_font(report::toQFont(labelFont())), m_metrics(m_font)
{
    setCaption(QStringLiteral("Mailing Labels"));

    PageHeader().setHeight(0);
    PageFooter().setHeight(0);

    Detail().setHeight(kLabelHeight);
    Detail().setCanGrow(false);
    Detail().setColumnCount(kColumns);
    Detail().setColumnDirection(report::ColumnDirection::AcrossThenDown);
    Detail().setColumnPitch(kLabelPitch);
    m_labelText.setBounds(kTextLeft, kTextTop, kTextWidth, kTextHeight);
    m_labelText.setFont(labelFont());
    m_labelText.setAlignment(report::Alignment::Left);
    // The text is broken into lines that fit before it is set (labelText).
    m_labelText.setWordWrap(false);
    Detail().onFormat([this] { Detail_Format(); });

    // The first label's left edge lies 3/16 in from the paper's edge; the printable height
    // holds exactly ten rows, so every sheet starts at the same place.
    Printer().setMargins(540, 720, 270, 720);
    setPrintWidth(10800);
    setPrintHeight(kRowsPerSheet * kLabelHeight);

    m_linesPerLabel = std::max(1, int(std::floor(kTextHeight / m_metrics.lineSpacing())));

    LoadLabels();
}

void rptLabels::LoadLabels()
{
    const ProgramState& p = program();
    const QString sql =
        QStringLiteral("SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, Youth_State, "
                       "Youth_Zip") +
        QStringLiteral(" From Youth") +
        QStringLiteral(
            " WHERE Youth_Deleted=False AND Youth_Mail_List=True AND Len(Youth_Address1)>0 ") +
        (p.ReportFilter.isEmpty() ? QString() : QStringLiteral(" AND ") + p.ReportFilter) +
        QStringLiteral(" ") +
        (p.ReportSort.isEmpty() ? QString() : QStringLiteral("ORDER BY ") + p.ReportSort) +
        QStringLiteral(";");
    const bool combine = p.ReportCombineAddresses;

    try {
        data::Connection connection;
        connection.setCursorLocation(data::adUseClient);
        connection.Open(p.ConnectionString, QString(), QString(), -1);
        data::Recordset rows;
        rows.Open(sql, connection, data::adOpenStatic, data::adLockOptimistic, -1);
        for (; !rows.EOF(); rows.MoveNext()) {
            TryStep("Adding a mailing label", [&] {
                const QString first = fieldText(rows, QStringLiteral("Youth_FName"));
                const QString street = fieldText(rows, QStringLiteral("Youth_Address1"));
                const QString zip = fieldText(rows, QStringLiteral("Youth_Zip"));
                // Combined, everybody at one street and postal code (in any letter case)
                // shares the label of the first of them; otherwise every person has their own.
                const QString key = combine ? street + QChar(0x1F) + zip : QString();
                if (clsMailingLabel* label = m_labels.Item(key)) {
                    label->FirstName += QStringLiteral(" & ") + first;
                    return;
                }
                m_labels.Add(first, fieldText(rows, QStringLiteral("Youth_LName")),
                             fieldText(rows, QStringLiteral("Youth_City")),
                             fieldText(rows, QStringLiteral("Youth_State")), zip, false, street,
                             key);
            });
        }
        rows.Close();
        connection.Close();
    } catch (const data::DataError& e) {
        throw std::runtime_error(e.description().toStdString());
    }
    m_labelCount = std::int32_t(m_labels.Count());
    m_nextLabel = 1;
}

void rptLabels::Detail_Format()
{
    ++m_printedCount;
    if (m_printedCount > m_labelCount)
        return; // no request: the labels end here
    QString text;
    TryStep("Writing a mailing label", [&] {
        if (const clsMailingLabel* label = m_labels.Item(qsizetype(m_nextLabel)))
            text = labelText(*label, program().ReportLine1);
    });
    m_labelText.setText(text);
    Detail().request();
    ++m_nextLabel;
}

QString rptLabels::labelText(const clsMailingLabel& label, const QString& line1) const
{
    const QString name = (label.FirstName + QLatin1Char(' ') + label.LastName).toUpper();
    const QString street = AbbreviateAddress(label.Address).toUpper();
    const QString city =
        (label.City + QLatin1Char(' ') + label.State + QStringLiteral("  ") + label.Zip).toUpper();

    // Lines too wide for the label are broken at blanks (or anywhere in a very long word).
    QStringList head;
    if (!line1.isEmpty())
        head << wrapped(line1);
    head << wrapped(name);
    QStringList address = wrapped(street) + wrapped(city);
    // When that is more lines than the label holds, the address keeps its lines: the first
    // line and the name are cut to one line each, and then a very long street loses its last
    // lines before the city line does.
    if (head.size() + address.size() > m_linesPerLabel) {
        head.clear();
        if (!line1.isEmpty())
            head << elided(line1);
        head << elided(name);
    }
    if (head.size() + address.size() > m_linesPerLabel) {
        const QStringList cityLines = wrapped(city);
        QStringList streetLines = wrapped(street);
        const qsizetype room =
            std::max<qsizetype>(1, m_linesPerLabel - head.size() - cityLines.size());
        if (streetLines.size() > room) {
            const QString rest = streetLines.mid(room - 1).join(QLatin1Char(' '));
            streetLines = streetLines.mid(0, room - 1) << elided(rest);
        }
        address = streetLines + cityLines;
    }
    return (head + address).mid(0, m_linesPerLabel).join(kCrLf);
}

QStringList rptLabels::wrapped(const QString& text) const
{
    const report::Twips width = kTextWidth - kWidthReserve;
    if (m_metrics.horizontalAdvance(text) <= width)
        return {text};
    QTextLayout layout(text, m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QString rptLabels::elided(const QString& text) const
{
    return m_metrics.elidedText(text, Qt::ElideRight, kTextWidth - kWidthReserve);
}
