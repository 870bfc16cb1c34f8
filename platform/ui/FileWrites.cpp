#include "platform/ui/FileWrites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <array>
#include <filesystem>

namespace ui {

namespace {

FileWrites& plainWrites()
{
    static FileWrites writes;
    return writes;
}

FileWrites* g_writes = &plainWrites();

// A file being written whole: unbuffered, so that every write's outcome is seen where it is
// made, and never committed after a failure.
class WholeFile {
public:
    explicit WholeFile(const QString& path) : m_file(path)
    {
        g_writes->open(m_file, QIODevice::WriteOnly | QIODevice::Unbuffered, m_reason);
    }
    ~WholeFile()
    {
        if (m_file.isOpen())
            m_file.cancelWriting();
    }
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    bool ok() const { return m_reason.isEmpty(); }
    const QString& reason() const { return m_reason; }

    // A write that comes up short without a reason (as on a disk that fills up) is tried
    // again with the rest: the next one fails with the system's description.
    bool write(const char* data, qint64 size)
    {
        while (ok() && size > 0) {
            QString reason;
            const qint64 written = g_writes->write(m_file, data, size, reason);
            if (written <= 0) {
                m_reason =
                    reason.isEmpty() ? QStringLiteral("Not every byte could be written.") : reason;
                break;
            }
            data += written;
            size -= written;
        }
        return ok();
    }
    bool commit()
    {
        if (!ok())
            return false;
        if (!m_file.commit())
            m_reason = m_file.errorString();
        return ok();
    }
    void fail(const QString& reason) { m_reason = reason; }

private:
    QSaveFile m_file;
    QString m_reason;
};

bool finish(WholeFile& file, QString* reason)
{
    const bool done = file.commit();
    if (!done && reason)
        *reason = file.reason();
    return done;
}

} // namespace

bool FileWrites::open(QFileDevice& file, QIODevice::OpenMode mode, QString& reason)
{
    if (file.open(mode))
        return true;
    reason = file.errorString();
    return false;
}

qint64 FileWrites::write(QFileDevice& file, const char* data, qint64 size, QString& reason)
{
    const qint64 written = file.write(data, size);
    if (written < 0)
        reason = file.errorString();
    return written;
}

qint64 FileWrites::read(QFileDevice& file, char* data, qint64 size, QString& reason)
{
    const qint64 got = file.read(data, size);
    if (got < 0)
        reason = file.errorString();
    return got;
}

FileWritesOverride::FileWritesOverride(FileWrites& writes) : m_previous(g_writes)
{
    g_writes = &writes;
}

FileWritesOverride::~FileWritesOverride()
{
    g_writes = m_previous;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    WholeFile file(path);
    file.write(bytes.constData(), bytes.size());
    return finish(file, reason);
}

bool copyWholeFile(const QString& from, const QString& to, QString* reason)
{
    QFile source(from);
    const auto unreadable = [&](const QString& why) {
        return QStringLiteral("%1 could not be read: %2").arg(QDir::toNativeSeparators(from), why);
    };
    if (!source.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = unreadable(source.errorString());
        return false;
    }
    WholeFile target(to);
    std::array<char, 64 * 1024> buffer{};
    while (target.ok()) {
        QString why;
        const qint64 got = g_writes->read(source, buffer.data(), qint64(buffer.size()), why);
        if (got < 0)
            target.fail(unreadable(why));
        if (got <= 0)
            break;
        target.write(buffer.data(), got);
    }
    return finish(target, reason);
}

bool fillWholeFile(const QString& path,
                   const std::function<bool(const QString& file, QString& reason)>& fill,
                   QString* reason)
{
    QString why;
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    const QFileInfo target(path);
    bool done = true;
    // As a file written whole refuses to replace one that may not be changed.
    if (target.exists() && !target.isWritable()) {
        why =
            QStringLiteral("Existing file %1 is not writable").arg(QDir::toNativeSeparators(path));
        done = false;
    }
    done = done && g_writes->open(file, QIODevice::ReadWrite, why);
    if (done) {
        // The permissions an earlier file of that name had, or those of a new file.
        file.setPermissions(target.exists() ? target.permissions()
                                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
        file.close();
        done = fill(file.fileName(), why);
    }
    if (done) {
        // The new file takes the old one's place in one step.
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(file.fileName().toStdU16String()),
                                std::filesystem::path(path.toStdU16String()), error);
        if (error) {
            why = QString::fromLocal8Bit(error.message().c_str());
            done = false;
        } else {
            file.setAutoRemove(false);
        }
    }
    // A file left half-written is removed with the temporary file object.
    if (!done && reason)
        *reason = why.isEmpty() ? QStringLiteral("Not every byte could be written.") : why;
    return done;
}

} // namespace ui
