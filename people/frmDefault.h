#pragma once

#include "shell/ContentForm.h"
#include "shell/Helpers.h"

#include <QSet>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class Panel;
class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace data {
class Connection;
class Recordset;
} // namespace data

// The Start page ("Your Group Today"): the number of people by status, the news and reminders
// of this run, the visitors still to be contacted, the coming birthdays and the people missing
// in action. Its first load in a run applies the automatic status rules to every person and
// raises the school grades once a year; the reminder lines this produces are kept for the
// rest of the run. Double-clicking a person in the visitors or missing-in-action list opens
// that person in the Visitors or Members directory.
class frmDefault : public ContentForm {
    Q_OBJECT
public:
    explicit frmDefault(QWidget* parent = nullptr);
    ~frmDefault() override;

    static constexpr int kPaneCount = 5;

    QLabel* Logo = nullptr;
    std::array<Panel*, kPaneCount> InfoPanel{};
    std::array<QLabel*, kPaneCount> TitleLabel{};
    QLabel* lblStatus = nullptr;
    QLabel* lblNumbers = nullptr;
    QPlainTextEdit* txtReminder = nullptr;
    QListWidget* List_Visitors = nullptr;
    QListWidget* List_Birthday = nullptr;
    QListWidget* List_MIA = nullptr;

protected:
    void Form_Load() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Counts {
        int active = 0;
        int away = 0;
        int inactive = 0;
        int unassigned = 0;
    };

    void buildControls();
    void Form_Resize();
    void List_MIA_DblClick();
    void List_Visitors_DblClick();
    void openPerson(std::int32_t id, std::int16_t node);

    // The people a rule could not be applied to in this run, and why the first one failed.
    struct EvaluationFailures {
        QSet<std::int32_t> people;
        bool gradesUndone = false; // the yearly raise could not be recorded, so it was undone
        QString firstReason;
        // Runs one step of the rules for `person`. A failure is logged and noted against the
        // person, and the evaluation goes on; returns false when the step failed.
        bool attempt(const char* what, std::int32_t person, const std::function<void()>& step);
    };

    bool evaluationsDue() const;
    void setEvaluationsDone();
    void AddGraduationReminder();
    // Returns false when the changes could not be stored; the file is then left as it was.
    bool RunStatusEvaluations(data::Connection& conn, data::Recordset& rs);
    bool RaiseSchoolGrades(data::Connection& conn, data::Recordset& rs, double lastRaise,
                           EvaluationFailures& failures);
    static bool saveRow(data::Recordset& rs, std::int32_t id, EvaluationFailures& failures);
    static void reportFailures(const EvaluationFailures& failures);
    void appendReminder(const QString& line);

    static QString personName(data::Recordset& rs);
    static constexpr std::int16_t statusCode(PersonStatus status)
    {
        return static_cast<std::int16_t>(status);
    }

    void fillLists(data::Recordset& rs, Counts& counts);
    void showCounts(const Counts& counts);
    void showReminders();

    // The reminder lines of this load.
    QString m_reminderText;
    // Stands in for the main window's flag when the page is shown without one.
    bool m_evalsDone = false;
    // Pane positions in twips, as the last resize left them.
    std::array<double, kPaneCount> m_paneLeft{};
    std::array<double, kPaneCount> m_paneTop{};
};
