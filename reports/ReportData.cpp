#include "reports/ReportData.h"

#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

namespace {

// Blanks only, as stored values are padded; other white space is part of the value.
QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace

QStringList ReadColumnTexts(const QString& sql, bool trim)
{
    data::Connection connection;
    connection.setCursorLocation(data::adUseServer);
    connection.Open(program().ConnectionString, QString(), QString(), -1);
    data::Recordset rs;
    rs.Open(sql, connection, data::adOpenForwardOnly, data::adLockReadOnly, -1);
    QStringList values;
    while (!rs.EOF()) {
        const QString value = ToString(rs.Fields(0).Value(), QString());
        values << (trim ? trimBlanks(value) : value);
        rs.MoveNext();
    }
    rs.Close();
    connection.Close();
    return values;
}

QString fieldText(data::Recordset& rows, const QString& field)
{
    return ToString(rows[field], QString());
}
