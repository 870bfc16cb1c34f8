#include "reports/rptDirectory.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The two blocks of a card as designed (twips); each grows to hold its lines, and the
// contact block moves down by what the name block grew.
constexpr report::Twips kBlockLeft = 120;
constexpr report::Twips kBlockWidth = 3000;
constexpr report::Twips kBlockHeight = 240;
constexpr report::Twips kNameAddressTop = 120;
constexpr report::Twips kOtherInfoTop = 420;
constexpr double kBlockPoints = 9;

report::Font blockFont()
{
    report::Font font;
    font.size = kBlockPoints;
    return font;
}

// The separator the locale's short date puts between its first two parts.
QString dateSeparator()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QString separator;
    qsizetype i = 0;
    while (i < format.size() && format.at(i).isLetter())
        ++i;
    while (i < format.size() && !format.at(i).isLetter() && format.at(i) != QLatin1Char('\''))
        separator += format.at(i++);
    return separator.isEmpty() ? QStringLiteral("/") : separator;
}

// Two-digit month, the date separator and two-digit day: no year.
QString monthDay(const QDate& date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(dateSeparator())
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

// Appends a line, with a line break only when there is text before it.
void addLine(QString& block, const QString& line)
{
    if (!block.isEmpty())
        block += kCrLf;
    block += line;
}

} // namespace

rptDirectory::rptDirectory() : m_blockMetrics(report::toQFont(blockFont()))
{
    setCaption(QStringLiteral("Group Directory"));

    PageHeader().setHeight(1020);
    reportparts::addTitle(PageHeader(), {0, 0, 10710, 540}, QStringLiteral("Group Directory"));
    reportparts::addSubTitle(PageHeader(), {0, 480, 10740, 360});
    reportparts::addTimestampAndPage(PageHeader(), {7470, 0, 3240, 270}, {7470, 270, 3240, 270});

    Detail().setHeight(1905);
    Detail().setColumnCount(3);
    Detail().setColumnDirection(report::ColumnDirection::AcrossThenDown);
    for (const auto& [name, top] :
         {std::pair{"NameAddress", kNameAddressTop}, std::pair{"OtherInfo", kOtherInfoTop}}) {
        auto& block = Detail().Controls().add<report::TextBox>(QString::fromLatin1(name));
        block.setBounds(kBlockLeft, top, kBlockWidth, kBlockHeight);
        block.setFont(blockFont());
        block.setAlignment(report::Alignment::Left);
    }

    PageFooter().setHeight(360);
    reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
                                {7470, 90, 3240, 270});

    OpenQuery(QStringLiteral("SELECT Youth_LName, Youth_FName, Youth_Address1, Youth_City, "
                             "Youth_State, Youth_Zip, Youth_EMail, Youth_Bday, Youth_HomePhone, "
                             "Youth_WorkPhone, Youth_BeeperPhone, Youth_CellPhone") +
              QStringLiteral(" From Youth WHERE Youth_Deleted = False") + AndReportFilter() +
              QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
}

void rptDirectory::FillDetail(data::Recordset& rows)
{
    auto& nameAddress = Detail().Controls().Item<report::TextBox>(QStringLiteral("NameAddress"));
    auto& otherInfo = Detail().Controls().Item<report::TextBox>(QStringLiteral("OtherInfo"));

    nameAddress.setText(fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                        fieldText(rows, QStringLiteral("Youth_LName")) + kCrLf +
                        fieldText(rows, QStringLiteral("Youth_Address1")) + kCrLf +
                        fieldText(rows, QStringLiteral("Youth_City")) + QStringLiteral(", ") +
                        fieldText(rows, QStringLiteral("Youth_State")) + QStringLiteral("  ") +
                        fieldText(rows, QStringLiteral("Youth_Zip")));

    QString other;
    if (const QString home = fieldText(rows, QStringLiteral("Youth_HomePhone")); !home.isEmpty())
        other = QStringLiteral("Home: ") + home;
    if (const QString beeper = fieldText(rows, QStringLiteral("Youth_BeeperPhone"));
        !beeper.isEmpty())
        addLine(other, QStringLiteral("Beeper: ") + beeper);
    if (const QString cell = fieldText(rows, QStringLiteral("Youth_CellPhone")); !cell.isEmpty())
        addLine(other, QStringLiteral("Cell: ") + cell);
    if (const QString email = fieldText(rows, QStringLiteral("Youth_Email")); !email.isEmpty())
        addLine(other, QStringLiteral("E-mail: ") + email);
    if (const auto birthday = convert::toDate(rows[QStringLiteral("Youth_Bday")]))
        addLine(other, QStringLiteral("Birthday: ") + monthDay(data::jetdate::toDate(*birthday)));
    otherInfo.setText(other);

    const report::Twips nameHeight = blockHeight(nameAddress);
    nameAddress.setHeight(nameHeight);
    otherInfo.setTop(kOtherInfoTop + (nameHeight - kBlockHeight));
    otherInfo.setHeight(blockHeight(otherInfo));
}

report::Twips rptDirectory::blockHeight(const report::TextBox& block) const
{
    if (block.Text().isEmpty())
        return kBlockHeight;
    QString lines = block.Text();
    lines.replace(kCrLf, QStringLiteral("\n"));
    const QRectF needed = m_blockMetrics.boundingRect(
        QRectF(0, 0, block.Width(), 1e6), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines);
    // A little room below the last line, so that no device cuts it off.
    return std::max(kBlockHeight, std::ceil(needed.height()) + 20);
}
