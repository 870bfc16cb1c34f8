#pragma once

#include <QString>

#include <functional>

struct sqlite3;

namespace data {

enum class FileHealth {
    Sound,       // opens, and SQLite's quick check finds nothing wrong
    Damaged,     // not a data file, or one whose pages or indexes are broken
    Unavailable, // missing, locked by another program, or not readable now
};

struct FileCheck {
    FileHealth health = FileHealth::Unavailable;
    // Why it is not sound; for a file that is unavailable, in words for the user (not found, in
    // use by another program, not readable and the system's reason).
    QString detail;
};

// The data file while checkDataFile holds it: no other connection can change what it shows.
class HeldDataFile {
public:
    explicit HeldDataFile(sqlite3* db) : m_db(db) {}

    // Writes what the held file holds, every committed change included (also those that a
    // write-ahead log beside it still keeps), into the existing empty file at `path`. The copy is
    // a file in the plain rollback-journal mode that opens on its own. False, with `reason` in
    // the system's words, when it could not be written whole; the file at `path` is then of no
    // use.
    bool copyTo(const QString& path, QString& reason) const;

private:
    sqlite3* m_db;
};

// Opens the data file at `path` (never creating one), rolls back what a crashed writer left
// unfinished, and runs SQLite's quick check over every page. A file without the people's table
// and its id and name columns (an empty or truncated-to-nothing file, or a database of another
// program) counts as damaged. When the file is sound and `whileUnchanged` is given, it runs while
// the file is held so that no other connection can change it: a copy made then is exactly the
// file that was checked. Another program's lock on the file is waited out for busyTimeout(); a
// lock that this program holds itself is not waited for.
FileCheck checkDataFile(const QString& path,
                        const std::function<void(const HeldDataFile&)>& whileUnchanged = {});

} // namespace data
