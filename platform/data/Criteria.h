#pragma once

#include "platform/data/JetSyntax.h"
#include "platform/data/Variant.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace data {

// Recordset criteria (Filter, Find) such as "Youth_Deleted = False AND Youth_Status = 3" or
// "Wk_Date=#3/3/2024#", evaluated on rows already read, with Jet's meaning: text compares
// without regard to case, dates by their day number, True is -1, and a comparison with Null is
// never true.
class Criteria {
public:
    // Parses the criteria and binds its field names to positions (`fieldIndex` returns -1 for
    // an unknown name). Throws DataError.
    Criteria(const QString& text, const std::function<int(const QString&)>& fieldIndex);

    // `row` holds the values of one row, one per field position.
    bool matches(const Variant* row) const;
    const QString& text() const { return m_text; }

private:
    QString m_text;
    std::unique_ptr<jet::Expr> m_expr;
};

} // namespace data
