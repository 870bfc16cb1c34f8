// Writing a recordset's rows back to the file: field changes, AddNew, Update with its check for
// another user's change, CancelUpdate and Delete; and RowWriter, which adds rows as AddNew and
// Update store them. Opening, reading and moving are in Recordset.cpp.
#include "platform/data/Recordset.h"

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/RowStore.h"
#include "platform/data/RowStream.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace data {

namespace {

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

void bindValue(sqlite3_stmt* stmt, int index, const Variant& v)
{
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case Variant::Type::String: {
        const QByteArray utf8 = v.text().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        break;
    }
    case Variant::Type::Boolean:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(v.number()));
        break;
    default:
        sqlite3_bind_double(stmt, index, v.number());
        break;
    }
}

[[noreturn]] void mismatch(const Variant& v, const ColumnInfo& column)
{
    throw DataError(
        QStringLiteral("The value %1 does not fit the field %2 (%3).")
            .arg(v.debugString(), column.name, QLatin1String(fieldTypeName(column.type))));
}

// A value as the column keeps it: Yes/No as -1/0 and never Null, whole numbers rounded half
// to even and range-checked, money to 4 places, dates from date values, numbers or date text.
Variant normalizeForColumn(const Variant& v, const ColumnInfo& column)
{
    if (v.isEmpty() || v.isNull())
        return column.type == FieldType::Boolean ? Variant(false) : Variant::null();
    const bool blank = v.isString() && v.text().trimmed().isEmpty();
    auto number = [&]() -> double {
        if (!v.isString())
            return v.number();
        const auto n = text::parseNumber(v.text());
        if (!n)
            mismatch(v, column);
        return *n;
    };
    switch (column.type) {
    case FieldType::Boolean: {
        if (v.isString()) {
            const QString t = v.text().trimmed();
            if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
                t.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0)
                return Variant(true);
            if (blank || t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
                t.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0)
                return Variant(false);
        }
        return Variant(number() != 0.0);
    }
    case FieldType::Integer:
    case FieldType::Long: {
        if (blank)
            return Variant::null();
        const double r = std::nearbyint(number());
        const bool small = column.type == FieldType::Integer;
        const double lo = small ? -32768.0 : -2147483648.0;
        const double hi = small ? 32767.0 : 2147483647.0;
        if (!std::isfinite(r) || r < lo || r > hi)
            mismatch(v, column);
        return small ? Variant(static_cast<std::int16_t>(r))
                     : Variant(static_cast<std::int32_t>(r));
    }
    case FieldType::Double:
        return blank ? Variant::null() : Variant(number());
    case FieldType::Currency:
        return blank ? Variant::null() : Variant::currency(number());
    case FieldType::Date: {
        if (blank)
            return Variant::null();
        if (v.isString()) {
            const auto d = text::parseDate(v.text());
            if (!d)
                mismatch(v, column);
            return Variant::date(*d);
        }
        return Variant::date(v.number());
    }
    case FieldType::Text:
        if (v.isString())
            return v;
        if (v.isDate())
            return Variant(text::formatGeneralDate(v.number()));
        if (v.isBoolean())
            return Variant(v.number() != 0.0 ? QStringLiteral("True") : QStringLiteral("False"));
        return Variant(text::formatNumber(v.number()));
    case FieldType::Unknown:
        break;
    }
    return v;
}

// Holds the data file's write lock while a row is compared and written: its own transaction,
// or a savepoint inside the caller's. Rolled back unless committed.
class WriteScope {
public:
    explicit WriteScope(detail::Session& session)
        : m_session(session), m_outer(session.transactionDepth == 0)
    {
        detail::runSimple(m_session, m_outer ? "BEGIN IMMEDIATE" : "SAVEPOINT jet_row");
    }
    ~WriteScope()
    {
        if (m_done || !m_session.isOpen())
            return;
        const char* undo = m_outer ? "ROLLBACK" : "ROLLBACK TO jet_row; RELEASE jet_row";
        sqlite3_exec(m_session.db(), undo, nullptr, nullptr, nullptr);
    }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    void commit()
    {
        detail::runSimple(m_session, m_outer ? "COMMIT" : "RELEASE jet_row");
        m_done = true;
    }

private:
    detail::Session& m_session;
    bool m_outer;
    bool m_done = false;
};

} // namespace

// Writing -----------------------------------------------------------------------------------------

void Recordset::setFieldValue(int field, const Variant& value)
{
    requireWritable();
    requireCurrentRow();
    const auto& columns = m_store->columns;
    const OutputColumn& out = columns[static_cast<std::size_t>(field)];
    if (out.baseColumn < 0)
        throw DataError(
            QStringLiteral("The field %1 is computed and cannot be updated.").arg(out.name),
            m_source);
    const TableInfo& table = *m_store->translation->baseTable;
    const ColumnInfo& column = table.columns[static_cast<std::size_t>(out.baseColumn)];
    const Variant stored = normalizeForColumn(value, column);
    if (column.rowidAlias && m_editMode != adEditAdd) {
        if (stored == fieldValue(field))
            return;
        throw DataError(QStringLiteral("The field %1 cannot be changed.").arg(column.name),
                        m_source);
    }
    if (m_editMode == adEditNone) {
        m_editMode = adEditInProgress;
        m_pending.assign(columns.size(), Variant());
        m_changed.assign(columns.size(), 0);
        emit willChangeRecord(adRsnFirstChange);
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].baseColumn == out.baseColumn) {
            m_pending[i] = stored;
            m_changed[i] = 1;
        }
    }
    emit fieldChangeComplete(field);
}

void Recordset::AddNew()
{
    requireWritable();
    emit flushRequested();
    saveIfEditing();
    emit willMove(adRsnAddNew);
    m_rowBeforeAdd = currentStoreRow();
    const auto& columns = m_store->columns;
    const TableInfo& table = *m_store->translation->baseTable;
    m_pending.assign(columns.size(), Variant::null());
    m_changed.assign(columns.size(), 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].baseColumn < 0)
            continue;
        const Variant& d =
            table.columns[static_cast<std::size_t>(columns[i].baseColumn)].defaultValue;
        if (!d.isEmpty())
            m_pending[i] = d;
    }
    m_editMode = adEditAdd;
    m_deletedRow = -1;
    emit rowsChanged();
    emit moveComplete(adRsnAddNew);
}

void Recordset::Update()
{
    requireOpen();
    emit flushRequested();
    if (m_editMode == adEditNone)
        return;
    requireWritable();
    m_session->requireOpen();
    emit willChangeRecord(adRsnUpdate);

    const auto& columns = m_store->columns;
    const TableInfo& table = *m_store->translation->baseTable;
    // The table columns written, each once.
    std::vector<int> written;
    std::vector<Variant> values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!m_changed[i])
            continue;
        const int base = columns[i].baseColumn;
        if (std::find(written.begin(), written.end(), base) != written.end())
            continue;
        written.push_back(base);
        values.push_back(m_pending[i]);
    }
    auto columnName = [&](int base) -> QString {
        return quoted(table.columns[static_cast<std::size_t>(base)].name);
    };

    if (m_editMode == adEditAdd) {
        QString sql = QLatin1String("INSERT INTO ") + quoted(table.name);
        if (written.empty()) {
            sql += QLatin1String(" DEFAULT VALUES");
        } else {
            QStringList names;
            QStringList marks;
            for (std::size_t k = 0; k < written.size(); ++k) {
                names << columnName(written[k]);
                marks << QLatin1Char('?') + QString::number(k + 1);
            }
            sql += QLatin1String(" (") + names.join(QLatin1String(", ")) +
                   QLatin1String(") VALUES (") + marks.join(QLatin1String(", ")) + QLatin1Char(')');
        }
        qint64 rowid = 0;
        {
            auto stmt = m_session->prepare(sql, m_source);
            for (std::size_t k = 0; k < values.size(); ++k)
                bindValue(stmt.get(), static_cast<int>(k + 1), values[k]);
            if (sqlite3_step(stmt.get()) != SQLITE_DONE)
                m_session->fail(m_source, sql);
            rowid = sqlite3_last_insert_rowid(m_session->db());
        }
        std::vector<Variant> fresh = refreshRow(rowid);
        if (fresh.empty())
            fresh = m_pending;
        m_store->append(rowid, std::move(fresh));
        ++m_store->generation;
        const int added = static_cast<int>(m_store->rows.size()) - 1;
        m_pinned.push_back(added);
        m_editMode = adEditNone;
        m_pending.clear();
        m_changed.clear();
        syncView();
        m_pos = viewIndexOf(added);
        m_deletedRow = -1;
        emit recordChangeComplete(adRsnUpdate);
        emit rowsChanged();
        emit moveComplete(adRsnUpdate);
        return;
    }

    const int current = currentStoreRow();
    if (current < 0)
        throw DataError(detail::kNoCurrentRow, m_source);
    auto& row = m_store->rows[static_cast<std::size_t>(current)];
    QStringList sets;
    for (std::size_t k = 0; k < written.size(); ++k)
        sets << columnName(written[k]) + QLatin1String(" = ?") + QString::number(k + 1);
    const QString sql = QLatin1String("UPDATE ") + quoted(table.name) + QLatin1String(" SET ") +
                        sets.join(QLatin1String(", ")) + QLatin1String(" WHERE rowid = ?") +
                        QString::number(written.size() + 1);
    std::vector<Variant> fresh;
    {
        // The file stays locked for writing from the comparison to the write, so no other
        // connection can change the row in between.
        WriteScope scope(*m_session);
        const std::vector<Variant> stored = refreshRow(row.rowid);
        if (stored.empty())
            throw DataError(kRemovedByAnotherUser, m_source, sql,
                            DataError::kRemovedByAnotherUserCode);
        const Variant* read = m_store->values(static_cast<std::size_t>(current));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (m_changed[i] && checksConflicts(static_cast<int>(i)) && stored[i] != read[i]) {
                m_conflictRow = current;
                throw DataError(kChangedByAnotherUser, m_source, QString(),
                                DataError::kChangedByAnotherUserCode);
            }
        }
        auto stmt = m_session->prepare(sql, m_source);
        for (std::size_t k = 0; k < values.size(); ++k)
            bindValue(stmt.get(), static_cast<int>(k + 1), values[k]);
        sqlite3_bind_int64(stmt.get(), static_cast<int>(written.size() + 1), row.rowid);
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            m_session->fail(m_source, sql);
        fresh = refreshRow(row.rowid);
        scope.commit();
    }
    if (m_conflictRow == current)
        m_conflictRow = -1;
    Variant* stored = m_store->values(static_cast<std::size_t>(current));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (fresh.empty()) {
            if (m_changed[i])
                stored[i] = m_pending[i];
        } else {
            stored[i] = std::move(fresh[i]);
        }
    }
    m_editMode = adEditNone;
    m_pending.clear();
    m_changed.clear();
    emit recordChangeComplete(adRsnUpdate);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        emit fieldChangeComplete(i);
}

bool Recordset::checksConflicts(int field) const
{
    const QString& name = m_store->columns[static_cast<std::size_t>(field)].name;
    return !m_unchecked.contains(name, Qt::CaseInsensitive);
}

void Recordset::excludeFromConflictCheck(const QString& field)
{
    if (!m_unchecked.contains(field, Qt::CaseInsensitive))
        m_unchecked << field;
}

// Reads one row again from the file (after its save met another user's change), so that it
// shows what the file holds now.
void Recordset::reloadRow(int storeRow)
{
    if (!m_session || !m_session->isOpen())
        return;
    std::vector<Variant> fresh =
        refreshRow(m_store->rows[static_cast<std::size_t>(storeRow)].rowid);
    if (fresh.empty())
        return;
    Variant* stored = m_store->values(static_cast<std::size_t>(storeRow));
    for (std::size_t i = 0; i < fresh.size(); ++i)
        stored[i] = std::move(fresh[i]);
}

void Recordset::UpdateBatch(AffectEnum)
{
    Update();
}

void Recordset::CancelUpdate()
{
    requireOpen();
    if (m_editMode == adEditNone)
        return;
    if (m_editMode == adEditAdd) {
        emit willMove(adRsnUndoAddNew);
        m_editMode = adEditNone;
        m_pending.clear();
        m_changed.clear();
        syncView();
        const int back = m_rowBeforeAdd >= 0 ? viewIndexOf(m_rowBeforeAdd) : -1;
        m_pos = back >= 0 ? back : 0;
        m_deletedRow = -1;
        emit rowsChanged();
        emit moveComplete(adRsnUndoAddNew);
        return;
    }
    std::vector<int> changed;
    for (std::size_t i = 0; i < m_changed.size(); ++i) {
        if (m_changed[i])
            changed.push_back(static_cast<int>(i));
    }
    m_editMode = adEditNone;
    m_pending.clear();
    m_changed.clear();
    const int current = currentStoreRow();
    if (current >= 0 && current == m_conflictRow) {
        // Another user's change stopped the save: the row shows what the file holds now.
        m_conflictRow = -1;
        reloadRow(current);
        changed.clear();
        for (int i = 0; i < fieldCount(); ++i)
            changed.push_back(i);
    }
    emit recordChangeComplete(adRsnUndoUpdate);
    for (int i : changed)
        emit fieldChangeComplete(i);
}

void Recordset::Delete(AffectEnum)
{
    requireWritable();
    if (m_editMode == adEditAdd) {
        CancelUpdate();
        return;
    }
    requireCurrentRow();
    m_session->requireOpen();
    m_editMode = adEditNone;
    m_pending.clear();
    m_changed.clear();
    emit willChangeRecord(adRsnDelete);
    const int current = currentStoreRow();
    auto& row = m_store->rows[static_cast<std::size_t>(current)];
    const QString sql = QLatin1String("DELETE FROM ") +
                        quoted(m_store->translation->baseTable->name) +
                        QLatin1String(" WHERE rowid = ?1");
    {
        auto stmt = m_session->prepare(sql, m_source);
        sqlite3_bind_int64(stmt.get(), 1, row.rowid);
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            m_session->fail(m_source, sql);
    }
    row.deleted = true;
    ++m_store->generation;
    ++m_store->deletions;
    syncView();
    emit recordChangeComplete(adRsnDelete);
    emit rowsChanged();
}

// Adding rows one at a time
// ------------------------------------------------------------------------

struct RowWriter::State {
    std::shared_ptr<detail::Session> session; // outlives the statement
    std::shared_ptr<const Catalog> catalog;   // keeps the columns alive
    std::vector<const ColumnInfo*> columns;
    QString sql;
    std::optional<detail::Session::Statement> statement;
};

RowWriter::RowWriter(Connection& connection, const QString& table, const QStringList& fields)
    : m_state(new State)
{
    State& s = *m_state;
    s.session = connection.session();
    if (!s.session)
        throw DataError(QStringLiteral("The connection is not open."));
    s.session->requireOpen();
    s.catalog = s.session->sharedCatalog();
    const TableInfo* info = s.catalog->table(table);
    if (!info)
        throw DataError(QStringLiteral("The table %1 cannot be found.").arg(table));
    QStringList names;
    QStringList marks;
    for (const QString& field : fields) {
        const int index = info->indexOf(field);
        if (index < 0)
            throw DataError(QStringLiteral("The table %1 has no field %2.").arg(info->name, field));
        s.columns.push_back(&info->columns[static_cast<std::size_t>(index)]);
        names << quoted(s.columns.back()->name);
        marks << QLatin1Char('?') + QString::number(marks.size() + 1);
    }
    s.sql = QLatin1String("INSERT INTO ") + quoted(info->name) +
            (names.isEmpty() ? QStringLiteral(" DEFAULT VALUES")
                             : QLatin1String(" (") + names.join(QLatin1String(", ")) +
                                   QLatin1String(") VALUES (") + marks.join(QLatin1String(", ")) +
                                   QLatin1Char(')'));
    s.statement.emplace(s.session->prepare(s.sql, s.sql));
}

RowWriter::~RowWriter() = default;

void RowWriter::add(const std::vector<Variant>& values)
{
    State& s = *m_state;
    if (values.size() != s.columns.size())
        throw DataError(
            QStringLiteral("%1 values for %2 fields.").arg(values.size()).arg(s.columns.size()),
            s.sql);
    sqlite3_stmt* stmt = s.statement->get();
    for (std::size_t k = 0; k < values.size(); ++k)
        bindValue(stmt, static_cast<int>(k + 1), normalizeForColumn(values[k], *s.columns[k]));
    if (sqlite3_step(stmt) != SQLITE_DONE)
        s.session->fail(s.sql, s.sql);
    sqlite3_reset(stmt);
}

IndexesSetAside::IndexesSetAside(Connection& connection) : m_connection(connection)
{
    const auto& session = connection.session();
    if (!session)
        throw DataError(QStringLiteral("The connection is not open."));
    if (session->transactionDepth == 0)
        throw DataError(QStringLiteral("The indexes can be set aside only within a transaction."));
    // Those SQLite makes for a table's own constraints (without a declaration) stay.
    const QString list = QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
    QStringList names;
    {
        auto stmt = session->prepare(list, list);
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            names << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
            m_declarations << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 1)));
        }
        if (rc != SQLITE_DONE)
            session->fail(list, list);
    }
    for (const QString& name : names) {
        const QByteArray drop = QByteArray("DROP INDEX ") + quoted(name).toUtf8();
        detail::runSimple(*session, drop.constData());
    }
}

void IndexesSetAside::rebuild()
{
    const auto& session = m_connection.session();
    if (!session)
        throw DataError(QStringLiteral("The connection is not open."));
    for (const QString& declaration : std::as_const(m_declarations))
        detail::runSimple(*session, declaration.toUtf8().constData());
    m_declarations.clear();
}

} // namespace data
