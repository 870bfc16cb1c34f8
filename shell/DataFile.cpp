#include "shell/DataFile.h"

#include "shell/ProgramState.h"
#include "shell/ResumeNext.h"
#include "shell/clsCorvessa.h"
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
    ResumeNext("Reading the backup settings", [&] {
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

void UpgradeDataFile(const QLockFile* ownMarker)
{
    const QString templatePath = pathOf(kTemplateFileName);
    const QString dataPath = pathOf(dataFileName());
    if (!QFileInfo::exists(templatePath))
        return;
    if (AnotherCopyIsRunning(ownMarker))
        return;
    if (!QFileInfo::exists(dataPath)) {
        QFile::rename(templatePath, dataPath);
        return;
    }
    // Carrying rows over into a new layout comes with the data access layer.
}
