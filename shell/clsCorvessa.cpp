#include "shell/clsCorvessa.h"

#include "shell/Conversions.h"
#include "shell/SettingKeys.h"
#include "platform/data/LocaleText.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFileInfo>

namespace {

void write(const SettingKey& key, const QString& value)
{
    ui::settingsStore().write(key.Section(), key.Key(), value);
}

QString boolText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// The strict readings: "True" or "False" in any case, or a number (0 is False); decimal text of
// a 16-bit number, a fraction rounded; a date. Empty text reads as none of them.
std::optional<bool> parseBoolean(const QString& text)
{
    return convert::toBoolean(data::Variant(text));
}

std::optional<std::int16_t> parseCount(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return convert::toInteger(data::Variant(text));
}

std::optional<double> parseDate(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return convert::toDate(data::Variant(text));
}

QString keyText(const SettingKey& key, const QString& text)
{
    return key.Section().toLower() + QLatin1Char('\\') + key.Key().toLower() + QLatin1Char('=') +
           text;
}

} // namespace

void clsCorvessa::tell(const QString& problem) const
{
    if (m_gathering > 0) {
        m_gathered << problem;
        return;
    }
    ui::critical(problem);
}

std::optional<QString> clsCorvessa::readStored(const SettingKey& key, const QString& absent) const
{
    try {
        return ui::settingsStore().read(key.Section(), key.Key()).value_or(absent);
    } catch (const ui::SettingsStoreError& e) {
        if (!m_storeFailureTold) {
            m_storeFailureTold = true;
            tell(QString::fromStdString(e.what()) +
                 QStringLiteral(" Until it can, the program uses its default settings and "
                                "stores no setting in it."));
        }
        return std::nullopt;
    }
}

std::optional<QString> clsCorvessa::readStored(const SettingKey& key) const
{
    return readStored(key, key.Absent());
}

QString clsCorvessa::read(const SettingKey& key, const QString& absent) const
{
    return readStored(key, absent).value_or(absent);
}

// A date through the tolerant conversion: unreadable text is the zero date.
double clsCorvessa::readLenientDate(const SettingKey& key) const
{
    return ToDate(data::Variant(read(key, key.Absent())), 0.0);
}

QStringList clsCorvessa::TakeGathered() const
{
    QStringList taken;
    taken.swap(m_gathered);
    return taken;
}

QStringList clsCorvessa::EndGathering() const
{
    if (m_gathering > 0)
        --m_gathering;
    return TakeGathered();
}

GatheredSettingProblems::GatheredSettingProblems(const clsCorvessa& settings) : m_settings(settings)
{
    m_settings.BeginGathering();
}

GatheredSettingProblems::~GatheredSettingProblems()
{
    const QStringList left = m_settings.EndGathering();
    if (left.isEmpty())
        return;
    try {
        ui::critical(left.join(QStringLiteral("\n\n")));
    } catch (...) {
    }
}

QStringList GatheredSettingProblems::take()
{
    return m_settings.TakeGathered();
}

void clsCorvessa::reportUnreadable(const SettingKey& key, const QString& text,
                                   const QString& expected, const QString& used) const
{
    const QString reported = keyText(key, text);
    if (m_reported.contains(reported))
        return;
    m_reported.insert(reported);
    QString problem = QStringLiteral("The stored setting %1 holds \"%2\", which is not %3.")
                          .arg(key.Key(), text, expected);
    if (!used.isEmpty())
        // Among other problems, the stand-in goes with its setting.
        problem += (m_gathering > 0 ? QStringLiteral(" ") : QStringLiteral("\n\n")) +
                   QStringLiteral("The default, %1, is used in its place.").arg(used);
    tell(problem);
}

bool clsCorvessa::StoredFlag(const SettingKey& key) const
{
    const bool fallback = parseBoolean(key.Absent()).value_or(false);
    const auto text = readStored(key);
    if (!text)
        return fallback;
    if (const auto on = parseBoolean(*text))
        return *on;
    reportUnreadable(key, *text, QStringLiteral("True or False"), boolText(fallback));
    return fallback;
}

std::int16_t clsCorvessa::StoredCount(const SettingKey& key) const
{
    const std::int16_t fallback = parseCount(key.Absent()).value_or(0);
    const auto text = readStored(key);
    if (!text)
        return fallback;
    if (const auto n = parseCount(*text))
        return *n;
    reportUnreadable(key, *text, QStringLiteral("a whole number"), QString::number(fallback));
    return fallback;
}

std::optional<bool> clsCorvessa::RuleFlag(const SettingKey& key) const
{
    const auto text = readStored(key);
    if (!text)
        return std::nullopt;
    const auto on = parseBoolean(*text);
    if (!on)
        reportUnreadable(key, *text, QStringLiteral("True or False"), QString());
    return on;
}

std::optional<std::int16_t> clsCorvessa::RuleCount(const SettingKey& key)
{
    std::int16_t* cache = key.Key() == keys::WeeksToMIA.Key()        ? &m_weeksToMIA
                          : key.Key() == keys::WeeksToMember.Key()   ? &m_weeksToMember
                          : key.Key() == keys::WeeksToInactive.Key() ? &m_weeksToInactive
                                                                     : nullptr;
    if (cache && *cache != 0)
        return *cache;
    const auto text = readStored(key);
    if (!text)
        return std::nullopt;
    const auto n = parseCount(*text);
    if (!n) {
        reportUnreadable(key, *text, QStringLiteral("a whole number"), QString());
        return std::nullopt;
    }
    if (cache)
        *cache = *n;
    return n;
}

std::optional<double> clsCorvessa::RuleLastAutoGradSchoolDate() const
{
    const auto text = readStored(keys::LastAutoGradSchoolDate);
    if (!text)
        return std::nullopt;
    return ToDate(data::Variant(*text), 0.0);
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
    return StoredFlag(keys::RemindGrad);
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
    return StoredFlag(keys::AutoGradSchool);
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
    return StoredFlag(keys::AutoGradVisitor);
}

void clsCorvessa::setAutoGradVisitor(bool on)
{
    write(keys::AutoGradVisitor, boolText(on));
}

std::int16_t clsCorvessa::cachedWeeks(std::int16_t& cache, const SettingKey& key)
{
    if (cache != 0)
        return cache;
    // Only a count that was read is kept; a default standing in for one is not.
    if (const auto weeks = RuleCount(key))
        return *weeks;
    return StoredCount(key);
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
    return read(keys::ChurchName, keys::ChurchName.Absent());
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
    return StoredFlag(keys::RemindBackup);
}

double clsCorvessa::LastAutoBackup() const
{
    const double fallback = parseDate(keys::LastBackupDate.Absent()).value_or(0.0);
    const auto text = readStored(keys::LastBackupDate);
    if (!text)
        return fallback;
    if (const auto day = parseDate(*text))
        return *day;
    reportUnreadable(keys::LastBackupDate, *text, QStringLiteral("a date"),
                     data::text::formatShortDate(data::jetdate::toDate(fallback)));
    return fallback;
}

void clsCorvessa::setLastAutoBackup(double day)
{
    write(keys::LastBackupDate, writeDate(day));
}
