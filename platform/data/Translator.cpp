// Translating a statement: the statements the Emitter writes (SELECT, INSERT, UPDATE, DELETE)
// and the translations kept per catalog. The names, types and expressions within the statements
// are in TranslatorExpressions.cpp.
#include "platform/data/Translator.h"

#include "platform/data/DataError.h"
#include "platform/data/TranslatorEmitter.h"

#include <QStringList>

#include <algorithm>

namespace data {

using namespace jet;

namespace detail {

namespace {

// Jet capitalisation of the aggregates that name their result column ("CountOfYouth_ID").
QString aggregateName(const QString& function)
{
    static const char* const kNames[] = {"Count", "Sum", "Min", "Max", "First"};
    for (const char* n : kNames) {
        if (sameName(function, QLatin1String(n)))
            return QLatin1String(n);
    }
    return QString();
}

} // namespace

Translation Emitter::run(Statement& st)
{
    Translation t;
    t.jetSql = m_jet;
    switch (st.kind) {
    case Statement::Kind::Select: {
        t.kind = Translation::Kind::Select;
        SelectText s = select(*st.select, nullptr, nullptr, true);
        t.sql = std::move(s.sql);
        t.columns = std::move(s.columns);
        t.hiddenColumns = s.hidden;
        t.baseTable = s.baseTable;
        t.updatableSql = std::move(s.updatableSql);
        t.refreshSql = std::move(s.refreshSql);
        break;
    }
    case Statement::Kind::Insert:
        t.kind = Translation::Kind::Insert;
        t.sql = insert(st);
        break;
    case Statement::Kind::Update:
        t.kind = Translation::Kind::Update;
        t.sql = update(st);
        break;
    case Statement::Kind::Delete:
        t.kind = Translation::Kind::Delete;
        t.sql = remove(st);
        break;
    }
    return t;
}

[[noreturn]] void Emitter::fail(const QString& why) const
{
    throw DataError(QStringLiteral("Cannot translate the statement: %1").arg(why), m_jet);
}

const TableInfo& Emitter::storedTable(const QString& name) const
{
    const TableInfo* table = m_catalog.table(name);
    if (!table)
        throw DataError(QStringLiteral("no such table: %1").arg(name), m_jet);
    return *table;
}

// SELECT ------------------------------------------------------------------------------------------

QString Emitter::fromText(TableRef& ref, const Scope* scope, bool allInner)
{
    switch (ref.kind) {
    case TableRef::Kind::Table: {
        const TableInfo& table = storedTable(ref.name);
        QString t = table.sqlName;
        if (!ref.alias.isEmpty())
            t += QLatin1String(" AS ") + quoteName(ref.alias);
        return t;
    }
    case TableRef::Kind::Subquery:
        for (const auto& [r, sql] : m_subqueryText) {
            if (r == &ref)
                return QLatin1Char('(') + sql + QLatin1String(") AS ") + quoteName(ref.alias);
        }
        return QString();
    case TableRef::Kind::Join:
        break;
    }
    if (allInner) {
        // Inner joins associate: the tables in their written order, every ON condition at
        // the end, which SQLite plans freely.
        QStringList tables;
        QStringList conditions;
        flattenInner(ref, scope, tables, conditions);
        return tables.join(QLatin1String(" INNER JOIN ")) + QLatin1String(" ON ") +
               conditions.join(QLatin1String(" AND "));
    }
    auto side = [&](TableRef& r) -> QString {
        const QString t = fromText(r, scope, false);
        return r.kind == TableRef::Kind::Join ? QLatin1Char('(') + t + QLatin1Char(')') : t;
    };
    const char* kind = ref.join == TableRef::JoinKind::Left    ? " LEFT JOIN "
                       : ref.join == TableRef::JoinKind::Right ? " RIGHT JOIN "
                                                               : " INNER JOIN ";
    return side(*ref.left) + QLatin1String(kind) + side(*ref.right) + QLatin1String(" ON ") +
           condition(*ref.on, scope);
}

void Emitter::flattenInner(TableRef& ref, const Scope* scope, QStringList& tables,
                           QStringList& conditions)
{
    if (ref.kind != TableRef::Kind::Join) {
        tables << fromText(ref, scope, false);
        return;
    }
    flattenInner(*ref.left, scope, tables, conditions);
    flattenInner(*ref.right, scope, tables, conditions);
    conditions << condition(*ref.on, scope);
}

bool Emitter::onlyInnerJoins(const TableRef& ref)
{
    if (ref.kind != TableRef::Kind::Join)
        return true;
    return ref.join == TableRef::JoinKind::Inner && onlyInnerJoins(*ref.left) &&
           onlyInnerJoins(*ref.right);
}

void Emitter::collectColumnSources(const Expr& e, std::vector<const void*>& out)
{
    if (e.kind == Expr::Kind::Column && e.info.source)
        out.push_back(e.info.source);
    for (const auto& a : e.args)
        collectColumnSources(*a, out);
}

const Source& Emitter::sourceOf(const Scope& scope, const QString& name)
{
    const Source* src = findSource(&scope, name, false);
    if (!src)
        fail(QStringLiteral("'%1.*' names no table of the statement").arg(name));
    return *src;
}

SelectText Emitter::select(Select& s, const Scope* outer, const std::vector<FieldType>* targets,
                           bool topLevel)
{
    SelectText out;
    Scope scope;
    scope.outer = outer;
    for (auto& ref : s.from)
        collectSources(*ref, scope);

    // The FROM text first: it resolves the ON conditions.
    QStringList fromParts;
    for (auto& ref : s.from)
        fromParts << fromText(*ref, &scope, onlyInnerJoins(*ref));
    const QString from = fromParts.join(QLatin1String(", "));

    // Columns
    bool aggregate = !s.groupBy.empty() || s.having;
    QStringList items;
    int unnamed = 0;
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        SelectItem& item = s.items[i];
        switch (item.kind) {
        case SelectItem::Kind::AllColumns:
            items << QStringLiteral("*");
            for (const Source& src : scope.sources) {
                for (const ColumnInfo& c : src.table->columns)
                    out.columns.push_back({c.name, c.type, -1});
            }
            break;
        case SelectItem::Kind::TableColumns: {
            const Source& src = sourceOf(scope, item.table);
            items << src.sqlRefName + QLatin1String(".*");
            for (const ColumnInfo& c : src.table->columns)
                out.columns.push_back({c.name, c.type, -1});
            break;
        }
        case SelectItem::Kind::Expression: {
            Expr& e = *item.expr;
            analyze(e, &scope);
            aggregate = aggregate || e.info.aggregate;
            FieldType type = e.info.condition ? FieldType::Boolean : e.info.type;
            QString text;
            if (targets && i < targets->size()) {
                text = stored(e, &scope, (*targets)[i]);
                type = (*targets)[i];
            } else {
                text = value(e, &scope);
            }
            if (s.quantifier == Select::Quantifier::Distinct && needsNoCase(e))
                text = collated(text, e);
            const bool bareColumn = e.kind == Expr::Kind::Column && e.info.table;
            QString name = item.alias;
            if (name.isEmpty()) {
                if (bareColumn) {
                    name = e.info.table->columns[static_cast<std::size_t>(e.info.column)].name;
                } else if (e.kind == Expr::Kind::Call && e.args.size() == 1 &&
                           e.args[0]->kind == Expr::Kind::Column &&
                           !aggregateName(e.text).isEmpty()) {
                    name = aggregateName(e.text) + QLatin1String("Of") +
                           (e.args[0]->info.table
                                ? e.args[0]
                                      ->info.table
                                      ->columns[static_cast<std::size_t>(e.args[0]->info.column)]
                                      .name
                                : e.args[0]->text);
                } else {
                    name = QStringLiteral("Expr%1").arg(1000 + unnamed++);
                }
            }
            if (!bareColumn || !item.alias.isEmpty())
                text += QLatin1String(" AS ") + quoteName(name);
            items << text;
            out.columns.push_back({name, type, -1});
            break;
        }
        }
    }

    const QString where = s.where ? condition(*s.where, &scope) : QString();

    QStringList groupTerms;
    for (auto& g : s.groupBy) {
        QString t = value(*g, &scope);
        if (needsNoCase(*g))
            t = collated(t, *g);
        groupTerms << t;
    }
    const QString having = s.having ? condition(*s.having, &scope) : QString();

    QStringList orderTerms;
    QStringList orderKeys; // without direction, to compare with the grouping
    bool orderedByKey = false;
    for (auto& o : s.orderBy) {
        QString t = value(*o.expr, &scope);
        if (needsNoCase(*o.expr))
            t = collated(t, *o.expr);
        orderKeys << t;
        orderTerms << (o.descending ? t + QLatin1String(" DESC") : t);
        const auto& i = o.expr->info;
        if (o.expr->kind == Expr::Kind::Column && i.table && scope.sources.size() == 1 &&
            i.table->rowidColumn == i.column)
            orderedByKey = true;
    }

    // DISTINCTROW: one row per distinct combination of the source rows that give columns.
    // With one table, or with grouping, it changes nothing.
    if (s.quantifier == Select::Quantifier::DistinctRow && !aggregate && scope.sources.size() > 1) {
        std::vector<const void*> used;
        for (auto& item : s.items) {
            if (item.kind == SelectItem::Kind::AllColumns) {
                for (const Source& src : scope.sources)
                    used.push_back(&src);
            } else if (item.kind == SelectItem::Kind::TableColumns) {
                used.push_back(&sourceOf(scope, item.table));
            } else {
                collectColumnSources(*item.expr, used);
            }
        }
        for (const Source& src : scope.sources) {
            if (std::find(used.begin(), used.end(), &src) == used.end())
                continue;
            if (src.subquery)
                fail(QStringLiteral("DISTINCTROW over a sub-select"));
            groupTerms << src.sqlRefName + QLatin1String(".rowid");
        }
    }

    QString body = QLatin1String(" FROM ") + from;
    if (from.isEmpty())
        body.clear();
    if (!where.isEmpty())
        body += QLatin1String(" WHERE ") + where;
    QString grouping;
    if (!groupTerms.isEmpty())
        grouping += QLatin1String(" GROUP BY ") + groupTerms.join(QLatin1String(", "));
    if (!having.isEmpty())
        grouping += QLatin1String(" HAVING ") + having;
    const QString order = orderTerms.isEmpty()
                              ? QString()
                              : QLatin1String(" ORDER BY ") + orderTerms.join(QLatin1String(", "));
    const QString head = s.quantifier == Select::Quantifier::Distinct
                             ? QStringLiteral("SELECT DISTINCT ")
                             : QStringLiteral("SELECT ");
    const QString itemText = items.join(QLatin1String(", "));

    if (s.top < 0) {
        out.sql = head + itemText + body + grouping + order;
    } else {
        // TOP n keeps the rows that tie with the n-th in the ORDER BY order.
        bool unique = orderTerms.isEmpty() || orderedByKey;
        if (!unique && !s.groupBy.empty()) {
            unique = true;
            for (const QString& g : groupTerms)
                unique = unique && orderKeys.contains(g);
        }
        const QString limit = QStringLiteral(" LIMIT %1").arg(s.top);
        if (unique) {
            out.sql = head + itemText + body + grouping + order + limit;
        } else {
            if (s.quantifier == Select::Quantifier::Distinct)
                fail(QStringLiteral("TOP with DISTINCT over an order that may tie"));
            out.sql = QLatin1String("SELECT * FROM (") + head + itemText +
                      QLatin1String(", RANK() OVER (ORDER BY ") +
                      orderTerms.join(QLatin1String(", ")) + QLatin1String(") AS jet_rank") + body +
                      grouping + QLatin1String(") WHERE jet_rank <= ") + QString::number(s.top) +
                      QLatin1String(" ORDER BY jet_rank");
            out.hidden = 1;
        }
    }

    // A query over one stored table without grouping or DISTINCT can write rows back.
    if (topLevel && s.from.size() == 1 && s.from[0]->kind == TableRef::Kind::Table && !aggregate &&
        s.quantifier != Select::Quantifier::Distinct && s.top < 0) {
        const Source& src = scope.sources.front();
        out.baseTable = src.table;
        std::size_t c = 0;
        for (const SelectItem& item : s.items) {
            if (item.kind == SelectItem::Kind::Expression) {
                const Expr& e = *item.expr;
                if (e.kind == Expr::Kind::Column && e.info.table == src.table)
                    out.columns[c].baseColumn = e.info.column;
                ++c;
            } else {
                for (std::size_t k = 0; k < src.table->columns.size(); ++k)
                    out.columns[c++].baseColumn = static_cast<int>(k);
            }
        }
        const QString rowid = src.sqlRefName + QLatin1String(".rowid");
        out.updatableSql = head + itemText + QLatin1String(", ") + rowid +
                           QLatin1String(" AS jet_rowid") + body + order;
        out.refreshSql = QLatin1String("SELECT ") + itemText + QLatin1String(", ") + rowid +
                         QLatin1String(" FROM ") + from + QLatin1String(" WHERE ") + rowid +
                         QLatin1String(" = ?1");
    }
    return out;
}

// INSERT, UPDATE, DELETE --------------------------------------------------------------------------

QString Emitter::insert(Statement& st)
{
    const TableInfo& table = storedTable(st.table);
    std::vector<FieldType> targets;
    QStringList columns;
    if (st.columns.isEmpty()) {
        for (const ColumnInfo& c : table.columns) {
            targets.push_back(c.type);
            columns << c.sqlName;
        }
    } else {
        for (const QString& name : st.columns) {
            const int i = table.indexOf(name);
            if (i < 0)
                throw DataError(
                    QStringLiteral("table %1 has no column named %2").arg(table.name, name), m_jet);
            targets.push_back(table.columns[static_cast<std::size_t>(i)].type);
            columns << table.columns[static_cast<std::size_t>(i)].sqlName;
        }
    }
    QString sql = QLatin1String("INSERT INTO ") + table.sqlName + QLatin1String(" (") +
                  columns.join(QLatin1String(", ")) + QLatin1String(") ");
    if (st.select)
        return sql + select(*st.select, nullptr, &targets, false).sql;
    if (st.values.size() != targets.size())
        fail(QStringLiteral("%1 values for %2 columns").arg(st.values.size()).arg(targets.size()));
    Scope none;
    QStringList values;
    for (std::size_t i = 0; i < st.values.size(); ++i)
        values << stored(*st.values[i], &none, targets[i]);
    return sql + QLatin1String("VALUES (") + values.join(QLatin1String(", ")) + QLatin1Char(')');
}

const Source& Emitter::targetOf(const std::vector<const void*>& named)
{
    const Source* target = nullptr;
    for (const void* p : named) {
        const auto* src = static_cast<const Source*>(p);
        if (target && src != target)
            fail(QStringLiteral("a change of rows of more than one table"));
        target = src;
    }
    if (!target)
        fail(QStringLiteral("name the table whose rows are to change"));
    if (target->subquery)
        fail(QStringLiteral("a change of rows of a sub-select"));
    return *target;
}

QString Emitter::update(Statement& st)
{
    Scope scope;
    collectSources(*st.target, scope);
    std::vector<const void*> named;
    for (Assignment& a : st.assignments) {
        analyze(*a.column, &scope);
        if (!a.column->info.table)
            throw DataError(QStringLiteral("no such column: %1").arg(a.column->text), m_jet);
        named.push_back(a.column->info.source);
    }
    const Source& target = targetOf(named);
    const bool single = st.target->kind == TableRef::Kind::Table;

    QStringList sets;
    for (Assignment& a : st.assignments) {
        const ColumnInfo& c =
            target.table->columns[static_cast<std::size_t>(a.column->info.column)];
        if (!single) {
            analyze(*a.value, &scope);
            std::vector<const void*> used;
            collectColumnSources(*a.value, used);
            for (const void* u : used) {
                if (u != &target)
                    fail(QStringLiteral("a value taken from another table of the join"));
            }
        }
        sets << c.sqlName + QLatin1String(" = ") + stored(*a.value, &scope, c.type);
    }
    QString sql = QLatin1String("UPDATE ") + target.table->sqlName;
    if (!target.alias.isEmpty())
        sql += QLatin1String(" AS ") + quoteName(target.alias);
    sql += QLatin1String(" SET ") + sets.join(QLatin1String(", "));
    if (single) {
        if (st.where)
            sql += QLatin1String(" WHERE ") + condition(*st.where, &scope);
        return sql;
    }
    // Over a join: each row of the target table changes once, however many rows of the
    // other tables it meets.
    QString inner = QLatin1String("SELECT ") + target.sqlRefName + QLatin1String(".rowid FROM ") +
                    fromText(*st.target, &scope, onlyInnerJoins(*st.target));
    if (st.where)
        inner += QLatin1String(" WHERE ") + condition(*st.where, &scope);
    return sql + QLatin1String(" WHERE rowid IN (") + inner + QLatin1Char(')');
}

QString Emitter::remove(Statement& st)
{
    Scope scope;
    collectSources(*st.target, scope);
    if (st.target->kind == TableRef::Kind::Table) {
        // Jet deletes whole rows whatever the list between DELETE and FROM names.
        const Source& src = scope.sources.front();
        QString sql = QLatin1String("DELETE FROM ") + src.table->sqlName;
        if (!src.alias.isEmpty())
            sql += QLatin1String(" AS ") + quoteName(src.alias);
        if (st.where)
            sql += QLatin1String(" WHERE ") + condition(*st.where, &scope);
        return sql;
    }
    std::vector<const void*> named;
    for (SelectItem& item : st.deleteList) {
        if (item.kind == SelectItem::Kind::TableColumns) {
            named.push_back(&sourceOf(scope, item.table));
        } else if (item.kind == SelectItem::Kind::Expression) {
            analyze(*item.expr, &scope);
            collectColumnSources(*item.expr, named);
        } else {
            fail(QStringLiteral("DELETE * over a join; name the table (DELETE t.* FROM ...)"));
        }
    }
    const Source& target = targetOf(named);
    QString inner = QLatin1String("SELECT ") + target.sqlRefName + QLatin1String(".rowid FROM ") +
                    fromText(*st.target, &scope, onlyInnerJoins(*st.target));
    if (st.where)
        inner += QLatin1String(" WHERE ") + condition(*st.where, &scope);
    return QLatin1String("DELETE FROM ") + target.table->sqlName +
           QLatin1String(" WHERE rowid IN (") + inner + QLatin1Char(')');
}

} // namespace detail

Translation Translator::translateUncached(const Catalog& catalog, const QString& jetSql)
{
    Statement st = parseStatement(jetSql);
    return detail::Emitter(catalog, jetSql).run(st);
}

std::shared_ptr<const Translation> Translator::translate(const Catalog& catalog,
                                                         const QString& jetSql)
{
    if (auto cached = catalog.cachedTranslation(jetSql))
        return cached;
    auto t = std::make_shared<const Translation>(translateUncached(catalog, jetSql));
    catalog.storeTranslation(jetSql, t);
    return t;
}

} // namespace data
