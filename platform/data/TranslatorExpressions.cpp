// The names, types and expressions of a statement as the translator writes them: the table each
// name reads, the type and truth value of each expression, and its SQLite text, with Jet's
// functions, dates, '&' and comparisons of text. The statements around them are in
// Translator.cpp.
#include "platform/data/TranslatorEmitter.h"

#include "platform/data/DataError.h"
#include "platform/data/Variant.h"

#include <QDate>

#include <cmath>

namespace data {

using namespace jet;

namespace detail {

namespace {

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

} // namespace

// Scopes ------------------------------------------------------------------------------------------

void Emitter::collectSources(TableRef& ref, Scope& scope)
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

const Source* Emitter::findSource(const Scope* scope, const QString& name, bool outerToo) const
{
    for (const Scope* s = scope; s; s = outerToo ? s->outer : nullptr) {
        for (const Source& src : s->sources) {
            if (sameName(src.alias.isEmpty() ? src.table->name : src.alias, name))
                return &src;
        }
    }
    return nullptr;
}

void Emitter::resolveColumn(Expr& e, const Scope* scope)
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

// Analysis: types, truth values, aggregates -------------------------------------------------------

void Emitter::requireTruthOperand(const Expr& e, const char* op)
{
    const auto& i = e.info;
    if (i.condition || i.type == FieldType::Boolean || i.type == FieldType::Unknown)
        return;
    fail(QStringLiteral("%1 over values that are not Yes/No works bit by bit in Jet; "
                        "this is not supported")
             .arg(QLatin1String(op)));
}

void Emitter::analyze(Expr& e, const Scope* scope)
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
        info.type = ok && v >= INT32_MIN && v <= INT32_MAX ? FieldType::Long : FieldType::Double;
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

void Emitter::analyzeBinary(Expr& e)
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

void Emitter::argumentCount(const Expr& e, std::size_t n)
{
    if (e.flag || e.args.size() != n)
        fail(QStringLiteral("%1() takes %2 argument(s)").arg(e.text).arg(n));
}

void Emitter::analyzeCall(Expr& e)
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

// Expressions -------------------------------------------------------------------------------------

QString Emitter::value(Expr& e, const Scope* scope)
{
    analyze(e, scope);
    QString text = raw(e, scope);
    if (e.info.condition)
        return QLatin1String("(-(") + text + QLatin1String("))");
    return text;
}

QString Emitter::condition(Expr& e, const Scope* scope)
{
    analyze(e, scope);
    return raw(e, scope);
}

bool Emitter::needsNoCase(const Expr& e)
{
    return e.info.type == FieldType::Text && !e.info.noCaseColumn;
}

QString Emitter::collated(const QString& text, const Expr& e)
{
    if (e.kind == Expr::Kind::Concat)
        return QLatin1Char('(') + text + QLatin1String(") COLLATE NOCASE");
    return text + QLatin1String(" COLLATE NOCASE");
}

QString Emitter::comparisonOperand(Expr& e, Expr& other, const Scope* scope)
{
    QString text = value(e, scope);
    const bool textual = e.info.type == FieldType::Text || other.info.type == FieldType::Text;
    if (textual && !e.info.noCaseColumn && !other.info.noCaseColumn)
        return collated(text, e);
    return text;
}

QString Emitter::raw(Expr& e, const Scope* scope)
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

QString Emitter::columnText(const Expr& e) const
{
    if (!e.info.table) {
        // Not a column of the statement's tables: a result column's name, or a mistake
        // that SQLite reports.
        return e.qualifier.isEmpty()
                   ? quoteName(e.text)
                   : quoteName(e.qualifier) + QLatin1Char('.') + quoteName(e.text);
    }
    const auto* src = static_cast<const Source*>(e.info.source);
    const QString& name = e.info.table->columns[static_cast<std::size_t>(e.info.column)].sqlName;
    if (e.qualifier.isEmpty())
        return name;
    return src->sqlRefName + QLatin1Char('.') + name;
}

QString Emitter::binary(Expr& e, const Scope* scope)
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

QString Emitter::yearRange(Expr& a, Expr& b, const Scope* scope)
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

QString Emitter::concat(Expr& e, const Scope* scope)
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

QString Emitter::call(Expr& e, const Scope* scope)
{
    const QString& f = e.text;
    auto one = [&](const char* name) -> QString {
        return QLatin1String(name) + QLatin1Char('(') + value(*e.args[0], scope) + QLatin1Char(')');
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

QString Emitter::stored(Expr& e, const Scope* scope, FieldType target)
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

} // namespace detail

} // namespace data
