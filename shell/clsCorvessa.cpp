#include "shell/clsCorvessa.h"

#include "shell/Conversions.h"
#include "platform/data/LocaleText.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kGroupInfo = QStringLiteral("GroupInfo");
const QString kMembers = QStringLiteral("Members");
const QString kReminders = QStringLiteral("Reminders");

QString read(const QString& section, const char* key, const QString& fallback)
{
    return ui::settingsStore().value(section, QLatin1String(key), fallback);
}

void write(const QString& section, const char* key, const QString& value)
{
    ui::settingsStore().write(section, QLatin1String(key), value);
}

QString boolText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

bool readBool(const QString& section, const char* key, bool fallback)
{
    return clsCorvessa::readBoolean(read(section, key, boolText(fallback)), QLatin1String(key));
}

// A date through the tolerant conversion: unreadable text is the zero date.
double readLenientDate(const QString& section, const char* key)
{
    return ToDate(data::Variant(read(section, key, QStringLiteral("0"))), 0.0);
}

} // namespace

bool clsCorvessa::readBoolean(const QString& text, const QString& key)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto n = data::text::parseNumber(t))
        return *n != 0.0;
    throw SettingsFormatError(
        QStringLiteral("The setting %1 holds \"%2\", which is not True or False.").arg(key, text).toStdString());
}

std::int16_t clsCorvessa::readInteger(const QString& text, const QString& key)
{
    if (const auto n = convert::toInteger(data::Variant(text)); n && !text.trimmed().isEmpty())
        return *n;
    throw SettingsFormatError(
        QStringLiteral("The setting %1 holds \"%2\", which is not a whole number.").arg(key, text).toStdString());
}

QString clsCorvessa::writeDate(double day)
{
    const QDateTime dt = data::jetdate::toDateTime(day);
    if (dt.time() == QTime(0, 0))
        return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool clsCorvessa::Custom() const
{
    return QFileInfo::exists(QDir(ui::programFolder()).filePath(QStringLiteral("custom.txt")));
}

bool clsCorvessa::RemindGraduation() const
{
    return readBool(kReminders, "RemindGrad", true);
}

void clsCorvessa::setRemindGraduation(bool on)
{
    write(kReminders, "RemindGrad", boolText(on));
}

double clsCorvessa::LastRemindGradDate() const
{
    return readLenientDate(kReminders, "LastRemindGradDate");
}

void clsCorvessa::setLastRemindGradDate(double day)
{
    write(kReminders, "LastRemindGradDate", writeDate(day));
}

bool clsCorvessa::AutoGradSchool() const
{
    return readBool(kMembers, "AutoGradSchool", true);
}

void clsCorvessa::setAutoGradSchool(bool on)
{
    write(kMembers, "AutoGradSchool", boolText(on));
}

double clsCorvessa::LastAutoGradSchoolDate() const
{
    return readLenientDate(kMembers, "LastAutoGradSchoolDate");
}

void clsCorvessa::setLastAutoGradSchoolDate(double day)
{
    write(kMembers, "LastAutoGradSchoolDate", writeDate(day));
}

bool clsCorvessa::AutoGradVisitor() const
{
    return readBool(kMembers, "AutoGradVisitor", true);
}

void clsCorvessa::setAutoGradVisitor(bool on)
{
    write(kMembers, "AutoGradVisitor", boolText(on));
}

std::int16_t clsCorvessa::cachedWeeks(std::int16_t& cache, const char* key, std::int16_t fallback)
{
    if (cache != 0)
        return cache;
    cache = readInteger(read(kMembers, key, QString::number(fallback)), QLatin1String(key));
    return cache;
}

void clsCorvessa::storeWeeks(std::int16_t& cache, const char* key, std::int16_t weeks)
{
    write(kMembers, key, QString::number(weeks));
    cache = weeks;
}

std::int16_t clsCorvessa::WeeksToInactive()
{
    return cachedWeeks(m_weeksToInactive, "WeeksToInactive", 9);
}

void clsCorvessa::setWeeksToInactive(std::int16_t weeks)
{
    storeWeeks(m_weeksToInactive, "WeeksToInactive", weeks);
}

std::int16_t clsCorvessa::WeeksToMember()
{
    return cachedWeeks(m_weeksToMember, "WeeksToMember", 4);
}

void clsCorvessa::setWeeksToMember(std::int16_t weeks)
{
    storeWeeks(m_weeksToMember, "WeeksToMember", weeks);
}

std::int16_t clsCorvessa::WeeksToMIA()
{
    return cachedWeeks(m_weeksToMIA, "WeeksToMIA", 4);
}

void clsCorvessa::setWeeksToMIA(std::int16_t weeks)
{
    storeWeeks(m_weeksToMIA, "WeeksToMIA", weeks);
}

void clsCorvessa::ResetValues()
{
    m_weeksToMIA = 0;
    m_weeksToMember = 0;
    m_weeksToInactive = 0;
}

QString clsCorvessa::ChurchName() const
{
    return read(kGroupInfo, "ChurchName", QString());
}

void clsCorvessa::setChurchName(const QString& name)
{
    write(kGroupInfo, "ChurchName", name);
}

QString clsCorvessa::GroupName() const
{
    return read(kGroupInfo, "GroupName", QStringLiteral("Corvessa: Group Edition"));
}

void clsCorvessa::setGroupName(const QString& name)
{
    write(kGroupInfo, "GroupName", name);
}

bool clsCorvessa::AutoBackup() const
{
    return readBool(kReminders, "RemindBackup", true);
}

double clsCorvessa::LastAutoBackup() const
{
    const QString text = read(kReminders, "LastBackupDate", writeDate(data::jetdate::fromDate(QDate(1999, 9, 9))));
    if (const auto day = convert::toDate(data::Variant(text)); day && !text.trimmed().isEmpty())
        return *day;
    throw SettingsFormatError(
        QStringLiteral("The setting LastBackupDate holds \"%1\", which is not a date.").arg(text).toStdString());
}

void clsCorvessa::setLastAutoBackup(double day)
{
    write(kReminders, "LastBackupDate", writeDate(day));
}
