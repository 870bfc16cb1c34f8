#pragma once

#include <QDate>
#include <QString>

#include <cstdint>

namespace sample {

struct Options {
    std::uint64_t seed = 1;
    // The date of the last weekly meeting; the others are the Sundays (or whichever weekday
    // this is) before it.
    QDate lastMeeting = QDate(2024, 12, 29);
    int people = 2000;
    int meetings = 1040; // 20 years of weekly meetings
    int attendanceRows = 200000;
};

struct Summary {
    int people = 0;
    int meetings = 0;
    int attendanceRows = 0;
};

// Writes a new data file at `path` (which must not exist) holding invented but plausible
// people, meetings and attendance: families sharing a surname and address, members who come
// for a few years, visitors who come a few times, leaders, removed people, teams and schools
// spelt in more than one way. The same options always give the same file.
Summary writeSampleData(const QString& path, const Options& options);

} // namespace sample
