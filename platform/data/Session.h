#pragma once

#include "platform/data/Catalog.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace data::detail {

// One open data file, shared by a Connection and the recordsets opened on it: the SQLite
// handle, the file's catalog and a small cache of prepared statements. Statements are only
// ever held reset between uses, so no read or write lock outlives the call that took it.
class Session {
public:
    // Opens an existing data file (never creates one). Throws DataError.
    explicit Session(const QString& path);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool isOpen() const { return m_db != nullptr; }
    void close();
    sqlite3* db() const { return m_db; }
    const QString& path() const { return m_path; }
    // True when nothing can be written to the file: the file or its folder is read-only.
    bool readOnly() const;
    const Catalog& catalog() const { return *m_catalog; }
    const std::shared_ptr<const Catalog>& sharedCatalog() const { return m_catalog; }

    // A prepared statement on loan from the cache; reset and handed back when it goes.
    class Statement {
    public:
        Statement(Session* session, QString sql, sqlite3_stmt* stmt)
            : m_session(session), m_sql(std::move(sql)), m_stmt(stmt)
        {}
        ~Statement();
        Statement(Statement&& other) noexcept;
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        Statement& operator=(Statement&&) = delete;

        sqlite3_stmt* get() const { return m_stmt; }
        const QString& sql() const { return m_sql; }

    private:
        Session* m_session;
        QString m_sql;
        sqlite3_stmt* m_stmt;
    };

    // Prepares SQLite text (from the cache when it was prepared before). `jetSql` names the
    // statement the caller sent, for the error.
    Statement prepare(const QString& sql, const QString& jetSql);

    // Throws DataError with SQLite's current message.
    [[noreturn]] void fail(const QString& jetSql, const QString& sql) const;
    // Throws DataError unless the connection is open.
    void requireOpen() const;

    // True while another open session of this process on the same file is inside a transaction:
    // a lock on the file is then this process's own, and waiting for it would never end.
    bool fileHeldByThisProcess() const;

    // A new operation begins when a statement or a transaction starts outside a transaction:
    // the waits for another program's locks start from nothing again.
    void startOperation();
    // Milliseconds the current operation may still wait for another program's lock; the
    // first call of an operation starts its clock.
    int waitLeft();

    // Explicit transactions: nesting depth (0 = none).
    int transactionDepth = 0;

    // Statements not finished (stepped but not reset): the test of "no statement left open".
    int activeStatementCount() const;

private:
    void giveBack(const QString& sql, sqlite3_stmt* stmt);

    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_file; // the path resolved, so that two spellings of one file compare equal
    std::shared_ptr<const Catalog> m_catalog;
    QHash<QString, sqlite3_stmt*> m_idle;
    QElapsedTimer m_waiting; // running from the current operation's first wait
};

// True while an open session of this process on `file` (a canonical path), other than `except`,
// is inside a transaction.
bool fileHeldByThisProcess(const QString& file, const Session* except = nullptr);

// How long to pause, in milliseconds, before try number `attempt` (from 0) at a lock that another
// program holds, when the operation may wait `waitLeft` milliseconds more; 0 or less when it may
// not wait any more.
int lockPause(int attempt, int waitLeft);

// Runs SQLite text that returns no rows (BEGIN, COMMIT, ...). Throws DataError.
void runSimple(Session& session, const char* sql);

} // namespace data::detail
