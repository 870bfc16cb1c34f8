// make-sample-data: writes a data file of invented sample people, meetings and attendance.
//
//   make-sample-data PROGRAMFOLDER [--seed N] [--last-meeting yyyy-mm-dd] [--force]
//
// Writes PROGRAMFOLDER/CorvessaData.mdb: 2,000 people, 1,040 weekly meetings (20 years) ending
// on the last meeting date (by default the latest Sunday up to today), and 200,000 attendance
// rows. The same seed and date always give the same file. An existing data file is kept
// unless --force is given.
#include "bench/SampleData.h"

#include "platform/data/DataError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    sample::Options options;
    const QDate today = QDate::currentDate();
    options.lastMeeting = today.addDays(-(today.dayOfWeek() % 7)); // the latest Sunday
    bool force = false;
    QString folder;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--force")) {
            force = true;
        } else if (a == QLatin1String("--seed") && i + 1 < args.size()) {
            options.seed = args[++i].toULongLong();
        } else if (a == QLatin1String("--last-meeting") && i + 1 < args.size()) {
            options.lastMeeting = QDate::fromString(args[++i], Qt::ISODate);
        } else if (!a.startsWith(QLatin1Char('-')) && folder.isEmpty()) {
            folder = a;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.isEmpty() || !options.lastMeeting.isValid()) {
        err << "usage: make-sample-data PROGRAMFOLDER [--seed N] [--last-meeting yyyy-mm-dd] "
               "[--force]\n";
        return 2;
    }
    const QString path = QDir(folder).filePath(QStringLiteral("CorvessaData.mdb"));
    if (QFile::exists(path)) {
        if (!force) {
            err << "make-sample-data: " << path << " exists; use --force to replace it\n";
            return 1;
        }
        QFile::remove(path);
    }
    try {
        QDir().mkpath(folder);
        const sample::Summary s = sample::writeSampleData(path, options);
        out << "Wrote " << path << ": " << s.people << " people, " << s.meetings
            << " meetings up to " << options.lastMeeting.toString(Qt::ISODate) << ", "
            << s.attendanceRows << " attendance rows (seed " << options.seed << ").\n";
        if (QFile::exists(QDir(folder).filePath(QStringLiteral("CorvessaDataX.mdb"))))
            out << "Note: the template CorvessaDataX.mdb lies beside it, so the program will copy "
                   "these rows into the template at its next start.\n";
    } catch (const data::DataError& e) {
        QFile::remove(path);
        err << "make-sample-data: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
