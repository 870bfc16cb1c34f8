#pragma once

#include "platform/data/DataEnums.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The syntax tree of a statement in the Jet dialect, as the parser builds it and the translator
// and the recordset criteria read it.
namespace data {
struct TableInfo;
}

namespace data::jet {

struct Select;

struct Expr {
    enum class Kind : std::uint8_t {
        Number,   // text: the digits as written
        String,   // text: the value
        Date,     // number: the day number
        Boolean,  // flag: the value
        Null,     //
        Column,   // text: name, qualifier: table or alias (may be empty)
        Unary,    // op, args[0]
        Binary,   // op, args[0], args[1]; And and Or: args[0..] (a whole chain)
        Concat,   // args: the operands of a chain of &
        Call,     // text: function name; args; flag: Count(*)
        IsNull,   // args[0]; flag: IS NOT NULL
        Between,  // args[0] BETWEEN args[1] AND args[2]; flag: NOT BETWEEN
        In,       // args[0] IN (args[1..]) or IN (select); flag: NOT IN
        Like,     // args[0] LIKE args[1]; flag: NOT LIKE
        Subquery, // select
        Exists,   // select
    };
    enum class Op : std::uint8_t {
        None,
        Or,
        And,
        Not,
        Eq,
        Ne,
        Lt,
        Le,
        Gt,
        Ge,
        Add,
        Sub,
        Mul,
        Div,
        IntDiv,
        Mod,
        Pow,
        Neg,
        Plus,
    };

    Kind kind = Kind::Null;
    Op op = Op::None;
    bool flag = false;
    int pos = 0;    // where it starts in the statement text
    int height = 1; // levels of the tree from here down (sub-selects included)
    double number = 0.0;
    QString text;
    QString qualifier;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;

    // Filled by the translator while it resolves names and types.
    struct Analysis {
        bool done = false;
        FieldType type = FieldType::Unknown;
        bool condition = false;    // a truth value: a comparison, And, Or, Not, Is Null...
        bool noCaseColumn = false; // a bare column that compares without regard to case
        bool aggregate = false;    // holds an aggregate function (sub-selects aside)
        const data::TableInfo* table = nullptr; // a resolved column: its table...
        int column = -1;                        // ...and its position there
        const void* source = nullptr;           // ...and the table reference it came through
        QString sql;                            // a sub-select: its translation
    };
    Analysis info;
};

struct TableRef {
    enum class Kind : std::uint8_t { Table, Join, Subquery };
    enum class JoinKind : std::uint8_t { Inner, Left, Right, Cross };

    Kind kind = Kind::Table;
    JoinKind join = JoinKind::Inner;
    int pos = 0;
    int height = 1; // as Expr::height
    QString name;   // table name
    QString alias;  // may be empty
    std::unique_ptr<TableRef> left, right;
    std::unique_ptr<Expr> on;
    std::unique_ptr<Select> select;
};

struct SelectItem {
    enum class Kind : std::uint8_t { AllColumns, TableColumns, Expression };
    Kind kind = Kind::Expression;
    QString table; // for TableColumns
    std::unique_ptr<Expr> expr;
    QString alias;
    int pos = 0;
};

struct OrderItem {
    std::unique_ptr<Expr> expr;
    bool descending = false;
};

struct Select {
    enum class Quantifier : std::uint8_t { All, Distinct, DistinctRow };
    Quantifier quantifier = Quantifier::All;
    long long top = -1; // TOP n; -1 when absent
    int pos = 0;
    int height = 1; // as Expr::height
    std::vector<SelectItem> items;
    std::vector<std::unique_ptr<TableRef>> from; // comma-separated sources; empty without FROM
    std::unique_ptr<Expr> where;
    std::vector<std::unique_ptr<Expr>> groupBy;
    std::unique_ptr<Expr> having;
    std::vector<OrderItem> orderBy;
};

struct Assignment {
    std::unique_ptr<Expr> column; // a Column expression
    std::unique_ptr<Expr> value;
};

struct Statement {
    enum class Kind : std::uint8_t { Select, Insert, Update, Delete };
    Kind kind = Kind::Select;
    std::unique_ptr<Select> select; // the query, or the rows an INSERT takes
    // INSERT
    QString table;
    QStringList columns;
    std::vector<std::unique_ptr<Expr>> values; // INSERT ... VALUES
    // UPDATE and DELETE
    std::unique_ptr<TableRef> target;
    std::vector<Assignment> assignments;
    std::vector<SelectItem> deleteList; // what stands between DELETE and FROM
    std::unique_ptr<Expr> where;
};

// The deepest nesting a statement may have, in parentheses, sub-selects, NOT and signs, and in
// the tree of its expressions; deeper statements are refused, never run into the stack's end.
constexpr int kMaxNesting = 200;

// Parses one statement. Throws DataError naming the statement when it is not valid Jet SQL or
// uses a form this program does not support.
Statement parseStatement(const QString& sql);

// Parses recordset criteria (Filter and Find): an expression over field names.
std::unique_ptr<Expr> parseCriteria(const QString& text);

// Reads a date literal's text (between the # marks): month/day/four-digit year, or
// year-month-day, optionally followed by a time; or a time alone. Returns false when it is not
// a valid date.
bool parseDateLiteral(const QString& text, double& dayNumber);

} // namespace data::jet
