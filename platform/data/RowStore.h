#pragma once

#include "platform/data/Catalog.h"
#include "platform/data/NameKey.h"
#include "platform/data/Translator.h"
#include "platform/data/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// What the two files of Recordset share: the rows they read (Recordset.cpp) and write back
// (RecordsetWrite.cpp).
namespace data::detail {

// The rows of one query, shared by a recordset and its clones.
struct RowStore {
    struct Row {
        qint64 rowid = 0;
        bool deleted = false;
    };

    std::shared_ptr<const Catalog> catalog; // keeps the translation's table information alive
    std::shared_ptr<const Translation> translation;
    std::vector<OutputColumn> columns;
    NameIndex byName;      // first column of each name
    bool writable = false; // read with row ids: rows can be written back
    std::vector<Row> rows;
    std::vector<Variant> cells;   // the values of all rows, row after row
    std::uint64_t generation = 1; // changes when rows are added or deleted
    std::uint64_t deletions = 0;  // changes when rows are deleted

    std::size_t width() const { return columns.size(); }
    Variant* values(std::size_t row) { return cells.data() + row * width(); }
    const Variant* values(std::size_t row) const { return cells.data() + row * width(); }
    void append(qint64 rowid, std::vector<Variant>&& rowValues)
    {
        rows.push_back({rowid, false});
        for (Variant& v : rowValues)
            cells.push_back(std::move(v));
    }
};

// The message of an operation that needs a current row when there is none.
inline const QString kNoCurrentRow = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.");

} // namespace data::detail
