#include "platform/data/Schema.h"

#include "platform/data/DataError.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

namespace data::schema {

bool isPeopleTable(const QStringList& columns)
{
    for (const char* name : {"Youth_ID", "Youth_FName", "Youth_LName"}) {
        if (!columns.contains(QLatin1String(name), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

void createDataFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DataError(QStringLiteral("The file %1 exists already.").arg(path));
    sqlite3* db = nullptr;
    const QByteArray file = path.toUtf8();
    int rc =
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* error = nullptr;
    if (rc == SQLITE_OK) {
        const QByteArray sql = "BEGIN;\n" + source().toUtf8() + "\nCOMMIT;";
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error);
    }
    const QString message = error ? QString::fromUtf8(error)
                            : db  ? QString::fromUtf8(sqlite3_errmsg(db))
                                  : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(path);
        throw DataError(QStringLiteral("The data file %1 cannot be created: %2").arg(path, message),
                        QString(), QString(), rc);
    }
}

} // namespace data::schema
