#include "platform/data/DataError.h"

namespace data {

namespace {

std::string composeWhat(const QString& message, const QString& sql, const QString& translated)
{
    QString text = message;
    if (!sql.isEmpty())
        text += QStringLiteral("\nStatement: ") + sql;
    if (!translated.isEmpty() && translated != sql)
        text += QStringLiteral("\nAs run: ") + translated;
    return text.toStdString();
}

} // namespace

DataError::DataError(const QString& message, const QString& sql, const QString& translatedSql,
                     int code)
    : std::runtime_error(composeWhat(message, sql, translatedSql)), m_message(message), m_sql(sql),
      m_translatedSql(translatedSql), m_code(code)
{}

} // namespace data
