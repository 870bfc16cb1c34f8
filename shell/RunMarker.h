#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

// Which copies of the program are running on the data file in the program folder.
//
// Each running copy keeps a small marker file beside the data file, named after the data file
// ("CorvessaData.mdb.run-<pid>-<random>") and holding the lines "host=<computer name>" and
// "pid=<process id>". It refreshes the file every minute and removes it when it
// ends. Another copy's marker counts as long as it is fresh: one not refreshed for ten minutes
// (whatever computer wrote it), or one left on this computer by a process that has ended, is
// stale. Ages are measured against this copy's own marker, so the clocks of other computers
// sharing the folder do not matter.
class RunMarker : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::minutes kRefreshInterval{1};
    static constexpr std::chrono::minutes kStaleAfter{10};

    // Writes this copy's marker and removes the stale markers of copies that have ended. Null
    // when the folder takes no marker (a read-only folder): the copy then runs unmarked.
    static std::unique_ptr<RunMarker> create();
    ~RunMarker() override;
    RunMarker(const RunMarker&) = delete;
    RunMarker& operator=(const RunMarker&) = delete;

    const QString& path() const { return m_path; }
    // Marks the copy as still running (the timer does this every minute).
    void refresh();

private:
    RunMarker(QString path, QByteArray content);

    QString m_path;
    QByteArray m_content;
    QTimer m_timer;
};

// Another running copy, as its marker names it.
struct RunningCopy {
    QString host; // empty when the marker could not be read
    qint64 pid = 0;
    bool onThisComputer() const;
};

// Another copy of the program running on this data file (the first found), seen from the marker
// of this run (program().ThisRun), or from none when this run has no marker.
std::optional<RunningCopy> OtherRunningCopy();
bool AnotherCopyIsRunning();
