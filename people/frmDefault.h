#pragma once

#include "shell/ContentForm.h"
#include "shell/Helpers.h"

#include <QSet>
#include <QStringList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

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

    enum class Evaluation {
        Stored,    // the changes are in the file (those that could be made)
        NotStored, // nothing was stored; the next visit of the page tries again
        PutOff,    // another program holds the file: nothing was stored, the next start tries
    };

    bool evaluationsDue() const;
    void setEvaluationsDone();
    void AddGraduationReminder();
    // The file is left as it was unless the result is Stored. What the user must be told is
    // added to m_problems.
    Evaluation RunStatusEvaluations(data::Connection& conn, data::Recordset& rs);
    bool RaiseSchoolGrades(data::Connection& conn, data::Recordset& rs, double lastRaise,
                           EvaluationFailures& failures);
    static bool saveRow(data::Recordset& rs, std::int32_t id, EvaluationFailures& failures);
    void reportFailures(const EvaluationFailures& failures);
    // One message for everything this load could not do: the problems with the stored
    // settings, the rules left undone for them, then m_problems.
    void tellProblems(const QStringList& settingProblems);
    void appendReminder(const QString& line);

    static QString personName(data::Recordset& rs);
    static constexpr std::int16_t statusCode(PersonStatus status)
    {
        return static_cast<std::int16_t>(status);
    }

    void fillLists(data::Recordset& rs, Counts& counts);
    // Without counts (the people could not be read) only the captions are shown.
    void showCounts(const std::optional<Counts>& counts);
    void showReminders();

    // The reminder lines of this load.
    QString m_reminderText;
    // What this load could not do, told in one message at its end.
    QStringList m_problems;
    // The automatic changes left undone because a setting they go by could not be read.
    QStringList m_skippedRules;
    // Stands in for the main window's flag when the page is shown without one.
    bool m_evalsDone = false;
    // Pane positions in twips, as the last resize left them.
    std::array<double, kPaneCount> m_paneLeft{};
    std::array<double, kPaneCount> m_paneTop{};
};
