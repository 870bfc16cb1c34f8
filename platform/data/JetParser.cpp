#include "platform/data/JetSyntax.h"

#include "platform/data/DataError.h"
#include "platform/data/Variant.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <iterator>

namespace data::jet {

namespace {

enum class Tok : std::uint8_t {
    End,
    Word,      // identifier or keyword
    Bracketed, // [name]
    Number,
    String,
    Date,
    Symbol,
};

struct Token {
    Tok kind = Tok::End;
    int pos = 0;
    int len = 0;
    QStringView text; // the token as written
    QString value;    // strings and bracketed names: their decoded text
    double number = 0.0;

    QString str() const
    {
        return kind == Tok::String || kind == Tok::Bracketed ? value : text.toString();
    }
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

class Lexer {
public:
    explicit Lexer(const QString& text) : m_text(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        tokens.reserve(static_cast<std::size_t>(m_text.size() / 4 + 4));
        const int n = static_cast<int>(m_text.size());
        int i = 0;
        while (true) {
            while (i < n && m_text[i].isSpace())
                ++i;
            Token t;
            t.pos = i;
            if (i >= n) {
                t.kind = Tok::End;
                tokens.push_back(t);
                return tokens;
            }
            const QChar c = m_text[i];
            if (isWordStart(c)) {
                int j = i + 1;
                while (j < n && isWordChar(m_text[j]))
                    ++j;
                t.kind = Tok::Word;
                i = j;
            } else if (c == QLatin1Char('[')) {
                const int close = static_cast<int>(m_text.indexOf(QLatin1Char(']'), i + 1));
                if (close < 0)
                    fail(i, QStringLiteral("a bracketed name is not closed"));
                t.kind = Tok::Bracketed;
                t.value = m_text.mid(i + 1, close - i - 1);
                if (t.value.isEmpty())
                    fail(i, QStringLiteral("an empty bracketed name"));
                i = close + 1;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                t.kind = Tok::String;
                // The text up to the closing quote; a doubled quote stands for one.
                int j = i + 1;
                bool doubled = false;
                while (true) {
                    j = static_cast<int>(m_text.indexOf(c, j));
                    if (j < 0)
                        fail(i, QStringLiteral("a text literal is not closed"));
                    if (j + 1 < n && m_text[j + 1] == c) {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.value = m_text.mid(i + 1, j - i - 1);
                if (doubled)
                    t.value.replace(QString(2, c), QString(c));
                i = j + 1;
            } else if (c == QLatin1Char('#')) {
                const int close = static_cast<int>(m_text.indexOf(QLatin1Char('#'), i + 1));
                if (close < 0)
                    fail(i, QStringLiteral("a date literal is not closed"));
                const QString inner = m_text.mid(i + 1, close - i - 1);
                if (!parseDateLiteral(inner, t.number))
                    fail(i, QStringLiteral("#%1# is not a valid date (month/day/year)").arg(inner));
                t.kind = Tok::Date;
                i = close + 1;
            } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n &&
                                       m_text[i + 1].isDigit() && !afterName(tokens))) {
                int j = i;
                while (j < n && m_text[j].isDigit())
                    ++j;
                if (j < n && m_text[j] == QLatin1Char('.')) {
                    ++j;
                    while (j < n && m_text[j].isDigit())
                        ++j;
                }
                if (j < n && (m_text[j] == QLatin1Char('e') || m_text[j] == QLatin1Char('E'))) {
                    int k = j + 1;
                    if (k < n && (m_text[k] == QLatin1Char('+') || m_text[k] == QLatin1Char('-')))
                        ++k;
                    if (k < n && m_text[k].isDigit()) {
                        while (k < n && m_text[k].isDigit())
                            ++k;
                        j = k;
                    }
                }
                if (j < n && isWordChar(m_text[j]))
                    fail(i, QStringLiteral("a malformed number"));
                t.kind = Tok::Number;
                i = j;
            } else {
                t.kind = Tok::Symbol;
                static const QLatin1String twoChar[] = {QLatin1String("<>"), QLatin1String("<="),
                                                        QLatin1String(">=")};
                bool matched = false;
                for (const QLatin1String& s : twoChar) {
                    if (QStringView(m_text).mid(i, 2) == s) {
                        i += 2;
                        matched = true;
                        break;
                    }
                }
                if (!matched) {
                    if (!QStringLiteral("=<>+-*/\\&(),.;^").contains(c))
                        fail(i, QStringLiteral("the character '%1' is not valid here").arg(c));
                    ++i;
                }
            }
            t.len = i - t.pos;
            t.text = QStringView(m_text).mid(t.pos, t.len);
            tokens.push_back(std::move(t));
        }
    }

    [[noreturn]] void fail(int pos, const QString& why) const
    {
        throw DataError(QStringLiteral("Syntax error at position %1: %2").arg(pos + 1).arg(why),
                        m_text);
    }

private:
    static bool afterName(const std::vector<Token>& tokens)
    {
        if (tokens.empty())
            return false;
        const Token& last = tokens.back();
        return last.kind == Tok::Word || last.kind == Tok::Bracketed ||
               (last.kind == Tok::Symbol && last.text == QLatin1String(")"));
    }

    const QString& m_text;
};

// Words that end an expression or a table reference; never taken as an alias.
bool isReservedWord(QStringView w)
{
    // Sorted, upper case.
    static const QLatin1String kWords[] = {
        QLatin1String("ALL"),         QLatin1String("AND"),     QLatin1String("AS"),
        QLatin1String("ASC"),         QLatin1String("BETWEEN"), QLatin1String("BY"),
        QLatin1String("CROSS"),       QLatin1String("DESC"),    QLatin1String("DISTINCT"),
        QLatin1String("DISTINCTROW"), QLatin1String("EQV"),     QLatin1String("EXISTS"),
        QLatin1String("FROM"),        QLatin1String("FULL"),    QLatin1String("GROUP"),
        QLatin1String("HAVING"),      QLatin1String("IMP"),     QLatin1String("IN"),
        QLatin1String("INNER"),       QLatin1String("INTO"),    QLatin1String("IS"),
        QLatin1String("JOIN"),        QLatin1String("LEFT"),    QLatin1String("LIKE"),
        QLatin1String("MOD"),         QLatin1String("NOT"),     QLatin1String("NULL"),
        QLatin1String("ON"),          QLatin1String("OR"),      QLatin1String("ORDER"),
        QLatin1String("OUTER"),       QLatin1String("PERCENT"), QLatin1String("RIGHT"),
        QLatin1String("SELECT"),      QLatin1String("SET"),     QLatin1String("TOP"),
        QLatin1String("UNION"),       QLatin1String("VALUES"),  QLatin1String("WHERE"),
        QLatin1String("XOR"),
    };
    if (w.size() > 11)
        return false;
    const auto* end = std::end(kWords);
    const auto* it =
        std::lower_bound(std::begin(kWords), end, w, [](const QLatin1String& a, QStringView b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    return it != end && QString::compare(*it, w, Qt::CaseInsensitive) == 0;
}

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text), m_tokens(Lexer(text).run()) {}

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

bool parseTime(QStringView text, double& fraction)
{
    // h:nn[:ss] [AM|PM]
    QStringView t = text.trimmed();
    int ampm = 0;
    if (t.endsWith(QLatin1String("AM"), Qt::CaseInsensitive)) {
        ampm = 1;
        t = t.chopped(2).trimmed();
    } else if (t.endsWith(QLatin1String("PM"), Qt::CaseInsensitive)) {
        ampm = 2;
        t = t.chopped(2).trimmed();
    }
    const auto parts = t.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty() || parts[i].size() > 2)
            return false;
    }
    int hour = values[0];
    if (ampm != 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (ampm == 2 ? 12 : 0);
    }
    const QTime time(hour, values[1], values[2]);
    if (!time.isValid())
        return false;
    fraction = time.msecsSinceStartOfDay() / 86400000.0;
    return true;
}

} // namespace

bool parseDateLiteral(const QString& text, double& dayNumber)
{
    const QString t = text.trimmed();
    // Date part: up to the first blank; a time alone has a ':' before any blank.
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    QStringView datePart = blank < 0 ? QStringView(t) : QStringView(t).left(blank);
    QStringView timePart = blank < 0 ? QStringView() : QStringView(t).mid(blank + 1);
    if (datePart.contains(QLatin1Char(':'))) {
        // A time alone is a time on the zero date.
        double fraction = 0.0;
        if (!parseTime(t, fraction))
            return false;
        dayNumber = fraction;
        return true;
    }
    int year = 0, month = 0, day = 0;
    bool ok1 = false, ok2 = false, ok3 = false;
    if (datePart.count(QLatin1Char('/')) == 2) {
        const auto p = datePart.split(QLatin1Char('/'));
        month = p[0].toInt(&ok1);
        day = p[1].toInt(&ok2);
        year = p[2].toInt(&ok3);
        // Years from 100 on, written with three or four digits (two-digit years are not
        // guessed at).
        if (p[2].size() < 3 || p[2].size() > 4 || p[0].size() > 2 || p[1].size() > 2)
            return false;
    } else if (datePart.count(QLatin1Char('-')) == 2) {
        const auto p = datePart.split(QLatin1Char('-'));
        year = p[0].toInt(&ok1);
        month = p[1].toInt(&ok2);
        day = p[2].toInt(&ok3);
        if (p[0].size() < 3 || p[0].size() > 4 || p[1].size() > 2 || p[2].size() > 2)
            return false;
    } else {
        return false;
    }
    if (!ok1 || !ok2 || !ok3 || year < 100)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    double fraction = 0.0;
    if (!timePart.trimmed().isEmpty() && !parseTime(timePart, fraction))
        return false;
    const double whole = jetdate::fromDate(date);
    // Days before the zero date carry their time as a positive fraction below the day.
    dayNumber = whole < 0 ? whole - fraction : whole + fraction;
    return true;
}

Statement parseStatement(const QString& sql)
{
    return Parser(sql).statement();
}

std::unique_ptr<Expr> parseCriteria(const QString& text)
{
    return Parser(text).criteria();
}

} // namespace data::jet
