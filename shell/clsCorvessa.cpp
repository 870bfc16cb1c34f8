#include "shell/clsCorvessa.h"

#include "shell/Conversions.h"
#include "shell/SettingKeys.h"
#include "platform/data/LocaleText.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString read(const SettingKey& key, const QString& fallback)
{
    return ui::settingsStore().value(key.Section(), key.Key(), fallback);
}

QString read(const SettingKey& key)
{
    return read(key, key.Absent());
}

void write(const SettingKey& key, const QString& value)
{
    ui::settingsStore().write(key.Section(), key.Key(), value);
}

QString boolText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

bool readBool(const SettingKey& key)
{
    return clsCorvessa::readBoolean(read(key), key.Key());
}

// A date through the tolerant conversion: unreadable text is the zero date.
double readLenientDate(const SettingKey& key)
{
    return ToDate(data::Variant(read(key)), 0.0);
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
    return readBool(keys::RemindGrad);
}

void clsCorvessa::setRemindGraduation(bool on)
{
    write(keys::RemindGrad, boolText(on));
}

double clsCorvessa::LastRemindGradDate() const
{
    return readLenientDate(keys::LastRemindGradDate);
}

void clsCorvessa::setLastRemindGradDate(double day)
{
    write(keys::LastRemindGradDate, writeDate(day));
}

bool clsCorvessa::AutoGradSchool() const
{
    return readBool(keys::AutoGradSchool);
}

void clsCorvessa::setAutoGradSchool(bool on)
{
    write(keys::AutoGradSchool, boolText(on));
}

double clsCorvessa::LastAutoGradSchoolDate() const
{
    return readLenientDate(keys::LastAutoGradSchoolDate);
}

void clsCorvessa::setLastAutoGradSchoolDate(double day)
{
    write(keys::LastAutoGradSchoolDate, writeDate(day));
}

bool clsCorvessa::AutoGradVisitor() const
{
    return readBool(keys::AutoGradVisitor);
}

void clsCorvessa::setAutoGradVisitor(bool on)
{
    write(keys::AutoGradVisitor, boolText(on));
}

std::int16_t clsCorvessa::cachedWeeks(std::int16_t& cache, const SettingKey& key)
{
    if (cache != 0)
        return cache;
    cache = readInteger(read(key), key.Key());
    return cache;
}

void clsCorvessa::storeWeeks(std::int16_t& cache, const SettingKey& key, std::int16_t weeks)
{
    write(key, QString::number(weeks));
    cache = weeks;
}

std::int16_t clsCorvessa::WeeksToInactive()
{
    return cachedWeeks(m_weeksToInactive, keys::WeeksToInactive);
}

void clsCorvessa::setWeeksToInactive(std::int16_t weeks)
{
    storeWeeks(m_weeksToInactive, keys::WeeksToInactive, weeks);
}

std::int16_t clsCorvessa::WeeksToMember()
{
    return cachedWeeks(m_weeksToMember, keys::WeeksToMember);
}

void clsCorvessa::setWeeksToMember(std::int16_t weeks)
{
    storeWeeks(m_weeksToMember, keys::WeeksToMember, weeks);
}

std::int16_t clsCorvessa::WeeksToMIA()
{
    return cachedWeeks(m_weeksToMIA, keys::WeeksToMIA);
}

void clsCorvessa::setWeeksToMIA(std::int16_t weeks)
{
    storeWeeks(m_weeksToMIA, keys::WeeksToMIA, weeks);
}

void clsCorvessa::ResetValues()
{
    m_weeksToMIA = 0;
    m_weeksToMember = 0;
    m_weeksToInactive = 0;
}

QString clsCorvessa::ChurchName() const
{
    return read(keys::ChurchName);
}

void clsCorvessa::setChurchName(const QString& name)
{
    write(keys::ChurchName, name);
}

QString clsCorvessa::GroupName() const
{
    return read(keys::GroupName, QStringLiteral("Corvessa: Group Edition"));
}

void clsCorvessa::setGroupName(const QString& name)
{
    write(keys::GroupName, name);
}

bool clsCorvessa::AutoBackup() const
{
    return readBool(keys::RemindBackup);
}

double clsCorvessa::LastAutoBackup() const
{
    const QString text = read(keys::LastBackupDate);
    if (const auto day = convert::toDate(data::Variant(text)); day && !text.trimmed().isEmpty())
        return *day;
    throw SettingsFormatError(
        QStringLiteral("The setting LastBackupDate holds \"%1\", which is not a date.").arg(text).toStdString());
}

void clsCorvessa::setLastAutoBackup(double day)
{
    write(keys::LastBackupDate, writeDate(day));
}
