#pragma once

#include <QString>

namespace data::schema {

// The table every data file has: a file without it is not a data file, whatever else it holds.
inline const QString kPeopleTable = QStringLiteral("Youth");

// The table layout of the data file (Schema.sql), as SQL statements.
const QString& source();

// Creates a new data file holding the empty tables of the layout. Throws DataError when the
// file exists already or cannot be written.
void createDataFile(const QString& path);

} // namespace data::schema
