// Reading a statement in the Jet dialect into tokens, and the dialect's date literals. The
// parser is in JetParser.cpp.
#include "platform/data/JetLexer.h"

#include "platform/data/DataError.h"
#include "platform/data/JetSyntax.h"
#include "platform/data/Variant.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <iterator>

namespace data::jet {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

class Lexer {
public:
    explicit Lexer(const QString& text) : m_text(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        tokens.reserve(static_cast<std::size_t>(m_text.size() / 4 + 4));
        const int n = static_cast<int>(m_text.size());
        int i = 0;
        while (true) {
            while (i < n && m_text[i].isSpace())
                ++i;
            Token t;
            t.pos = i;
            if (i >= n) {
                t.kind = Tok::End;
                tokens.push_back(t);
                return tokens;
            }
            const QChar c = m_text[i];
            if (isWordStart(c)) {
                int j = i + 1;
                while (j < n && isWordChar(m_text[j]))
                    ++j;
                t.kind = Tok::Word;
                i = j;
            } else if (c == QLatin1Char('[')) {
                const int close = static_cast<int>(m_text.indexOf(QLatin1Char(']'), i + 1));
                if (close < 0)
                    fail(i, QStringLiteral("a bracketed name is not closed"));
                t.kind = Tok::Bracketed;
                t.value = m_text.mid(i + 1, close - i - 1);
                if (t.value.isEmpty())
                    fail(i, QStringLiteral("an empty bracketed name"));
                i = close + 1;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                t.kind = Tok::String;
                // The text up to the closing quote; a doubled quote stands for one.
                int j = i + 1;
                bool doubled = false;
                while (true) {
                    j = static_cast<int>(m_text.indexOf(c, j));
                    if (j < 0)
                        fail(i, QStringLiteral("a text literal is not closed"));
                    if (j + 1 < n && m_text[j + 1] == c) {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.value = m_text.mid(i + 1, j - i - 1);
                if (doubled)
                    t.value.replace(QString(2, c), QString(c));
                i = j + 1;
            } else if (c == QLatin1Char('#')) {
                const int close = static_cast<int>(m_text.indexOf(QLatin1Char('#'), i + 1));
                if (close < 0)
                    fail(i, QStringLiteral("a date literal is not closed"));
                const QString inner = m_text.mid(i + 1, close - i - 1);
                if (!parseDateLiteral(inner, t.number))
                    fail(i, QStringLiteral("#%1# is not a valid date (month/day/year)").arg(inner));
                t.kind = Tok::Date;
                i = close + 1;
            } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n &&
                                       m_text[i + 1].isDigit() && !afterName(tokens))) {
                int j = i;
                while (j < n && m_text[j].isDigit())
                    ++j;
                if (j < n && m_text[j] == QLatin1Char('.')) {
                    ++j;
                    while (j < n && m_text[j].isDigit())
                        ++j;
                }
                if (j < n && (m_text[j] == QLatin1Char('e') || m_text[j] == QLatin1Char('E'))) {
                    int k = j + 1;
                    if (k < n && (m_text[k] == QLatin1Char('+') || m_text[k] == QLatin1Char('-')))
                        ++k;
                    if (k < n && m_text[k].isDigit()) {
                        while (k < n && m_text[k].isDigit())
                            ++k;
                        j = k;
                    }
                }
                if (j < n && isWordChar(m_text[j]))
                    fail(i, QStringLiteral("a malformed number"));
                t.kind = Tok::Number;
                i = j;
            } else {
                t.kind = Tok::Symbol;
                static const QLatin1String twoChar[] = {QLatin1String("<>"), QLatin1String("<="),
                                                        QLatin1String(">=")};
                bool matched = false;
                for (const QLatin1String& s : twoChar) {
                    if (QStringView(m_text).mid(i, 2) == s) {
                        i += 2;
                        matched = true;
                        break;
                    }
                }
                if (!matched) {
                    if (!QStringLiteral("=<>+-*/\\&(),.;^").contains(c))
                        fail(i, QStringLiteral("the character '%1' is not valid here").arg(c));
                    ++i;
                }
            }
            t.len = i - t.pos;
            t.text = QStringView(m_text).mid(t.pos, t.len);
            tokens.push_back(std::move(t));
        }
    }

    [[noreturn]] void fail(int pos, const QString& why) const
    {
        throw DataError(QStringLiteral("Syntax error at position %1: %2").arg(pos + 1).arg(why),
                        m_text);
    }

private:
    static bool afterName(const std::vector<Token>& tokens)
    {
        if (tokens.empty())
            return false;
        const Token& last = tokens.back();
        return last.kind == Tok::Word || last.kind == Tok::Bracketed ||
               (last.kind == Tok::Symbol && last.text == QLatin1String(")"));
    }

    const QString& m_text;
};

bool parseTime(QStringView text, double& fraction)
{
    // h:nn[:ss] [AM|PM]
    QStringView t = text.trimmed();
    int ampm = 0;
    if (t.endsWith(QLatin1String("AM"), Qt::CaseInsensitive)) {
        ampm = 1;
        t = t.chopped(2).trimmed();
    } else if (t.endsWith(QLatin1String("PM"), Qt::CaseInsensitive)) {
        ampm = 2;
        t = t.chopped(2).trimmed();
    }
    const auto parts = t.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty() || parts[i].size() > 2)
            return false;
    }
    int hour = values[0];
    if (ampm != 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (ampm == 2 ? 12 : 0);
    }
    const QTime time(hour, values[1], values[2]);
    if (!time.isValid())
        return false;
    fraction = time.msecsSinceStartOfDay() / 86400000.0;
    return true;
}

} // namespace

std::vector<Token> tokenize(const QString& text)
{
    return Lexer(text).run();
}

// Words that end an expression or a table reference; never taken as an alias.
bool isReservedWord(QStringView w)
{
    // Sorted, upper case.
    static const QLatin1String kWords[] = {
        QLatin1String("ALL"),         QLatin1String("AND"),     QLatin1String("AS"),
        QLatin1String("ASC"),         QLatin1String("BETWEEN"), QLatin1String("BY"),
        QLatin1String("CROSS"),       QLatin1String("DESC"),    QLatin1String("DISTINCT"),
        QLatin1String("DISTINCTROW"), QLatin1String("EQV"),     QLatin1String("EXISTS"),
        QLatin1String("FROM"),        QLatin1String("FULL"),    QLatin1String("GROUP"),
        QLatin1String("HAVING"),      QLatin1String("IMP"),     QLatin1String("IN"),
        QLatin1String("INNER"),       QLatin1String("INTO"),    QLatin1String("IS"),
        QLatin1String("JOIN"),        QLatin1String("LEFT"),    QLatin1String("LIKE"),
        QLatin1String("MOD"),         QLatin1String("NOT"),     QLatin1String("NULL"),
        QLatin1String("ON"),          QLatin1String("OR"),      QLatin1String("ORDER"),
        QLatin1String("OUTER"),       QLatin1String("PERCENT"), QLatin1String("RIGHT"),
        QLatin1String("SELECT"),      QLatin1String("SET"),     QLatin1String("TOP"),
        QLatin1String("UNION"),       QLatin1String("VALUES"),  QLatin1String("WHERE"),
        QLatin1String("XOR"),
    };
    if (w.size() > 11)
        return false;
    const auto* end = std::end(kWords);
    const auto* it =
        std::lower_bound(std::begin(kWords), end, w, [](const QLatin1String& a, QStringView b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    return it != end && QString::compare(*it, w, Qt::CaseInsensitive) == 0;
}

bool parseDateLiteral(const QString& text, double& dayNumber)
{
    const QString t = text.trimmed();
    // Date part: up to the first blank; a time alone has a ':' before any blank.
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    QStringView datePart = blank < 0 ? QStringView(t) : QStringView(t).left(blank);
    QStringView timePart = blank < 0 ? QStringView() : QStringView(t).mid(blank + 1);
    if (datePart.contains(QLatin1Char(':'))) {
        // A time alone is a time on the zero date.
        double fraction = 0.0;
        if (!parseTime(t, fraction))
            return false;
        dayNumber = fraction;
        return true;
    }
    int year = 0, month = 0, day = 0;
    bool ok1 = false, ok2 = false, ok3 = false;
    if (datePart.count(QLatin1Char('/')) == 2) {
        const auto p = datePart.split(QLatin1Char('/'));
        month = p[0].toInt(&ok1);
        day = p[1].toInt(&ok2);
        year = p[2].toInt(&ok3);
        // Years from 100 on, written with three or four digits (two-digit years are not
        // guessed at).
        if (p[2].size() < 3 || p[2].size() > 4 || p[0].size() > 2 || p[1].size() > 2)
            return false;
    } else if (datePart.count(QLatin1Char('-')) == 2) {
        const auto p = datePart.split(QLatin1Char('-'));
        year = p[0].toInt(&ok1);
        month = p[1].toInt(&ok2);
        day = p[2].toInt(&ok3);
        if (p[0].size() < 3 || p[0].size() > 4 || p[1].size() > 2 || p[2].size() > 2)
            return false;
    } else {
        return false;
    }
    if (!ok1 || !ok2 || !ok3 || year < 100)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    double fraction = 0.0;
    if (!timePart.trimmed().isEmpty() && !parseTime(timePart, fraction))
        return false;
    const double whole = jetdate::fromDate(date);
    // Days before the zero date carry their time as a positive fraction below the day.
    dayNumber = whole < 0 ? whole - fraction : whole + fraction;
    return true;
}

} // namespace data::jet
