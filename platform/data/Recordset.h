#pragma once

#include "platform/data/DataEnums.h"
#include "platform/data/Variant.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The classic recordset's end-of-file member is named EOF, which <cstdio> also defines as a
// macro. The program does not use the macro; it is removed here, after <cstdio> (whose include
// guard keeps it from coming back), so that rs.EOF() reads as it does in the documentation.
#include <cstdio>
#ifdef EOF
#undef EOF
#endif

#include <memory>
#include <vector>

namespace data {

class Connection;
class Criteria;
class Recordset;
struct Translation;

namespace detail {
class Session;
struct RowStore;
} // namespace detail

// One field of the current row: read it, or write it while the recordset can write.
//     std::int32_t id = ToLong(rs["Youth_ID"], 0);
//     rs["Youth_Status"] = std::int16_t(3);
//     dest.Fields(name) = source.Fields(name); // copies the value
// A Field is a handle to a place, not a value: assigning one Field to another copies the value.
class Field {
public:
    Field(Recordset* recordset, int index) : m_recordset(recordset), m_index(index) {}
    Field(const Field&) = default;

    QString Name() const;
    FieldType Type() const;
    // The value in the current row (with its pending change); Null for an empty field.
    Variant Value() const;
    // The value as the row was read from the file, without its pending change; Null in a row
    // being added.
    Variant OriginalValue() const;
    // Writes the value into the current row; it reaches the file with Update (or a move).
    void setValue(const Variant& value);

    operator Variant() const { return Value(); }
    Field& operator=(const Variant& value)
    {
        setValue(value);
        return *this;
    }
    Field& operator=(const Field& other)
    {
        setValue(other.Value());
        return *this;
    }

private:
    Recordset* m_recordset;
    int m_index;
};

class Fields {
public:
    explicit Fields(Recordset* recordset) : m_recordset(recordset) {}
    int Count() const;
    Field Item(int index) const;
    Field Item(const QString& name) const;
    Field operator()(int index) const { return Item(index); }
    Field operator()(const QString& name) const { return Item(name); }

private:
    Recordset* m_recordset;
};

// The rows of a query, with the members and meaning of the classic data-object Recordset.
//
// Open reads every row at once and finishes the statement, so a recordset never holds the
// file locked and RecordCount is always exact, whatever the cursor type. Queries over one
// table without grouping or DISTINCT can write back (lock types other than read-only):
// field changes, AddNew/Update (the new AutoNumber is read back at once), Delete. A pending
// change is saved when the recordset moves to another row.
//
// Unlike the classic component, EOF() and BOF() of a closed recordset are true rather than an
// error (loops "until EOF" end), and MoveFirst/MoveLast on an empty recordset do nothing.
//
// Writes are optimistic: Update compares the fields it changes with the file, inside the write,
// and refuses (DataError, changedByAnotherUser()) when another connection changed one of them
// since the row was read. The pending change then stays; CancelUpdate drops it and shows the
// row as the file now holds it. Changes to other fields and other rows do not conflict.
//
// Events are Qt signals; their order for a move: flushRequested, willMove, (the pending row is
// saved: willChangeRecord, recordChangeComplete), the move, moveComplete.
class Recordset : public QObject {
    Q_OBJECT
public:
    explicit Recordset(QObject* parent = nullptr);
    ~Recordset() override;

    // Runs a query (Jet dialect) on an open connection. An action statement is run and the
    // recordset stays closed. Throws DataError.
    void Open(const QString& source, Connection& connection,
              CursorTypeEnum cursorType = adOpenForwardOnly, LockTypeEnum lockType = adLockReadOnly,
              int options = -1);
    // Drops the rows; a pending change is discarded.
    void Close();
    ObjectStateEnum State() const { return m_open ? adStateOpen : adStateClosed; }
    const QString& Source() const { return m_source; }
    CursorTypeEnum CursorType() const { return m_cursorType; }
    LockTypeEnum LockType() const { return m_lockType; }

    // Position
    bool EOF() const;
    bool BOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // Moves by n rows from the current one (or from the first or last). Move(0) stays, but
    // raises the move events, so bound editors hand their pending text to the row.
    void Move(int numRecords, BookmarkEnum start = adBookmarkCurrent);
    // Rows visible under the filter; a row being added is not counted until it is saved.
    int RecordCount() const;
    // 1-based position, or adPosBOF, adPosEOF, adPosUnknown.
    int AbsolutePosition() const;
    void setAbsolutePosition(int position);
    // A number (above 0) that names the current row for as long as the rows are not
    // re-queried; valid on clones and under any filter.
    Variant Bookmark() const;
    void setBookmark(const Variant& bookmark);

    // Fields of the current row, by name (without regard to case) or position.
    data::Fields Fields() { return data::Fields(this); }
    Field Fields(const QString& name) { return field(name); }
    Field Fields(int index) { return Field(this, checkedIndex(index)); }
    Field operator[](const QString& name) { return field(name); }
    Field operator[](int index) { return Field(this, checkedIndex(index)); }

    // Searching and filtering, with criteria such as "Youth_ID = 12" or "Wk_Date=#3/3/2024#".
    // Find searches from the current row (or the first or last); not found leaves the
    // recordset at EOF (forward) or BOF (backward).
    void Find(const QString& criteria, int skipRecords = 0,
              SearchDirectionEnum direction = adSearchForward,
              BookmarkEnum start = adBookmarkCurrent);
    void Find(const QString& criteria, int skipRecords, SearchDirectionEnum direction,
              const Variant& startBookmark);
    // Shows only the rows that match; "" shows all. Moves to the first row.
    QString Filter() const;
    void setFilter(const QString& criteria);

    // A second recordset over the same rows, with its own position and no filter; changes made
    // through either are seen by both.
    std::unique_ptr<Recordset> Clone(LockTypeEnum lockType = adLockUnspecified);

    // Writing
    EditModeEnum EditMode() const { return m_editMode; }
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete(AffectEnum affect = adAffectCurrent);
    void UpdateBatch(AffectEnum affect = adAffectAll);
    // A field that every save writes (a last-changed stamp): another user's change to it is
    // no conflict, and the latest save's value stands.
    void excludeFromConflictCheck(const QString& field);
    // Runs the query again and goes to the first row.
    void Requery(int options = -1);

    // For the item-model adapter (RecordsetModel): the rows as the current filter shows them.
    int visibleRowCount() const;               // RecordCount, plus one while a row is added
    int currentVisibleRow() const;             // -1 at BOF, EOF or on a deleted row
    Variant valueAt(int row, int field) const; // row as counted by visibleRowCount
    int fieldCount() const;
    QString fieldName(int field) const;
    FieldType fieldType(int field) const;
    int fieldIndex(const QString& name) const; // -1 when there is none

signals:
    // Bound editors should write their pending text into the row now.
    void flushRequested();
    void willMove(data::EventReasonEnum reason);
    void moveComplete(data::EventReasonEnum reason);
    void willChangeRecord(data::EventReasonEnum reason);
    void recordChangeComplete(data::EventReasonEnum reason);
    // A field of the current row changed (by setValue, or after a save re-read the row).
    void fieldChangeComplete(int field);
    // Rows were added, deleted, filtered or read again.
    void rowsChanged();

private:
    friend class Field;
    friend class data::Fields;

    enum class Target { First, Last, Next, Previous, Relative, Row, Stay };

    Field field(const QString& name);
    int checkedIndex(int index) const;
    void requireOpen() const;
    void requireWritable() const;
    void requireCurrentRow() const;
    Variant fieldValue(int field) const;
    Variant originalFieldValue(int field) const;
    void setFieldValue(int field, const Variant& value);

    void syncView() const;
    void rebuildView();
    int viewIndexOf(int storeRow) const;
    int storeRowOfBookmark(const Variant& bookmark) const;
    void navigate(Target target, int n, EventReasonEnum reason);
    void saveIfEditing();
    void findFrom(const QString& criteria, int skipRecords, SearchDirectionEnum direction,
                  int from);
    std::shared_ptr<detail::RowStore> readRows(bool& executedAction);
    int currentStoreRow() const;
    void applyFilter(std::shared_ptr<Criteria> filter);
    std::vector<Variant> refreshRow(qint64 rowid);
    bool checksConflicts(int field) const;
    void reloadRow(int storeRow);

    std::shared_ptr<detail::Session> m_session;
    std::shared_ptr<detail::RowStore> m_store;
    QString m_source;
    CursorTypeEnum m_cursorType = adOpenForwardOnly;
    LockTypeEnum m_lockType = adLockReadOnly;
    bool m_open = false;

    // The rows this recordset shows: positions in the store, in order. Rebuilt when the store
    // changes (rows added or deleted through any recordset sharing it) or the filter does.
    mutable std::vector<int> m_view;
    mutable std::uint64_t m_viewGeneration = 0;
    mutable std::uint64_t m_viewDeletions = 0;
    // Position in m_view: -1 before the first row, m_view.size() after the last.
    mutable int m_pos = -1;
    mutable std::size_t m_viewStoreSize = 0; // store rows the view has looked at
    // The current row when it was deleted (it stays current until the next move; m_pos is
    // then the place where the row after it stands). -1 otherwise.
    mutable int m_deletedRow = -1;
    std::shared_ptr<Criteria> m_filter;
    std::vector<int> m_pinned; // rows added here stay visible whatever the filter (ascending)

    EditModeEnum m_editMode = adEditNone;
    std::vector<Variant> m_pending; // the row being edited or added
    std::vector<char> m_changed;    // which of its fields were written
    int m_rowBeforeAdd = -1;        // store row current before AddNew
    int m_conflictRow = -1;         // store row whose last save met another user's change
    QStringList m_unchecked;        // fields left out of the conflict check
    std::shared_ptr<Criteria> m_lastFind;
};

} // namespace data
