#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace data::text {

// Dates and numbers as text in the default locale (QLocale()), the way users type and read
// them. Years are always written with four digits; two-digit years are read with a sliding
// window (00-29 as 2000-2029, 30-99 as 1930-1999).

// The locale's short date format with its year widened to four digits (en_US: "M/d/yyyy").
QString shortDateFormat();
QString formatShortDate(const QDate& d);
// The locale's time with seconds (en_US: "3:04:05 PM").
QString formatTime(const QTime& t);
// General date: the short date, followed by the time when it is not midnight; a time on the
// zero date alone shows only the time.
QString formatGeneralDate(double dayNumber);
// Month/day/four-digit year whatever the locale: the form query text and tools use.
QString formatUsDate(const QDate& d);
// Decimal text with up to 15 significant digits, the locale's decimal point, no grouping.
QString formatNumber(double value, int significantDigits = 15);

// Text that reads as a number in the default locale: blanks around it, a sign, the decimal
// and thousands separators, an exponent, and the locale's currency symbol are accepted.
std::optional<double> parseNumber(const QString& text);
// Text that reads as a date, a time, or both, in the default locale; also ISO yyyy-MM-dd.
// Returns the Jet day number. Impossible dates (a month 13, 31 April) fail.
std::optional<double> parseDate(const QString& text);

// Two-digit year window.
int expandTwoDigitYear(int yy);

} // namespace data::text
