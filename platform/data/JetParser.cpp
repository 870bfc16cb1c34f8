// Parsing a statement in the Jet dialect into its syntax tree. Reading its tokens is in
// JetLexer.cpp.
#include "platform/data/JetSyntax.h"

#include "platform/data/DataError.h"
#include "platform/data/JetLexer.h"

#include <algorithm>

namespace data::jet {

namespace {

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text), m_tokens(tokenize(text)) {}

    Statement statement()
    {
        Statement s;
        if (isWord("SELECT")) {
            s.kind = Statement::Kind::Select;
            s.select = select();
        } else if (isWord("INSERT")) {
            s.kind = Statement::Kind::Insert;
            insert(s);
        } else if (isWord("UPDATE")) {
            s.kind = Statement::Kind::Update;
            update(s);
        } else if (isWord("DELETE")) {
            s.kind = Statement::Kind::Delete;
            remove(s);
        } else if (peek().kind == Tok::End) {
            fail(QStringLiteral("the statement is empty"));
        } else {
            fail(QStringLiteral("only SELECT, INSERT, UPDATE and DELETE statements are supported"));
        }
        if (isWord("UNION"))
            fail(QStringLiteral("UNION is not supported"));
        if (isSymbol(";"))
            next();
        if (peek().kind != Tok::End)
            fail(QStringLiteral("text follows the end of the statement"));
        return s;
    }

    std::unique_ptr<Expr> criteria()
    {
        auto e = expr();
        if (peek().kind != Tok::End)
            fail(QStringLiteral("text follows the end of the criteria"));
        return e;
    }

private:
    // Token access

    const Token& peek(int ahead = 0) const
    {
        const std::size_t i = std::min(m_at + static_cast<std::size_t>(ahead), m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token& next()
    {
        const Token& t = m_tokens[m_at];
        if (m_at + 1 < m_tokens.size())
            ++m_at;
        return t;
    }
    bool isWord(const char* w, int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Tok::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char* s, int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Tok::Symbol && t.text == QLatin1String(s);
    }
    bool acceptWord(const char* w)
    {
        if (!isWord(w))
            return false;
        next();
        return true;
    }
    bool acceptSymbol(const char* s)
    {
        if (!isSymbol(s))
            return false;
        next();
        return true;
    }
    void expectWord(const char* w)
    {
        if (!acceptWord(w))
            fail(QStringLiteral("%1 expected").arg(QLatin1String(w)));
    }
    void expectSymbol(const char* s)
    {
        if (!acceptSymbol(s))
            fail(QStringLiteral("'%1' expected").arg(QLatin1String(s)));
    }
    bool isName(int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Tok::Bracketed || (t.kind == Tok::Word && !isReservedWord(t.text));
    }
    QString name(const char* what)
    {
        if (!isName())
            fail(QStringLiteral("%1 expected").arg(QLatin1String(what)));
        return next().str();
    }

    [[noreturn]] void fail(const QString& why) const
    {
        const Token& t = peek();
        const QString near = t.kind == Tok::End
                                 ? QStringLiteral("at the end")
                                 : QStringLiteral("near '%1'").arg(m_text.mid(t.pos, t.len));
        throw DataError(QStringLiteral("Syntax error %1: %2").arg(near, why), m_text);
    }

    // Statements

    std::unique_ptr<Select> select()
    {
        const Nesting nesting(*this);
        auto s = std::make_unique<Select>();
        s->pos = peek().pos;
        expectWord("SELECT");
        if (acceptWord("DISTINCTROW"))
            s->quantifier = Select::Quantifier::DistinctRow;
        else if (acceptWord("DISTINCT"))
            s->quantifier = Select::Quantifier::Distinct;
        else
            acceptWord("ALL");
        if (acceptWord("TOP")) {
            if (peek().kind != Tok::Number)
                fail(QStringLiteral("a row count expected after TOP"));
            bool ok = false;
            s->top = next().text.toLongLong(&ok);
            if (!ok || s->top < 0)
                fail(QStringLiteral("TOP needs a whole number"));
            if (isWord("PERCENT"))
                fail(QStringLiteral("TOP ... PERCENT is not supported"));
        }
        do {
            s->items.push_back(selectItem());
        } while (acceptSymbol(","));
        if (isWord("INTO"))
            fail(QStringLiteral("SELECT ... INTO is not supported"));
        if (acceptWord("FROM")) {
            do {
                s->from.push_back(tableRef());
            } while (acceptSymbol(","));
        }
        if (acceptWord("WHERE"))
            s->where = expr();
        if (acceptWord("GROUP")) {
            expectWord("BY");
            do {
                s->groupBy.push_back(expr());
            } while (acceptSymbol(","));
        }
        if (acceptWord("HAVING"))
            s->having = expr();
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem item;
                item.expr = expr();
                if (acceptWord("DESC"))
                    item.descending = true;
                else
                    acceptWord("ASC");
                s->orderBy.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        seal(*s);
        return s;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        item.pos = peek().pos;
        if (acceptSymbol("*")) {
            item.kind = SelectItem::Kind::AllColumns;
            return item;
        }
        if (isName() && isSymbol(".", 1) && isSymbol("*", 2)) {
            item.kind = SelectItem::Kind::TableColumns;
            item.table = next().str();
            next();
            next();
            return item;
        }
        item.kind = SelectItem::Kind::Expression;
        item.expr = expr();
        if (acceptWord("AS")) {
            if (peek().kind == Tok::String)
                item.alias = next().str();
            else
                item.alias = name("a column name");
        }
        return item;
    }

    std::unique_ptr<TableRef> tableRef()
    {
        auto left = tablePrimary();
        while (true) {
            TableRef::JoinKind kind;
            if (isWord("INNER") && isWord("JOIN", 1)) {
                kind = TableRef::JoinKind::Inner;
                next();
            } else if (isWord("LEFT") || isWord("RIGHT")) {
                kind = isWord("LEFT") ? TableRef::JoinKind::Left : TableRef::JoinKind::Right;
                next();
                acceptWord("OUTER");
            } else if (isWord("JOIN")) {
                fail(QStringLiteral("INNER, LEFT or RIGHT expected before JOIN"));
            } else {
                break;
            }
            const int pos = peek().pos;
            expectWord("JOIN");
            auto join = std::make_unique<TableRef>();
            join->kind = TableRef::Kind::Join;
            join->join = kind;
            join->pos = pos;
            join->left = std::move(left);
            join->right = tablePrimary();
            expectWord("ON");
            join->on = expr();
            seal(*join);
            left = std::move(join);
        }
        return left;
    }

    std::unique_ptr<TableRef> tablePrimary()
    {
        auto ref = std::make_unique<TableRef>();
        ref->pos = peek().pos;
        if (acceptSymbol("(")) {
            const Nesting nesting(*this);
            if (isWord("SELECT")) {
                ref->kind = TableRef::Kind::Subquery;
                ref->select = select();
                acceptSymbol(";");
                expectSymbol(")");
                acceptWord("AS");
                ref->alias = name("a name for the sub-select");
                seal(*ref);
                return ref;
            }
            auto inner = tableRef();
            expectSymbol(")");
            return inner;
        }
        ref->kind = TableRef::Kind::Table;
        ref->name = name("a table name");
        if (isSymbol("."))
            fail(QStringLiteral("tables of other databases are not supported"));
        if (acceptWord("AS"))
            ref->alias = name("a table alias");
        else if (isName())
            ref->alias = next().str();
        return ref;
    }

    void insert(Statement& s)
    {
        expectWord("INSERT");
        expectWord("INTO");
        s.table = name("a table name");
        if (acceptSymbol("(")) {
            do {
                s.columns.push_back(name("a column name"));
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        if (acceptWord("VALUES")) {
            expectSymbol("(");
            do {
                s.values.push_back(expr());
            } while (acceptSymbol(","));
            expectSymbol(")");
        } else if (isWord("SELECT")) {
            s.select = select();
        } else {
            fail(QStringLiteral("VALUES or SELECT expected"));
        }
    }

    void update(Statement& s)
    {
        expectWord("UPDATE");
        if (!acceptWord("DISTINCTROW"))
            acceptWord("DISTINCT");
        s.target = tableRef();
        expectWord("SET");
        do {
            Assignment a;
            a.column = primary();
            if (a.column->kind != Expr::Kind::Column)
                fail(QStringLiteral("a column name expected"));
            expectSymbol("=");
            a.value = expr();
            s.assignments.push_back(std::move(a));
        } while (acceptSymbol(","));
        if (acceptWord("WHERE"))
            s.where = expr();
    }

    void remove(Statement& s)
    {
        expectWord("DELETE");
        if (!acceptWord("DISTINCTROW"))
            acceptWord("DISTINCT");
        if (!isWord("FROM")) {
            do {
                s.deleteList.push_back(selectItem());
            } while (acceptSymbol(","));
        }
        expectWord("FROM");
        s.target = tableRef();
        if (isSymbol(","))
            fail(QStringLiteral("DELETE from several tables is not supported"));
        if (acceptWord("WHERE"))
            s.where = expr();
    }

    // Expressions, loosest binding first

    std::unique_ptr<Expr> make(Expr::Kind kind, int pos)
    {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->pos = pos;
        return e;
    }

    std::unique_ptr<Expr> binary(Expr::Op op, std::unique_ptr<Expr> a, std::unique_ptr<Expr> b)
    {
        auto e = make(Expr::Kind::Binary, a->pos);
        e->op = op;
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return sealed(std::move(e));
    }

    // Nesting of the parser's own calls (parentheses, sub-selects, NOT, signs).
    class Nesting {
    public:
        explicit Nesting(Parser& parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > kMaxNesting)
                m_parser.tooDeep();
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& m_parser;
    };

    [[noreturn]] void tooDeep() const
    {
        fail(QStringLiteral("the statement is nested too deeply (more than %1 levels)")
                 .arg(kMaxNesting));
    }

    void checkHeight(int height) const
    {
        if (height > kMaxNesting)
            tooDeep();
    }

    // A finished node knows how deep the tree below it is; chains of operators that the parser
    // reads in a loop (a + b + c ...) grow the tree without nesting the parser, so they are
    // held to the same bound here.
    std::unique_ptr<Expr> sealed(std::unique_ptr<Expr> e) const
    {
        int below = e->select ? e->select->height : 0;
        for (const auto& a : e->args)
            below = std::max(below, a->height);
        e->height = below + 1;
        checkHeight(e->height);
        return e;
    }

    void seal(Select& s) const
    {
        int below = 0;
        auto take = [&](const std::unique_ptr<Expr>& e) {
            if (e)
                below = std::max(below, e->height);
        };
        for (const SelectItem& item : s.items)
            take(item.expr);
        for (const auto& ref : s.from)
            below = std::max(below, ref->height);
        take(s.where);
        for (const auto& g : s.groupBy)
            take(g);
        take(s.having);
        for (const OrderItem& o : s.orderBy)
            take(o.expr);
        s.height = below + 1;
        checkHeight(s.height);
    }

    void seal(TableRef& ref) const
    {
        int below = ref.select ? ref.select->height : 0;
        for (const TableRef* part : {ref.left.get(), ref.right.get()})
            if (part)
                below = std::max(below, part->height);
        if (ref.on)
            below = std::max(below, ref.on->height);
        ref.height = below + 1;
        checkHeight(ref.height);
    }

    std::unique_ptr<Expr> expr()
    {
        const Nesting nesting(*this);
        return orExpr();
    }

    // A chain of Or (or of And) is one node holding every operand, so that a long chain makes
    // neither the parser nor the tree deep.
    std::unique_ptr<Expr> orExpr()
    {
        auto e = andExpr();
        std::unique_ptr<Expr> chain;
        while (true) {
            if (acceptWord("OR")) {
                if (!chain)
                    chain = startChain(Expr::Op::Or, std::move(e));
                chain->args.push_back(andExpr());
            } else if (isWord("XOR") || isWord("EQV") || isWord("IMP")) {
                fail(QStringLiteral("%1 is not supported").arg(peek().text.toString().toUpper()));
            } else {
                break;
            }
        }
        return chain ? sealed(std::move(chain)) : std::move(e);
    }

    std::unique_ptr<Expr> andExpr()
    {
        auto e = notExpr();
        if (!isWord("AND"))
            return e;
        auto chain = startChain(Expr::Op::And, std::move(e));
        while (acceptWord("AND"))
            chain->args.push_back(notExpr());
        return sealed(std::move(chain));
    }

    std::unique_ptr<Expr> startChain(Expr::Op op, std::unique_ptr<Expr> first)
    {
        auto chain = make(Expr::Kind::Binary, first->pos);
        chain->op = op;
        chain->args.push_back(std::move(first));
        return chain;
    }

    std::unique_ptr<Expr> notExpr()
    {
        if (isWord("NOT")) {
            const Nesting nesting(*this);
            const int pos = next().pos;
            auto e = make(Expr::Kind::Unary, pos);
            e->op = Expr::Op::Not;
            e->args.push_back(notExpr());
            return sealed(std::move(e));
        }
        return comparison();
    }

    std::unique_ptr<Expr> comparison()
    {
        auto e = concat();
        while (true) {
            const Token& t = peek();
            Expr::Op op = Expr::Op::None;
            if (t.kind == Tok::Symbol) {
                if (t.text == QLatin1String("="))
                    op = Expr::Op::Eq;
                else if (t.text == QLatin1String("<>"))
                    op = Expr::Op::Ne;
                else if (t.text == QLatin1String("<"))
                    op = Expr::Op::Lt;
                else if (t.text == QLatin1String("<="))
                    op = Expr::Op::Le;
                else if (t.text == QLatin1String(">"))
                    op = Expr::Op::Gt;
                else if (t.text == QLatin1String(">="))
                    op = Expr::Op::Ge;
            }
            if (op != Expr::Op::None) {
                next();
                e = binary(op, std::move(e), concat());
                continue;
            }
            if (isWord("IS")) {
                next();
                auto n = make(Expr::Kind::IsNull, e->pos);
                n->flag = acceptWord("NOT");
                expectWord("NULL");
                n->args.push_back(std::move(e));
                e = sealed(std::move(n));
                continue;
            }
            const bool negated =
                isWord("NOT") && (isWord("BETWEEN", 1) || isWord("IN", 1) || isWord("LIKE", 1));
            if (negated)
                next();
            if (acceptWord("BETWEEN")) {
                auto b = make(Expr::Kind::Between, e->pos);
                b->flag = negated;
                b->args.push_back(std::move(e));
                b->args.push_back(concat());
                expectWord("AND");
                b->args.push_back(concat());
                e = sealed(std::move(b));
                continue;
            }
            if (acceptWord("IN")) {
                auto in = make(Expr::Kind::In, e->pos);
                in->flag = negated;
                in->args.push_back(std::move(e));
                expectSymbol("(");
                if (isWord("SELECT")) {
                    in->select = select();
                    acceptSymbol(";");
                } else {
                    do {
                        in->args.push_back(expr());
                    } while (acceptSymbol(","));
                }
                expectSymbol(")");
                e = sealed(std::move(in));
                continue;
            }
            if (acceptWord("LIKE")) {
                auto like = make(Expr::Kind::Like, e->pos);
                like->flag = negated;
                like->args.push_back(std::move(e));
                like->args.push_back(concat());
                e = sealed(std::move(like));
                continue;
            }
            if (negated)
                fail(QStringLiteral("BETWEEN, IN or LIKE expected after NOT"));
            return e;
        }
    }

    std::unique_ptr<Expr> concat()
    {
        auto e = additive();
        if (!isSymbol("&"))
            return e;
        auto chain = make(Expr::Kind::Concat, e->pos);
        chain->args.push_back(std::move(e));
        while (acceptSymbol("&"))
            chain->args.push_back(additive());
        return sealed(std::move(chain));
    }

    std::unique_ptr<Expr> additive()
    {
        auto e = modulo();
        while (true) {
            if (acceptSymbol("+"))
                e = binary(Expr::Op::Add, std::move(e), modulo());
            else if (acceptSymbol("-"))
                e = binary(Expr::Op::Sub, std::move(e), modulo());
            else
                return e;
        }
    }

    std::unique_ptr<Expr> modulo()
    {
        auto e = integerDivision();
        while (acceptWord("MOD"))
            e = binary(Expr::Op::Mod, std::move(e), integerDivision());
        return e;
    }

    std::unique_ptr<Expr> integerDivision()
    {
        auto e = multiplicative();
        while (acceptSymbol("\\"))
            e = binary(Expr::Op::IntDiv, std::move(e), multiplicative());
        return e;
    }

    std::unique_ptr<Expr> multiplicative()
    {
        auto e = unary();
        while (true) {
            if (acceptSymbol("*"))
                e = binary(Expr::Op::Mul, std::move(e), unary());
            else if (acceptSymbol("/"))
                e = binary(Expr::Op::Div, std::move(e), unary());
            else
                return e;
        }
    }

    std::unique_ptr<Expr> unary()
    {
        if (isSymbol("-") || isSymbol("+")) {
            const Nesting nesting(*this);
            const Token& t = next();
            const bool minus = t.text == QLatin1String("-");
            auto operand = unary();
            if (minus && operand->kind == Expr::Kind::Number && !operand->text.startsWith(u'-')) {
                operand->text.prepend(QLatin1Char('-'));
                operand->pos = t.pos;
                return operand;
            }
            auto e = make(Expr::Kind::Unary, t.pos);
            e->op = minus ? Expr::Op::Neg : Expr::Op::Plus;
            e->args.push_back(std::move(operand));
            return sealed(std::move(e));
        }
        return power();
    }

    std::unique_ptr<Expr> power()
    {
        auto e = primary();
        while (acceptSymbol("^"))
            e = binary(Expr::Op::Pow, std::move(e), primary());
        return e;
    }

    std::unique_ptr<Expr> primary()
    {
        const Token& t = peek();
        switch (t.kind) {
        case Tok::Number: {
            auto e = make(Expr::Kind::Number, t.pos);
            e->text = next().str();
            return e;
        }
        case Tok::String: {
            auto e = make(Expr::Kind::String, t.pos);
            e->text = next().str();
            return e;
        }
        case Tok::Date: {
            auto e = make(Expr::Kind::Date, t.pos);
            e->number = next().number;
            return e;
        }
        case Tok::Bracketed:
            return column();
        case Tok::Word:
            break;
        case Tok::Symbol:
            if (isSymbol("(")) {
                const int pos = next().pos;
                if (isWord("SELECT")) {
                    auto e = make(Expr::Kind::Subquery, pos);
                    e->select = select();
                    acceptSymbol(";"); // a sub-select may end with its own ';'
                    expectSymbol(")");
                    return sealed(std::move(e));
                }
                auto e = expr();
                expectSymbol(")");
                return e;
            }
            fail(QStringLiteral("a value expected"));
        case Tok::End:
            fail(QStringLiteral("the statement ends too early"));
        }

        // A word: a literal, EXISTS, a function call or a column.
        if (isWord("TRUE") || isWord("YES") || isWord("FALSE") || isWord("NO")) {
            auto e = make(Expr::Kind::Boolean, t.pos);
            e->flag = isWord("TRUE") || isWord("YES");
            next();
            return e;
        }
        if (isWord("NULL")) {
            auto e = make(Expr::Kind::Null, t.pos);
            next();
            return e;
        }
        if (isWord("EXISTS")) {
            auto e = make(Expr::Kind::Exists, next().pos);
            expectSymbol("(");
            e->select = select();
            acceptSymbol(";");
            expectSymbol(")");
            return sealed(std::move(e));
        }
        if (isSymbol("(", 1) && !isReservedWord(t.text)) {
            auto e = make(Expr::Kind::Call, t.pos);
            e->text = next().str();
            next(); // (
            if (acceptSymbol("*")) {
                e->flag = true;
            } else if (!isSymbol(")")) {
                if (isWord("DISTINCT") || isWord("ALL"))
                    fail(QStringLiteral("DISTINCT inside a function is not supported"));
                do {
                    e->args.push_back(expr());
                } while (acceptSymbol(","));
            }
            expectSymbol(")");
            return sealed(std::move(e));
        }
        if (isReservedWord(t.text))
            fail(QStringLiteral("a value expected"));
        return column();
    }

    std::unique_ptr<Expr> column()
    {
        auto e = make(Expr::Kind::Column, peek().pos);
        e->text = next().str();
        if (isSymbol(".")) {
            next();
            if (isSymbol("*"))
                fail(QStringLiteral("'table.*' is only allowed in the column list"));
            e->qualifier = e->text;
            e->text = name("a column name");
            if (isSymbol("."))
                fail(QStringLiteral("names of more than two parts are not supported"));
        }
        return e;
    }

    const QString& m_text;
    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
    int m_depth = 0;
};

} // namespace

Statement parseStatement(const QString& sql)
{
    return Parser(sql).statement();
}

std::unique_ptr<Expr> parseCriteria(const QString& text)
{
    return Parser(text).criteria();
}

} // namespace data::jet
