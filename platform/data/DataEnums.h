#pragma once

#include <cstdint>

namespace data {

// The kinds of values a field or a computed column holds, as the program's types name them.
enum class FieldType : std::uint8_t {
    Unknown, // a computed value whose kind the statement does not fix: read by its stored form
    Boolean, // Yes/No: -1 or 0
    Integer, // 16-bit
    Long,    // 32-bit
    Double,
    Currency,
    Date,
    Text,
};

const char* fieldTypeName(FieldType type);

// The numeric values below are those of the classic data-object library, so code written
// against its documentation reads the same here.

enum CursorTypeEnum : int {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};

enum LockTypeEnum : int {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};

enum CursorLocationEnum : int {
    adUseServer = 2,
    adUseClient = 3,
};

enum EditModeEnum : int {
    adEditNone = 0,
    adEditInProgress = 1,
    adEditAdd = 2,
};

enum ObjectStateEnum : int {
    adStateClosed = 0,
    adStateOpen = 1,
};

enum PositionEnum : int {
    adPosUnknown = -1,
    adPosBOF = -2,
    adPosEOF = -3,
};

enum SearchDirectionEnum : int {
    adSearchBackward = -1,
    adSearchForward = 1,
};

enum BookmarkEnum : int {
    adBookmarkCurrent = 0,
    adBookmarkFirst = 1,
    adBookmarkLast = 2,
};

enum AffectEnum : int {
    adAffectCurrent = 1,
    adAffectGroup = 2,
    adAffectAll = 3,
};

// Why a recordset event is raised.
enum EventReasonEnum : int {
    adRsnAddNew = 1,
    adRsnDelete = 2,
    adRsnUpdate = 3,
    adRsnUndoUpdate = 4,
    adRsnUndoAddNew = 5,
    adRsnRequery = 7,
    adRsnClose = 9,
    adRsnMove = 10,
    adRsnFirstChange = 11,
    adRsnMoveFirst = 12,
    adRsnMoveNext = 13,
    adRsnMovePrevious = 14,
    adRsnMoveLast = 15,
};

} // namespace data
