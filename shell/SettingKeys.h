#pragma once

#include <QString>

#include <array>

// One key of the per-user settings store: its section, its name, and the text that stands for
// it while the key is absent (Booleans as "1"/"0", which every reader accepts).
struct SettingKey {
    const char* section;
    const char* key;
    const char* absent;

    QString Section() const { return QString::fromLatin1(section); }
    QString Key() const { return QString::fromLatin1(key); }
    QString Absent() const { return QString::fromLatin1(absent); }
};

// Every stored setting of the program, read and written by the settings object and the
// options dialog under exactly these names.
namespace keys {

// The options dialog shows an absent group name as empty; the settings object's GroupName
// gives the product's full name instead (clsCorvessa).
inline constexpr SettingKey GroupName{"GroupInfo", "GroupName", ""};
inline constexpr SettingKey Country{"GroupInfo", "Country", "USA"};
inline constexpr SettingKey ChurchName{"GroupInfo", "ChurchName", ""};

inline constexpr SettingKey WeeksToMember{"Members", "WeeksToMember", "4"};
inline constexpr SettingKey WeeksToMIA{"Members", "WeeksToMIA", "4"};
inline constexpr SettingKey WeeksToInactive{"Members", "WeeksToInactive", "9"};
inline constexpr SettingKey AutoGradVisitor{"Members", "AutoGradVisitor", "1"};
inline constexpr SettingKey AutoGradSchool{"Members", "AutoGradSchool", "1"};
inline constexpr SettingKey LastAutoGradSchoolDate{"Members", "LastAutoGradSchoolDate", "0"};

inline constexpr SettingKey RemindGrad{"Reminders", "RemindGrad", "1"};
inline constexpr SettingKey LastRemindGradDate{"Reminders", "LastRemindGradDate", "0"};
inline constexpr SettingKey RemindInactiveBday{"Reminders", "RemindInactiveBday", "0"};
inline constexpr SettingKey RemindBackup{"Reminders", "RemindBackup", "1"};
inline constexpr SettingKey LastBackupDate{"Reminders", "LastBackupDate", "1999-09-09"};

inline constexpr SettingKey VisRequireLetter{"Visitors", "VisRequireLetter", "1"};
inline constexpr SettingKey VisRequireCall{"Visitors", "VisRequireCall", "0"};
inline constexpr SettingKey VisRequireVisit{"Visitors", "VisRequireVisit", "0"};

// The thirteen keys the options dialog edits, in the order it reads and writes them.
inline constexpr std::array<SettingKey, 13> kOptionKeys{
    GroupName,        Country,        WeeksToMember,   WeeksToMIA,         WeeksToInactive,
    AutoGradVisitor,  AutoGradSchool, RemindGrad,      RemindInactiveBday, RemindBackup,
    VisRequireLetter, VisRequireCall, VisRequireVisit,
};

} // namespace keys
