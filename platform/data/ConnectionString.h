#pragma once

#include <QString>

namespace data {

// "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + separator + file name + ";",
// with this platform's folder separator.
QString buildConnectionString(const QString& folder, const QString& fileName);

// The file named by the "Data Source=" part of a connection string (other parts are ignored);
// empty when there is none.
QString dataSourceOf(const QString& connectionString);

} // namespace data
