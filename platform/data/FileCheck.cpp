#include "platform/data/FileCheck.h"

#include "platform/data/Connection.h"
#include "platform/data/Schema.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QStringList>

namespace data {

namespace {

FileCheck failed(sqlite3* db, int rc)
{
    const int primary = rc & 0xff;
    const bool damaged =
        primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR;
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    return {damaged ? FileHealth::Damaged : FileHealth::Unavailable, message};
}

// The rows of a statement's first column, or the failing result code.
int column(sqlite3* db, const char* sql, QStringList& out)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        out << QString::fromUtf8(text ? text : "");
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

} // namespace

FileCheck checkDataFile(const QString& path, const std::function<void()>& whileUnchanged)
{
    if (!QFileInfo(path).isFile())
        return {FileHealth::Unavailable, QStringLiteral("The file %1 does not exist.").arg(path)};
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    struct Closer {
        sqlite3*& db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{db};
    if (rc != SQLITE_OK)
        return failed(db, rc);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeout());

    // Everything below runs inside one read transaction: its lock keeps writers out until the
    // copy is made.
    if ((rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return failed(db, rc);
    QStringList problems;
    if ((rc = column(db, "PRAGMA quick_check", problems)) != SQLITE_OK)
        return failed(db, rc);
    if (problems != QStringList{QStringLiteral("ok")})
        return {FileHealth::Damaged, problems.mid(0, 5).join(QLatin1Char('\n'))};
    // Any other database (one without the people's table) is no data file, however sound.
    QStringList tables;
    const QByteArray findTable = "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                 "name = '" +
                                 schema::kPeopleTable.toUtf8() + "' COLLATE NOCASE";
    if ((rc = column(db, findTable.constData(), tables)) != SQLITE_OK)
        return failed(db, rc);
    if (tables.value(0).toInt() == 0)
        return {FileHealth::Damaged,
                QStringLiteral("The file holds no %1 table.").arg(schema::kPeopleTable)};
    if (whileUnchanged)
        whileUnchanged();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return {FileHealth::Sound, QString()};
}

} // namespace data
