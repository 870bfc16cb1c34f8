#pragma once

#include "platform/data/Variant.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class QListWidget;

// The attendance record of one person on the directory's Tracking tab: one line per meeting
// of the last 26 weeks, newest first, each marked present or absent. The meeting dates are
// read once, when the screen loads; the marks again for every person shown.
class AttendanceHistory {
public:
    // The list the lines go into (Attendance_Record).
    explicit AttendanceHistory(QListWidget* list);

    // Reads the dates of every meeting on or after the cut-off, newest first.
    void LoadRecentWeeks();
    // Rebuilds the list for a person (Youth_ID; Null or 0 for a new person, who gets an empty
    // list, as does a person who attended none of the meetings).
    void ShowAttendanceRecord(const data::Variant& youthId);

    const std::vector<QDate>& RecentDates() const { return m_recent; }

    // Meetings this many days back from today, and later ones, are recent.
    static constexpr int kWindowDays = 26 * 7;
    // The first recent day.
    static QDate CutOff();

    // "MM/DD/YYYY -  PRESENT" or "MM/DD/YYYY -  Absent".
    static QString HistoryLine(const QDate& meeting, bool present);
    // The lines for the recent dates given the days the person attended; none at all when the
    // person attended none of them.
    static QStringList HistoryLines(const std::vector<QDate>& recent, const QSet<QDate>& attended);

private:
    // A query that failed is told once for the screen's life; the list stays empty.
    void reportFailure(const QString& description);

    QListWidget* m_list;
    std::vector<QDate> m_recent;
    bool m_failureTold = false;
};
