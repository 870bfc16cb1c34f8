#pragma once

#include "platform/data/Catalog.h"
#include "platform/data/JetSyntax.h"
#include "platform/data/Translator.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <utility>
#include <vector>

// The translator's working parts. The Emitter writes a parsed statement anew as SQLite text: the
// statements (SELECT, INSERT, UPDATE, DELETE) in Translator.cpp, the names, types and
// expressions within them in TranslatorExpressions.cpp.
namespace data::detail {

// A table reference visible to the names of one SELECT (or UPDATE, DELETE).
struct Source {
    const jet::TableRef* ref = nullptr;
    QString alias;      // as written; empty when the table is not aliased
    QString refName;    // what qualifies its columns: the alias, else the table's own name
    QString sqlRefName; // refName as SQLite text writes it
    const TableInfo* table = nullptr;
    bool subquery = false;
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

struct SelectText {
    QString sql;
    std::vector<OutputColumn> columns;
    int hidden = 0;
    const TableInfo* baseTable = nullptr;
    QString updatableSql;
    QString refreshSql;
};

inline bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Connections turn off SQLite's reading of unknown "names" as text, so a quoted name that
// matches nothing is an error, never a string.
inline QString quoteName(const QString& name)
{
    return sqlName(name);
}

class Emitter {
public:
    Emitter(const Catalog& catalog, const QString& jetSql) : m_catalog(catalog), m_jet(jetSql) {}
    Translation run(jet::Statement& st);

private:
    [[noreturn]] void fail(const QString& why) const;
    const TableInfo& storedTable(const QString& name) const;

    // Scopes (TranslatorExpressions.cpp)
    void collectSources(jet::TableRef& ref, Scope& scope);
    const Source* findSource(const Scope* scope, const QString& name, bool outerToo = true) const;
    void resolveColumn(jet::Expr& e, const Scope* scope);

    // Analysis: types, truth values, aggregates (TranslatorExpressions.cpp)
    void requireTruthOperand(const jet::Expr& e, const char* op);
    void analyze(jet::Expr& e, const Scope* scope);
    void analyzeBinary(jet::Expr& e);
    void argumentCount(const jet::Expr& e, std::size_t n);
    void analyzeCall(jet::Expr& e);

    // Expressions (TranslatorExpressions.cpp)

    // The expression as a value: truth values read -1 (true) and 0 (false), as in Jet.
    QString value(jet::Expr& e, const Scope* scope);

    // The expression where SQLite wants a truth value (WHERE, ON, HAVING, And, Or, Not).
    QString condition(jet::Expr& e, const Scope* scope);
    static bool needsNoCase(const jet::Expr& e);
    static QString collated(const QString& text, const jet::Expr& e);

    // The left operand of a text comparison carries the case-insensitive collation unless a
    // column on either side already does.
    QString comparisonOperand(jet::Expr& e, jet::Expr& other, const Scope* scope);
    QString raw(jet::Expr& e, const Scope* scope);
    QString columnText(const jet::Expr& e) const;
    QString binary(jet::Expr& e, const Scope* scope);

    // Year(date column) = yyyy as a range of day numbers, so that an index on the column
    // serves it. Only for years from 1900 on: earlier days with a time of day are negative
    // numbers that do not grow with the time.
    QString yearRange(jet::Expr& a, jet::Expr& b, const Scope* scope);

    // Jet's & reads Null as empty text and gives Null only when every operand is Null.
    QString concat(jet::Expr& e, const Scope* scope);
    QString call(jet::Expr& e, const Scope* scope);

    // A value written into a column: Yes/No as -1/0 (never Null), money rounded to 4 places.
    QString stored(jet::Expr& e, const Scope* scope, FieldType target);

    // SELECT (Translator.cpp)
    QString fromText(jet::TableRef& ref, const Scope* scope, bool allInner);
    void flattenInner(jet::TableRef& ref, const Scope* scope, QStringList& tables,
                      QStringList& conditions);
    static bool onlyInnerJoins(const jet::TableRef& ref);
    static void collectColumnSources(const jet::Expr& e, std::vector<const void*>& out);
    const Source& sourceOf(const Scope& scope, const QString& name);
    SelectText select(jet::Select& s, const Scope* outer, const std::vector<FieldType>* targets,
                      bool topLevel);

    // INSERT, UPDATE, DELETE (Translator.cpp)
    QString insert(jet::Statement& st);

    // The one stored table whose rows an UPDATE or DELETE over a join changes.
    const Source& targetOf(const std::vector<const void*>& named);
    QString update(jet::Statement& st);
    QString remove(jet::Statement& st);

    const Catalog& m_catalog;
    const QString& m_jet;
    std::deque<TableInfo> m_synthetic;
    std::vector<std::pair<const jet::TableRef*, QString>> m_subqueryText;
};

} // namespace data::detail
