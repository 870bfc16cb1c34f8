#include "platform/data/Translator.h"

#include "platform/data/DataError.h"
#include "platform/data/JetSyntax.h"
#include "platform/data/Variant.h"

#include <sqlite3.h>

#include <QStringList>

#include <cmath>
#include <deque>

namespace data {

using namespace jet;

namespace {

// A table reference visible to the names of one SELECT (or UPDATE, DELETE).
struct Source {
    const TableRef* ref = nullptr;
    QString alias;      // as written; empty when the table is not aliased
    QString refName;    // what qualifies its columns: the alias, else the table's own name
    QString sqlRefName; // refName as SQLite text writes it
    const TableInfo* table = nullptr;
    bool subquery = false;
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

struct SelectText {
    QString sql;
    std::vector<OutputColumn> columns;
    int hidden = 0;
    const TableInfo* baseTable = nullptr;
    QString updatableSql;
    QString refreshSql;
};

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Connections turn off SQLite's reading of unknown "names" as text, so a quoted name that
// matches nothing is an error, never a string.
QString quoteName(const QString& name)
{
    return sqlName(name);
}

QString quoteText(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString numberText(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 17);
}

bool isIntegral(FieldType t)
{
    return t == FieldType::Boolean || t == FieldType::Integer || t == FieldType::Long;
}

// Jet capitalisation of the aggregates that name their result column ("CountOfYouth_ID").
QString aggregateName(const QString& function)
{
    static const char* const kNames[] = {"Count", "Sum", "Min", "Max", "First"};
    for (const char* n : kNames) {
        if (sameName(function, QLatin1String(n)))
            return QLatin1String(n);
    }
    return QString();
}

class Emitter {
public:
    Emitter(const Catalog& catalog, const QString& jetSql) : m_catalog(catalog), m_jet(jetSql) {}

    Translation run(Statement& st)
    {
        Translation t;
        t.jetSql = m_jet;
        switch (st.kind) {
        case Statement::Kind::Select: {
            t.kind = Translation::Kind::Select;
            SelectText s = select(*st.select, nullptr, nullptr, true);
            t.sql = std::move(s.sql);
            t.columns = std::move(s.columns);
            t.hiddenColumns = s.hidden;
            t.baseTable = s.baseTable;
            t.updatableSql = std::move(s.updatableSql);
            t.refreshSql = std::move(s.refreshSql);
            break;
        }
        case Statement::Kind::Insert:
            t.kind = Translation::Kind::Insert;
            t.sql = insert(st);
            break;
        case Statement::Kind::Update:
            t.kind = Translation::Kind::Update;
            t.sql = update(st);
            break;
        case Statement::Kind::Delete:
            t.kind = Translation::Kind::Delete;
            t.sql = remove(st);
            break;
        }
        return t;
    }

private:
    [[noreturn]] void fail(const QString& why) const
    {
        throw DataError(QStringLiteral("Cannot translate the statement: %1").arg(why), m_jet);
    }

    const TableInfo& storedTable(const QString& name) const
    {
        const TableInfo* table = m_catalog.table(name);
        if (!table)
            throw DataError(QStringLiteral("no such table: %1").arg(name), m_jet);
        return *table;
    }

    // Scopes ---------------------------------------------------------------------------------

    void collectSources(TableRef& ref, Scope& scope)
    {
        switch (ref.kind) {
        case TableRef::Kind::Table: {
            Source s;
            s.ref = &ref;
            s.table = &storedTable(ref.name);
            s.alias = ref.alias;
            s.refName = ref.alias.isEmpty() ? s.table->name : ref.alias;
            s.sqlRefName = quoteName(s.refName);
            scope.sources.push_back(std::move(s));
            break;
        }
        case TableRef::Kind::Join:
            collectSources(*ref.left, scope);
            collectSources(*ref.right, scope);
            break;
        case TableRef::Kind::Subquery: {
            SelectText inner = select(*ref.select, nullptr, nullptr, false);
            TableInfo& table = m_synthetic.emplace_back();
            table.name = ref.alias;
            for (const OutputColumn& c : inner.columns) {
                ColumnInfo column;
                column.name = c.name;
                column.type = c.type;
                table.addColumn(std::move(column));
            }
            m_subqueryText.emplace_back(&ref, std::move(inner.sql));
            Source s;
            s.ref = &ref;
            s.table = &table;
            s.alias = ref.alias;
            s.refName = ref.alias;
            s.sqlRefName = quoteName(ref.alias);
            s.subquery = true;
            scope.sources.push_back(std::move(s));
            break;
        }
        }
    }

    const Source* findSource(const Scope* scope, const QString& name, bool outerToo = true) const
    {
        for (const Scope* s = scope; s; s = outerToo ? s->outer : nullptr) {
            for (const Source& src : s->sources) {
                if (sameName(src.alias.isEmpty() ? src.table->name : src.alias, name))
                    return &src;
            }
        }
        return nullptr;
    }

    void resolveColumn(Expr& e, const Scope* scope)
    {
        auto& info = e.info;
        if (!e.qualifier.isEmpty()) {
            const Source* src = findSource(scope, e.qualifier);
            if (!src)
                fail(QStringLiteral("'%1' names no table of the statement").arg(e.qualifier));
            const int i = src->table->indexOf(e.text);
            if (i < 0)
                throw DataError(QStringLiteral("no such column: %1.%2").arg(e.qualifier, e.text),
                                m_jet);
            info.table = src->table;
            info.column = i;
            info.source = src;
        } else {
            for (const Scope* s = scope; s && !info.table; s = s->outer) {
                for (const Source& src : s->sources) {
                    const int i = src.table->indexOf(e.text);
                    if (i >= 0) {
                        info.table = src.table;
                        info.column = i;
                        info.source = &src;
                        break;
                    }
                }
            }
        }
        if (info.table) {
            const ColumnInfo& c = info.table->columns[static_cast<std::size_t>(info.column)];
            info.type = c.type;
            info.noCaseColumn = c.noCase;
        }
    }

    // Analysis: types, truth values, aggregates --------------------------------------------

    void requireTruthOperand(const Expr& e, const char* op)
    {
        const auto& i = e.info;
        if (i.condition || i.type == FieldType::Boolean || i.type == FieldType::Unknown)
            return;
        fail(QStringLiteral("%1 over values that are not Yes/No works bit by bit in Jet; "
                            "this is not supported")
                 .arg(QLatin1String(op)));
    }

    void analyze(Expr& e, const Scope* scope)
    {
        auto& info = e.info;
        if (info.done)
            return;
        info.done = true;
        for (auto& a : e.args) {
            analyze(*a, scope);
            info.aggregate = info.aggregate || a->info.aggregate;
        }
        switch (e.kind) {
        case Expr::Kind::Number: {
            bool ok = false;
            const qlonglong v = e.text.toLongLong(&ok);
            info.type =
                ok && v >= INT32_MIN && v <= INT32_MAX ? FieldType::Long : FieldType::Double;
            break;
        }
        case Expr::Kind::String:
            info.type = FieldType::Text;
            break;
        case Expr::Kind::Date:
            info.type = FieldType::Date;
            break;
        case Expr::Kind::Boolean:
            info.type = FieldType::Boolean;
            break;
        case Expr::Kind::Null:
            break;
        case Expr::Kind::Column:
            resolveColumn(e, scope);
            break;
        case Expr::Kind::Unary:
            if (e.op == Expr::Op::Not) {
                requireTruthOperand(*e.args[0], "Not");
                info.condition = true;
            } else {
                const auto& a = e.args[0]->info;
                if (a.type == FieldType::Text)
                    fail(QStringLiteral("a sign before text"));
                info.type = a.condition || a.type == FieldType::Boolean ? FieldType::Long : a.type;
            }
            break;
        case Expr::Kind::Binary:
            analyzeBinary(e);
            break;
        case Expr::Kind::Concat:
            info.type = FieldType::Text;
            break;
        case Expr::Kind::Call:
            analyzeCall(e);
            break;
        case Expr::Kind::IsNull:
        case Expr::Kind::Between:
        case Expr::Kind::Like:
            info.condition = true;
            break;
        case Expr::Kind::In:
            info.condition = true;
            if (e.select)
                info.sql = select(*e.select, scope, nullptr, false).sql;
            break;
        case Expr::Kind::Exists:
            info.condition = true;
            info.sql = select(*e.select, scope, nullptr, false).sql;
            break;
        case Expr::Kind::Subquery: {
            SelectText inner = select(*e.select, scope, nullptr, false);
            if (inner.columns.size() != 1)
                fail(QStringLiteral("a sub-select used as a value must return one column"));
            info.type = inner.columns.front().type;
            info.sql = std::move(inner.sql);
            break;
        }
        }
        if (e.kind == Expr::Kind::Like && e.args[1]->kind == Expr::Kind::String &&
            e.args[1]->text.contains(QLatin1Char('[')))
            fail(QStringLiteral("LIKE patterns with [...] are not supported"));
    }

    void analyzeBinary(Expr& e)
    {
        auto& info = e.info;
        if (e.op == Expr::Op::Or || e.op == Expr::Op::And) {
            for (const auto& operand : e.args)
                requireTruthOperand(*operand, e.op == Expr::Op::Or ? "Or" : "And");
            info.condition = true;
            return;
        }
        const auto& a = e.args[0]->info;
        const auto& b = e.args[1]->info;
        const FieldType ta = a.condition ? FieldType::Boolean : a.type;
        const FieldType tb = b.condition ? FieldType::Boolean : b.type;
        switch (e.op) {
        case Expr::Op::Eq:
        case Expr::Op::Ne:
        case Expr::Op::Lt:
        case Expr::Op::Le:
        case Expr::Op::Gt:
        case Expr::Op::Ge:
            if ((ta == FieldType::Date && e.args[1]->kind == Expr::Kind::String) ||
                (tb == FieldType::Date && e.args[0]->kind == Expr::Kind::String))
                fail(QStringLiteral("a date compared with text; write the date as #m/d/yyyy#"));
            info.condition = true;
            return;
        case Expr::Op::Pow:
            fail(QStringLiteral("the operator ^ is not supported"));
        case Expr::Op::IntDiv:
        case Expr::Op::Mod:
            if (!isIntegral(ta) || !isIntegral(tb))
                fail(QStringLiteral("\\ and Mod are supported only between whole-number fields"));
            info.type = FieldType::Long;
            return;
        default:
            break;
        }
        // + - * /
        if (ta == FieldType::Text || tb == FieldType::Text) {
            if (e.op == Expr::Op::Add && (ta == FieldType::Text || ta == FieldType::Unknown) &&
                (tb == FieldType::Text || tb == FieldType::Unknown)) {
                info.type = FieldType::Text; // + joins texts (Null gives Null)
                return;
            }
            fail(QStringLiteral("arithmetic on text"));
        }
        if (e.op == Expr::Op::Div) {
            info.type = FieldType::Double;
            return;
        }
        if (ta == FieldType::Unknown || tb == FieldType::Unknown) {
            info.type = FieldType::Unknown;
            return;
        }
        if (ta == FieldType::Date || tb == FieldType::Date) {
            if (e.op == Expr::Op::Add)
                info.type = FieldType::Date;
            else if (e.op == Expr::Op::Sub)
                info.type = ta == FieldType::Date && tb != FieldType::Date ? FieldType::Date
                                                                           : FieldType::Double;
            else
                info.type = FieldType::Double;
            return;
        }
        if (ta == FieldType::Double || tb == FieldType::Double)
            info.type = FieldType::Double;
        else if (ta == FieldType::Currency || tb == FieldType::Currency)
            info.type = FieldType::Currency;
        else
            info.type = FieldType::Long;
    }

    void argumentCount(const Expr& e, std::size_t n)
    {
        if (e.flag || e.args.size() != n)
            fail(QStringLiteral("%1() takes %2 argument(s)").arg(e.text).arg(n));
    }

    void analyzeCall(Expr& e)
    {
        auto& info = e.info;
        const QString& f = e.text;
        auto argType = [&](std::size_t i) {
            const auto& a = e.args[i]->info;
            return a.condition ? FieldType::Boolean : a.type;
        };
        if (sameName(f, QLatin1String("Year")) || sameName(f, QLatin1String("Month")) ||
            sameName(f, QLatin1String("Day"))) {
            argumentCount(e, 1);
            if (argType(0) == FieldType::Text)
                fail(QStringLiteral("%1() of text; write dates as #m/d/yyyy#").arg(f));
            info.type = FieldType::Integer;
        } else if (sameName(f, QLatin1String("Trim")) || sameName(f, QLatin1String("LTrim")) ||
                   sameName(f, QLatin1String("RTrim"))) {
            argumentCount(e, 1);
            if (argType(0) == FieldType::Date)
                fail(QStringLiteral("%1() of a date").arg(f));
            info.type = FieldType::Text;
        } else if (sameName(f, QLatin1String("Len"))) {
            argumentCount(e, 1);
            const FieldType t = argType(0);
            if (t == FieldType::Date || t == FieldType::Double || t == FieldType::Currency)
                fail(QStringLiteral("Len() of a date or a fractional number"));
            info.type = FieldType::Long;
        } else if (sameName(f, QLatin1String("IsNull"))) {
            argumentCount(e, 1);
            info.condition = true;
        } else if (sameName(f, QLatin1String("Count"))) {
            if (!e.flag)
                argumentCount(e, 1);
            info.type = FieldType::Long;
            info.aggregate = true;
        } else if (sameName(f, QLatin1String("Sum"))) {
            argumentCount(e, 1);
            const FieldType t = argType(0);
            if (t == FieldType::Text)
                fail(QStringLiteral("Sum() of text"));
            info.type = t == FieldType::Currency  ? FieldType::Currency
                        : isIntegral(t)           ? FieldType::Long
                        : t == FieldType::Unknown ? FieldType::Unknown
                                                  : FieldType::Double;
            info.aggregate = true;
        } else if (sameName(f, QLatin1String("Min")) || sameName(f, QLatin1String("Max"))) {
            argumentCount(e, 1);
            info.type = argType(0);
            info.aggregate = true;
        } else if (sameName(f, QLatin1String("First"))) {
            // First() reads as "the earliest": the date of a first attendance or meeting.
            argumentCount(e, 1);
            if (argType(0) != FieldType::Date)
                fail(QStringLiteral("First() is taken as the earliest date and is supported "
                                    "only over dates"));
            info.type = FieldType::Date;
            info.aggregate = true;
        } else {
            fail(QStringLiteral("the function %1() is not supported").arg(f));
        }
    }

    // Expressions ----------------------------------------------------------------------------

    // The expression as a value: truth values read -1 (true) and 0 (false), as in Jet.
    QString value(Expr& e, const Scope* scope)
    {
        analyze(e, scope);
        QString text = raw(e, scope);
        if (e.info.condition)
            return QLatin1String("(-(") + text + QLatin1String("))");
        return text;
    }

    // The expression where SQLite wants a truth value (WHERE, ON, HAVING, And, Or, Not).
    QString condition(Expr& e, const Scope* scope)
    {
        analyze(e, scope);
        return raw(e, scope);
    }

    static bool needsNoCase(const Expr& e)
    {
        return e.info.type == FieldType::Text && !e.info.noCaseColumn;
    }

    static QString collated(const QString& text, const Expr& e)
    {
        if (e.kind == Expr::Kind::Concat)
            return QLatin1Char('(') + text + QLatin1String(") COLLATE NOCASE");
        return text + QLatin1String(" COLLATE NOCASE");
    }

    // The left operand of a text comparison carries the case-insensitive collation unless a
    // column on either side already does.
    QString comparisonOperand(Expr& e, Expr& other, const Scope* scope)
    {
        QString text = value(e, scope);
        const bool textual = e.info.type == FieldType::Text || other.info.type == FieldType::Text;
        if (textual && !e.info.noCaseColumn && !other.info.noCaseColumn)
            return collated(text, e);
        return text;
    }

    QString raw(Expr& e, const Scope* scope)
    {
        switch (e.kind) {
        case Expr::Kind::Number:
            return e.text;
        case Expr::Kind::String:
            return quoteText(e.text);
        case Expr::Kind::Date:
            return numberText(e.number);
        case Expr::Kind::Boolean:
            return e.flag ? QStringLiteral("-1") : QStringLiteral("0");
        case Expr::Kind::Null:
            return QStringLiteral("NULL");
        case Expr::Kind::Column:
            return columnText(e);
        case Expr::Kind::Unary:
            if (e.op == Expr::Op::Not)
                return QLatin1String("NOT (") + condition(*e.args[0], scope) + QLatin1Char(')');
            if (e.op == Expr::Op::Neg)
                return QLatin1String("-(") + value(*e.args[0], scope) + QLatin1Char(')');
            return value(*e.args[0], scope);
        case Expr::Kind::Binary:
            return binary(e, scope);
        case Expr::Kind::Concat:
            return concat(e, scope);
        case Expr::Kind::Call:
            return call(e, scope);
        case Expr::Kind::IsNull:
            return value(*e.args[0], scope) +
                   (e.flag ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL"));
        case Expr::Kind::Between: {
            Expr& x = *e.args[0];
            const bool textual =
                x.info.type == FieldType::Text || e.args[1]->info.type == FieldType::Text;
            QString left = value(x, scope);
            if (textual && !x.info.noCaseColumn)
                left = collated(left, x);
            return left + (e.flag ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ")) +
                   value(*e.args[1], scope) + QLatin1String(" AND ") + value(*e.args[2], scope);
        }
        case Expr::Kind::In: {
            Expr& x = *e.args[0];
            QString left = value(x, scope);
            bool textual = x.info.type == FieldType::Text;
            QStringList items;
            for (std::size_t i = 1; i < e.args.size(); ++i) {
                items << value(*e.args[i], scope);
                textual = textual || e.args[i]->info.type == FieldType::Text;
            }
            if (textual && !x.info.noCaseColumn)
                left = collated(left, x);
            return left + (e.flag ? QLatin1String(" NOT IN (") : QLatin1String(" IN (")) +
                   (e.select ? e.info.sql : items.join(QLatin1String(", "))) + QLatin1Char(')');
        }
        case Expr::Kind::Like:
            return value(*e.args[0], scope) +
                   (e.flag ? QLatin1String(" NOT LIKE ") : QLatin1String(" LIKE ")) +
                   value(*e.args[1], scope);
        case Expr::Kind::Subquery:
            return QLatin1Char('(') + e.info.sql + QLatin1Char(')');
        case Expr::Kind::Exists:
            return QLatin1String("EXISTS (") + e.info.sql + QLatin1Char(')');
        }
        return QString();
    }

    QString columnText(const Expr& e) const
    {
        if (!e.info.table) {
            // Not a column of the statement's tables: a result column's name, or a mistake
            // that SQLite reports.
            return e.qualifier.isEmpty()
                       ? quoteName(e.text)
                       : quoteName(e.qualifier) + QLatin1Char('.') + quoteName(e.text);
        }
        const auto* src = static_cast<const Source*>(e.info.source);
        const QString& name =
            e.info.table->columns[static_cast<std::size_t>(e.info.column)].sqlName;
        if (e.qualifier.isEmpty())
            return name;
        return src->sqlRefName + QLatin1Char('.') + name;
    }

    QString binary(Expr& e, const Scope* scope)
    {
        auto chain = [&](Expr::Op op, const char* word) -> QString {
            QStringList sides;
            for (auto& operand : e.args) {
                Expr& x = *operand;
                QString t = condition(x, scope);
                if (x.kind == Expr::Kind::Binary && x.op == op && t.startsWith(QLatin1Char('(')))
                    t = t.mid(1, t.size() - 2);
                sides << t;
            }
            return QLatin1Char('(') + sides.join(QLatin1String(word)) + QLatin1Char(')');
        };
        if (e.op == Expr::Op::Or)
            return chain(Expr::Op::Or, " OR ");
        if (e.op == Expr::Op::And)
            return chain(Expr::Op::And, " AND ");
        Expr& a = *e.args[0];
        Expr& b = *e.args[1];
        auto compare = [&](const char* op) -> QString {
            QString left = comparisonOperand(a, b, scope);
            return left + QLatin1String(op) + value(b, scope);
        };
        auto arithmetic = [&](const char* op) -> QString {
            return QLatin1Char('(') + value(a, scope) + QLatin1String(op) + value(b, scope) +
                   QLatin1Char(')');
        };
        if (e.op == Expr::Op::Eq) {
            const QString range = yearRange(a, b, scope);
            if (!range.isEmpty())
                return range;
        }
        switch (e.op) {
        case Expr::Op::Eq:
            return compare(" = ");
        case Expr::Op::Ne:
            return compare(" <> ");
        case Expr::Op::Lt:
            return compare(" < ");
        case Expr::Op::Le:
            return compare(" <= ");
        case Expr::Op::Gt:
            return compare(" > ");
        case Expr::Op::Ge:
            return compare(" >= ");
        case Expr::Op::Add:
            return e.info.type == FieldType::Text ? arithmetic(" || ") : arithmetic(" + ");
        case Expr::Op::Sub:
            return arithmetic(" - ");
        case Expr::Op::Mul:
            return arithmetic(" * ");
        case Expr::Op::Div:
            return QLatin1String("(CAST(") + value(a, scope) + QLatin1String(" AS REAL) / ") +
                   value(b, scope) + QLatin1Char(')');
        case Expr::Op::IntDiv:
            return arithmetic(" / ");
        case Expr::Op::Mod:
            return arithmetic(" % ");
        default:
            break;
        }
        fail(QStringLiteral("an operator that is not supported"));
    }

    // Year(date column) = yyyy as a range of day numbers, so that an index on the column
    // serves it. Only for years from 1900 on: earlier days with a time of day are negative
    // numbers that do not grow with the time.
    QString yearRange(Expr& a, Expr& b, const Scope* scope)
    {
        auto isYearOfColumn = [](const Expr& x) {
            return x.kind == Expr::Kind::Call &&
                   x.text.compare(QLatin1String("Year"), Qt::CaseInsensitive) == 0 &&
                   x.args.size() == 1 && x.args[0]->kind == Expr::Kind::Column &&
                   x.args[0]->info.table && x.args[0]->info.type == FieldType::Date;
        };
        Expr* call = isYearOfColumn(a) ? &a : isYearOfColumn(b) ? &b : nullptr;
        Expr* year = call == &a ? &b : &a;
        if (!call || year->kind != Expr::Kind::Number)
            return QString();
        bool ok = false;
        const int y = year->text.toInt(&ok);
        if (!ok || y < 1900 || y > 9998)
            return QString();
        const QString column = value(*call->args[0], scope);
        return QLatin1Char('(') + column + QLatin1String(" >= ") +
               numberText(jetdate::fromDate(QDate(y, 1, 1))) + QLatin1String(" AND ") + column +
               QLatin1String(" < ") + numberText(jetdate::fromDate(QDate(y + 1, 1, 1))) +
               QLatin1Char(')');
    }

    // Jet's & reads Null as empty text and gives Null only when every operand is Null.
    QString concat(Expr& e, const Scope* scope)
    {
        QStringList parts;
        QStringList nullTests;
        bool neverNull = false;
        for (auto& a : e.args) {
            const auto& i = a->info;
            if (a->kind == Expr::Kind::String || a->kind == Expr::Kind::Number) {
                parts << raw(*a, scope);
                neverNull = true;
                continue;
            }
            if (a->kind == Expr::Kind::Null)
                continue;
            QString v = value(*a, scope);
            if (!i.condition && i.type == FieldType::Date)
                v = QLatin1String("jet_datetext(") + v + QLatin1Char(')');
            else if (!i.condition && (i.type == FieldType::Double || i.type == FieldType::Currency))
                v = QLatin1String("jet_numtext(") + v + QLatin1Char(')');
            nullTests << v + QLatin1String(" IS NULL");
            parts << QLatin1String("COALESCE(") + v + QLatin1String(", '')");
        }
        if (parts.isEmpty())
            return QStringLiteral("NULL");
        const QString joined = parts.join(QLatin1String(" || "));
        if (neverNull)
            return QLatin1Char('(') + joined + QLatin1Char(')');
        return QLatin1String("(CASE WHEN ") + nullTests.join(QLatin1String(" AND ")) +
               QLatin1String(" THEN NULL ELSE ") + joined + QLatin1String(" END)");
    }

    QString call(Expr& e, const Scope* scope)
    {
        const QString& f = e.text;
        auto one = [&](const char* name) -> QString {
            return QLatin1String(name) + QLatin1Char('(') + value(*e.args[0], scope) +
                   QLatin1Char(')');
        };
        if (sameName(f, QLatin1String("Year")))
            return one("jet_year");
        if (sameName(f, QLatin1String("Month")))
            return one("jet_month");
        if (sameName(f, QLatin1String("Day")))
            return one("jet_day");
        if (sameName(f, QLatin1String("Trim")))
            return one("trim");
        if (sameName(f, QLatin1String("LTrim")))
            return one("ltrim");
        if (sameName(f, QLatin1String("RTrim")))
            return one("rtrim");
        if (sameName(f, QLatin1String("Len")))
            return one("length");
        if (sameName(f, QLatin1String("IsNull")))
            return QLatin1Char('(') + value(*e.args[0], scope) + QLatin1String(" IS NULL)");
        if (sameName(f, QLatin1String("Count")))
            return e.flag ? QStringLiteral("count(*)") : one("count");
        if (sameName(f, QLatin1String("Sum"))) {
            if (e.info.type == FieldType::Currency)
                return QLatin1String("ROUND(") + one("sum") + QLatin1String(", 4)");
            return one("sum");
        }
        if (sameName(f, QLatin1String("First")))
            return one("min");
        // Min, Max
        Expr& a = *e.args[0];
        QString arg = value(a, scope);
        if (needsNoCase(a))
            arg = collated(arg, a);
        return (sameName(f, QLatin1String("Min")) ? QLatin1String("min(") : QLatin1String("max(")) +
               arg + QLatin1Char(')');
    }

    // A value written into a column: Yes/No as -1/0 (never Null), money rounded to 4 places.
    QString stored(Expr& e, const Scope* scope, FieldType target)
    {
        analyze(e, scope);
        const FieldType t = e.info.condition ? FieldType::Boolean : e.info.type;
        if (target == FieldType::Boolean) {
            if (e.kind == Expr::Kind::Boolean ||
                (e.kind == Expr::Kind::Number &&
                 (e.text == QLatin1String("-1") || e.text == QLatin1String("0"))))
                return raw(e, scope);
            if (e.kind == Expr::Kind::Null)
                return QStringLiteral("0");
            return QLatin1String("(CASE WHEN ") + condition(e, scope) +
                   QLatin1String(" THEN -1 ELSE 0 END)");
        }
        if (target == FieldType::Currency) {
            if (e.kind == Expr::Kind::Number)
                return numberText(std::round(e.text.toDouble() * 10000.0) / 10000.0);
            if (e.kind == Expr::Kind::Null)
                return raw(e, scope);
            return QLatin1String("ROUND(") + value(e, scope) + QLatin1String(", 4)");
        }
        if (target == FieldType::Date && t == FieldType::Text)
            fail(QStringLiteral("text written into a date field; write dates as #m/d/yyyy#"));
        return value(e, scope);
    }

    // SELECT -----------------------------------------------------------------------------------

    QString fromText(TableRef& ref, const Scope* scope, bool allInner)
    {
        switch (ref.kind) {
        case TableRef::Kind::Table: {
            const TableInfo& table = storedTable(ref.name);
            QString t = table.sqlName;
            if (!ref.alias.isEmpty())
                t += QLatin1String(" AS ") + quoteName(ref.alias);
            return t;
        }
        case TableRef::Kind::Subquery:
            for (const auto& [r, sql] : m_subqueryText) {
                if (r == &ref)
                    return QLatin1Char('(') + sql + QLatin1String(") AS ") + quoteName(ref.alias);
            }
            return QString();
        case TableRef::Kind::Join:
            break;
        }
        if (allInner) {
            // Inner joins associate: the tables in their written order, every ON condition at
            // the end, which SQLite plans freely.
            QStringList tables;
            QStringList conditions;
            flattenInner(ref, scope, tables, conditions);
            return tables.join(QLatin1String(" INNER JOIN ")) + QLatin1String(" ON ") +
                   conditions.join(QLatin1String(" AND "));
        }
        auto side = [&](TableRef& r) -> QString {
            const QString t = fromText(r, scope, false);
            return r.kind == TableRef::Kind::Join ? QLatin1Char('(') + t + QLatin1Char(')') : t;
        };
        const char* kind = ref.join == TableRef::JoinKind::Left    ? " LEFT JOIN "
                           : ref.join == TableRef::JoinKind::Right ? " RIGHT JOIN "
                                                                   : " INNER JOIN ";
        return side(*ref.left) + QLatin1String(kind) + side(*ref.right) + QLatin1String(" ON ") +
               condition(*ref.on, scope);
    }

    void flattenInner(TableRef& ref, const Scope* scope, QStringList& tables,
                      QStringList& conditions)
    {
        if (ref.kind != TableRef::Kind::Join) {
            tables << fromText(ref, scope, false);
            return;
        }
        flattenInner(*ref.left, scope, tables, conditions);
        flattenInner(*ref.right, scope, tables, conditions);
        conditions << condition(*ref.on, scope);
    }

    static bool onlyInnerJoins(const TableRef& ref)
    {
        if (ref.kind != TableRef::Kind::Join)
            return true;
        return ref.join == TableRef::JoinKind::Inner && onlyInnerJoins(*ref.left) &&
               onlyInnerJoins(*ref.right);
    }

    static void collectColumnSources(const Expr& e, std::vector<const void*>& out)
    {
        if (e.kind == Expr::Kind::Column && e.info.source)
            out.push_back(e.info.source);
        for (const auto& a : e.args)
            collectColumnSources(*a, out);
    }

    const Source& sourceOf(const Scope& scope, const QString& name)
    {
        const Source* src = findSource(&scope, name, false);
        if (!src)
            fail(QStringLiteral("'%1.*' names no table of the statement").arg(name));
        return *src;
    }

    SelectText select(Select& s, const Scope* outer, const std::vector<FieldType>* targets,
                      bool topLevel)
    {
        SelectText out;
        Scope scope;
        scope.outer = outer;
        for (auto& ref : s.from)
            collectSources(*ref, scope);

        // The FROM text first: it resolves the ON conditions.
        QStringList fromParts;
        for (auto& ref : s.from)
            fromParts << fromText(*ref, &scope, onlyInnerJoins(*ref));
        const QString from = fromParts.join(QLatin1String(", "));

        // Columns
        bool aggregate = !s.groupBy.empty() || s.having;
        QStringList items;
        int unnamed = 0;
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            SelectItem& item = s.items[i];
            switch (item.kind) {
            case SelectItem::Kind::AllColumns:
                items << QStringLiteral("*");
                for (const Source& src : scope.sources) {
                    for (const ColumnInfo& c : src.table->columns)
                        out.columns.push_back({c.name, c.type, -1});
                }
                break;
            case SelectItem::Kind::TableColumns: {
                const Source& src = sourceOf(scope, item.table);
                items << src.sqlRefName + QLatin1String(".*");
                for (const ColumnInfo& c : src.table->columns)
                    out.columns.push_back({c.name, c.type, -1});
                break;
            }
            case SelectItem::Kind::Expression: {
                Expr& e = *item.expr;
                analyze(e, &scope);
                aggregate = aggregate || e.info.aggregate;
                FieldType type = e.info.condition ? FieldType::Boolean : e.info.type;
                QString text;
                if (targets && i < targets->size()) {
                    text = stored(e, &scope, (*targets)[i]);
                    type = (*targets)[i];
                } else {
                    text = value(e, &scope);
                }
                if (s.quantifier == Select::Quantifier::Distinct && needsNoCase(e))
                    text = collated(text, e);
                const bool bareColumn = e.kind == Expr::Kind::Column && e.info.table;
                QString name = item.alias;
                if (name.isEmpty()) {
                    if (bareColumn) {
                        name = e.info.table->columns[static_cast<std::size_t>(e.info.column)].name;
                    } else if (e.kind == Expr::Kind::Call && e.args.size() == 1 &&
                               e.args[0]->kind == Expr::Kind::Column &&
                               !aggregateName(e.text).isEmpty()) {
                        name =
                            aggregateName(e.text) + QLatin1String("Of") +
                            (e.args[0]->info.table
                                 ? e.args[0]
                                       ->info.table
                                       ->columns[static_cast<std::size_t>(e.args[0]->info.column)]
                                       .name
                                 : e.args[0]->text);
                    } else {
                        name = QStringLiteral("Expr%1").arg(1000 + unnamed++);
                    }
                }
                if (!bareColumn || !item.alias.isEmpty())
                    text += QLatin1String(" AS ") + quoteName(name);
                items << text;
                out.columns.push_back({name, type, -1});
                break;
            }
            }
        }

        const QString where = s.where ? condition(*s.where, &scope) : QString();

        QStringList groupTerms;
        for (auto& g : s.groupBy) {
            QString t = value(*g, &scope);
            if (needsNoCase(*g))
                t = collated(t, *g);
            groupTerms << t;
        }
        const QString having = s.having ? condition(*s.having, &scope) : QString();

        QStringList orderTerms;
        QStringList orderKeys; // without direction, to compare with the grouping
        bool orderedByKey = false;
        for (auto& o : s.orderBy) {
            QString t = value(*o.expr, &scope);
            if (needsNoCase(*o.expr))
                t = collated(t, *o.expr);
            orderKeys << t;
            orderTerms << (o.descending ? t + QLatin1String(" DESC") : t);
            const auto& i = o.expr->info;
            if (o.expr->kind == Expr::Kind::Column && i.table && scope.sources.size() == 1 &&
                i.table->rowidColumn == i.column)
                orderedByKey = true;
        }

        // DISTINCTROW: one row per distinct combination of the source rows that give columns.
        // With one table, or with grouping, it changes nothing.
        if (s.quantifier == Select::Quantifier::DistinctRow && !aggregate &&
            scope.sources.size() > 1) {
            std::vector<const void*> used;
            for (auto& item : s.items) {
                if (item.kind == SelectItem::Kind::AllColumns) {
                    for (const Source& src : scope.sources)
                        used.push_back(&src);
                } else if (item.kind == SelectItem::Kind::TableColumns) {
                    used.push_back(&sourceOf(scope, item.table));
                } else {
                    collectColumnSources(*item.expr, used);
                }
            }
            for (const Source& src : scope.sources) {
                if (std::find(used.begin(), used.end(), &src) == used.end())
                    continue;
                if (src.subquery)
                    fail(QStringLiteral("DISTINCTROW over a sub-select"));
                groupTerms << src.sqlRefName + QLatin1String(".rowid");
            }
        }

        QString body = QLatin1String(" FROM ") + from;
        if (from.isEmpty())
            body.clear();
        if (!where.isEmpty())
            body += QLatin1String(" WHERE ") + where;
        QString grouping;
        if (!groupTerms.isEmpty())
            grouping += QLatin1String(" GROUP BY ") + groupTerms.join(QLatin1String(", "));
        if (!having.isEmpty())
            grouping += QLatin1String(" HAVING ") + having;
        const QString order = orderTerms.isEmpty() ? QString()
                                                   : QLatin1String(" ORDER BY ") +
                                                         orderTerms.join(QLatin1String(", "));
        const QString head = s.quantifier == Select::Quantifier::Distinct
                                 ? QStringLiteral("SELECT DISTINCT ")
                                 : QStringLiteral("SELECT ");
        const QString itemText = items.join(QLatin1String(", "));

        if (s.top < 0) {
            out.sql = head + itemText + body + grouping + order;
        } else {
            // TOP n keeps the rows that tie with the n-th in the ORDER BY order.
            bool unique = orderTerms.isEmpty() || orderedByKey;
            if (!unique && !s.groupBy.empty()) {
                unique = true;
                for (const QString& g : groupTerms)
                    unique = unique && orderKeys.contains(g);
            }
            const QString limit = QStringLiteral(" LIMIT %1").arg(s.top);
            if (unique) {
                out.sql = head + itemText + body + grouping + order + limit;
            } else {
                if (s.quantifier == Select::Quantifier::Distinct)
                    fail(QStringLiteral("TOP with DISTINCT over an order that may tie"));
                out.sql = QLatin1String("SELECT * FROM (") + head + itemText +
                          QLatin1String(", RANK() OVER (ORDER BY ") +
                          orderTerms.join(QLatin1String(", ")) + QLatin1String(") AS jet_rank") +
                          body + grouping + QLatin1String(") WHERE jet_rank <= ") +
                          QString::number(s.top) + QLatin1String(" ORDER BY jet_rank");
                out.hidden = 1;
            }
        }

        // A query over one stored table without grouping or DISTINCT can write rows back.
        if (topLevel && s.from.size() == 1 && s.from[0]->kind == TableRef::Kind::Table &&
            !aggregate && s.quantifier != Select::Quantifier::Distinct && s.top < 0) {
            const Source& src = scope.sources.front();
            out.baseTable = src.table;
            std::size_t c = 0;
            for (const SelectItem& item : s.items) {
                if (item.kind == SelectItem::Kind::Expression) {
                    const Expr& e = *item.expr;
                    if (e.kind == Expr::Kind::Column && e.info.table == src.table)
                        out.columns[c].baseColumn = e.info.column;
                    ++c;
                } else {
                    for (std::size_t k = 0; k < src.table->columns.size(); ++k)
                        out.columns[c++].baseColumn = static_cast<int>(k);
                }
            }
            const QString rowid = src.sqlRefName + QLatin1String(".rowid");
            out.updatableSql = head + itemText + QLatin1String(", ") + rowid +
                               QLatin1String(" AS jet_rowid") + body + order;
            out.refreshSql = QLatin1String("SELECT ") + itemText + QLatin1String(", ") + rowid +
                             QLatin1String(" FROM ") + from + QLatin1String(" WHERE ") + rowid +
                             QLatin1String(" = ?1");
        }
        return out;
    }

    // INSERT, UPDATE, DELETE --------------------------------------------------------------------

    QString insert(Statement& st)
    {
        const TableInfo& table = storedTable(st.table);
        std::vector<FieldType> targets;
        QStringList columns;
        if (st.columns.isEmpty()) {
            for (const ColumnInfo& c : table.columns) {
                targets.push_back(c.type);
                columns << c.sqlName;
            }
        } else {
            for (const QString& name : st.columns) {
                const int i = table.indexOf(name);
                if (i < 0)
                    throw DataError(
                        QStringLiteral("table %1 has no column named %2").arg(table.name, name),
                        m_jet);
                targets.push_back(table.columns[static_cast<std::size_t>(i)].type);
                columns << table.columns[static_cast<std::size_t>(i)].sqlName;
            }
        }
        QString sql = QLatin1String("INSERT INTO ") + table.sqlName + QLatin1String(" (") +
                      columns.join(QLatin1String(", ")) + QLatin1String(") ");
        if (st.select)
            return sql + select(*st.select, nullptr, &targets, false).sql;
        if (st.values.size() != targets.size())
            fail(QStringLiteral("%1 values for %2 columns")
                     .arg(st.values.size())
                     .arg(targets.size()));
        Scope none;
        QStringList values;
        for (std::size_t i = 0; i < st.values.size(); ++i)
            values << stored(*st.values[i], &none, targets[i]);
        return sql + QLatin1String("VALUES (") + values.join(QLatin1String(", ")) +
               QLatin1Char(')');
    }

    // The one stored table whose rows an UPDATE or DELETE over a join changes.
    const Source& targetOf(const std::vector<const void*>& named)
    {
        const Source* target = nullptr;
        for (const void* p : named) {
            const auto* src = static_cast<const Source*>(p);
            if (target && src != target)
                fail(QStringLiteral("a change of rows of more than one table"));
            target = src;
        }
        if (!target)
            fail(QStringLiteral("name the table whose rows are to change"));
        if (target->subquery)
            fail(QStringLiteral("a change of rows of a sub-select"));
        return *target;
    }

    QString update(Statement& st)
    {
        Scope scope;
        collectSources(*st.target, scope);
        std::vector<const void*> named;
        for (Assignment& a : st.assignments) {
            analyze(*a.column, &scope);
            if (!a.column->info.table)
                throw DataError(QStringLiteral("no such column: %1").arg(a.column->text), m_jet);
            named.push_back(a.column->info.source);
        }
        const Source& target = targetOf(named);
        const bool single = st.target->kind == TableRef::Kind::Table;

        QStringList sets;
        for (Assignment& a : st.assignments) {
            const ColumnInfo& c =
                target.table->columns[static_cast<std::size_t>(a.column->info.column)];
            if (!single) {
                analyze(*a.value, &scope);
                std::vector<const void*> used;
                collectColumnSources(*a.value, used);
                for (const void* u : used) {
                    if (u != &target)
                        fail(QStringLiteral("a value taken from another table of the join"));
                }
            }
            sets << c.sqlName + QLatin1String(" = ") + stored(*a.value, &scope, c.type);
        }
        QString sql = QLatin1String("UPDATE ") + target.table->sqlName;
        if (!target.alias.isEmpty())
            sql += QLatin1String(" AS ") + quoteName(target.alias);
        sql += QLatin1String(" SET ") + sets.join(QLatin1String(", "));
        if (single) {
            if (st.where)
                sql += QLatin1String(" WHERE ") + condition(*st.where, &scope);
            return sql;
        }
        // Over a join: each row of the target table changes once, however many rows of the
        // other tables it meets.
        QString inner = QLatin1String("SELECT ") + target.sqlRefName +
                        QLatin1String(".rowid FROM ") +
                        fromText(*st.target, &scope, onlyInnerJoins(*st.target));
        if (st.where)
            inner += QLatin1String(" WHERE ") + condition(*st.where, &scope);
        return sql + QLatin1String(" WHERE rowid IN (") + inner + QLatin1Char(')');
    }

    QString remove(Statement& st)
    {
        Scope scope;
        collectSources(*st.target, scope);
        if (st.target->kind == TableRef::Kind::Table) {
            // Jet deletes whole rows whatever the list between DELETE and FROM names.
            const Source& src = scope.sources.front();
            QString sql = QLatin1String("DELETE FROM ") + src.table->sqlName;
            if (!src.alias.isEmpty())
                sql += QLatin1String(" AS ") + quoteName(src.alias);
            if (st.where)
                sql += QLatin1String(" WHERE ") + condition(*st.where, &scope);
            return sql;
        }
        std::vector<const void*> named;
        for (SelectItem& item : st.deleteList) {
            if (item.kind == SelectItem::Kind::TableColumns) {
                named.push_back(&sourceOf(scope, item.table));
            } else if (item.kind == SelectItem::Kind::Expression) {
                analyze(*item.expr, &scope);
                collectColumnSources(*item.expr, named);
            } else {
                fail(QStringLiteral("DELETE * over a join; name the table (DELETE t.* FROM ...)"));
            }
        }
        const Source& target = targetOf(named);
        QString inner = QLatin1String("SELECT ") + target.sqlRefName +
                        QLatin1String(".rowid FROM ") +
                        fromText(*st.target, &scope, onlyInnerJoins(*st.target));
        if (st.where)
            inner += QLatin1String(" WHERE ") + condition(*st.where, &scope);
        return QLatin1String("DELETE FROM ") + target.table->sqlName +
               QLatin1String(" WHERE rowid IN (") + inner + QLatin1Char(')');
    }

    const Catalog& m_catalog;
    const QString& m_jet;
    std::deque<TableInfo> m_synthetic;
    std::vector<std::pair<const TableRef*, QString>> m_subqueryText;
};

} // namespace

Translation Translator::translateUncached(const Catalog& catalog, const QString& jetSql)
{
    Statement st = parseStatement(jetSql);
    return Emitter(catalog, jetSql).run(st);
}

std::shared_ptr<const Translation> Translator::translate(const Catalog& catalog,
                                                         const QString& jetSql)
{
    if (auto cached = catalog.cachedTranslation(jetSql))
        return cached;
    auto t = std::make_shared<const Translation>(translateUncached(catalog, jetSql));
    catalog.storeTranslation(jetSql, t);
    return t;
}

} // namespace data
