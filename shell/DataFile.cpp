#include "shell/DataFile.h"

#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Catalog.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/ConnectionString.h"
#include "platform/data/FileCheck.h"
#include "platform/data/Recordset.h"
#include "platform/data/RowStream.h"
#include "platform/data/Session.h"
#include "platform/data/Variant.h"
#include "platform/ui/FileWrites.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

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

// The folder a backup is written to, as the user knows it.
QString backupFolder()
{
    return QDir::toNativeSeparators(QFileInfo(pathOf(kBackupFileName)).absolutePath());
}

} // namespace

QString DataFilePath(const QString& fileName)
{
    return QDir::toNativeSeparators(pathOf(fileName));
}

QString DamagedDataFileText(bool beforeUpgrade)
{
    QString text = data::dataFileDamagedText(DataFilePath(dataFileName())) +
                   QStringLiteral(" It was not backed up");
    if (QFileInfo::exists(pathOf(kBackupFileName)))
        text += QStringLiteral(", so that the last good backup, ") + DataFilePath(kBackupFileName) +
                QStringLiteral(
                    ", is kept as it was. Copy that backup somewhere safe before you go on.");
    else
        text += QStringLiteral(", and there is no earlier backup.");
    if (beforeUpgrade)
        text += QStringLiteral(" The data file was not updated for this version of the program.");
    return text;
}

QString BackupDataFile(BackupResult* result, QString* cause)
{
    BackupResult outcome = BackupResult::Failed;
    QString why;
    {
        ui::Hourglass hourglass;
        const QString source = pathOf(dataFileName());
        bool copied = false;
        QString copyFailure;
        // The file is checked, and copied while no one can change it, so the backup is the file
        // that passed the check. The copy is taken through the database, so that it holds every
        // committed change, and it takes the earlier backup's place only once it is whole.
        const data::FileCheck check =
            data::checkDataFile(source, [&](const data::HeldDataFile& held) {
                copied = ui::fillWholeFile(
                    pathOf(kBackupFileName),
                    [&](const QString& file, QString& reason) { return held.copyTo(file, reason); },
                    &copyFailure);
            });
        if (check.health == data::FileHealth::Damaged) {
            qWarning().noquote() << "The data file is damaged:" << check.detail;
            outcome = BackupResult::DataFileDamaged;
        } else if (check.health == data::FileHealth::Sound && copied) {
            outcome = BackupResult::Saved;
        } else if (check.health == data::FileHealth::Sound) {
            why = QStringLiteral("The backup could not be written to the folder %1: %2")
                      .arg(backupFolder(), copyFailure);
            if (!why.endsWith(QLatin1Char('.')))
                why += QLatin1Char('.');
        } else {
            why = check.detail;
        }
        if (!why.isEmpty())
            qWarning().noquote() << "The data file was not backed up:" << why;
    }
    if (result)
        *result = outcome;
    if (cause)
        *cause = why;
    if (outcome != BackupResult::Saved)
        return QString();
    // The backup stands even when its date cannot be stored (the settings store is not
    // writable, which the user has been told): the next exit then makes another.
    TryStep("Recording the backup date",
            [] { settings().setLastAutoBackup(data::jetdate::fromDate(ui::today())); });
    return kBackupFileName;
}

QString BackupFailedText(const QString& cause)
{
    const QString text =
        QStringLiteral("There was a problem backing up the data file.  No backup was made.");
    return cause.isEmpty() ? text : text + QLatin1Char(' ') + cause;
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
    if (!due)
        return;
    BackupResult result = BackupResult::Failed;
    QString cause;
    BackupDataFile(&result, &cause);
    // The user would otherwise go on believing there is a recent backup.
    if (result == BackupResult::DataFileDamaged) {
        ui::critical(DamagedDataFileText(false));
    } else if (result == BackupResult::Failed) {
        QString text =
            QStringLiteral("The automatic backup of the data file could not be made. ") + cause;
        if (QFileInfo::exists(pathOf(kBackupFileName)))
            text += QStringLiteral(" The earlier backup, ") + DataFilePath(kBackupFileName) +
                    QStringLiteral(", is kept as it was.");
        else
            text += QStringLiteral(" There is no earlier backup.");
        ui::critical(text);
    }
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

// Adds every row of one table of the data file to the work copy's table of that name by the
// rules of CopyRecords: each field to the field of the same name (keys included), the template's
// defaults for the fields the old table lacks, a field the template lacks an error once a row is
// to be written to it; true when the work copy's table then holds exactly the rows copied (so
// never when the template held rows of its own). The rows go one at a time, never all at once,
// so that a group of any size is carried over.
bool copyTable(data::Connection& source, data::Connection& destination, const QString& table)
{
    const QString sql = QStringLiteral("SELECT * FROM ") + table + QStringLiteral(";");
    data::RowReader from(source, sql);
    std::optional<data::RowWriter> to;
    qint64 count = 0;
    while (from.next()) {
        if (!to)
            to.emplace(destination, table.trimmed(), from.names());
        to->add(from.values());
        ++count;
    }
    data::Recordset total;
    total.Open(QStringLiteral("SELECT Count(*) AS n FROM ") + table + QStringLiteral(";"),
               destination, data::adOpenForwardOnly, data::adLockReadOnly);
    return count == static_cast<qint64>(total.Fields(0).Value().number());
}

// Copies the rows of every table of the data file into the (copied) template. False when any
// table that the data file has could not be copied whole.
bool carryRowsOver(const QString& workFileName, UpgradeFiles& files)
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
    // The template's indexes are made anew once its tables hold every row.
    std::optional<data::IndexesSetAside> indexes;
    try {
        indexes.emplace(destination);
    } catch (const std::exception& e) {
        qWarning().noquote() << "The upgrade could not prepare its copy:" << e.what();
        return false;
    }
    for (const QString& table : kUpgradeTables.split(QLatin1Char(','))) {
        // Only a table the data file does not have is passed over; one it has but cannot read
        // fails the upgrade.
        if (!source.session()->catalog().table(table.trimmed()))
            continue;
        bool copied = false;
        try {
            copied = copyTable(source, destination, table);
        } catch (const std::exception& e) {
            qWarning().noquote() << "Copying" << table.trimmed() << "failed:" << e.what();
        }
        ok = ok && copied;
    }
    if (ok) {
        try {
            indexes->rebuild();
        } catch (const std::exception& e) {
            qWarning().noquote() << "Making the indexes of the upgraded data failed:" << e.what();
            ok = false;
        }
    }
    if (ok) {
        files.rowsCopied();
        try {
            transaction.commit();
        } catch (const std::exception& e) {
            qWarning().noquote() << "Saving the upgraded data failed:" << e.what();
            ok = false;
        }
    }
    return ok;
}

// The journal files SQLite may keep beside a data file.
QStringList companionsOf(const QString& path)
{
    return {path + QStringLiteral("-journal"), path + QStringLiteral("-wal"),
            path + QStringLiteral("-shm")};
}

bool exists(const QString& path)
{
    return QFileInfo::exists(path);
}

// The files of an upgrade, beside the data file.
struct UpgradePaths {
    QString data = pathOf(dataFileName());
    QString templ = pathOf(kTemplateFileName);
    // The template, filled with the data file's rows.
    QString work = pathOf(kTemplateFileName + QStringLiteral(".upgrade"));
    // The old data file while the filled copy takes its place.
    QString aside = pathOf(dataFileName() + QStringLiteral(".before-upgrade"));
};

QString upgradeDeferredText(const RunningCopy& other)
{
    const QString where = other.onThisComputer() || other.host.isEmpty()
                              ? QStringLiteral("on this computer")
                              : QStringLiteral("on the computer ") + other.host;
    return QStringLiteral("This version of the program comes with an update of the data file, "
                          "but another copy of the program is using the data file (") +
           where +
           QStringLiteral("). The update was not made now, and nothing was changed. Close the "
                          "other copy, then start the program again to make the update.");
}

// Finishes or undoes an upgrade that was stopped part-way (the program killed, the power
// gone), from the files it left; the data file then holds every row again. The upgrade swaps
// the files only once the filled copy is saved, and in this order: the data file is moved
// aside, the filled copy takes its name, the template goes, the aside file goes.
// False when the files are in a state no upgrade leaves: nothing is touched then.
bool recoverInterruptedUpgrade(const UpgradePaths& p, UpgradeFiles& files)
{
    if (exists(p.aside)) {
        if (!exists(p.data)) {
            // Stopped between the two moves: the old data file, whole, goes back.
            if (!files.rename(p.aside, p.data))
                return false;
        } else if (!exists(p.work)) {
            // Stopped after the filled copy became the data file: only clearing up was left.
            if (exists(p.templ) && !files.remove(p.templ))
                return false;
            files.remove(p.aside);
        } else {
            qWarning().noquote() << "The files of an earlier update cannot be told apart:" << p.data
                                 << p.aside << p.work;
            return false;
        }
    }
    // The work copy of an attempt that never reached the swap, and its journals, go only once
    // the data file is there.
    if (exists(p.data)) {
        for (const QString& leftover : QStringList{p.work} + companionsOf(p.work)) {
            if (exists(leftover))
                files.remove(leftover);
        }
    }
    return true;
}

} // namespace

bool UpgradeFiles::copy(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return false;
    QString reason;
    if (ui::copyWholeFile(from, to, &reason))
        return true;
    qWarning().noquote() << "Copying" << from << "failed:" << reason;
    return false;
}

bool UpgradeFiles::rename(const QString& from, const QString& to)
{
    return QFile::rename(from, to);
}

bool UpgradeFiles::remove(const QString& path)
{
    return QFile::remove(path);
}

UpgradeFiles& UpgradeFiles::plain()
{
    static UpgradeFiles files;
    return files;
}

void UpgradeDataFile(UpgradeFiles& files)
{
    const UpgradePaths p;
    if (!exists(p.templ) && !exists(p.aside) && !exists(p.work))
        return;
    // Another running copy has the data file open: the update waits for a start when this copy
    // runs alone.
    if (const auto other = OtherRunningCopy()) {
        ui::information(upgradeDeferredText(*other));
        return;
    }
    if (!recoverInterruptedUpgrade(p, files) || !exists(p.templ))
        return;
    if (!exists(p.data)) {
        files.rename(p.templ, p.data);
        return;
    }

    // Nothing is changed without a backup to go back to, and never from a damaged file.
    BackupResult backup = BackupResult::Failed;
    QString cause;
    BackupDataFile(&backup, &cause);
    if (backup == BackupResult::DataFileDamaged) {
        ui::critical(DamagedDataFileText(true));
        return;
    }
    if (backup != BackupResult::Saved) {
        ui::critical(BackupFailedText(cause));
        return;
    }

    // The rows go into a copy of the template, so that a failed attempt leaves the template
    // as it was for the next start.
    if (!files.copy(p.templ, p.work)) {
        ui::information(kUpgradeFailedText);
        return;
    }
    if (!carryRowsOver(QFileInfo(p.work).fileName(), files)) {
        for (const QString& leftover : QStringList{p.work} + companionsOf(p.work))
            files.remove(leftover);
        ui::information(kUpgradeFailedText);
        return;
    }

    // Swap the files: the old data file is kept aside until the new one is in its place.
    if (!files.rename(p.data, p.aside)) {
        files.remove(p.work);
        return;
    }
    // A journal left beside the old file must never be replayed into the new one.
    for (const QString& companion : companionsOf(p.data))
        files.remove(companion);
    if (!files.rename(p.work, p.data)) {
        files.rename(p.aside, p.data);
        files.remove(p.work);
        return;
    }
    files.remove(p.templ);
    files.remove(p.aside);
}
