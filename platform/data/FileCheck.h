#pragma once

#include <QString>

#include <functional>

namespace data {

enum class FileHealth {
    Sound,       // opens, and SQLite's quick check finds nothing wrong
    Damaged,     // not a data file, or one whose pages or indexes are broken
    Unavailable, // missing, locked by another program, or not readable now
};

struct FileCheck {
    FileHealth health = FileHealth::Unavailable;
    QString detail; // why it is not sound
};

// Opens the data file at `path` (never creating one), rolls back what a crashed writer left
// unfinished, and runs SQLite's quick check over every page. A file without the people's table
// (an empty or truncated-to-nothing file, or a database of another program) counts as damaged. When
// the file is sound and `whileUnchanged` is given, it runs while the file is held so that no other
// connection can change it: a copy made then is exactly the file that was checked.
FileCheck checkDataFile(const QString& path, const std::function<void()>& whileUnchanged = {});

} // namespace data
