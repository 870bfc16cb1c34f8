#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

struct SettingKey;

// Stored text that does not read as the property's type.
class SettingsFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one settings object. Each stored property reads or writes one key of the per-user
// settings store (ui::settingsStore()) at the moment it is used; the three week counts are
// cached until ResetValues. ReportListIndex and DataFileName live in memory only.
//
// Reads of Booleans, week counts and LastAutoBackup are strict: stored text of another type
// throws SettingsFormatError. Dates are written as yyyy-MM-dd, which reads back the same under
// any locale; dates written in the locale's short form are read as well.
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

    // The text forms of stored values, shared with the options dialog.
    static bool readBoolean(const QString& text, const QString& key);
    static std::int16_t readInteger(const QString& text, const QString& key);
    static QString writeDate(double day);

private:
    std::int16_t cachedWeeks(std::int16_t& cache, const SettingKey& key);
    void storeWeeks(std::int16_t& cache, const SettingKey& key, std::int16_t weeks);

    std::int16_t m_reportListIndex = 0;
    std::int16_t m_weeksToMIA = 0;
    std::int16_t m_weeksToMember = 0;
    std::int16_t m_weeksToInactive = 0;
    QString m_dataFileName;
};
