#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

namespace ui {

// How the bytes of the program's files reach the disk; tests put another in its place to make
// a write come up short.
class FileWrites {
public:
    virtual ~FileWrites() = default;
    // Writes up to `size` bytes; returns how many were written, or -1 with `reason` set to
    // the system's description of the failure.
    virtual qint64 write(QFileDevice& file, const char* data, qint64 size, QString& reason);
};

// Puts `writes` in place of the plain file writes while it lives.
class FileWritesOverride {
public:
    explicit FileWritesOverride(FileWrites& writes);
    ~FileWritesOverride();
    FileWritesOverride(const FileWritesOverride&) = delete;
    FileWritesOverride& operator=(const FileWritesOverride&) = delete;

private:
    FileWrites* m_previous;
};

// Every file the program writes is written whole or not at all: the bytes go into a file
// beside the target, which takes the target's place only once every byte is written. On any
// failure (a full disk, a read-only folder, a source that cannot be read) an earlier file of
// that name stays as it was and `reason`, when given, holds the system's description.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);
// Copies a file, replacing the target, in the same way.
bool copyWholeFile(const QString& from, const QString& to, QString* reason = nullptr);

} // namespace ui
