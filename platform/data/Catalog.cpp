#include "platform/data/Catalog.h"

#include "platform/data/DataError.h"

#include <sqlite3.h>

#include <map>

namespace data {

namespace {

// Translations kept per catalog; the program sends a few dozen statement forms, but ids and
// dates written into the text make each use a new text, so the cache is bounded.
constexpr int kMaxCachedTranslations = 1024;

QString columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

// A literal default value as written in the table definition; Empty for an expression.
Variant parseDefault(const QString& text, FieldType type)
{
    if (text.isNull())
        return Variant::null();
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return Variant::null();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('\'')) && t.endsWith(QLatin1Char('\''))) {
        QString inner = t.mid(1, t.size() - 2);
        inner.replace(QLatin1String("''"), QLatin1String("'"));
        return Variant(inner);
    }
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (!ok)
        return Variant(); // computed by the database
    switch (type) {
    case FieldType::Boolean:
        return Variant(n != 0.0);
    case FieldType::Integer:
        return Variant(static_cast<std::int16_t>(n));
    case FieldType::Long:
        return Variant(static_cast<std::int32_t>(n));
    case FieldType::Currency:
        return Variant::currency(n);
    case FieldType::Date:
        return Variant::date(n);
    case FieldType::Text:
        return Variant(t);
    default:
        return Variant(n);
    }
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db));
            const int code = sqlite3_extended_errcode(db);
            sqlite3_finalize(m_stmt);
            throw DataError(message, QString::fromUtf8(sql), QString(), code);
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

void checkDone(sqlite3* db, int rc, const char* sql)
{
    if (rc != SQLITE_DONE)
        throw DataError(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql), QString(),
                        sqlite3_extended_errcode(db));
}

} // namespace

FieldType fieldTypeFromDeclaration(const QString& declaredType)
{
    const QString t = declaredType.toUpper();
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("CLOB")))
        return FieldType::Text;
    if (t.contains(QLatin1String("BOOL")) || t.contains(QLatin1String("YESNO")) ||
        t.contains(QLatin1String("BIT")))
        return FieldType::Boolean;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return FieldType::Date;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY")))
        return FieldType::Currency;
    if (t.contains(QLatin1String("SMALLINT")) || t.contains(QLatin1String("TINYINT")))
        return FieldType::Integer;
    if (t.contains(QLatin1String("INT")))
        return FieldType::Long;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUMERIC")) ||
        t.contains(QLatin1String("DECIMAL")))
        return FieldType::Double;
    return FieldType::Unknown;
}

const char* fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Unknown:
        return "Unknown";
    case FieldType::Boolean:
        return "Boolean";
    case FieldType::Integer:
        return "Integer";
    case FieldType::Long:
        return "Long";
    case FieldType::Double:
        return "Double";
    case FieldType::Currency:
        return "Currency";
    case FieldType::Date:
        return "Date";
    case FieldType::Text:
        return "Text";
    }
    return "?";
}

void TableInfo::addColumn(ColumnInfo column)
{
    if (column.sqlName.isEmpty())
        column.sqlName = data::sqlName(column.name);
    if (column.rowidAlias)
        rowidColumn = static_cast<int>(columns.size());
    m_byName.insert(NameKey(column.name), static_cast<int>(columns.size()));
    columns.push_back(std::move(column));
}

int TableInfo::indexOf(const QString& column) const
{
    return m_byName.value(NameKey(column), -1);
}

QString sqlName(const QString& name)
{
    bool plain = !name.isEmpty() && !name[0].isDigit();
    for (const QChar c : name) {
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_')))) {
            plain = false;
            break;
        }
    }
    if (plain) {
        const QByteArray latin = name.toLatin1();
        plain = sqlite3_keyword_check(latin.constData(), static_cast<int>(latin.size())) == 0;
    }
    if (plain)
        return name;
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

std::shared_ptr<const Catalog> Catalog::load(sqlite3* db)
{
    static const char* kTables = "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND "
                                 "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name";
    struct Found {
        QString name;
        QString sql;
    };
    std::vector<Found> found;
    QString layout; // the whole table layout: the key under which catalogs are shared
    {
        Statement stmt(db, kTables);
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            found.push_back({columnText(stmt.get(), 0), columnText(stmt.get(), 1)});
            layout += found.back().sql + QLatin1Char('\n');
        }
        checkDone(db, rc, kTables);
    }

    static std::mutex registryMutex;
    static std::map<QString, std::shared_ptr<const Catalog>> registry;
    {
        std::lock_guard lock(registryMutex);
        const auto it = registry.find(layout);
        if (it != registry.end())
            return it->second;
    }

    auto catalog = std::make_shared<Catalog>();
    for (const Found& f : found) {
        TableInfo table;
        table.name = f.name;
        table.sqlName = sqlName(f.name);
        const QByteArray pragma =
            "PRAGMA table_info(\"" + f.name.toUtf8().replace('"', "\"\"") + "\")";
        Statement stmt(db, pragma.constData());
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            ColumnInfo column;
            column.name = columnText(stmt.get(), 1);
            const QString declared = columnText(stmt.get(), 2);
            column.type = fieldTypeFromDeclaration(declared);
            column.notNull = sqlite3_column_int(stmt.get(), 3) != 0;
            const bool primaryKey = sqlite3_column_int(stmt.get(), 5) != 0;

            const char* collation = nullptr;
            const QByteArray tableName = f.name.toUtf8();
            const QByteArray columnName = column.name.toUtf8();
            if (sqlite3_table_column_metadata(db, "main", tableName.constData(),
                                              columnName.constData(), nullptr, &collation, nullptr,
                                              nullptr, nullptr) == SQLITE_OK &&
                collation)
                column.noCase = qstricmp(collation, "NOCASE") == 0;
            column.rowidAlias =
                primaryKey && declared.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            column.defaultValue = sqlite3_column_type(stmt.get(), 4) == SQLITE_NULL
                                      ? Variant::null()
                                      : parseDefault(columnText(stmt.get(), 4), column.type);
            table.addColumn(std::move(column));
        }
        checkDone(db, rc, pragma.constData());
        catalog->m_byName.insert(NameKey(table.name), static_cast<int>(catalog->m_tables.size()));
        catalog->m_tables.push_back(std::move(table));
    }

    std::lock_guard lock(registryMutex);
    const auto [it, inserted] = registry.emplace(layout, catalog);
    return it->second;
}

const TableInfo* Catalog::table(const QString& name) const
{
    const int i = m_byName.value(NameKey(name), -1);
    return i < 0 ? nullptr : &m_tables[static_cast<std::size_t>(i)];
}

std::shared_ptr<const Translation> Catalog::cachedTranslation(const QString& jetSql) const
{
    std::lock_guard lock(m_cacheMutex);
    return m_cache.value(jetSql);
}

void Catalog::storeTranslation(const QString& jetSql, std::shared_ptr<const Translation> t) const
{
    std::lock_guard lock(m_cacheMutex);
    if (m_cache.size() >= kMaxCachedTranslations)
        m_cache.clear();
    m_cache.insert(jetSql, std::move(t));
}

} // namespace data
