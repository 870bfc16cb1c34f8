#pragma once

#include <QString>

#include <stdexcept>

namespace data {

// A failed open, statement, translation or write. Carries the database's own message, the
// statement as the caller sent it and, when translation got that far, as it was run.
class DataError : public std::runtime_error {
public:
    DataError(const QString& message, const QString& sql = QString(),
              const QString& translatedSql = QString(), int code = 0);

    // The message alone, fit for a message box ("no such column: Youth_Nmae").
    const QString& description() const { return m_message; }
    // The statement as sent (Jet dialect); empty when the error concerns no statement.
    const QString& sql() const { return m_sql; }
    // The statement as run by SQLite; empty when translation failed.
    const QString& translatedSql() const { return m_translatedSql; }
    // SQLite's (extended) result code; 0 for errors found by the data layer itself, or
    // one of the codes below for a write refused because of another user.
    int code() const { return m_code; }
    bool changedByAnotherUser() const { return m_code == kChangedByAnotherUserCode; }
    bool removedByAnotherUser() const { return m_code == kRemovedByAnotherUserCode; }
    // Another program holds the data file locked (it waited as long as it may).
    bool inUseByAnotherProgram() const;

    // The code of a refused write whose record another user changed since it was read.
    static constexpr int kChangedByAnotherUserCode = -1;
    // The code of a refused write whose record another user removed since it was read.
    static constexpr int kRemovedByAnotherUserCode = -2;

private:
    QString m_message;
    QString m_sql;
    QString m_translatedSql;
    int m_code = 0;
};

// What went wrong, as a message box shows it: a DataError's description, else the error's text.
QString describe(const std::exception& e);
// True for a DataError that is inUseByAnotherProgram().
bool inUseByAnotherProgram(const std::exception& e);

// The one wording, everywhere, of each reason a data file cannot be used, naming the file.
QString dataFileMissingText(const QString& path);
QString dataFileInUseText(const QString& path);
QString dataFileDamagedText(const QString& path);
QString dataFileReadOnlyText(const QString& path);
QString dataFileFullText(const QString& path);
QString dataFilePathTooLongText(const QString& path);

// Why a write was refused whose record another user (another copy of the program on the same
// data file) changed since it was read.
inline const QString kChangedByAnotherUser = QStringLiteral(
    "This record was changed by another user since you opened it. Look at the record as it is "
    "stored now before you make your changes again.");

// Why a write was refused whose record another user (another copy of the program on the same
// data file) removed since it was read.
inline const QString kRemovedByAnotherUser =
    QStringLiteral("This record was removed by another user since you opened it.");

} // namespace data
