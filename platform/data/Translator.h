#pragma once

#include "platform/data/Catalog.h"
#include "platform/data/DataEnums.h"

#include <QString>

#include <memory>
#include <vector>

namespace data {

// One column of a query's result.
struct OutputColumn {
    QString name;
    FieldType type = FieldType::Unknown;
    // For a query over one table that can write rows back: the position of the table column
    // this result column shows, or -1 for a computed (read-only) column.
    int baseColumn = -1;
};

// A statement in the Jet dialect and the SQLite statement that carries out its meaning.
struct Translation {
    enum class Kind : std::uint8_t { Select, Insert, Update, Delete };

    Kind kind = Kind::Select;
    QString jetSql; // as sent
    QString sql;    // as run
    // Queries: the visible columns, in order. The statement may return further columns after
    // them (hiddenColumns) that the layer uses itself.
    std::vector<OutputColumn> columns;
    int hiddenColumns = 0;

    // Queries over one table without grouping or DISTINCT can write rows back to that table.
    const TableInfo* baseTable = nullptr;
    QString updatableSql; // `sql` with the row id as one more (last) column
    QString refreshSql;   // the same columns and row id of the one row whose id is ?1

    bool updatable() const { return baseTable != nullptr; }
};

// Translates the Jet dialect into SQLite by parsing the statement and writing it anew (never by
// substituting text). Keeps the Jet meaning: #m/d/yyyy# dates become day numbers; True, Yes and
// False, No become -1 and 0, and truth values used as values read -1/0; '&' reads Null as
// empty text; text compares, sorts, groups and DISTINCTs without regard to case, also when
// computed; DISTINCTROW, TOP n (with ties), First() as the earliest date, DELETE list FROM,
// UPDATE over a join, Jet's nested joins, sub-selects ending in ';' and bracketed names; the
// result columns carry their Jet types, also when computed.
//
// The SQLite text may call functions that every connection of the layer provides:
// jet_year(d), jet_month(d), jet_day(d) (parts of a day number) and jet_datetext(d),
// jet_numtext(n) (a date or number as text for '&').
//
// A statement outside what can be carried over faithfully throws DataError naming it.
class Translator {
public:
    // Translations are kept per catalog: a statement already seen is not parsed again.
    static std::shared_ptr<const Translation> translate(const Catalog& catalog,
                                                        const QString& jetSql);
    static Translation translateUncached(const Catalog& catalog, const QString& jetSql);
};

} // namespace data
