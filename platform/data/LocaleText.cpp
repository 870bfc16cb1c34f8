#include "platform/data/LocaleText.h"

#include "platform/data/Variant.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace data::text {

namespace {

// Replaces a lone "yy" (not part of "yyyy") by "yyyy".
QString widenYear(QString format)
{
    if (format.contains(QLatin1String("yyyy")))
        return format;
    const int at = format.indexOf(QLatin1String("yy"));
    if (at >= 0)
        format.replace(at, 2, QLatin1String("yyyy"));
    return format;
}

enum class Field { Day, Month, Year };

// The order of day, month and year in the locale's short date format.
std::array<Field, 3> localeFieldOrder()
{
    const QString f = QLocale().dateFormat(QLocale::ShortFormat);
    const int d = f.indexOf(QLatin1Char('d'));
    const int m = f.indexOf(QLatin1Char('M'));
    const int y = f.indexOf(QLatin1Char('y'));
    std::array<std::pair<int, Field>, 3> pos{{{d, Field::Day}, {m, Field::Month}, {y, Field::Year}}};
    std::sort(pos.begin(), pos.end(), [](auto a, auto b) { return a.first < b.first; });
    if (d < 0 || m < 0 || y < 0)
        return {Field::Month, Field::Day, Field::Year};
    return {pos[0].second, pos[1].second, pos[2].second};
}

int monthFromName(const QString& word)
{
    const QLocale locale;
    for (int i = 1; i <= 12; ++i) {
        for (const QLocale& l : {locale, QLocale::c()}) {
            if (word.compare(l.monthName(i, QLocale::LongFormat), Qt::CaseInsensitive) == 0 ||
                word.compare(l.monthName(i, QLocale::ShortFormat), Qt::CaseInsensitive) == 0 ||
                word.compare(l.standaloneMonthName(i, QLocale::LongFormat), Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return 0;
}

std::optional<int> yearFromToken(const QString& token)
{
    bool ok = false;
    const int n = token.toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    if (token.size() <= 2)
        return expandTwoDigitYear(n);
    if (n < 100 || n > 9999)
        return std::nullopt;
    return n;
}

std::optional<QDate> makeDate(int y, int m, int d)
{
    if (!QDate::isValid(y, m, d))
        return std::nullopt;
    return QDate(y, m, d);
}

std::optional<QDate> parseDatePart(const QString& part)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    if (const auto m = iso.match(part); m.hasMatch())
        return makeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());

    static const QRegularExpression separators(QStringLiteral("[\\s/\\-.,]+"));
    const QStringList tokens = part.split(separators, Qt::SkipEmptyParts);
    if (tokens.size() != 3)
        return std::nullopt;

    static const QRegularExpression digits(QStringLiteral("^\\d{1,4}$"));
    int monthByName = 0;
    int nameIndex = -1;
    for (int i = 0; i < 3; ++i) {
        if (digits.match(tokens[i]).hasMatch())
            continue;
        const int mn = monthFromName(tokens[i]);
        if (mn == 0 || nameIndex >= 0)
            return std::nullopt;
        monthByName = mn;
        nameIndex = i;
    }

    if (nameIndex >= 0) {
        // "March 4, 2024", "4 March 2024", "4-Mar-2024": the other two are day and year, the
        // year being the one written with 3 or 4 digits, else the later one.
        QStringList rest;
        for (int i = 0; i < 3; ++i)
            if (i != nameIndex)
                rest << tokens[i];
        int dayIdx = 0;
        int yearIdx = 1;
        if (rest[0].size() >= 3 && rest[1].size() <= 2)
            std::swap(dayIdx, yearIdx);
        const auto year = yearFromToken(rest[yearIdx]);
        if (!year || rest[dayIdx].size() > 2)
            return std::nullopt;
        return makeDate(*year, monthByName, rest[dayIdx].toInt());
    }

    if (tokens[0].size() >= 3) {
        // Year first: y/M/d.
        const auto year = yearFromToken(tokens[0]);
        if (!year || tokens[1].size() > 2 || tokens[2].size() > 2)
            return std::nullopt;
        return makeDate(*year, tokens[1].toInt(), tokens[2].toInt());
    }

    const auto order = localeFieldOrder();
    int y = 0;
    int m = 0;
    int d = 0;
    for (int i = 0; i < 3; ++i) {
        switch (order[i]) {
        case Field::Year: {
            const auto year = yearFromToken(tokens[i]);
            if (!year)
                return std::nullopt;
            y = *year;
            break;
        }
        case Field::Month:
            if (tokens[i].size() > 2)
                return std::nullopt;
            m = tokens[i].toInt();
            break;
        case Field::Day:
            if (tokens[i].size() > 2)
                return std::nullopt;
            d = tokens[i].toInt();
            break;
        }
    }
    return makeDate(y, m, d);
}

} // namespace

int expandTwoDigitYear(int yy)
{
    return yy < 30 ? 2000 + yy : 1900 + yy;
}

QString shortDateFormat()
{
    return widenYear(QLocale().dateFormat(QLocale::ShortFormat));
}

QString formatShortDate(const QDate& d)
{
    return QLocale().toString(d, shortDateFormat());
}

QString formatTime(const QTime& t)
{
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("ss"))) {
        const int at = format.indexOf(QLatin1String("mm"));
        if (at >= 0)
            format.insert(at + 2, QLatin1String(":ss"));
    }
    return QLocale().toString(t, format);
}

QString formatGeneralDate(double dayNumber)
{
    const QDateTime dt = jetdate::toDateTime(dayNumber);
    if (!dt.isValid())
        return QString();
    const bool hasTime = dt.time() != QTime(0, 0);
    const bool zeroDay = std::trunc(dayNumber) == 0.0;
    if (hasTime && zeroDay)
        return formatTime(dt.time());
    if (!hasTime)
        return formatShortDate(dt.date());
    return formatShortDate(dt.date()) + QLatin1Char(' ') + formatTime(dt.time());
}

QString formatUsDate(const QDate& d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString formatNumber(double value, int significantDigits)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (value == 0.0)
        return QStringLiteral("0");
    return locale.toString(value, 'g', significantDigits);
}

std::optional<double> parseNumber(const QString& input)
{
    const QLocale locale;
    QString s = input.trimmed();
    if (s.isEmpty())
        return std::nullopt;

    const QString currency = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!currency.isEmpty()) {
        QString sign;
        if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
            sign = s.left(1);
            s = s.mid(1).trimmed();
        }
        if (s.startsWith(currency))
            s = s.mid(currency.size()).trimmed();
        else if (s.endsWith(currency))
            s = s.left(s.size() - currency.size()).trimmed();
        s = sign + s;
    }
    const QString group = locale.groupSeparator();
    if (!group.isEmpty() && group != locale.decimalPoint())
        s.remove(group);
    if (s.isEmpty())
        return std::nullopt;

    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(s, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> parseDate(const QString& input)
{
    QString s = input.trimmed();
    if (s.isEmpty())
        return std::nullopt;

    // ISO date and time: 2024-03-04T10:15:00
    static const QRegularExpression isoT(QStringLiteral("^(\\d{4}-\\d{1,2}-\\d{1,2})T"));
    if (const auto m = isoT.match(s); m.hasMatch())
        s.replace(m.capturedLength(1), 1, QLatin1Char(' '));

    QTime time;
    bool haveTime = false;
    const QLocale locale;
    const QString am = QRegularExpression::escape(locale.amText());
    const QString pm = QRegularExpression::escape(locale.pmText());
    const QRegularExpression timeRe(
        QStringLiteral("(?:^|\\s)(\\d{1,2})(?::(\\d{1,2}))(?::(\\d{1,2}))?\\s*(%1|%2|AM|PM|A|P)?\\s*$|"
                       "(?:^|\\s)(\\d{1,2})\\s*(%1|%2|AM|PM)\\s*$")
            .arg(am, pm),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = timeRe.match(s); m.hasMatch()) {
        int h = 0;
        int min = 0;
        int sec = 0;
        QString marker;
        if (!m.captured(1).isEmpty()) {
            h = m.captured(1).toInt();
            min = m.captured(2).toInt();
            sec = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
            marker = m.captured(4);
        } else {
            h = m.captured(5).toInt();
            marker = m.captured(6);
        }
        if (!marker.isEmpty()) {
            const bool isPm = marker.startsWith(QLatin1Char('P'), Qt::CaseInsensitive) ||
                              marker.compare(locale.pmText(), Qt::CaseInsensitive) == 0;
            if (h < 1 || h > 12)
                return std::nullopt;
            h = (h % 12) + (isPm ? 12 : 0);
        }
        if (h > 23 || min > 59 || sec > 59)
            return std::nullopt;
        time = QTime(h, min, sec);
        haveTime = true;
        s = s.left(m.capturedStart()).trimmed();
    }

    double day = 0.0;
    if (!s.isEmpty()) {
        const auto date = parseDatePart(s);
        if (!date)
            return std::nullopt;
        day = jetdate::fromDate(*date);
    } else if (!haveTime) {
        return std::nullopt;
    }
    if (!haveTime)
        return day;
    const double frac = time.msecsSinceStartOfDay() / 86400000.0;
    return day < 0 ? day - frac : day + frac;
}

} // namespace data::text
