#include "platform/data/Connection.h"

#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"

#include <sqlite3.h>

#include <QDebug>

namespace data {

Connection::Connection() = default;

Connection::~Connection()
{
    Close();
}

void Connection::Open(const QString& connectionString, const QString&, const QString&, int)
{
    if (m_session)
        throw DataError(QStringLiteral("Operation is not allowed when the object is open."));
    m_session = std::make_shared<detail::Session>(dataSourceOf(connectionString));
    m_connectionString = connectionString;
}

void Connection::Close()
{
    if (!m_session)
        return;
    m_session->close();
    m_session.reset();
}

ObjectStateEnum Connection::State() const
{
    return m_session ? adStateOpen : adStateClosed;
}

QString readOnlyReason(const Connection& connection)
{
    const auto& session = connection.session();
    if (!session || !session->readOnly())
        return QString();
    return dataFileReadOnlyText(session->path());
}

detail::Session& Connection::openSession() const
{
    if (!m_session)
        throw DataError(QStringLiteral("Operation is not allowed when the object is closed."));
    return *m_session;
}

long Connection::Execute(const QString& sql)
{
    detail::Session& session = openSession();
    const auto translation = Translator::translate(session.catalog(), sql);
    auto stmt = session.prepare(translation->sql, sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        session.fail(sql, translation->sql);
    if (translation->kind == Translation::Kind::Select)
        return -1;
    return static_cast<long>(sqlite3_changes64(session.db()));
}

int Connection::BeginTrans()
{
    detail::Session& session = openSession();
    if (session.transactionDepth == 0)
        detail::runSimple(session, "BEGIN IMMEDIATE");
    else
        detail::runSimple(session, QByteArray("SAVEPOINT jet_level")
                                       .append(QByteArray::number(session.transactionDepth + 1))
                                       .constData());
    return ++session.transactionDepth;
}

void Connection::CommitTrans()
{
    detail::Session& session = openSession();
    if (session.transactionDepth == 0)
        throw DataError(QStringLiteral("No transaction is active."));
    if (session.transactionDepth == 1)
        detail::runSimple(session, "COMMIT");
    else
        detail::runSimple(session, QByteArray("RELEASE jet_level")
                                       .append(QByteArray::number(session.transactionDepth))
                                       .constData());
    --session.transactionDepth;
}

void Connection::RollbackTrans()
{
    detail::Session& session = openSession();
    if (session.transactionDepth == 0)
        throw DataError(QStringLiteral("No transaction is active."));
    if (session.transactionDepth == 1) {
        detail::runSimple(session, "ROLLBACK");
    } else {
        const QByteArray name = "jet_level" + QByteArray::number(session.transactionDepth);
        detail::runSimple(session, QByteArray("ROLLBACK TO " + name).constData());
        detail::runSimple(session, QByteArray("RELEASE " + name).constData());
    }
    --session.transactionDepth;
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.BeginTrans();
    m_active = true;
}

Transaction::~Transaction()
{
    if (!m_active)
        return;
    try {
        rollback();
    } catch (const DataError& e) {
        // The connection was closed meanwhile (which rolled back already) or the file is gone.
        qWarning("Transaction rollback failed: %s", e.what());
    }
}

void Transaction::commit()
{
    if (!m_active)
        throw DataError(QStringLiteral("The transaction has already ended."));
    m_connection.CommitTrans(); // on failure the transaction stays open and is rolled back later
    m_active = false;
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_connection.State() == adStateOpen)
        m_connection.RollbackTrans();
}

} // namespace data
