#include "platform/data/Recordset.h"

#include "platform/data/Connection.h"
#include "platform/data/Criteria.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/NameKey.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"

#include <sqlite3.h>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace data {

namespace detail {

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

} // namespace detail

namespace {

const QString kNoCurrentRow = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.");
const QString kClosed = QStringLiteral("Operation is not allowed when the object is closed.");
const QString kNotUpdatable = QStringLiteral(
    "Current Recordset does not support updating. This may be a limitation of the provider, or "
    "of the selected locktype.");

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

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
        throw DataError(kNoCurrentRow, m_source);
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
        throw DataError(kNoCurrentRow, m_source);
    navigate(Target::Next, 0, adRsnMoveNext);
}

void Recordset::MovePrevious()
{
    requireOpen();
    if (BOF())
        throw DataError(kNoCurrentRow, m_source);
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
        throw DataError(kNoCurrentRow, m_source);
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

// Writing -----------------------------------------------------------------------------------------

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
        throw DataError(kNoCurrentRow, m_source);
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
            throw DataError(QStringLiteral("The row to be updated no longer exists."), m_source,
                            sql);
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

} // namespace data
