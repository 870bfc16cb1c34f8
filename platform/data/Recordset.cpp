// Opening, reading and moving over a recordset's rows, finding and filtering them; and
// RowReader, which reads rows as a recordset does without keeping them. Writing them back is in
// RecordsetWrite.cpp.
#include "platform/data/Recordset.h"

#include "platform/data/Connection.h"
#include "platform/data/Criteria.h"
#include "platform/data/DataError.h"
#include "platform/data/NameKey.h"
#include "platform/data/RowStore.h"
#include "platform/data/RowStream.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"

#include <sqlite3.h>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace data {

namespace {

const QString kClosed = QStringLiteral("Operation is not allowed when the object is closed.");
const QString kNotUpdatable = QStringLiteral(
    "Current Recordset does not support updating. This may be a limitation of the provider, or "
    "of the selected locktype.");

QString columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

// A value read from the file, typed as its column declares (computed columns as the
// translator typed them).
Variant readValue(sqlite3_stmt* stmt, int column, FieldType type)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER: {
        const sqlite3_int64 i = sqlite3_column_int64(stmt, column);
        switch (type) {
        case FieldType::Boolean:
            return Variant(i != 0);
        case FieldType::Integer:
            if (i >= std::numeric_limits<std::int16_t>::min() &&
                i <= std::numeric_limits<std::int16_t>::max())
                return Variant(static_cast<std::int16_t>(i));
            return Variant::fromInt64(i);
        case FieldType::Double:
            return Variant(static_cast<double>(i));
        case FieldType::Currency:
            return Variant::currency(static_cast<double>(i));
        case FieldType::Date:
            return Variant::date(static_cast<double>(i));
        case FieldType::Text:
            return Variant(columnText(stmt, column));
        default:
            return Variant::fromInt64(i);
        }
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(stmt, column);
        switch (type) {
        case FieldType::Boolean:
            return Variant(d != 0.0);
        case FieldType::Currency:
            return Variant::currency(d);
        case FieldType::Date:
            return Variant::date(d);
        case FieldType::Text:
            return Variant(columnText(stmt, column));
        default:
            return Variant(d);
        }
    }
    default:
        return Variant(columnText(stmt, column));
    }
}

bool writableLock(LockTypeEnum lock)
{
    return lock == adLockOptimistic || lock == adLockPessimistic || lock == adLockBatchOptimistic;
}

} // namespace

// Field, Fields -------------------------------------------------------------------------------

QString Field::Name() const
{
    return m_recordset->fieldName(m_index);
}

FieldType Field::Type() const
{
    return m_recordset->fieldType(m_index);
}

Variant Field::Value() const
{
    return m_recordset->fieldValue(m_index);
}

Variant Field::OriginalValue() const
{
    return m_recordset->originalFieldValue(m_index);
}

void Field::setValue(const Variant& value)
{
    m_recordset->setFieldValue(m_index, value);
}

int Fields::Count() const
{
    m_recordset->requireOpen();
    return m_recordset->fieldCount();
}

Field Fields::Item(int index) const
{
    return Field(m_recordset, m_recordset->checkedIndex(index));
}

Field Fields::Item(const QString& name) const
{
    return m_recordset->field(name);
}

// Recordset ------------------------------------------------------------------------------------

Recordset::Recordset(QObject* parent) : QObject(parent) {}

Recordset::~Recordset() = default;

void Recordset::requireOpen() const
{
    if (!m_open)
        throw DataError(kClosed, m_source);
}

void Recordset::requireWritable() const
{
    requireOpen();
    if (!m_store->writable || !writableLock(m_lockType))
        throw DataError(kNotUpdatable, m_source);
}

int Recordset::currentStoreRow() const
{
    if (!m_open || m_editMode == adEditAdd)
        return -1;
    syncView();
    if (m_deletedRow >= 0 || m_pos < 0 || m_pos >= static_cast<int>(m_view.size()))
        return -1;
    return m_view[static_cast<std::size_t>(m_pos)];
}

void Recordset::requireCurrentRow() const
{
    requireOpen();
    if (m_editMode == adEditAdd)
        return;
    if (currentStoreRow() < 0)
        throw DataError(detail::kNoCurrentRow, m_source);
}

int Recordset::fieldCount() const
{
    return m_open ? static_cast<int>(m_store->columns.size()) : 0;
}

QString Recordset::fieldName(int field) const
{
    requireOpen();
    return m_store->columns[static_cast<std::size_t>(field)].name;
}

FieldType Recordset::fieldType(int field) const
{
    requireOpen();
    return m_store->columns[static_cast<std::size_t>(field)].type;
}

int Recordset::fieldIndex(const QString& name) const
{
    if (!m_open)
        return -1;
    return m_store->byName.value(NameKey(name), -1);
}

int Recordset::checkedIndex(int index) const
{
    requireOpen();
    if (index < 0 || index >= fieldCount())
        throw DataError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                       "the requested name or ordinal: %1")
                            .arg(index),
                        m_source);
    return index;
}

Field Recordset::field(const QString& name)
{
    requireOpen();
    const int i = fieldIndex(name);
    if (i < 0)
        throw DataError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                       "the requested name or ordinal: %1")
                            .arg(name),
                        m_source);
    return Field(this, i);
}

Variant Recordset::fieldValue(int field) const
{
    requireCurrentRow();
    const auto f = static_cast<std::size_t>(field);
    if (m_editMode == adEditAdd || (m_editMode == adEditInProgress && m_changed[f]))
        return m_pending[f];
    return m_store->values(static_cast<std::size_t>(currentStoreRow()))[f];
}

Variant Recordset::originalFieldValue(int field) const
{
    requireCurrentRow();
    if (m_editMode == adEditAdd)
        return Variant::null();
    return m_store->values(
        static_cast<std::size_t>(currentStoreRow()))[static_cast<std::size_t>(field)];
}

// Opening and reading ----------------------------------------------------------------------------

std::shared_ptr<detail::RowStore> Recordset::readRows(bool& executedAction)
{
    detail::Session& session = *m_session;
    session.requireOpen();
    auto store = std::make_shared<detail::RowStore>();
    store->catalog = session.sharedCatalog();
    store->translation = Translator::translate(session.catalog(), m_source);
    const Translation& t = *store->translation;
    executedAction = t.kind != Translation::Kind::Select;
    if (executedAction) {
        auto stmt = session.prepare(t.sql, m_source);
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            session.fail(m_source, t.sql);
        return nullptr;
    }

    store->writable = t.updatable() && writableLock(m_lockType);
    const QString& sql = store->writable ? t.updatableSql : t.sql;
    auto stmt = session.prepare(sql, m_source);
    sqlite3_stmt* s = stmt.get();
    const int count = sqlite3_column_count(s);
    store->columns = t.columns;
    const int extra = t.hiddenColumns + (store->writable ? 1 : 0);
    if (count != static_cast<int>(t.columns.size()) + extra) {
        // The statement's columns are not those the translation expected: take them as SQLite
        // names them and read each value by its stored form.
        store->writable = false;
        store->columns.clear();
        for (int c = 0; c < count - t.hiddenColumns; ++c)
            store->columns.push_back(
                {QString::fromUtf8(sqlite3_column_name(s, c)), FieldType::Unknown, -1});
    }
    const int visible = static_cast<int>(store->columns.size());
    for (int c = 0; c < visible; ++c) {
        const NameKey key(store->columns[static_cast<std::size_t>(c)].name);
        if (!store->byName.contains(key))
            store->byName.insert(key, c);
    }

    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        for (int c = 0; c < visible; ++c)
            store->cells.push_back(
                readValue(s, c, store->columns[static_cast<std::size_t>(c)].type));
        store->rows.push_back({store->writable ? sqlite3_column_int64(s, count - 1) : 0, false});
    }
    if (rc != SQLITE_DONE)
        session.fail(m_source, sql);
    return store;
}

void Recordset::Open(const QString& source, Connection& connection, CursorTypeEnum cursorType,
                     LockTypeEnum lockType, int)
{
    if (m_open)
        throw DataError(QStringLiteral("Operation is not allowed when the object is open."),
                        source);
    if (!connection.session())
        throw DataError(QStringLiteral("The connection is not open."), source);
    m_session = connection.session();
    m_source = source;
    m_cursorType = connection.CursorLocation() == adUseClient ? adOpenStatic : cursorType;
    m_lockType = lockType == adLockUnspecified ? adLockReadOnly : lockType;
    bool action = false;
    std::shared_ptr<detail::RowStore> store;
    try {
        store = readRows(action);
    } catch (...) {
        m_session.reset();
        throw;
    }
    if (action) {
        m_session.reset();
        return;
    }
    m_store = std::move(store);
    m_open = true;
    m_editMode = adEditNone;
    m_filter.reset();
    rebuildView();
    m_pos = 0;
    emit rowsChanged();
    emit moveComplete(adRsnMove);
}

void Recordset::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_editMode = adEditNone;
    m_pending.clear();
    m_changed.clear();
    m_view.clear();
    m_filter.reset();
    m_lastFind.reset();
    m_pinned.clear();
    m_conflictRow = -1;
    m_store.reset();
    m_session.reset();
    emit rowsChanged();
}

void Recordset::Requery(int)
{
    requireOpen();
    emit flushRequested();
    emit willMove(adRsnRequery);
    saveIfEditing();
    bool action = false;
    m_store = readRows(action);
    m_conflictRow = -1;
    m_lastFind.reset();
    if (m_filter)
        m_filter = std::make_shared<Criteria>(
            m_filter->text(), [this](const QString& name) { return fieldIndex(name); });
    m_pinned.clear();
    rebuildView();
    m_pos = 0;
    emit rowsChanged();
    emit moveComplete(adRsnRequery);
}

std::vector<Variant> Recordset::refreshRow(qint64 rowid)
{
    const Translation& t = *m_store->translation;
    auto stmt = m_session->prepare(t.refreshSql, m_source);
    sqlite3_bind_int64(stmt.get(), 1, rowid);
    std::vector<Variant> values;
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) {
        const auto& columns = m_store->columns;
        values.reserve(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c)
            values.push_back(readValue(stmt.get(), static_cast<int>(c), columns[c].type));
    } else if (rc != SQLITE_DONE) {
        m_session->fail(m_source, t.refreshSql);
    }
    return values;
}

// The view --------------------------------------------------------------------------------------

void Recordset::rebuildView()
{
    m_view.clear();
    const auto& rows = m_store->rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].deleted)
            continue;
        const bool pinned =
            std::binary_search(m_pinned.begin(), m_pinned.end(), static_cast<int>(i));
        if (m_filter && !pinned && !m_filter->matches(m_store->values(i)))
            continue;
        m_view.push_back(static_cast<int>(i));
    }
    m_viewStoreSize = rows.size();
    m_viewGeneration = m_store->generation;
    m_viewDeletions = m_store->deletions;
    m_deletedRow = -1;
}

// Takes in rows added or deleted through this recordset or another sharing its rows. Rows that
// were visible stay visible (an edit does not hide a row until the filter is set again); new
// rows show when they match the filter or were added here.
void Recordset::syncView() const
{
    if (!m_open || m_viewGeneration == m_store->generation)
        return;
    const auto& rows = m_store->rows;
    const int oldSize = static_cast<int>(m_view.size());
    const int current = m_deletedRow < 0 && m_pos >= 0 && m_pos < oldSize
                            ? m_view[static_cast<std::size_t>(m_pos)]
                            : -1;
    auto showsNewRow = [&](std::size_t i) {
        if (rows[i].deleted)
            return false;
        const bool pinned =
            std::binary_search(m_pinned.begin(), m_pinned.end(), static_cast<int>(i));
        return !m_filter || pinned || m_filter->matches(m_store->values(i));
    };
    if (m_viewDeletions == m_store->deletions) {
        // Rows were only added: they follow every row shown, so the view just grows.
        const bool wasAtEnd = m_pos >= oldSize && m_deletedRow < 0;
        for (std::size_t i = m_viewStoreSize; i < rows.size(); ++i)
            if (showsNewRow(i))
                m_view.push_back(static_cast<int>(i));
        m_viewStoreSize = rows.size();
        m_viewGeneration = m_store->generation;
        if (wasAtEnd && m_pos >= 0)
            m_pos = static_cast<int>(m_view.size());
        return;
    }
    std::vector<int> view;
    view.reserve(m_view.size() + (rows.size() - m_viewStoreSize));
    for (int i : m_view) {
        if (!rows[static_cast<std::size_t>(i)].deleted)
            view.push_back(i);
    }
    for (std::size_t i = m_viewStoreSize; i < rows.size(); ++i) {
        if (showsNewRow(i))
            view.push_back(static_cast<int>(i));
    }
    const int gapRow = m_deletedRow >= 0 ? m_deletedRow : current;
    const bool wasAtEnd = m_pos >= oldSize && m_deletedRow < 0;
    m_view = std::move(view);
    m_viewStoreSize = rows.size();
    m_viewGeneration = m_store->generation;
    m_viewDeletions = m_store->deletions;
    if (m_pos < 0 && m_deletedRow < 0)
        return;
    if (wasAtEnd) {
        m_pos = static_cast<int>(m_view.size());
        return;
    }
    const auto at = std::lower_bound(m_view.begin(), m_view.end(), gapRow);
    m_pos = static_cast<int>(at - m_view.begin());
    if (at != m_view.end() && *at == gapRow)
        m_deletedRow = -1;
    else
        m_deletedRow = gapRow; // the current row is gone; m_pos is where the next one stands
}

int Recordset::viewIndexOf(int storeRow) const
{
    const auto at = std::lower_bound(m_view.begin(), m_view.end(), storeRow);
    return at != m_view.end() && *at == storeRow ? static_cast<int>(at - m_view.begin()) : -1;
}

bool Recordset::EOF() const
{
    if (!m_open)
        return true;
    if (m_editMode == adEditAdd)
        return false;
    syncView();
    if (m_deletedRow >= 0)
        return false;
    return m_view.empty() || m_pos >= static_cast<int>(m_view.size());
}

bool Recordset::BOF() const
{
    if (!m_open)
        return true;
    if (m_editMode == adEditAdd)
        return false;
    syncView();
    if (m_deletedRow >= 0)
        return false;
    return m_view.empty() || m_pos < 0;
}

int Recordset::RecordCount() const
{
    requireOpen();
    syncView();
    return static_cast<int>(m_view.size());
}

int Recordset::visibleRowCount() const
{
    if (!m_open)
        return 0;
    syncView();
    return static_cast<int>(m_view.size()) + (m_editMode == adEditAdd ? 1 : 0);
}

int Recordset::currentVisibleRow() const
{
    if (!m_open)
        return -1;
    syncView();
    if (m_editMode == adEditAdd)
        return static_cast<int>(m_view.size());
    if (m_deletedRow >= 0 || m_pos < 0 || m_pos >= static_cast<int>(m_view.size()))
        return -1;
    return m_pos;
}

Variant Recordset::valueAt(int row, int field) const
{
    if (!m_open)
        return Variant();
    syncView();
    const auto f = static_cast<std::size_t>(field);
    if (m_editMode == adEditAdd && row == static_cast<int>(m_view.size()))
        return m_pending[f];
    if (row < 0 || row >= static_cast<int>(m_view.size()))
        return Variant();
    if (m_editMode == adEditInProgress && row == m_pos && m_deletedRow < 0 && m_changed[f])
        return m_pending[f];
    return m_store->values(static_cast<std::size_t>(m_view[static_cast<std::size_t>(row)]))[f];
}

int Recordset::AbsolutePosition() const
{
    if (!m_open || m_editMode == adEditAdd)
        return adPosUnknown;
    syncView();
    if (m_deletedRow >= 0)
        return adPosUnknown;
    if (m_view.empty() || m_pos >= static_cast<int>(m_view.size()))
        return adPosEOF;
    if (m_pos < 0)
        return adPosBOF;
    return m_pos + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    requireOpen();
    syncView();
    if (position < 1 || position > static_cast<int>(m_view.size()))
        throw DataError(QStringLiteral("The position %1 lies outside the recordset.").arg(position),
                        m_source);
    navigate(Target::Row, position - 1, adRsnMove);
}

Variant Recordset::Bookmark() const
{
    requireCurrentRow();
    if (m_editMode == adEditAdd)
        throw DataError(QStringLiteral("A row that is being added has no bookmark yet."), m_source);
    return Variant(static_cast<double>(currentStoreRow() + 1));
}

int Recordset::storeRowOfBookmark(const Variant& bookmark) const
{
    const double n = bookmark.hasNumber() ? bookmark.number() : 0.0;
    const int row = static_cast<int>(n) - 1;
    if (n != std::trunc(n) || row < 0 || row >= static_cast<int>(m_store->rows.size()) ||
        m_store->rows[static_cast<std::size_t>(row)].deleted)
        throw DataError(QStringLiteral("The bookmark is invalid."), m_source);
    return row;
}

void Recordset::setBookmark(const Variant& bookmark)
{
    requireOpen();
    syncView();
    const int index = viewIndexOf(storeRowOfBookmark(bookmark));
    if (index < 0)
        throw DataError(QStringLiteral("The bookmark names a row that the filter hides."),
                        m_source);
    navigate(Target::Row, index, adRsnMove);
}

// Moving ------------------------------------------------------------------------------------------

void Recordset::saveIfEditing()
{
    if (m_editMode != adEditNone)
        Update();
}

void Recordset::navigate(Target target, int n, EventReasonEnum reason)
{
    requireOpen();
    emit flushRequested();
    emit willMove(reason);
    if (target != Target::Stay)
        saveIfEditing();
    syncView();
    const int size = static_cast<int>(m_view.size());
    const bool deleted = m_deletedRow >= 0;
    int to = m_pos;
    switch (target) {
    case Target::First:
        to = size == 0 ? m_pos : 0;
        break;
    case Target::Last:
        to = size == 0 ? m_pos : size - 1;
        break;
    case Target::Next:
        to = deleted ? m_pos : m_pos + 1;
        break;
    case Target::Previous:
        to = m_pos - 1;
        break;
    case Target::Relative:
        to = deleted && n > 0 ? m_pos + n - 1 : m_pos + n;
        break;
    case Target::Row:
        to = n;
        break;
    case Target::Stay:
        break;
    }
    if (target != Target::Stay) {
        m_pos = std::clamp(to, -1, size);
        m_deletedRow = -1;
    }
    emit moveComplete(reason);
}

void Recordset::MoveFirst()
{
    navigate(Target::First, 0, adRsnMoveFirst);
}

void Recordset::MoveLast()
{
    navigate(Target::Last, 0, adRsnMoveLast);
}

void Recordset::MoveNext()
{
    requireOpen();
    if (EOF())
        throw DataError(detail::kNoCurrentRow, m_source);
    navigate(Target::Next, 0, adRsnMoveNext);
}

void Recordset::MovePrevious()
{
    requireOpen();
    if (BOF())
        throw DataError(detail::kNoCurrentRow, m_source);
    navigate(Target::Previous, 0, adRsnMovePrevious);
}

void Recordset::Move(int numRecords, BookmarkEnum start)
{
    requireOpen();
    if (start == adBookmarkFirst || start == adBookmarkLast) {
        syncView();
        const int size = static_cast<int>(m_view.size());
        const int from = start == adBookmarkFirst ? 0 : size - 1;
        navigate(Target::Row, size == 0 ? 0 : from + numRecords, adRsnMove);
        return;
    }
    if (numRecords == 0) {
        navigate(Target::Stay, 0, adRsnMove);
        return;
    }
    if ((numRecords > 0 && EOF()) || (numRecords < 0 && BOF()))
        throw DataError(detail::kNoCurrentRow, m_source);
    navigate(Target::Relative, numRecords, adRsnMove);
}

// Finding and filtering ---------------------------------------------------------------------------

void Recordset::Find(const QString& criteria, int skipRecords, SearchDirectionEnum direction,
                     BookmarkEnum start)
{
    requireOpen();
    emit flushRequested();
    saveIfEditing();
    syncView();
    const int size = static_cast<int>(m_view.size());
    int from;
    if (start == adBookmarkFirst)
        from = 0;
    else if (start == adBookmarkLast)
        from = size - 1;
    else if (m_deletedRow >= 0)
        from = direction == adSearchBackward ? m_pos - 1 : m_pos;
    else if (m_pos < 0)
        from = direction == adSearchBackward ? -1 : 0;
    else if (m_pos >= size)
        from = direction == adSearchBackward ? size - 1 : size;
    else
        from = m_pos;
    findFrom(criteria, skipRecords, direction, from);
}

void Recordset::Find(const QString& criteria, int skipRecords, SearchDirectionEnum direction,
                     const Variant& startBookmark)
{
    requireOpen();
    emit flushRequested();
    saveIfEditing();
    syncView();
    const int from = viewIndexOf(storeRowOfBookmark(startBookmark));
    if (from < 0)
        throw DataError(QStringLiteral("The bookmark names a row that the filter hides."),
                        m_source);
    findFrom(criteria, skipRecords, direction, from);
}

void Recordset::findFrom(const QString& criteria, int skipRecords, SearchDirectionEnum direction,
                         int from)
{
    if (!m_lastFind || m_lastFind->text() != criteria)
        m_lastFind = std::make_shared<Criteria>(
            criteria, [this](const QString& name) { return fieldIndex(name); });
    const int size = static_cast<int>(m_view.size());
    const int step = direction == adSearchBackward ? -1 : 1;
    for (int i = from + skipRecords * step; i >= 0 && i < size; i += step) {
        const int storeRow = m_view[static_cast<std::size_t>(i)];
        if (m_lastFind->matches(m_store->values(static_cast<std::size_t>(storeRow)))) {
            navigate(Target::Row, i, adRsnMove);
            return;
        }
    }
    navigate(Target::Row, step > 0 ? size : -1, adRsnMove);
}

QString Recordset::Filter() const
{
    return m_filter ? m_filter->text() : QString();
}

void Recordset::applyFilter(std::shared_ptr<Criteria> filter)
{
    emit flushRequested();
    emit willMove(adRsnMove);
    saveIfEditing();
    m_filter = std::move(filter);
    m_pinned.clear();
    rebuildView();
    m_pos = 0;
    emit rowsChanged();
    emit moveComplete(adRsnMove);
}

void Recordset::setFilter(const QString& criteria)
{
    requireOpen();
    std::shared_ptr<Criteria> filter;
    if (!criteria.trimmed().isEmpty())
        filter = std::make_shared<Criteria>(
            criteria, [this](const QString& name) { return fieldIndex(name); });
    applyFilter(std::move(filter));
}

std::unique_ptr<Recordset> Recordset::Clone(LockTypeEnum lockType)
{
    requireOpen();
    auto clone = std::make_unique<Recordset>();
    clone->m_session = m_session;
    clone->m_store = m_store;
    clone->m_source = m_source;
    clone->m_cursorType = m_cursorType;
    clone->m_lockType = lockType == adLockUnspecified ? m_lockType : lockType;
    clone->m_unchecked = m_unchecked;
    clone->m_open = true;
    clone->rebuildView();
    clone->m_pos = 0;
    return clone;
}

// Reading one row at a time -----------------------------------------------------------------------

struct RowReader::State {
    std::shared_ptr<detail::Session> session; // outlives the statement
    QString jetSql;
    std::shared_ptr<const Translation> translation;
    std::optional<detail::Session::Statement> statement;
    QStringList names;
    std::vector<FieldType> types;
    std::vector<Variant> values;
};

RowReader::RowReader(Connection& connection, const QString& jetSql) : m_state(new State)
{
    State& s = *m_state;
    s.session = connection.session();
    if (!s.session)
        throw DataError(QStringLiteral("The connection is not open."), jetSql);
    s.session->requireOpen();
    s.jetSql = jetSql;
    s.translation = Translator::translate(s.session->catalog(), jetSql);
    const Translation& t = *s.translation;
    if (t.kind != Translation::Kind::Select)
        throw DataError(QStringLiteral("The statement returns no rows."), jetSql);
    s.statement.emplace(s.session->prepare(t.sql, jetSql));
    sqlite3_stmt* stmt = s.statement->get();
    const int count = sqlite3_column_count(stmt);
    // As a recordset reads them: the columns the translation expected, or else those SQLite
    // names, each read by its stored form.
    if (count == static_cast<int>(t.columns.size()) + t.hiddenColumns) {
        for (const OutputColumn& column : t.columns) {
            s.names << column.name;
            s.types.push_back(column.type);
        }
    } else {
        for (int c = 0; c < count - t.hiddenColumns; ++c) {
            s.names << QString::fromUtf8(sqlite3_column_name(stmt, c));
            s.types.push_back(FieldType::Unknown);
        }
    }
    s.values.resize(s.types.size());
}

RowReader::~RowReader() = default;

const QStringList& RowReader::names() const
{
    return m_state->names;
}

const std::vector<Variant>& RowReader::values() const
{
    return m_state->values;
}

bool RowReader::next()
{
    State& s = *m_state;
    sqlite3_stmt* stmt = s.statement->get();
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        s.session->fail(s.jetSql, s.translation->sql);
    for (std::size_t c = 0; c < s.types.size(); ++c)
        s.values[c] = readValue(stmt, static_cast<int>(c), s.types[c]);
    return true;
}

} // namespace data
