#include "tests/support/Doubles.h"

#include <sqlite3.h>

#include <QFileDevice>
#include <QPrinter>

#include <cerrno>
#include <cstring>

namespace testing_support {

ui::Answer RecordingMessageBoxes::show(ui::MessageKind kind, const QString& text,
                                       const QString& title)
{
    m_shown.push_back({kind, text, title});
    if (!m_answers.empty()) {
        const ui::Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (kind) {
    case ui::MessageKind::Question:
        return ui::Answer::Yes;
    case ui::MessageKind::CriticalYesNo:
        return ui::Answer::No;
    case ui::MessageKind::QuestionYesNoCancel:
        return ui::Answer::Cancel;
    default:
        return ui::Answer::Ok;
    }
}

QStringList RecordingMessageBoxes::texts() const
{
    QStringList out;
    for (const auto& s : m_shown)
        out << s.text;
    return out;
}

QString RecordingFileDialogs::next()
{
    if (m_names.empty())
        return QString();
    QString n = m_names.front();
    m_names.pop_front();
    return n;
}

QString RecordingFileDialogs::saveFileName(const QString& title, const QString& folder,
                                           const QString& filter, const QString& defaultSuffix)
{
    m_asked.push_back({true, title, folder, filter, defaultSuffix, 1});
    return next();
}

QString RecordingFileDialogs::openFileName(const QString& title, const QString& folder,
                                           const QString& filter, int filterIndex)
{
    m_asked.push_back({false, title, folder, filter, QString(), filterIndex});
    return next();
}

bool RecordingPrintDialogs::choosePrinter(QPrinter& printer, QWidget*)
{
    ++calls;
    if (pdfOutput.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfOutput);
    return true;
}

bool RecordingShell::openUrl(const QString& address)
{
    opened << address;
    return succeed;
}

std::optional<QString> MemorySettingsStore::read(const QString& section, const QString& key) const
{
    if (unreadable)
        throw ui::SettingsStoreError(*unreadable);
    const auto s = m_values.find(section.toCaseFolded());
    if (s == m_values.end())
        return std::nullopt;
    const auto k = s->find(key.toCaseFolded());
    if (k == s->end())
        return std::nullopt;
    return k->second;
}

void MemorySettingsStore::write(const QString& section, const QString& key, const QString& value)
{
    if (unreadable)
        throw ui::SettingsStoreError(*unreadable);
    if (failWrites)
        throw ui::SettingsStoreError("The settings store refused the write.");
    auto& keys = m_values[section.toCaseFolded()];
    auto it = keys.find(key.toCaseFolded());
    if (it == keys.end())
        keys.insert(key.toCaseFolded(), {key, value});
    else
        it->second = value;
}

int MemorySettingsStore::keyCount() const
{
    int n = 0;
    for (const auto& keys : m_values)
        n += keys.size();
    return n;
}

qint64 FullDisk::write(QFileDevice& file, const char* data, qint64 size, QString& reason)
{
    if (m_full) {
        reason = FullDisk::reason();
        return -1;
    }
    m_full = true;
    return file.write(data, size / 2);
}

QString FullDisk::reason()
{
    return QString::fromLocal8Bit(std::strerror(ENOSPC));
}

bool ReadOnlyFolders::open(QFileDevice&, QIODevice::OpenMode, QString& reason)
{
    reason = ReadOnlyFolders::reason();
    return false;
}

QString ReadOnlyFolders::reason()
{
    return QString::fromLocal8Bit(std::strerror(EACCES));
}

qint64 SourcesFailPartWay::read(QFileDevice& file, char* data, qint64 size, QString& reason)
{
    if (file.pos() > 0) {
        reason = SourcesFailPartWay::reason();
        return -1;
    }
    return file.read(data, qMin(size, qMax(qint64(1), file.size() / 2)));
}

QString SourcesFailPartWay::reason()
{
    return QString::fromLocal8Bit(std::strerror(EIO));
}

namespace {

sqlite3_vfs* g_plainVfs = nullptr;
sqlite3_vfs g_readOnlyVfs{};

int openForReading(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags,
                   int* outFlags)
{
    if (flags & SQLITE_OPEN_MAIN_DB)
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    return g_plainVfs->xOpen(g_plainVfs, name, file, flags, outFlags);
}

// Holds every data file at the size it has when it is opened.
int holdSize(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    return sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
}

} // namespace

ReadOnlyDataFiles::ReadOnlyDataFiles()
{
    g_plainVfs = sqlite3_vfs_find(nullptr);
    g_readOnlyVfs = *g_plainVfs;
    g_readOnlyVfs.zName = "read-only-data-files";
    g_readOnlyVfs.xOpen = &openForReading;
    sqlite3_vfs_register(&g_readOnlyVfs, 1);
}

ReadOnlyDataFiles::~ReadOnlyDataFiles()
{
    sqlite3_vfs_unregister(&g_readOnlyVfs);
}

DataFilesCannotGrow::DataFilesCannotGrow()
{
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&holdSize));
}

DataFilesCannotGrow::~DataFilesCannotGrow()
{
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&holdSize));
}

} // namespace testing_support
