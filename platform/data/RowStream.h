#pragma once

#include "platform/data/Variant.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace data {

class Connection;

// The rows of a query read one at a time, with the field names and values that a forward-only,
// read-only recordset shows, but none of them kept: memory stays the same however many rows
// there are. Holds the file's read lock while it lives.
//
//     data::RowReader people(conn, "SELECT * FROM Youth;");
//     while (people.next())
//         use(people.values());
class RowReader {
public:
    // Throws DataError.
    RowReader(Connection& connection, const QString& jetSql);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    const QStringList& names() const;
    // Moves to the next row; false after the last. Throws DataError.
    bool next();
    const std::vector<Variant>& values() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Adds rows to one table, each value stored as a recordset stores it in that field (Yes/No as
// -1/0, whole numbers rounded, money to 4 places, ...), keys included; the fields not named keep
// the table's defaults.
class RowWriter {
public:
    // Throws DataError when the table, or one of the fields (matched without regard to case), is
    // not there.
    RowWriter(Connection& connection, const QString& table, const QStringList& fields);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // One value for each field, in the order named. Throws DataError.
    void add(const std::vector<Variant>& values);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Makes adding many rows quick: sets the indexes of the connection's file aside, so that the rows
// go into the tables alone, and rebuild() makes every index anew from the rows, as the file
// declares it (sorting once instead of keeping each index in order row by row). Works inside the
// connection's transaction, which must be open: rolled back, every index is as it was.
class IndexesSetAside {
public:
    // Throws DataError.
    explicit IndexesSetAside(Connection& connection);
    // Throws DataError (a unique index that meets two equal rows, say).
    void rebuild();

private:
    Connection& m_connection;
    QStringList m_declarations;
};

} // namespace data
