#include "platform/data/Session.h"

#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Schema.h"
#include "platform/data/Variant.h"

#include <sqlite3.h>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMultiHash>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iterator>
#include <mutex>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace data {

namespace {
// Milliseconds a statement waits for another program's lock on the file before it fails.
std::atomic<int> busyTimeoutMs{5000};
} // namespace

int busyTimeout()
{
    return busyTimeoutMs;
}

void setBusyTimeout(int milliseconds)
{
    busyTimeoutMs = std::max(0, milliseconds);
}

} // namespace data

namespace data::detail {

namespace {

// Every open session of this process, by the file it works on. A lock that one of them holds
// cannot be waited out by another: the program would be waiting for itself.
struct OpenSessions {
    std::mutex mutex;
    QMultiHash<QString, const Session*> byFile;
};

OpenSessions& openSessions()
{
    static OpenSessions sessions;
    return sessions;
}

// The pauses between tries while another program holds the file, in milliseconds.
constexpr int kPauses[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};

} // namespace

int lockPause(int attempt, int waitLeft)
{
    // Short pauses first, for a lock that is let go at once; the pauses of one request grow,
    // but the time is that of the whole operation.
    constexpr int kCount = static_cast<int>(std::size(kPauses));
    return std::min(kPauses[std::min(attempt, kCount - 1)], waitLeft);
}

bool fileHeldByThisProcess(const QString& file, const Session* except)
{
    OpenSessions& open = openSessions();
    const std::lock_guard lock(open.mutex);
    for (auto it = open.byFile.constFind(file); it != open.byFile.cend() && it.key() == file;
         ++it) {
        const Session* other = it.value();
        if (other != except && other->db() && !sqlite3_get_autocommit(other->db()))
            return true;
    }
    return false;
}

namespace {

int waitForLock(void* arg, int attempt)
{
    auto* session = static_cast<Session*>(arg);
    if (session->fileHeldByThisProcess()) {
        qWarning().noquote() << "A statement on" << session->path()
                             << "met a lock this program holds itself; it fails at once.";
        return 0;
    }
    const int pause = lockPause(attempt, session->waitLeft());
    if (pause <= 0)
        return 0;
    sqlite3_sleep(pause);
    return 1;
}
// Prepared statements kept per connection.
constexpr int kMaxIdleStatements = 64;

// Parts of a day number, as Jet reads them (days before the zero date count towards it).
template <int Part> void datePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_numeric_type(argv[0]);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDate d = jetdate::toDate(sqlite3_value_double(argv[0]));
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

void resultText(sqlite3_context* ctx, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// A date or a number as '&' joins it: the general date, the plain decimal number.
void dateText(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_numeric_type(argv[0]);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(ctx);
    } else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        resultText(ctx, text::formatGeneralDate(sqlite3_value_double(argv[0])));
    } else {
        sqlite3_result_value(ctx, argv[0]);
    }
}

void numberText(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_numeric_type(argv[0]);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(ctx);
    } else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        resultText(ctx, text::formatNumber(sqlite3_value_double(argv[0])));
    } else {
        sqlite3_result_value(ctx, argv[0]);
    }
}

// What a failure says: the wording of its cause when it is the file itself (in use by another
// program, damaged or no data file, read-only, on a full disk), else the database's own message.
QString describeFailure(int code, const QString& message, const QString& path)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return dataFileInUseText(path);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return dataFileDamagedText(path);
    case SQLITE_READONLY:
        // A file moved or replaced while open is no matter of permissions.
        return code == SQLITE_READONLY_DBMOVED ? message : dataFileReadOnlyText(path);
    case SQLITE_FULL:
        return dataFileFullText(path);
    default:
        return message;
    }
}

// True when the data file's path is longer than the system or SQLite can take: the system
// refuses a name in it or the whole path as too long, or SQLite could not name the journal it
// keeps beside the file (the file's full path, links followed, and "-journal").
bool pathTooLong(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 && errno == ENAMETOOLONG)
        return true;
#endif
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!vfs)
        return false;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    const QString full = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    constexpr qsizetype kJournalSuffix = sizeof("-journal") - 1;
    return QFile::encodeName(full).size() + kJournalSuffix > vfs->mxPathname;
}

void registerFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "jet_year", 1, flags, nullptr, &datePart<0>, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "jet_month", 1, flags, nullptr, &datePart<1>, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "jet_day", 1, flags, nullptr, &datePart<2>, nullptr, nullptr,
                               nullptr);
    // Formatting follows the locale, which may change while the program runs.
    const int textFlags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "jet_datetext", 1, textFlags, nullptr, &dateText, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_numtext", 1, textFlags, nullptr, &numberText, nullptr,
                               nullptr, nullptr);
}

} // namespace

Session::Session(const QString& path) : m_path(path)
{
    if (path.isEmpty())
        throw DataError(QStringLiteral("The connection string names no data file."));
    if (pathTooLong(path))
        throw DataError(dataFilePathTooLongText(path), QString(), QString(), SQLITE_CANTOPEN);
    if (!QFileInfo(path).isFile())
        throw DataError(dataFileMissingText(path), QString(), QString(), SQLITE_CANTOPEN);
    const QByteArray file = path.toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        const QString described = describeFailure(rc, message, path);
        throw DataError(described == message
                            ? QStringLiteral("The data file %1 cannot be opened: %2")
                                  .arg(QDir::toNativeSeparators(path), message)
                            : described,
                        QString(), QString(), rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    m_file = QFileInfo(path).canonicalFilePath();
    {
        OpenSessions& open = openSessions();
        const std::lock_guard lock(open.mutex);
        open.byFile.insert(m_file, this);
    }
    sqlite3_busy_handler(m_db, &waitForLock, this);
    // A double-quoted name that matches no column is an error, never a text value.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerFunctions(m_db);
    // A file that cannot be read as a database, or a database without the people's table and
    // its id and name columns (an empty file reads as one without tables), is no data file; one
    // locked by another program is in use.
    try {
        m_catalog = Catalog::load(m_db);
    } catch (const DataError& e) {
        close();
        const int code = (e.code() & 0xff) == SQLITE_BUSY || (e.code() & 0xff) == SQLITE_LOCKED
                             ? e.code()
                             : SQLITE_NOTADB;
        throw DataError(describeFailure(code, e.description(), path), QString(), QString(), code);
    }
    const TableInfo* people = m_catalog->table(schema::kPeopleTable);
    QStringList columns;
    for (const ColumnInfo& column : people ? people->columns : std::vector<ColumnInfo>())
        columns << column.name;
    if (!people || !schema::isPeopleTable(columns)) {
        close();
        throw DataError(dataFileDamagedText(path), QString(), QString(), SQLITE_NOTADB);
    }
}

Session::~Session()
{
    close();
}

void Session::close()
{
    if (!m_db)
        return;
    for (sqlite3_stmt* stmt : std::as_const(m_idle))
        sqlite3_finalize(stmt);
    m_idle.clear();
    if (transactionDepth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionDepth = 0;
    {
        OpenSessions& open = openSessions();
        const std::lock_guard lock(open.mutex);
        open.byFile.remove(m_file, this);
    }
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool Session::readOnly() const
{
    if (!m_db)
        return false;
    // A file the system lets us read only, or a folder where the journal of a write cannot be
    // made.
    return sqlite3_db_readonly(m_db, "main") == 1 ||
           !QFileInfo(QFileInfo(m_path).absolutePath()).isWritable();
}

void Session::startOperation()
{
    if (m_db && sqlite3_get_autocommit(m_db))
        m_waiting.invalidate();
}

int Session::waitLeft()
{
    if (!m_waiting.isValid())
        m_waiting.start();
    return static_cast<int>(std::max<qint64>(0, busyTimeout() - m_waiting.elapsed()));
}

bool Session::fileHeldByThisProcess() const
{
    return detail::fileHeldByThisProcess(m_file, this);
}

void Session::requireOpen() const
{
    if (!m_db)
        throw DataError(QStringLiteral("Operation is not allowed when the connection is closed."));
}

Session::Statement Session::prepare(const QString& sql, const QString& jetSql)
{
    requireOpen();
    startOperation();
    if (sqlite3_stmt* idle = m_idle.take(sql))
        return Statement(this, sql, idle);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(m_db, utf8.constData(), static_cast<int>(utf8.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt, &tail) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        fail(jetSql, sql);
    }
    if (!stmt)
        throw DataError(QStringLiteral("The statement is empty."), jetSql, sql);
    return Statement(this, sql, stmt);
}

void Session::giveBack(const QString& sql, sqlite3_stmt* stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!m_db || m_idle.contains(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    if (m_idle.size() >= kMaxIdleStatements) {
        auto it = m_idle.begin();
        sqlite3_finalize(it.value());
        m_idle.erase(it);
    }
    m_idle.insert(sql, stmt);
}

void Session::fail(const QString& jetSql, const QString& sql) const
{
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    const int code = m_db ? sqlite3_extended_errcode(m_db) : 0;
    throw DataError(describeFailure(code, message, m_path), jetSql, sql, code);
}

int Session::activeStatementCount() const
{
    int n = 0;
    if (!m_db)
        return 0;
    for (sqlite3_stmt* s = sqlite3_next_stmt(m_db, nullptr); s; s = sqlite3_next_stmt(m_db, s)) {
        if (sqlite3_stmt_busy(s))
            ++n;
    }
    return n;
}

Session::Statement::~Statement()
{
    if (m_stmt)
        m_session->giveBack(m_sql, m_stmt);
}

Session::Statement::Statement(Statement&& other) noexcept
    : m_session(other.m_session), m_sql(std::move(other.m_sql)), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

void runSimple(Session& session, const char* sql)
{
    session.requireOpen();
    session.startOperation();
    char* error = nullptr;
    if (sqlite3_exec(session.db(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString();
        const int code = sqlite3_extended_errcode(session.db());
        sqlite3_free(error);
        throw DataError(describeFailure(code, message, session.path()), QString::fromUtf8(sql),
                        QString(), code);
    }
}

} // namespace data::detail
