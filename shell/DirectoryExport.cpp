#include "shell/DirectoryExport.h"

#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/ui/FileWrites.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <QByteArray>
#include <QStandardPaths>

#include <array>
#include <optional>
#include <vector>

namespace {

enum class Kind {
    Text,    // the field's text; empty for Null
    Date,    // the short date, without a time of day; empty for Null
    Quoted,  // the text, in double quotes when it holds a comma
    Gender,  // "", "Male" or "Female"
    Status,  // "Unknown", "Active", "Away", "Inactive" or ""
    Visitor, // "Visitor" or "Member"
    Grade,   // a whole number, "0" when empty
    YesNo,   // "True" or "False"
    Id,      // plain decimal digits
};

struct Column {
    const char* header;
    const char* field;
    Kind kind;
};

constexpr std::size_t kShortColumns = 16;

constexpr std::array<Column, 26> kColumns{{
    {"First Name", "Youth_FName", Kind::Text},
    {"Middle Name", "Youth_MName", Kind::Text},
    {"Last Name", "Youth_LName", Kind::Quoted},
    {"Home Street", "Youth_Address1", Kind::Text},
    {"Home City", "Youth_City", Kind::Text},
    {"Home State", "Youth_State", Kind::Text},
    {"Home Zip", "Youth_Zip", Kind::Text},
    {"Birthday", "Youth_Bday", Kind::Date},
    {"E-mail Address", "Youth_Email", Kind::Text},
    {"Home Phone", "Youth_HomePhone", Kind::Text},
    {"Business Phone", "Youth_WorkPhone", Kind::Text},
    {"Pager", "Youth_BeeperPhone", Kind::Text},
    {"Mobile Phone", "Youth_CellPhone", Kind::Text},
    {"Gender", "Youth_Sex", Kind::Gender},
    {"Notes", "Youth_Comments", Kind::Quoted},
    {"Referred By", "Youth_Contact", Kind::Quoted},
    // The extended form
    {"Member", "Youth_Visitor", Kind::Visitor},
    {"Status", "Youth_Status", Kind::Status},
    {"School", "Youth_School", Kind::Text},
    {"Grade", "Youth_School_Grade", Kind::Grade},
    {"MailList", "Youth_Mail_List", Kind::YesNo},
    {"Created", "Youth_Created", Kind::Text},
    {"Updated", "Youth_Updated", Kind::Text},
    {"Parent Name", "Youth_ParentName", Kind::Text},
    {"Team", "Youth_Team", Kind::Text},
    {"Barcode ID", "Youth_ID", Kind::Id},
}};

const QString kRows = QStringLiteral(
    "SELECT Youth.* FROM Youth WHERE Youth_Deleted = False ORDER BY Youth_LName, Youth_FName;");

const QString kLineEnd = QStringLiteral("\r\n");

std::size_t columnCount(ExportForm form)
{
    return form == ExportForm::Short ? kShortColumns : kColumns.size();
}

// A value's text as it goes into its column: a TAB, CR or LF would end the column or the
// line early, so each becomes one blank (a CR LF pair two).
QString valueText(const data::Variant& value, Kind kind)
{
    switch (kind) {
    case Kind::Gender:
        return GetGenderText(ToInteger(value, 0));
    case Kind::Status:
        return GetStatusText(ToInteger(value, 0));
    case Kind::Visitor:
        return ToBoolean(value, false) ? QStringLiteral("Visitor") : QStringLiteral("Member");
    case Kind::Grade:
        return QString::number(ToInteger(value, 0));
    case Kind::YesNo:
        return ToBoolean(value, false) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Id:
        return QString::number(ToLong(value, 0));
    case Kind::Date:
    case Kind::Text:
    case Kind::Quoted:
        break;
    }
    QString text = kind == Kind::Date ? shortDateText(value) : ToString(value, QString());
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    // Quotes inside are left as they are: the importers this file is made for read them so.
    if (kind == Kind::Quoted && text.contains(QLatin1Char(',')))
        text = QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

// The characters Windows-1252 puts at 0x80 to 0x9F; 0 where it has none.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The text in Windows-1252, or nothing when a character has no place there.
std::optional<QByteArray> toWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *out++ = static_cast<char>(u);
            continue;
        }
        std::size_t i = 0;
        while (i < kWindows1252High.size() && kWindows1252High[i] != u)
            ++i;
        if (i == kWindows1252High.size())
            return std::nullopt;
        *out++ = static_cast<char>(0x80 + i);
    }
    return bytes;
}

QByteArray encode(const QString& text)
{
    if (auto bytes = toWindows1252(text))
        return *bytes;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString exportText(const QString& connectionString, ExportForm form)
{
    const std::size_t columns = columnCount(form);
    data::Connection connection;
    connection.setCursorLocation(data::adUseClient);
    connection.Open(connectionString);
    data::Recordset rows;
    rows.Open(kRows, connection, data::adOpenForwardOnly, data::adLockReadOnly);

    std::vector<data::Field> fields;
    fields.reserve(columns);
    QString text;
    for (std::size_t i = 0; i < columns; ++i) {
        fields.push_back(rows[QString::fromLatin1(kColumns[i].field)]);
        if (i > 0)
            text += QLatin1Char('\t');
        text += QLatin1String(kColumns[i].header);
    }
    text += kLineEnd;

    text.reserve(text.size() + rows.RecordCount() * static_cast<int>(columns) * 12);
    while (!rows.EOF() && !rows.BOF()) {
        for (std::size_t i = 0; i < columns; ++i) {
            if (i > 0)
                text += QLatin1Char('\t');
            text += valueText(fields[i].Value(), kColumns[i].kind);
        }
        text += kLineEnd;
        rows.MoveNext();
    }
    rows.Close();
    connection.Close();
    return text;
}

} // namespace

void WriteDirectoryExport(const QString& connectionString, const QString& path, ExportForm form)
{
    const QByteArray bytes = encode(exportText(connectionString, form));

    QString reason;
    if (!ui::writeWholeFile(path, bytes, &reason))
        throw DirectoryExportError(reason.toStdString());
}

void ExportDirectory()
{
    const bool outlook = ui::askYesNo(
        QStringLiteral(
            "Do you plan to use the export file for importing your member information into "
            "Outlook?  "
            "If so, answer Yes below.  Some fields need to be excluded because of incompatibility "
            "with Outlook.  If you plan to use the export file for any other purpose, click No and "
            "the extended set of fields will be included."),
        QStringLiteral("Use Outlook Format?"));
    const QString file = ui::fileDialogs().saveFileName(
        QStringLiteral("Export Membership Directory to Text"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        QStringLiteral("Tab-Delimited Text (*.txt)|*.txt"), QStringLiteral("txt"));
    if (file.isEmpty())
        return;

    QString failure;
    {
        ui::Hourglass hourglass;
        try {
            WriteDirectoryExport(program().ConnectionString, file,
                                 outlook ? ExportForm::Short : ExportForm::Extended);
        } catch (const data::DataError& e) {
            failure = e.description();
        } catch (const std::exception& e) {
            failure = QString::fromStdString(e.what());
        }
    }
    if (!failure.isEmpty()) {
        ui::critical(
            QStringLiteral("The directory could not be exported to %1.\n\n%2").arg(file, failure));
        return;
    }
    ui::information(QStringLiteral("Directory exported to the tab separated file named ") + file +
                    QStringLiteral("."));
}
