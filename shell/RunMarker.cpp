#include "shell/RunMarker.h"

#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <signal.h>
#endif

namespace {

QString markerPrefix()
{
    const QString name = settings().DataFileName();
    return (name.isEmpty() ? QStringLiteral("CorvessaData.mdb") : name) + QStringLiteral(".run-");
}

QString thisHost()
{
    return QSysInfo::machineHostName();
}

bool processIsRunning(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

struct Marker {
    QString path;
    RunningCopy copy;
    QDateTime modified;
};

Marker readMarker(const QString& path)
{
    Marker m;
    m.path = path;
    m.modified = QFileInfo(path).lastModified();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QLatin1String("host=")))
            m.copy.host = text.mid(5);
        else if (text.startsWith(QLatin1String("pid=")))
            m.copy.pid = text.mid(4).toLongLong();
    }
    return m;
}

// A marker whose copy has ended: not refreshed for too long, or left on this computer by a
// process that no longer runs. A marker that cannot be read yet (being written) is fresh.
bool isStale(const Marker& m, const QDateTime& now)
{
    if (m.modified.isValid() &&
        m.modified.secsTo(now) >
            std::chrono::duration_cast<std::chrono::seconds>(RunMarker::kStaleAfter).count())
        return true;
    return m.copy.onThisComputer() && m.copy.pid > 0 && !processIsRunning(m.copy.pid);
}

QStringList markerPaths()
{
    const QDir folder(ui::programFolder());
    QStringList paths;
    for (const QString& name :
         folder.entryList({markerPrefix() + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        paths << folder.filePath(name);
    return paths;
}

// The time the other markers are measured against: the modification time of this copy's own
// marker, just refreshed (the file system's clock, as for theirs), or this computer's clock.
QDateTime referenceTime(RunMarker* own)
{
    if (own) {
        own->refresh();
        const QDateTime t = QFileInfo(own->path()).lastModified();
        if (t.isValid())
            return t;
    }
    return QDateTime::currentDateTime();
}

} // namespace

bool RunningCopy::onThisComputer() const
{
    return !host.isEmpty() && host.compare(thisHost(), Qt::CaseInsensitive) == 0;
}

RunMarker::RunMarker(QString path, QByteArray content)
    : m_path(std::move(path)), m_content(std::move(content))
{
    m_timer.setInterval(kRefreshInterval);
    connect(&m_timer, &QTimer::timeout, this, &RunMarker::refresh);
    m_timer.start();
}

RunMarker::~RunMarker()
{
    QFile::remove(m_path);
}

std::unique_ptr<RunMarker> RunMarker::create()
{
    const qint64 pid = QCoreApplication::applicationPid();
    const QString name = markerPrefix() + QString::number(pid) + QLatin1Char('-') +
                         QString::number(QRandomGenerator::global()->generate(), 16);
    const QString path = QDir(ui::programFolder()).filePath(name);
    const QByteArray content =
        "host=" + thisHost().toUtf8() + "\npid=" + QByteArray::number(pid) + "\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(content) != content.size()) {
        qWarning().noquote() << "The run marker" << path
                             << "cannot be written:" << file.errorString();
        file.remove();
        return nullptr;
    }
    file.close();
    std::unique_ptr<RunMarker> marker(new RunMarker(path, content));

    // Markers of copies that have ended go.
    const QDateTime now = referenceTime(marker.get());
    for (const QString& other : markerPaths()) {
        if (other != path && isStale(readMarker(other), now))
            QFile::remove(other);
    }
    return marker;
}

void RunMarker::refresh()
{
    // Written again in place, so that the file is never seen empty and its time is the file
    // system's; a marker removed meanwhile is written anew.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite) || file.write(m_content) != m_content.size())
        qWarning().noquote() << "The run marker" << m_path
                             << "cannot be refreshed:" << file.errorString();
}

std::optional<RunningCopy> OtherRunningCopy()
{
    RunMarker* own = program().ThisRun.get();
    const QDateTime now = referenceTime(own);
    for (const QString& path : markerPaths()) {
        if (own && QFileInfo(path) == QFileInfo(own->path()))
            continue;
        const Marker m = readMarker(path);
        if (!isStale(m, now))
            return m.copy;
    }
    return std::nullopt;
}

bool AnotherCopyIsRunning()
{
    return OtherRunningCopy().has_value();
}
