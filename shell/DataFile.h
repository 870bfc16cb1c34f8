#pragma once

#include <QString>

namespace data {
class Recordset;
}

inline const QString kTemplateFileName = QStringLiteral("CorvessaDataX.mdb");
inline const QString kBackupFileName = QStringLiteral("CorvessaData.OLD.bak");

// A file in the program folder, with this platform's separators.
QString DataFilePath(const QString& fileName);

// The file operations of an upgrade, one call each, so that an upgrade can be stopped at any of
// them; the program uses the plain operations of this class.
class UpgradeFiles {
public:
    virtual ~UpgradeFiles() = default;
    // Each fails (false) when the target exists.
    virtual bool copy(const QString& from, const QString& to);
    virtual bool rename(const QString& from, const QString& to);
    virtual bool remove(const QString& path);
    // A point between operations: the rows are in the work copy but not yet saved there.
    virtual void rowsCopied() {}

    static UpgradeFiles& plain();
};

// Installs the data file from the template on a first run, or carries the data file's rows
// over into the template's layout (by the rules of CopyRecords, one row at a time); the template
// is consumed on success. Runs at start-up, after
// this run's marker is written: while another copy of the program runs, it waits (and says so).
// An upgrade stopped part-way at an earlier start (the program killed, the power gone) is
// finished or undone first, from the files it left, so that the data file always holds every
// row.
void UpgradeDataFile(UpgradeFiles& files = UpgradeFiles::plain());

// Adds every row of source to destination, field by field by name (keys included); true
// when every row arrived. Closes both.
bool CopyRecords(data::Recordset& source, data::Recordset& destination);

enum class BackupResult {
    Saved,
    Failed,          // missing, locked, or the copy could not be written
    DataFileDamaged, // the data file fails SQLite's check: the earlier backup is kept
};

// Copies the data file to the backup file; returns the backup file's name, or empty text on
// failure. The data file must open and pass SQLite's quick check first: a damaged file never
// replaces the backup. The copy holds every committed change, whatever the file's journal mode,
// and opens on its own. On any failure the previous backup is left as it was and the backup
// date is not recorded. `result`, when given, tells the outcome; `cause`, when given, why a
// backup failed (in words for the user; empty for a damaged file and after success).
QString BackupDataFile(BackupResult* result = nullptr, QString* cause = nullptr);

// What the user is told when a backup from the menu failed for `cause`.
QString BackupFailedText(const QString& cause);

// What the user is told when the data file is found damaged at a backup (from the menu, at exit
// or before an upgrade).
QString DamagedDataFileText(bool beforeUpgrade);

// The weekly backup at exit: when automatic backup is on and the last backup is 7 or more
// days old (or its date is missing or unreadable). A damaged data file, or a backup that could
// not be made, is reported, once.
void AutomaticBackupAtExit();
