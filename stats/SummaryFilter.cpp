#include "stats/SummaryFilter.h"

namespace stats {

namespace {

const QString kAnd = QStringLiteral(" AND ");
const QString kYearField = QStringLiteral("YearPart");
const QString kTeamField = QStringLiteral("Youth_Team");
const QString kTypeField = QStringLiteral("Wk_Mtg_Type");

// The position of the first "=" outside quotes, or -1.
qsizetype fieldEnd(const QString& clause)
{
    bool quoted = false;
    for (qsizetype i = 0; i < clause.size(); ++i) {
        const QChar c = clause.at(i);
        // A doubled quote inside a value closes and reopens it: the state stays right.
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (c == QLatin1Char('=') && !quoted)
            return i;
    }
    return -1;
}

// The clause with its field renamed, its value as it stands.
QString renamedField(const QString& clause, const QString& name)
{
    const qsizetype end = fieldEnd(clause);
    return end < 0 ? clause : name + clause.mid(end);
}

} // namespace

QStringList SplitClauses(const QString& condition)
{
    QStringList clauses;
    if (condition.isEmpty())
        return clauses;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < condition.size(); ++i) {
        const QChar c = condition.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char(' ') &&
                   QStringView(condition).mid(i).startsWith(kAnd)) {
            clauses << condition.mid(start, i - start);
            i += kAnd.size() - 1;
            start = i + 1;
        }
    }
    clauses << condition.mid(start);
    return clauses;
}

QString ClauseField(const QString& clause)
{
    const qsizetype end = fieldEnd(clause);
    return (end < 0 ? clause : clause.left(end)).trimmed();
}

QStringList SummaryFilter::terms() const
{
    QStringList out;
    for (const QString& clause : clauses) {
        if (!clause.isEmpty() && ClauseField(clause) != kYearField)
            out << clause;
    }
    return out;
}

SummaryFilter ReadSummaryFilter(const QString& condition, std::int32_t currentYear, bool withTeam)
{
    SummaryFilter filter;
    filter.clauses = SplitClauses(condition);
    filter.reportYear = currentYear;
    for (const QString& clause : filter.clauses) {
        const QString field = ClauseField(clause);
        if (field == kYearField) {
            bool ok = false;
            const int year = clause.right(4).toInt(&ok);
            if (ok)
                filter.reportYear = year;
        } else if (field == kTeamField && withTeam) {
            filter.teamClause = clause;
        } else if (field == kTypeField) {
            filter.typeClause = clause;
        }
    }
    return filter;
}

QString SummaryCaption(const SummaryFilter& filter)
{
    QString caption = QStringLiteral("Report for ") + QString::number(filter.reportYear);
    if (!filter.teamClause.isEmpty())
        caption += QStringLiteral(", ") + renamedField(filter.teamClause, QStringLiteral("Team"));
    if (!filter.typeClause.isEmpty())
        caption +=
            QStringLiteral(", ") + renamedField(filter.typeClause, QStringLiteral("Mtg Type"));
    return caption;
}

QString LeadingWhereTerms(const SummaryFilter& filter)
{
    QString out;
    for (const QString& term : filter.terms())
        out += term + kAnd;
    return out;
}

QString TrailingWhereTerms(const SummaryFilter& filter)
{
    QString out;
    for (const QString& term : filter.terms())
        out += kAnd + term;
    return out;
}

QString GroupByHavingTerms(const SummaryFilter& filter)
{
    const QStringList terms = filter.terms();
    if (terms.isEmpty())
        return QString();
    QString out;
    for (const QString& term : terms)
        out += QStringLiteral(", ") + ClauseField(term);
    QStringList having;
    for (const QString& term : terms)
        having << term + QLatin1Char(' ');
    return out + QStringLiteral(" HAVING ") + having.join(kAnd);
}

} // namespace stats
