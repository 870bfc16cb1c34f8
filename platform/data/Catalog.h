#pragma once

#include "platform/data/DataEnums.h"
#include "platform/data/NameKey.h"
#include "platform/data/Variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

struct sqlite3;

namespace data {

struct Translation;

struct ColumnInfo {
    QString name;    // as declared
    QString sqlName; // as SQLite text names it (quoted when it must be)
    FieldType type = FieldType::Unknown;
    bool noCase = false;     // compares without regard to case
    bool notNull = false;    //
    bool rowidAlias = false; // the INTEGER PRIMARY KEY: the row's own id
    // The value a new row gets when the column is not written: a literal default, Null when
    // the column has none, Empty when the database computes it (an expression default).
    Variant defaultValue = Variant::null();
};

struct TableInfo {
    QString name;
    QString sqlName;
    std::vector<ColumnInfo> columns;
    int rowidColumn = -1; // index of the row-id alias column, -1 when the table has none

    void addColumn(ColumnInfo column);
    // Position of a column, without regard to case; -1 when there is none.
    int indexOf(const QString& column) const;

private:
    NameIndex m_byName;
};

// The tables of one data file, with what the translator and recordsets need to know of each
// column. Catalogs are shared: every connection to a file with the same table layout gets the
// same one, and with it the same cache of translated statements.
class Catalog {
public:
    // Reads the layout of the open database. Throws DataError when it cannot be read (the file
    // is not a database).
    static std::shared_ptr<const Catalog> load(sqlite3* db);

    // Case-insensitive look-ups; nullptr when absent.
    const TableInfo* table(const QString& name) const;
    const std::vector<TableInfo>& tables() const { return m_tables; }

    // Translations of statements already seen (see Translator.h).
    std::shared_ptr<const Translation> cachedTranslation(const QString& jetSql) const;
    void storeTranslation(const QString& jetSql, std::shared_ptr<const Translation> t) const;

private:
    std::vector<TableInfo> m_tables;
    NameIndex m_byName;

    mutable std::mutex m_cacheMutex;
    mutable QHash<QString, std::shared_ptr<const Translation>> m_cache;
};

// A table or column name as SQLite text writes it: plain when it is a plain word and no SQLite
// keyword, else in double quotes.
QString sqlName(const QString& name);

// The kind of value a declared column type holds (DATETIME: Date, BOOLEAN: Boolean, ...).
FieldType fieldTypeFromDeclaration(const QString& declaredType);

} // namespace data
