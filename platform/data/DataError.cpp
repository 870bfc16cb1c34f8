#include "platform/data/DataError.h"

#include <sqlite3.h>

#include <QDir>

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

bool DataError::inUseByAnotherProgram() const
{
    const int primary = m_code & 0xff;
    return m_code > 0 && (primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
}

bool inUseByAnotherProgram(const std::exception& e)
{
    const auto* d = dynamic_cast<const DataError*>(&e);
    return d && d->inUseByAnotherProgram();
}

QString describe(const std::exception& e)
{
    if (const auto* d = dynamic_cast<const DataError*>(&e))
        return d->description();
    return QString::fromUtf8(e.what());
}

QString dataFileMissingText(const QString& path)
{
    return QStringLiteral("The data file %1 could not be found.")
        .arg(QDir::toNativeSeparators(path));
}

QString dataFileInUseText(const QString& path)
{
    return QStringLiteral("The data file %1 is in use by another program. Please try again later.")
        .arg(QDir::toNativeSeparators(path));
}

QString dataFileDamagedText(const QString& path)
{
    return QStringLiteral("The file %1 is damaged or is not a data file.")
        .arg(QDir::toNativeSeparators(path));
}

QString dataFileReadOnlyText(const QString& path)
{
    return QStringLiteral("The data file %1 can be read but not changed: the file or its folder "
                          "is read-only.")
        .arg(QDir::toNativeSeparators(path));
}

QString dataFileFullText(const QString& path)
{
    return QStringLiteral("The disk that holds the data file %1 is full. Make room on it, then "
                          "try again.")
        .arg(QDir::toNativeSeparators(path));
}

QString dataFilePathTooLongText(const QString& path)
{
    return QStringLiteral("The data file %1 cannot be opened: its path is too long for the "
                          "system. Move the program's folder to a place with a shorter path.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace data
