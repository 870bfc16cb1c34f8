#pragma once

#include <QString>
#include <QStringList>

// Runs a query on the data file (its own connection on ConnectionString, read once, forward
// only) and returns the first column of every row as text, Null as empty text, in the query's
// order; with trim, leading and trailing blanks removed. Throws when the data cannot be read.
QStringList ReadColumnTexts(const QString& sql, bool trim);
