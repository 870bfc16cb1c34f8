#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace data {
class Recordset;
}

inline const QString kTemplateFileName = QStringLiteral("CorvessaDataX.mdb");
inline const QString kBackupFileName = QStringLiteral("CorvessaData.OLD.bak");

// A file in the program folder, with this platform's separators.
QString DataFilePath(const QString& fileName);

// Marks this run of the program as using the data file in the program folder, for as long as
// the returned lock lives. Another running copy of the program holds its own marker.
std::unique_ptr<QLockFile> AcquireRunMarker();
// True while another running copy of the program holds a marker beside the data file.
bool AnotherCopyIsRunning(const QLockFile* ownMarker);

// Installs the data file from the template on a first run, or carries the data file's rows
// over into the template's layout; the template is consumed on success. Runs at start-up.
void UpgradeDataFile(const QLockFile* ownMarker);

// Adds every row of source to destination, field by field by name (keys included); true
// when every row arrived. Closes both.
bool CopyRecords(data::Recordset& source, data::Recordset& destination);

// Copies the data file to the backup file; returns the backup file's name, or empty text on
// failure (the previous backup is then left as it was).
QString BackupDataFile();

// The weekly backup at exit: when automatic backup is on and the last backup is 7 or more
// days old (or its date is missing or unreadable).
void AutomaticBackupAtExit();
