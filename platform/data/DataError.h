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
    // kChangedByAnotherUserCode for a write refused because another user changed the record.
    int code() const { return m_code; }
    bool changedByAnotherUser() const { return m_code == kChangedByAnotherUserCode; }

    // The code of a refused write whose record another user changed since it was read.
    static constexpr int kChangedByAnotherUserCode = -1;

private:
    QString m_message;
    QString m_sql;
    QString m_translatedSql;
    int m_code = 0;
};

// What went wrong, as a message box shows it: a DataError's description, else the error's text.
QString describe(const std::exception& e);

// The one wording, everywhere, of each reason a data file cannot be used, naming the file.
QString dataFileMissingText(const QString& path);
QString dataFileInUseText(const QString& path);
QString dataFileDamagedText(const QString& path);

// The message of a write refused because another user (another copy of the program on the same
// data file) changed the record since it was read.
inline const QString kChangedByAnotherUser = QStringLiteral(
    "This record was changed by another user since you opened it, so your changes were not "
    "saved. They are still shown: look at the record as it is stored now before you make them "
    "again.");

} // namespace data
