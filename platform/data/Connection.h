#pragma once

#include "platform/data/DataEnums.h"

#include <QString>

#include <memory>

namespace data {

namespace detail {
class Session;
}

// A connection to the data file, with the members and meaning of the classic data-object
// Connection. Statements are sent in the Jet dialect and translated (Translator.h).
//
//     data::Connection conn;
//     conn.setCursorLocation(data::adUseClient);
//     conn.Open(program().ConnectionString);
//     conn.Execute("DELETE Youth_FName FROM Youth WHERE Youth_FName='New Profile';");
//
// The connection closes itself when it goes. Recordsets opened on it keep their rows after
// it is closed, but can no longer write them back.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Where cursors live. Both kinds behave alike here: every recordset reads all its rows at
    // once and counts them exactly.
    CursorLocationEnum CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(CursorLocationEnum location) { m_cursorLocation = location; }

    // Opens the data file named by the connection string's "Data Source=" part. The file must
    // exist: a missing file is an error, never a new empty database. User, password and
    // options are accepted and ignored. Throws DataError.
    void Open(const QString& connectionString, const QString& userId = QString(),
              const QString& password = QString(), int options = -1);
    // Closes the file; an open transaction is rolled back. Closing twice does nothing.
    void Close();
    ObjectStateEnum State() const;
    const QString& ConnectionString() const { return m_connectionString; }

    // Runs one action statement (INSERT, UPDATE, DELETE) and returns the number of rows it
    // changed; a query is run and its rows dropped (-1). Throws DataError.
    long Execute(const QString& sql);

    // Explicit transactions; BeginTrans returns the new nesting level (1 for the outermost).
    // Prefer data::Transaction, which rolls back by itself when it is left without commit.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // The open file, shared with recordsets; null while closed.
    const std::shared_ptr<detail::Session>& session() const { return m_session; }

private:
    detail::Session& openSession() const;

    CursorLocationEnum m_cursorLocation = adUseServer;
    QString m_connectionString;
    std::shared_ptr<detail::Session> m_session;
};

// Why nothing can be saved through an open connection, in the data layer's wording (its file
// or folder is read-only); empty text when it can be written.
QString readOnlyReason(const Connection& connection);

// How long, in milliseconds, one operation waits for locks that another program holds on the
// data file before it fails with the in-use wording (5 seconds unless set). An operation is a
// transaction, or a statement outside one; its waits add up from the first, however many locks
// it asks for (a large transaction asks again each time its changes outgrow the page cache). A
// lock held by this program itself is never waited for: that statement fails at once.
int busyTimeout();
void setBusyTimeout(int milliseconds);

// A transaction that is rolled back unless committed:
//
//     data::Transaction tx(conn);
//     conn.Execute("DELETE Attendance.* FROM Attendance WHERE Attend_Wk_ID=12;");
//     conn.Execute("INSERT INTO Attendance ...");
//     tx.commit(); // leaving the scope before this line rolls both statements back
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const { return m_active; }

private:
    Connection& m_connection;
    bool m_active = false;
};

} // namespace data
