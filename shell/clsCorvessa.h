#pragma once

#include <QSet>
#include <QString>

#include <cstdint>

struct SettingKey;

// The one settings object. Each stored property reads or writes one key of the per-user
// settings store (ui::settingsStore()) at the moment it is used; the three week counts are
// cached until ResetValues. ReportListIndex and DataFileName live in memory only.
//
// Booleans, week counts and LastAutoBackup are read strictly: stored text of another type is
// reported to the user once in the run, naming the setting and the text, and the key's default
// is used in its place. Dates are written as yyyy-MM-dd, which reads back the same under any
// locale; dates written in the locale's short form are read as well.
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

private:
    // Tells the user, once in the run for each key and text, that the stored text is not
    // `expected` and that `used` stands in for it.
    void reportUnreadable(const SettingKey& key, const QString& text, const QString& expected,
                          const QString& used) const;

    std::int16_t cachedWeeks(std::int16_t& cache, const SettingKey& key);
    void storeWeeks(std::int16_t& cache, const SettingKey& key, std::int16_t weeks);

    std::int16_t m_reportListIndex = 0;
    std::int16_t m_weeksToMIA = 0;
    std::int16_t m_weeksToMember = 0;
    std::int16_t m_weeksToInactive = 0;
    QString m_dataFileName;
    mutable QSet<QString> m_reported;
};
