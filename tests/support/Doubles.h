#pragma once

#include "platform/ui/FileWrites.h"
#include "platform/ui/Services.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Records every message box and answers with scripted answers; without a scripted answer a
// box answers with its default button (OK, Yes for a question, No for a critical question).
class RecordingMessageBoxes final : public ui::MessageBoxes {
public:
    struct Shown {
        ui::MessageKind kind;
        QString text;
        QString title;
    };

    ui::Answer show(ui::MessageKind kind, const QString& text, const QString& title) override;

    void scriptAnswer(ui::Answer answer) { m_answers.push_back(answer); }
    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    const Shown& last() const { return m_shown.back(); }
    void clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
    std::deque<ui::Answer> m_answers;
};

class RecordingFileDialogs final : public ui::FileDialogs {
public:
    struct Asked {
        bool save;
        QString title;
        QString folder;
        QString filter;
        QString defaultSuffix;
        int filterIndex = 1;
    };

    QString saveFileName(const QString& title, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter,
                         int filterIndex = 1) override;

    // The next dialog returns this file name ("" as if cancelled).
    void scriptFileName(const QString& name) { m_names.push_back(name); }
    const std::vector<Asked>& asked() const { return m_asked; }

private:
    QString next();
    std::vector<Asked> m_asked;
    std::deque<QString> m_names;
};

class RecordingPrintDialogs final : public ui::PrintDialogs {
public:
    bool choosePrinter(QPrinter& printer, QWidget* parent) override;
    // When set, the chosen printer writes a PDF to this file; otherwise the dialog is cancelled.
    QString pdfOutput;
    int calls = 0;
};

class RecordingShell final : public ui::Shell {
public:
    bool openUrl(const QString& address) override;
    QStringList opened;
    bool succeed = true;
};

class FixedClock final : public ui::Clock {
public:
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void setToday(const QDate& d) { m_now = QDateTime(d, m_now.time()); }

private:
    QDateTime m_now;
};

// Settings held in memory; sections and keys match without regard to case.
class MemorySettingsStore final : public ui::SettingsStore {
public:
    std::optional<QString> read(const QString& section, const QString& key) const override;
    void write(const QString& section, const QString& key, const QString& value) override;

    // Number of keys stored (all sections).
    int keyCount() const;
    // When set, every write throws.
    bool failWrites = false;
    // When set, the store cannot be read: every read and write throws this reason.
    std::optional<std::string> unreadable;

private:
    // Stored spelling of the section, then the keys with their stored spelling.
    QMap<QString, QMap<QString, std::pair<QString, QString>>>
        m_values; // folded -> (spelling, value)
    QMap<QString, QString> m_sectionSpelling;
};

// While it lives, every file the program writes meets a disk that fills up: the first write
// takes half its bytes without a word, as the system does, and every later one fails with
// the system's reason.
class FullDisk final : public ui::FileWrites {
public:
    qint64 write(QFileDevice& file, const char* data, qint64 size, QString& reason) override;
    // The system's description of a full disk.
    static QString reason();

private:
    bool m_full = false;
    ui::FileWritesOverride m_override{*this};
};

// While it lives, no folder the program writes to takes a new file, as a folder the user may not
// write to: making one fails with the system's reason.
class ReadOnlyFolders final : public ui::FileWrites {
public:
    bool open(QFileDevice& file, QIODevice::OpenMode mode, QString& reason) override;
    // The system's description of a folder that may not be written to.
    static QString reason();

private:
    ui::FileWritesOverride m_override{*this};
};

// While it lives, every file the program copies can be read only part-way, as on a failing disk
// or a network folder that goes away: the first read gives at most half its bytes, and every
// later one fails with the system's reason.
class SourcesFailPartWay final : public ui::FileWrites {
public:
    qint64 read(QFileDevice& file, char* data, qint64 size, QString& reason) override;
    // The system's description of a failed read.
    static QString reason();

private:
    ui::FileWritesOverride m_override{*this};
};

// While it lives, SQLite opens every data file for reading only, as it does a file the system
// lets it read but not change.
class ReadOnlyDataFiles {
public:
    ReadOnlyDataFiles();
    ~ReadOnlyDataFiles();
    ReadOnlyDataFiles(const ReadOnlyDataFiles&) = delete;
    ReadOnlyDataFiles& operator=(const ReadOnlyDataFiles&) = delete;
};

// While it lives, no data file opened meanwhile can grow: a write that needs room fails as on
// a full disk.
class DataFilesCannotGrow {
public:
    DataFilesCannotGrow();
    ~DataFilesCannotGrow();
    DataFilesCannotGrow(const DataFilesCannotGrow&) = delete;
    DataFilesCannotGrow& operator=(const DataFilesCannotGrow&) = delete;
};

} // namespace testing_support
