#pragma once

#include <QString>

namespace testing_support {

// A run marker beside the data file as another running copy of the program writes it, on the
// computer `host` with process `pid`, last refreshed `minutesAgo` minutes before this run's own
// marker (or before now, when this run has none). Returns its path.
QString writeOtherCopyMarker(const QString& host, qint64 pid, int minutesAgo = 0);
// Dates a marker's last refresh `minutesAgo` minutes back, as above.
void ageMarker(const QString& path, int minutesAgo);

} // namespace testing_support
