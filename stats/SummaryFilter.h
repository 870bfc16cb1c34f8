#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The attendance and offering summaries do not append the report condition whole, as the
// list reports do: they take it apart into its clauses. The year clause chooses the report's
// year, a team or meeting-type clause is named in the caption, and every other clause becomes
// a term of the summaries' own queries.
//
// The condition is the catalogue's filter text: clauses "field=value" joined by " AND ", text
// values in single quotes with quotes doubled. A value may itself hold " AND ", "=" or quotes,
// so the clauses are read quote-aware, and a clause is known by its field (the text before
// its first "=" outside quotes), wherever it stands.
namespace stats {

// The clauses of a condition in order; an empty condition has none.
QStringList SplitClauses(const QString& condition);

// The field of a clause: its text before the first "=" outside quotes.
QString ClauseField(const QString& clause);

struct SummaryFilter {
    QStringList clauses;
    std::int32_t reportYear = 0;
    QString teamClause; // empty when absent
    QString typeClause; // empty when absent

    // Every clause but the year clause, in order: the terms the summaries' queries take.
    QStringList terms() const;
};

// Reads the condition. The report year is the year clause's last four characters, or
// currentYear without a readable one; the team clause is taken only when withTeam is set. A
// later clause of a field replaces an earlier one.
SummaryFilter ReadSummaryFilter(const QString& condition, std::int32_t currentYear, bool withTeam);

// "Report for 2006", then ", Team='Blue'" and ", Mtg Type='Sunday'" when those clauses are
// there.
QString SummaryCaption(const SummaryFilter& filter);

// The terms as they enter a query:
// "c1 AND c2 AND ", placed right after "WHERE " before the query's own condition;
QString LeadingWhereTerms(const SummaryFilter& filter);
// " AND c1 AND c2", placed after the query's own condition;
QString TrailingWhereTerms(const SummaryFilter& filter);
// ", f1, f2 HAVING c1  AND c2 ", placed after a grouped query's own group column: grouping by
// each filtered field as well keeps one group per date or year, since HAVING fixes its value.
QString GroupByHavingTerms(const SummaryFilter& filter);

} // namespace stats
