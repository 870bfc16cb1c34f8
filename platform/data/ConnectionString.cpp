#include "platform/data/ConnectionString.h"

#include <QDir>

namespace data {

QString buildConnectionString(const QString& folder, const QString& fileName)
{
    const QString path = QDir::toNativeSeparators(folder + QLatin1Char('/') + fileName);
    return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QLatin1Char(';');
}

QString dataSourceOf(const QString& connectionString)
{
    static const QLatin1String key("Data Source=");
    const qsizetype at = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const qsizetype start = at + key.size();
    // The path runs to the next ";" that ends the part (a path may itself hold ";" only when
    // it is the last part, so take up to the last ";" when no further "=" follows).
    qsizetype end = connectionString.indexOf(QLatin1Char(';'), start);
    if (end >= 0 && connectionString.indexOf(QLatin1Char('='), end) < 0)
        end = connectionString.lastIndexOf(QLatin1Char(';'));
    const QString path = end < 0 ? connectionString.mid(start) : connectionString.mid(start, end - start);
    return QDir::fromNativeSeparators(path.trimmed());
}

} // namespace data
