#pragma once

#include "platform/data/DataEnums.h"

#include <QString>

#include <functional>
#include <vector>

namespace data {
class Connection;
class Recordset;
} // namespace data

// How the statistics pages read their queries: every failure becomes a text for the one
// message a page shows, and never leaves a loop waiting for rows that cannot come.
namespace stats {

// Opens the connection on the connection string (client-side cursors) unless it is open.
// Returns why it could not be opened, or an empty text.
QString OpenStatsConnection(data::Connection& connection, const QString& connectionString);

// Runs a query and hands each row, first to last, to read. Returns why the rows could not all
// be read (the rows read until then stay read), or an empty text.
QString ReadQueryRows(data::Connection& connection, const QString& sql,
                      const std::function<void(data::Recordset&)>& read,
                      data::CursorTypeEnum cursorType = data::adOpenForwardOnly,
                      data::LockTypeEnum lockType = data::adLockUnspecified);

// The rows of one query, or why they could not be read (and then none).
template <class Row> struct QueryResult {
    std::vector<Row> rows;
    QString failure; // empty when every row was read
};

// Opens the connection unless it is open, and turns every row of the query into a Row.
template <class Row>
QueryResult<Row> ReadAllRows(data::Connection& connection, const QString& connectionString,
                             const QString& sql, const std::function<Row(data::Recordset&)>& read,
                             data::CursorTypeEnum cursorType = data::adOpenForwardOnly,
                             data::LockTypeEnum lockType = data::adLockUnspecified)
{
    QueryResult<Row> out;
    out.failure = OpenStatsConnection(connection, connectionString);
    if (out.failure.isEmpty())
        out.failure = ReadQueryRows(
            connection, sql, [&](data::Recordset& rs) { out.rows.push_back(read(rs)); }, cursorType,
            lockType);
    if (!out.failure.isEmpty())
        out.rows.clear();
    return out;
}

} // namespace stats
