#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

struct SettingKey;

// The one settings object. Each stored property reads or writes one key of the per-user
// settings store (ui::settingsStore()) at the moment it is used; the three week counts are
// cached until ResetValues. ReportListIndex and DataFileName live in memory only.
//
// Booleans, week counts and LastAutoBackup are read strictly: stored text of another type is
// reported to the user once in the run, naming the setting and the text, and the key's default
// is used in its place. A store that cannot be read at all is reported once in the run, naming
// its file and the cause, and every key reads as its default. Dates are written as yyyy-MM-dd,
// which reads back the same under any locale; dates written in the locale's short form are read
// as well.
//
// The rules that change people's records never go by a default that stands in for a value that
// could not be read: they read through the Rule... members, which give nothing instead.
class clsCorvessa {
public:
    std::int16_t ReportListIndex() const { return m_reportListIndex; }
    void setReportListIndex(std::int16_t index) { m_reportListIndex = index; }

    bool IsDesignTime() const { return false; }
    // True while a file "custom.txt" lies in the program folder.
    bool Custom() const;

    bool RemindGraduation() const;
    void setRemindGraduation(bool on);
    double LastRemindGradDate() const; // Jet day number; 0 = never
    void setLastRemindGradDate(double day);
    bool AutoGradSchool() const;
    void setAutoGradSchool(bool on);
    double LastAutoGradSchoolDate() const;
    void setLastAutoGradSchoolDate(double day);
    bool AutoGradVisitor() const;
    void setAutoGradVisitor(bool on);

    std::int16_t WeeksToInactive();
    void setWeeksToInactive(std::int16_t weeks);
    std::int16_t WeeksToMember();
    void setWeeksToMember(std::int16_t weeks);
    std::int16_t WeeksToMIA();
    void setWeeksToMIA(std::int16_t weeks);
    void ResetValues();

    QString ChurchName() const;
    void setChurchName(const QString& name);
    QString GroupName() const;
    void setGroupName(const QString& name);

    bool AutoBackup() const;
    double LastAutoBackup() const;
    void setLastAutoBackup(double day);

    QString DataFileName() const { return m_dataFileName; }
    void setDataFileName(const QString& name) { m_dataFileName = name; }

    // A Boolean or whole-number key read straight from the store (the options dialog and the
    // Start page read theirs so), by the same rules as the properties.
    bool StoredFlag(const SettingKey& key) const;
    std::int16_t StoredCount(const SettingKey& key) const;

    static QString writeDate(double day);

    // Strict readings for the rules that change people's records: nullopt when the store
    // cannot be read or the stored text is not of the key's type (told once, like any other
    // unreadable setting, but without a default standing in). An absent key reads as its
    // default, as everywhere.
    std::optional<bool> RuleFlag(const SettingKey& key) const;
    std::optional<std::int16_t> RuleCount(const SettingKey& key);
    // LastAutoGradSchoolDate as its property reads it (text that is no date is never set), or
    // nullopt when the store cannot be read.
    std::optional<double> RuleLastAutoGradSchoolDate() const;

    // While gathering, the problems met with stored settings are kept, to be told together in
    // one message by the caller (TakeGathered), instead of one message each. EndGathering gives
    // what was not taken.
    void BeginGathering() const { ++m_gathering; }
    QStringList TakeGathered() const;
    QStringList EndGathering() const;

private:
    // Tells the user, once in the run for each key and text, that the stored text is not
    // `expected` and that `used` stands in for it (nothing is said of a stand-in when `used` is
    // empty).
    void reportUnreadable(const SettingKey& key, const QString& text, const QString& expected,
                          const QString& used) const;
    // The stored text of a key, `absent` (or the key's default) when it is absent; nullopt when
    // the store cannot be read (told once in the run).
    std::optional<QString> readStored(const SettingKey& key, const QString& absent) const;
    std::optional<QString> readStored(const SettingKey& key) const;
    // The same, with `absent` standing in when the store cannot be read too.
    QString read(const SettingKey& key, const QString& absent) const;
    double readLenientDate(const SettingKey& key) const;
    void tell(const QString& problem) const;

    std::int16_t cachedWeeks(std::int16_t& cache, const SettingKey& key);
    void storeWeeks(std::int16_t& cache, const SettingKey& key, std::int16_t weeks);

    std::int16_t m_reportListIndex = 0;
    std::int16_t m_weeksToMIA = 0;
    std::int16_t m_weeksToMember = 0;
    std::int16_t m_weeksToInactive = 0;
    QString m_dataFileName;
    mutable QSet<QString> m_reported;
    mutable bool m_storeFailureTold = false;
    mutable int m_gathering = 0;
    mutable QStringList m_gathered;
};

// Gathers the problems with stored settings while it lives (clsCorvessa::BeginGathering); what
// the owner has not taken by then is told when it goes.
class GatheredSettingProblems {
public:
    explicit GatheredSettingProblems(const clsCorvessa& settings);
    ~GatheredSettingProblems();
    GatheredSettingProblems(const GatheredSettingProblems&) = delete;
    GatheredSettingProblems& operator=(const GatheredSettingProblems&) = delete;

    // The problems met so far, each once; gathering goes on.
    QStringList take();

private:
    const clsCorvessa& m_settings;
};
