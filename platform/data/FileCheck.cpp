#include "platform/data/FileCheck.h"

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"
#include "platform/data/Session.h"

#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace data {

namespace {

// SQLite's message for a failure, or the system's when the failure came from the system.
QString reasonOf(sqlite3* db, int rc)
{
    switch (rc & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        if (const int error = db ? sqlite3_system_errno(db) : 0)
            return QString::fromLocal8Bit(std::strerror(error));
        break;
    default:
        break;
    }
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

FileCheck failed(const QString& path, sqlite3* db, int rc)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR)
        return {FileHealth::Damaged, reasonOf(db, rc)};
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return {FileHealth::Unavailable, dataFileInUseText(path)};
    return {FileHealth::Unavailable, QStringLiteral("The data file %1 could not be read: %2")
                                         .arg(QDir::toNativeSeparators(path), reasonOf(db, rc))};
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

// The check's waits for other programs: one budget for the whole check and copy.
struct Waiting {
    QString file; // canonical
    QElapsedTimer since;
};

// Waits out another program's lock within the data layer's budget; a lock that a connection of
// this program holds is never waited for.
int waitForLock(void* arg, int attempt)
{
    auto* waiting = static_cast<Waiting*>(arg);
    if (detail::fileHeldByThisProcess(waiting->file))
        return 0;
    if (!waiting->since.isValid())
        waiting->since.start();
    const int pause = detail::lockPause(
        attempt, static_cast<int>(std::max<qint64>(0, busyTimeout() - waiting->since.elapsed())));
    if (pause <= 0)
        return 0;
    sqlite3_sleep(pause);
    return 1;
}

struct Closer {
    sqlite3*& db;
    ~Closer() { sqlite3_close_v2(db); }
};

} // namespace

bool HeldDataFile::copyTo(const QString& path, QString& reason) const
{
    sqlite3* target = nullptr;
    Closer closer{target};
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(target, 1);
        // The copy is new and thrown away when it fails: it needs no journal of its own.
        rc = sqlite3_exec(target, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", m_db, "main");
        if (!backup) {
            rc = sqlite3_extended_errcode(target);
        } else {
            const int stepped = sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
            if (stepped != SQLITE_DONE && rc == SQLITE_OK)
                rc = stepped;
        }
    }
    // A copy of a file in write-ahead-log mode comes in that mode: it is put back in the plain
    // one, so that it opens on its own.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(target, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        reason = reasonOf(target, rc);
        return false;
    }
    rc = sqlite3_close(target);
    if (rc != SQLITE_OK) {
        reason = reasonOf(target, rc);
        return false;
    }
    target = nullptr;
    return true;
}

FileCheck checkDataFile(const QString& path,
                        const std::function<void(const HeldDataFile&)>& whileUnchanged)
{
    if (!QFileInfo(path).isFile())
        return {FileHealth::Unavailable, dataFileMissingText(path)};
    Waiting waiting{QFileInfo(path).canonicalFilePath(), {}}; // outlives the connection
    sqlite3* db = nullptr;
    Closer closer{db};
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        return failed(path, db, rc);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_handler(db, &waitForLock, &waiting);

    // Everything below runs inside one read transaction: its lock keeps writers out until the
    // copy is made.
    if ((rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return failed(path, db, rc);
    QStringList problems;
    if ((rc = column(db, "PRAGMA quick_check", problems)) != SQLITE_OK)
        return failed(path, db, rc);
    if (problems != QStringList{QStringLiteral("ok")})
        return {FileHealth::Damaged, problems.mid(0, 5).join(QLatin1Char('\n'))};
    // Any other database (one without the people's table and its columns) is no data file,
    // however sound.
    QStringList columns;
    const QByteArray findColumns =
        "SELECT name FROM pragma_table_info('" + schema::kPeopleTable.toUtf8() + "')";
    if ((rc = column(db, findColumns.constData(), columns)) != SQLITE_OK)
        return failed(path, db, rc);
    if (!schema::isPeopleTable(columns))
        return {
            FileHealth::Damaged,
            QStringLiteral("The file holds no %1 table of a data file.").arg(schema::kPeopleTable)};
    if (whileUnchanged)
        whileUnchanged(HeldDataFile(db));
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return {FileHealth::Sound, QString()};
}

} // namespace data
