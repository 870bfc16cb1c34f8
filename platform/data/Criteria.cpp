#include "platform/data/Criteria.h"

#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace data {

using jet::Expr;

namespace {

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

void bind(Expr& e, const QString& text, const std::function<int(const QString&)>& fieldIndex)
{
    switch (e.kind) {
    case Expr::Kind::Column: {
        const int i = fieldIndex(e.text);
        if (i < 0)
            throw DataError(QStringLiteral("Item cannot be found in the collection corresponding "
                                           "to the requested name or ordinal: %1")
                                .arg(e.text),
                            text);
        e.info.column = i;
        break;
    }
    case Expr::Kind::Subquery:
    case Expr::Kind::Exists:
        throw DataError(QStringLiteral("Sub-selects are not allowed in recordset criteria."), text);
    case Expr::Kind::In:
        if (e.select)
            throw DataError(QStringLiteral("Sub-selects are not allowed in recordset criteria."),
                            text);
        break;
    case Expr::Kind::Call: {
        static const char* const kFunctions[] = {"IsNull", "Trim", "LTrim", "RTrim",
                                                 "Len",    "Year", "Month", "Day"};
        bool known = false;
        for (const char* f : kFunctions)
            known = known || sameName(e.text, f);
        if (!known || e.args.size() != 1)
            throw DataError(
                QStringLiteral("The function %1() is not allowed in recordset criteria.")
                    .arg(e.text),
                text);
        break;
    }
    default:
        break;
    }
    for (auto& a : e.args)
        bind(*a, text, fieldIndex);
}

bool isNothing(const Variant& v)
{
    return v.isNull() || v.isEmpty();
}

std::optional<double> asNumber(const Variant& v, bool dateContext)
{
    if (v.hasNumber())
        return v.number();
    if (v.isString())
        return dateContext ? text::parseDate(v.text()) : text::parseNumber(v.text());
    return std::nullopt;
}

// <0, 0, >0; nullopt when either side is Null or the two cannot be compared.
std::optional<int> compare(const Variant& a, const Variant& b)
{
    if (isNothing(a) || isNothing(b))
        return std::nullopt;
    if (a.isString() && b.isString())
        return a.text().compare(b.text(), Qt::CaseInsensitive);
    const bool dates = a.isDate() || b.isDate();
    const auto x = asNumber(a, dates);
    const auto y = asNumber(b, dates);
    if (!x || !y)
        return std::nullopt;
    return *x < *y ? -1 : (*x > *y ? 1 : 0);
}

Variant truth(std::optional<bool> b)
{
    return b ? Variant(*b) : Variant::null();
}

std::optional<bool> truthOf(const Variant& v)
{
    if (isNothing(v))
        return std::nullopt;
    if (v.isString()) {
        const auto n = text::parseNumber(v.text());
        return n ? std::optional<bool>(*n != 0.0) : std::nullopt;
    }
    return v.number() != 0.0;
}

QString asText(const Variant& v)
{
    if (v.isString())
        return v.text();
    if (v.isDate())
        return text::formatGeneralDate(v.number());
    if (v.isBoolean())
        return v.number() != 0.0 ? QStringLiteral("True") : QStringLiteral("False");
    return text::formatNumber(v.number());
}

// LIKE with * or % for any run of characters and ? or _ for one, without regard to case.
bool like(const QString& value, const QString& pattern)
{
    QString rx;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%'))
            rx += QLatin1String(".*");
        else if (c == QLatin1Char('?') || c == QLatin1Char('_'))
            rx += QLatin1Char('.');
        else
            rx += QRegularExpression::escape(QString(c));
    }
    const QRegularExpression re(QRegularExpression::anchoredPattern(rx),
                                QRegularExpression::CaseInsensitiveOption |
                                    QRegularExpression::DotMatchesEverythingOption);
    return re.match(value).hasMatch();
}

Variant evaluate(const Expr& e, const Variant* row)
{
    switch (e.kind) {
    case Expr::Kind::Number:
        return Variant(e.text.toDouble());
    case Expr::Kind::String:
        return Variant(e.text);
    case Expr::Kind::Date:
        return Variant::date(e.number);
    case Expr::Kind::Boolean:
        return Variant(e.flag);
    case Expr::Kind::Null:
        return Variant::null();
    case Expr::Kind::Column:
        return row[e.info.column];
    case Expr::Kind::Unary: {
        const Variant v = evaluate(*e.args[0], row);
        if (e.op == Expr::Op::Not) {
            const auto t = truthOf(v);
            return truth(t ? std::optional<bool>(!*t) : std::nullopt);
        }
        if (isNothing(v) || !v.hasNumber())
            return Variant::null();
        return Variant(e.op == Expr::Op::Neg ? -v.number() : v.number());
    }
    case Expr::Kind::Binary: {
        if (e.op == Expr::Op::And || e.op == Expr::Op::Or) {
            // A chain of And (or of Or): the first false (true) decides; a Null leaves the
            // result Null unless a later operand decides.
            const bool isAnd = e.op == Expr::Op::And;
            bool unknown = false;
            for (const auto& operand : e.args) {
                const auto x = truthOf(evaluate(*operand, row));
                if (x && *x != isAnd) // false And ..., true Or ...
                    return Variant(*x);
                unknown = unknown || !x;
            }
            return unknown ? Variant::null() : Variant(isAnd);
        }
        const Variant a = evaluate(*e.args[0], row);
        const Variant b = evaluate(*e.args[1], row);
        switch (e.op) {
        case Expr::Op::Eq:
        case Expr::Op::Ne:
        case Expr::Op::Lt:
        case Expr::Op::Le:
        case Expr::Op::Gt:
        case Expr::Op::Ge: {
            const auto c = compare(a, b);
            if (!c)
                return Variant::null();
            switch (e.op) {
            case Expr::Op::Eq:
                return Variant(*c == 0);
            case Expr::Op::Ne:
                return Variant(*c != 0);
            case Expr::Op::Lt:
                return Variant(*c < 0);
            case Expr::Op::Le:
                return Variant(*c <= 0);
            case Expr::Op::Gt:
                return Variant(*c > 0);
            default:
                return Variant(*c >= 0);
            }
        }
        default: {
            const auto x = asNumber(a, false);
            const auto y = asNumber(b, false);
            if (isNothing(a) || isNothing(b) || !x || !y)
                return Variant::null();
            switch (e.op) {
            case Expr::Op::Add:
                return a.isDate() || b.isDate() ? Variant::date(*x + *y) : Variant(*x + *y);
            case Expr::Op::Sub:
                return a.isDate() && !b.isDate() ? Variant::date(*x - *y) : Variant(*x - *y);
            case Expr::Op::Mul:
                return Variant(*x * *y);
            case Expr::Op::Div:
                return *y == 0.0 ? Variant::null() : Variant(*x / *y);
            default:
                throw DataError(
                    QStringLiteral("This operator is not allowed in recordset criteria."));
            }
        }
        }
    }
    case Expr::Kind::Concat: {
        QString out;
        bool any = false;
        for (const auto& a : e.args) {
            const Variant v = evaluate(*a, row);
            if (isNothing(v))
                continue;
            any = true;
            out += asText(v);
        }
        return any ? Variant(out) : Variant::null();
    }
    case Expr::Kind::Call: {
        const Variant v = evaluate(*e.args[0], row);
        if (sameName(e.text, "IsNull"))
            return Variant(isNothing(v));
        if (isNothing(v))
            return Variant::null();
        if (sameName(e.text, "Trim") || sameName(e.text, "LTrim") || sameName(e.text, "RTrim")) {
            // Blanks only, as Jet trims.
            const QString t = asText(v);
            qsizetype first = 0;
            qsizetype last = t.size();
            if (!sameName(e.text, "RTrim")) {
                while (first < last && t[first] == QLatin1Char(' '))
                    ++first;
            }
            if (!sameName(e.text, "LTrim")) {
                while (last > first && t[last - 1] == QLatin1Char(' '))
                    --last;
            }
            return Variant(t.mid(first, last - first));
        }
        if (sameName(e.text, "Len"))
            return Variant(static_cast<std::int32_t>(asText(v).size()));
        const auto n = asNumber(v, true);
        if (!n)
            return Variant::null();
        const QDate d = jetdate::toDate(*n);
        if (sameName(e.text, "Year"))
            return Variant(static_cast<std::int16_t>(d.year()));
        if (sameName(e.text, "Month"))
            return Variant(static_cast<std::int16_t>(d.month()));
        return Variant(static_cast<std::int16_t>(d.day()));
    }
    case Expr::Kind::IsNull: {
        const bool null = isNothing(evaluate(*e.args[0], row));
        return Variant(e.flag ? !null : null);
    }
    case Expr::Kind::Between: {
        const Variant v = evaluate(*e.args[0], row);
        const auto lo = compare(v, evaluate(*e.args[1], row));
        const auto hi = compare(v, evaluate(*e.args[2], row));
        if (!lo || !hi)
            return Variant::null();
        const bool inside = *lo >= 0 && *hi <= 0;
        return Variant(e.flag ? !inside : inside);
    }
    case Expr::Kind::In: {
        const Variant v = evaluate(*e.args[0], row);
        if (isNothing(v))
            return Variant::null();
        bool found = false;
        for (std::size_t i = 1; i < e.args.size() && !found; ++i) {
            const auto c = compare(v, evaluate(*e.args[i], row));
            found = c && *c == 0;
        }
        return Variant(e.flag ? !found : found);
    }
    case Expr::Kind::Like: {
        const Variant v = evaluate(*e.args[0], row);
        const Variant p = evaluate(*e.args[1], row);
        if (isNothing(v) || isNothing(p))
            return Variant::null();
        const bool m = like(asText(v), asText(p));
        return Variant(e.flag ? !m : m);
    }
    case Expr::Kind::Subquery:
    case Expr::Kind::Exists:
        break;
    }
    return Variant::null();
}

} // namespace

Criteria::Criteria(const QString& text, const std::function<int(const QString&)>& fieldIndex)
    : m_text(text), m_expr(jet::parseCriteria(text))
{
    bind(*m_expr, text, fieldIndex);
}

bool Criteria::matches(const Variant* row) const
{
    return truthOf(evaluate(*m_expr, row)).value_or(false);
}

} // namespace data
