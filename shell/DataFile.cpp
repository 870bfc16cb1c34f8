#include "shell/DataFile.h"

#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Connection.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/Recordset.h"
#include "platform/data/Session.h"
#include "platform/data/Catalog.h"
#include "platform/data/Variant.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace {

QString dataFileName()
{
    const QString name = settings().DataFileName();
    return name.isEmpty() ? QStringLiteral("CorvessaData.mdb") : name;
}

QString pathOf(const QString& fileName)
{
    return QDir(ui::programFolder()).filePath(fileName);
}

QString markerPrefix()
{
    return dataFileName() + QStringLiteral(".run-");
}

// Copies a file through a temporary file that replaces the target only once it is complete.
bool copyFileSafely(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = source.read(buffer, sizeof buffer);
        if (n < 0) {
            target.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        if (target.write(buffer, n) != n) {
            target.cancelWriting();
            return false;
        }
    }
    return target.commit();
}

} // namespace

QString DataFilePath(const QString& fileName)
{
    return QDir::toNativeSeparators(pathOf(fileName));
}

std::unique_ptr<QLockFile> AcquireRunMarker()
{
    const QString name = markerPrefix() + QString::number(QCoreApplication::applicationPid()) +
                         QStringLiteral(".lock");
    auto marker = std::make_unique<QLockFile>(pathOf(name));
    marker->setStaleLockTime(0);
    if (!marker->tryLock(0))
        return nullptr;
    return marker;
}

bool AnotherCopyIsRunning(const QLockFile* ownMarker)
{
    const QDir folder(ui::programFolder());
    const QStringList markers =
        folder.entryList({markerPrefix() + QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden);
    for (const QString& name : markers) {
        const QString path = folder.filePath(name);
        if (ownMarker && QFileInfo(path) == QFileInfo(ownMarker->fileName()))
            continue;
        QLockFile other(path);
        other.setStaleLockTime(0);
        // A marker left by a copy that has ended is stale and is taken over (and removed);
        // one held by a running copy cannot be.
        if (other.tryLock(0)) {
            other.unlock();
            continue;
        }
        if (other.error() == QLockFile::LockFailedError)
            return true;
    }
    return false;
}

QString BackupDataFile()
{
    bool copied = false;
    {
        ui::Hourglass hourglass;
        const QString source = pathOf(dataFileName());
        copied = QFileInfo::exists(source) && copyFileSafely(source, pathOf(kBackupFileName));
    }
    if (!copied)
        return QString();
    settings().setLastAutoBackup(data::jetdate::fromDate(ui::today()));
    return kBackupFileName;
}

void AutomaticBackupAtExit()
{
    bool due = true;
    TryStep("Reading the backup settings", [&] {
        // A date that cannot be read, like a missing one, makes the backup due.
        if (!settings().AutoBackup()) {
            due = false;
            return;
        }
        const QDate last = data::jetdate::toDate(settings().LastAutoBackup());
        due = !last.isValid() || last.daysTo(ui::today()) > 6;
    });
    if (due)
        BackupDataFile();
}

bool CopyRecords(data::Recordset& source, data::Recordset& destination)
{
    qint64 count = 0;
    bool ok = false;
    try {
        while (!source.EOF()) {
            destination.AddNew();
            ++count;
            data::Fields fields = source.Fields();
            for (int i = 0; i < fields.Count(); ++i) {
                const data::Field field = fields.Item(i);
                destination.Fields(field.Name()) = field.Value();
            }
            destination.Update();
            source.MoveNext();
        }
        ok = count == destination.RecordCount();
    } catch (const std::exception& e) {
        qWarning().noquote() << "Copying rows failed:" << e.what();
        ok = false;
    }
    TryStep("Closing the copied rows", [&] {
        source.Close();
        destination.Close();
    });
    return ok;
}

namespace {

const QString kUpgradeFailedText = QStringLiteral(
    "A problem occured while updating certain settings. As a precaution, a backup of your data "
    "was saved with a '.OLD.bak' extension. If you encounter problems with using the program, "
    "contact Corvessa technical support.");

// The tables carried over, in this order.
const QString kUpgradeTables = QStringLiteral("Youth, Weeks, Attendance");

// Copies the rows of every table of the data file into the (copied) template. False when any
// table that the data file has could not be copied whole.
bool carryRowsOver(const QString& workFileName)
{
    data::Connection source;
    data::Connection destination;
    try {
        source.setCursorLocation(data::adUseServer);
        source.Open(program().ConnectionString.isEmpty()
                        ? data::buildConnectionString(ui::programFolder(), dataFileName())
                        : program().ConnectionString);
        destination.setCursorLocation(data::adUseServer);
        destination.Open(data::buildConnectionString(ui::programFolder(), workFileName));
    } catch (const std::exception& e) {
        qWarning().noquote() << "The upgrade could not open its files:" << e.what();
        return false;
    }

    ui::Hourglass hourglass;
    bool ok = true;
    data::Transaction transaction(destination);
    for (const QString& table : kUpgradeTables.split(QLatin1Char(','))) {
        // Only a table the data file does not have is passed over; one it has but cannot read
        // fails the upgrade.
        if (!source.session()->catalog().table(table.trimmed()))
            continue;
        const QString sql = QStringLiteral("SELECT * FROM ") + table + QStringLiteral(";");
        bool copied = false;
        try {
            data::Recordset from;
            from.Open(sql, source, data::adOpenForwardOnly, data::adLockReadOnly);
            data::Recordset to;
            to.Open(sql, destination, data::adOpenStatic, data::adLockOptimistic);
            copied = CopyRecords(from, to);
        } catch (const std::exception& e) {
            qWarning().noquote() << "Copying" << table.trimmed() << "failed:" << e.what();
        }
        ok = ok && copied;
    }
    if (ok) {
        try {
            transaction.commit();
        } catch (const std::exception& e) {
            qWarning().noquote() << "Saving the upgraded data failed:" << e.what();
            ok = false;
        }
    }
    return ok;
}

void removeFile(const QString& path)
{
    if (QFileInfo::exists(path))
        QFile::remove(path);
}

// The journal files SQLite may keep beside a data file.
QStringList companionsOf(const QString& path)
{
    return {path + QStringLiteral("-journal"), path + QStringLiteral("-wal"),
            path + QStringLiteral("-shm")};
}

} // namespace

void UpgradeDataFile(const QLockFile* ownMarker)
{
    const QString templatePath = pathOf(kTemplateFileName);
    const QString dataPath = pathOf(dataFileName());
    if (!QFileInfo::exists(templatePath))
        return;
    // Another running copy has the data file open; it is upgraded at a later start.
    if (AnotherCopyIsRunning(ownMarker))
        return;
    if (!QFileInfo::exists(dataPath)) {
        QFile::rename(templatePath, dataPath);
        return;
    }

    // Nothing is changed without a backup to go back to.
    if (BackupDataFile().isEmpty()) {
        ui::critical(
            QStringLiteral("There was a problem backing up the data file.  No backup was made."));
        return;
    }

    // The rows go into a copy of the template, so that a failed attempt leaves the template
    // as it was for the next start.
    const QString workName = kTemplateFileName + QStringLiteral(".upgrade");
    const QString workPath = pathOf(workName);
    removeFile(workPath);
    if (!QFile::copy(templatePath, workPath))
        return;

    if (!carryRowsOver(workName)) {
        removeFile(workPath);
        ui::information(kUpgradeFailedText);
        return;
    }

    // Swap the files: the old data file is kept aside until the new one is in its place.
    const QString asidePath = dataPath + QStringLiteral(".before-upgrade");
    removeFile(asidePath);
    if (!QFile::rename(dataPath, asidePath)) {
        removeFile(workPath);
        return;
    }
    // A journal left beside the old file must never be replayed into the new one.
    for (const QString& companion : companionsOf(dataPath))
        removeFile(companion);
    if (!QFile::rename(workPath, dataPath)) {
        QFile::rename(asidePath, dataPath);
        removeFile(workPath);
        return;
    }
    removeFile(asidePath);
    removeFile(templatePath);
}
