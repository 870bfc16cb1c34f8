#pragma once

#include <QString>
#include <QStringList>

namespace data::schema {

// The table every data file has: a file without it is not a data file, whatever else it holds.
inline const QString kPeopleTable = QStringLiteral("Youth");

// True when the people's table (its column names given) has the columns that every version of
// the data file has: the person's id and names. A table of that name without them belongs to
// another program.
bool isPeopleTable(const QStringList& columns);

// The table layout of the data file (Schema.sql), as SQL statements.
const QString& source();

// Creates a new data file holding the empty tables of the layout. Throws DataError when the
// file exists already or cannot be written.
void createDataFile(const QString& path);

} // namespace data::schema
