#pragma once

#include <QString>
#include <QStringList>

namespace data {
class Recordset;
} // namespace data

// Runs a query on the data file (its own connection on ConnectionString, read once, forward
// only) and returns the first column of every row as text, Null as empty text, in the query's
// order; with trim, leading and trailing blanks removed. Throws when the data cannot be read.
QStringList ReadColumnTexts(const QString& sql, bool trim);

// The text of a field of the current row; empty for Null.
QString fieldText(data::Recordset& rows, const QString& field);
