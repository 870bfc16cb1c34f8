#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

class QFileDevice;

namespace ui {

// How the program's files are made, how their bytes reach the disk and how a copied file is
// read; tests put another in its place to make a write come up short, a folder refuse a new
// file or a read fail part-way.
class FileWrites {
public:
    virtual ~FileWrites() = default;
    // Opens a new file beside the one being written; false with `reason` set to the system's
    // description of the failure.
    virtual bool open(QFileDevice& file, QIODevice::OpenMode mode, QString& reason);
    // Writes up to `size` bytes; returns how many were written, or -1 with `reason` set to
    // the system's description of the failure.
    virtual qint64 write(QFileDevice& file, const char* data, qint64 size, QString& reason);
    // Reads up to `size` bytes of a file being copied; returns how many were read (0 at its
    // end), or -1 with `reason` set to the system's description of the failure.
    virtual qint64 read(QFileDevice& file, char* data, qint64 size, QString& reason);
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
// Makes the file at `path` in the same way from what `fill` writes: `fill` is handed the name of
// a new, empty file beside `path` and returns false, with its reason set, when it could not write
// it whole.
bool fillWholeFile(const QString& path,
                   const std::function<bool(const QString& file, QString& reason)>& fill,
                   QString* reason = nullptr);

} // namespace ui
