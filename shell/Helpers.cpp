#include "shell/Helpers.h"

#include "shell/Conversions.h"
#include "platform/ui/Services.h"

#include <QComboBox>

#include <algorithm>

std::int16_t GetAge(const data::Variant& birth)
{
    // Only a date, or text that reads as one, is a birth date: an unset value, a number or a
    // flag is none.
    if (!birth.isDate() && !birth.isString())
        return 0;
    const auto day = convert::toDate(birth);
    if (!day)
        return 0;
    const QDate born = data::jetdate::toDate(*day);
    const QDate today = ui::today();
    if (!born.isValid())
        return 0;
    int age = today.year() - born.year();
    // This year's birthday, built the way a date serial is: 29 February rolls to 1 March.
    QDate birthday(today.year(), born.month(), 1);
    birthday = birthday.addDays(born.day() - 1);
    if (birthday > today)
        --age;
    return static_cast<std::int16_t>(age);
}

QString GetGenderText(std::int16_t code)
{
    switch (code) {
    case 1:
        return QStringLiteral("Male");
    case 2:
        return QStringLiteral("Female");
    default:
        return QString();
    }
}

QString GetStatusText(std::int16_t code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Unknown");
    case 1:
        return QStringLiteral("Active");
    case 2:
        return QStringLiteral("Away");
    case 3:
        return QStringLiteral("Inactive");
    default:
        return QString();
    }
}

void SelectComboByItemData(QComboBox* combo, std::int32_t value)
{
    if (!combo)
        return;
    for (int i = 0; i < combo->count(); ++i) {
        const QVariant data = combo->itemData(i);
        bool ok = false;
        const qlonglong item = data.toLongLong(&ok);
        if (ok && item == value) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

std::int32_t ChartScaleMax(std::int32_t& n)
{
    std::int32_t step = 10;
    if (n > 1000)
        step = 1000;
    else if (n > 100)
        step = 100;
    else if (n < 11)
        step = 1;
    return RoundUpToStep(n, step);
}

std::int32_t RoundUpToStep(std::int32_t& n, std::int32_t step)
{
    if (step == 1)
        n += 1;
    if (n <= step)
        return step;
    const std::int64_t k = (static_cast<std::int64_t>(n) + step - 1) / step;
    return static_cast<std::int32_t>(std::max<std::int64_t>(k, 2) * step);
}

bool IsValidEmail(const QString& s)
{
    if (s.isEmpty())
        return true;
    const int a = s.indexOf(QLatin1Char('@')) + 1;
    const int d = s.lastIndexOf(QLatin1Char('.')) + 1;
    return a > 1 && d - a > 1;
}

QString GetFileExtension(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('.'))
            return path.mid(i + 1);
        if (c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return QString();
    }
    return QString();
}

data::Variant MaxOf(const data::Variant& a, const data::Variant& b)
{
    // A date carries a number, but is not one.
    auto numeric = [](const data::Variant& v) -> std::optional<double> {
        if (v.isEmpty() || v.isNull() || v.isDate())
            return std::nullopt;
        return convert::toDouble(v);
    };
    const auto x = numeric(a);
    const auto y = numeric(b);
    if (!x || !y)
        return data::Variant();
    return *x > *y ? a : b;
}

QStringList DistinctEntries(const QStringList& trimmedValues)
{
    QStringList entries;
    QStringList seen; // folded
    for (const QString& value : trimmedValues) {
        const QString folded = value.toCaseFolded();
        if (value.isEmpty() || seen.contains(folded))
            continue;
        seen << folded;
        entries << value;
    }
    std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return entries;
}
