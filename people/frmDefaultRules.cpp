// The Start page's once-per-run evaluation: the status rules applied to every person, the
// yearly grade raise, and the one message about the people the rules could not be applied to.
#include "people/frmDefault.h"

#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/SettingKeys.h"
#include "shell/StatusRules.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Services.h"

#include <QDebug>
#include <QHash>

#include <limits>
#include <optional>

namespace {

const QString kGradesNotRaised = QStringLiteral(
    "The school year is over, but the day of the grade raise could not be recorded, so no grade "
    "has been raised. The grades will be raised at the next start of the program.");

const QString kPutOff = QStringLiteral(
    "The automatic status rules were therefore not applied, and nothing was changed. The "
    "changes will be made at the next start of the program.");

// "a", "a and b", "a, b and c".
QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

} // namespace

bool frmDefault::EvaluationFailures::attempt(const char* what, std::int32_t person,
                                             const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        qWarning().noquote() << what << "failed:" << e.what();
        people.insert(person);
        if (firstReason.isEmpty())
            firstReason = data::describe(e);
    }
    return false;
}

frmDefault::Evaluation frmDefault::RunStatusEvaluations(data::Connection& conn, data::Recordset& rs)
{
    clsCorvessa& s = settings();
    const QDate today = ui::today();
    const QDate raiseDay(today.year(), 6, 15);

    // A rule that goes by a setting that could not be read is not applied at this start: no
    // record is changed on a default standing in for the user's choice. Every setting is read,
    // so that every problem is told.
    const std::optional<double> lastRaise = s.RuleLastAutoGradSchoolDate();
    const std::optional<bool> autoGradSchool = s.RuleFlag(keys::AutoGradSchool);
    const std::optional<bool> autoGradVisitor = s.RuleFlag(keys::AutoGradVisitor);
    const bool memberCountRead = s.RuleCount(keys::WeeksToMember).has_value();
    const bool miaCountRead = s.RuleCount(keys::WeeksToMIA).has_value();
    const bool inactiveCountRead = s.RuleCount(keys::WeeksToInactive).has_value();

    const bool inactiveRule = miaCountRead && inactiveCountRead;
    const bool memberRule = autoGradVisitor.value_or(false) && memberCountRead;
    if (!inactiveRule)
        m_skippedRules << QStringLiteral("active people who stay away becoming inactive");
    if (!autoGradVisitor || (*autoGradVisitor && !memberCountRead))
        m_skippedRules << QStringLiteral("regular visitors becoming members");

    // The school year is over once a year, at the first run on or after 15 June. The very
    // first run only records the date.
    bool schoolYearOver = false;
    if (!lastRaise) {
        m_skippedRules << QStringLiteral("the yearly raise of the school grades");
    } else if (data::jetdate::toDate(*lastRaise) == data::jetdate::epoch()) {
        const int year = today < raiseDay ? today.year() - 1 : today.year();
        TryStep("Recording the school year",
                [&] { s.setLastAutoGradSchoolDate(data::jetdate::fromDate(QDate(year, 6, 14))); });
    } else if (!autoGradSchool) {
        m_skippedRules << QStringLiteral("the yearly raise of the school grades");
    } else {
        schoolYearOver = *autoGradSchool && today >= raiseDay &&
                         data::jetdate::toDate(*lastRaise).year() < today.year();
    }

    QStringList inactive;
    QStringList activeAgain;
    QStringList newMembers;
    EvaluationFailures failures;
    bool gradesRaised = false;
    try {
        // One transaction for the whole evaluation; the grade raise is a part of it that can be
        // undone by itself.
        data::Transaction transaction(conn);

        // Every visitor's attendance of the member period is read at once, through this
        // connection and before the first change: once the changes outgrow the page cache the
        // transaction holds the file exclusively, and a read on any other connection would wait
        // for a lock that only this loop can let go.
        std::optional<QHash<std::int32_t, int>> periodAttendance;
        QString attendanceUnread;
        if (memberRule) {
            try {
                periodAttendance = MemberPeriodAttendance(conn);
            } catch (const std::exception& e) {
                qWarning().noquote() << "Counting the visitors' attendance failed:" << e.what();
                attendanceUnread = data::describe(e);
            }
        }

        TryStep("Going to the first person", [&] { rs.MoveFirst(); });
        while (!rs.EOF()) {
            const std::int32_t id = ToLong(rs["Youth_ID"], 0);
            const QString name = personName(rs);
            bool changed = false;
            bool becameInactive = false;
            bool becameActive = false;
            bool becameMember = false;

            failures.attempt("Checking for inactivity", id, [&] {
                if (!inactiveRule)
                    return;
                const std::int16_t status = ToInteger(rs["Youth_Status"], 0);
                if (ShouldBecomeInactive(status, rs["Youth_Last_Attended"])) {
                    rs["Youth_Status"] = statusCode(PersonStatus::Inactive);
                    becameInactive = changed = true;
                }
            });
            failures.attempt("Checking for a return", id, [&] {
                const std::int16_t status = ToInteger(rs["Youth_Status"], 0);
                if (ShouldReactivate(status, rs["Youth_Last_Attended"])) {
                    rs["Youth_Status"] = statusCode(PersonStatus::Active);
                    becameActive = changed = true;
                }
            });
            failures.attempt("Counting a visitor's attendance", id, [&] {
                if (!memberRule || !ToBoolean(rs["Youth_Visitor"], false))
                    return;
                if (!periodAttendance)
                    throw data::DataError(attendanceUnread);
                if (AttendsOftenEnoughForMember(periodAttendance->value(id))) {
                    rs["Youth_Visitor"] = false;
                    becameMember = changed = true;
                }
            });

            // A person is named in the reminders only once the change is stored; a row that
            // cannot be stored keeps its old values.
            if (changed && saveRow(rs, id, failures)) {
                if (becameInactive)
                    inactive << name;
                if (becameActive)
                    activeAgain << name;
                if (becameMember)
                    newMembers << name;
            }
            if (!TryStep("Going to the next person", [&] { rs.MoveNext(); }))
                break;
        }

        if (schoolYearOver)
            gradesRaised = RaiseSchoolGrades(conn, rs, *lastRaise, failures);
        try {
            transaction.commit();
        } catch (...) {
            if (gradesRaised)
                TryStep("Restoring the school year",
                        [&] { s.setLastAutoGradSchoolDate(*lastRaise); });
            throw;
        }
    } catch (const std::exception& e) {
        // Show the people as the file holds them.
        TryStep("Reading the people again", [&] { rs.Requery(); });
        if (data::inUseByAnotherProgram(e)) {
            m_problems << data::describe(e) + QStringLiteral("\n\n") + kPutOff;
            return Evaluation::PutOff;
        }
        m_problems << data::describe(e);
        return Evaluation::NotStored;
    }

    const QString separator = QStringLiteral(", ");
    if (gradesRaised)
        appendReminder(QStringLiteral(
            "The school year is over! All grade levels have been increased by one for you."));
    if (!inactive.isEmpty())
        appendReminder(QStringLiteral("These people have become inactive: ") +
                       inactive.join(separator));
    if (!activeAgain.isEmpty())
        appendReminder(QStringLiteral("These people have become active again: ") +
                       activeAgain.join(separator));
    if (!newMembers.isEmpty())
        appendReminder(QStringLiteral("These visitors are now members: ") +
                       newMembers.join(separator));
    reportFailures(failures);
    return Evaluation::Stored;
}

// Raises every school grade of 1 or more by one and records the day of the raise. The raises
// stand only together with that record (a raise not recorded would be made again at the next
// run): when the day cannot be written, the grades are put back and the other rules' changes
// stay.
bool frmDefault::RaiseSchoolGrades(data::Connection& conn, data::Recordset& rs, double lastRaise,
                                   EvaluationFailures& failures)
{
    clsCorvessa& s = settings();
    bool recorded = false;
    try {
        data::Transaction raise(conn);
        TryStep("Going to the first person", [&] { rs.MoveFirst(); });
        while (!rs.EOF()) {
            const std::int32_t id = ToLong(rs["Youth_ID"], 0);
            bool changed = false;
            failures.attempt("Raising the school grade", id, [&] {
                const std::int16_t grade = ToInteger(rs["Youth_School_Grade"], 0);
                if (grade >= 1 && grade < std::numeric_limits<std::int16_t>::max()) {
                    rs["Youth_School_Grade"] = static_cast<std::int16_t>(grade + 1);
                    changed = true;
                }
            });
            if (changed)
                saveRow(rs, id, failures);
            if (!TryStep("Going to the next person", [&] { rs.MoveNext(); }))
                break;
        }
        s.setLastAutoGradSchoolDate(data::jetdate::fromDate(ui::today()));
        recorded = true;
        raise.commit();
        return true;
    } catch (const std::exception& e) {
        if (recorded)
            TryStep("Restoring the school year", [&] { s.setLastAutoGradSchoolDate(lastRaise); });
        qWarning().noquote() << "Raising the school grades failed:" << e.what();
        failures.gradesUndone = true;
        if (failures.firstReason.isEmpty())
            failures.firstReason = data::describe(e);
    }
    // The rows show the grades as they are stored again.
    TryStep("Reading the people again", [&] { rs.Requery(); });
    return false;
}

// Stores the current row's changes; a row that cannot be stored is put back as it was.
bool frmDefault::saveRow(data::Recordset& rs, std::int32_t id, EvaluationFailures& failures)
{
    if (failures.attempt("Saving a person", id, [&] { rs.Update(); }))
        return true;
    if (rs.EditMode() != data::adEditNone)
        TryStep("Discarding a change", [&] { rs.CancelUpdate(); });
    return false;
}

// What the evaluation could not do, for the one message after it.
void frmDefault::reportFailures(const EvaluationFailures& failures)
{
    const auto people = failures.people.size();
    if (people == 0 && !failures.gradesUndone)
        return;
    QStringList parts;
    if (failures.gradesUndone)
        parts << kGradesNotRaised;
    if (people > 0)
        parts << (people == 1 ? QStringLiteral("The automatic status rules could not be applied in "
                                               "full to 1 person, whose status, visitor flag or "
                                               "school grade may therefore not be up to date.")
                              : QStringLiteral("The automatic status rules could not be applied in "
                                               "full to %1 people, whose status, visitor flag or "
                                               "school grade may therefore not be up to date.")
                                    .arg(people));
    const bool several = people + (failures.gradesUndone ? 1 : 0) > 1;
    parts << (several ? QStringLiteral("The first reason: ") : QStringLiteral("The reason: ")) +
                 failures.firstReason;
    m_problems << parts.join(QStringLiteral("\n\n"));
}

void frmDefault::tellProblems(const QStringList& settingProblems)
{
    QStringList parts = settingProblems;
    if (!m_skippedRules.isEmpty())
        parts << QStringLiteral("So that no one's record is changed on a guess, these automatic "
                                "changes were not made at this start: ") +
                     listed(m_skippedRules) +
                     QStringLiteral(". They will be made at the first start at which the "
                                    "settings they go by can be read.");
    parts << m_problems;
    if (!parts.isEmpty())
        ui::critical(parts.join(QStringLiteral("\n\n")));
}
