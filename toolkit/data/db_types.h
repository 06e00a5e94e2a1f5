// The small types shared by datasets, fields, data sources and data links:
// states, field types and kinds, fetch modes, option sets, data events.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

namespace vesk {

class TDataSet;
class TField;

enum TDataSetState : uint8_t {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsCalcFields,  // calculated fields are being computed into the calculation buffer
  dsFilter,      // a record is tested by a filter or a search
  dsNewValue,
  dsOldValue,
};

inline bool IsEditState(TDataSetState state) { return state == dsEdit || state == dsInsert; }

enum TFieldType : uint8_t {
  ftUnknown,
  ftString,
  ftInteger,
  ftAutoInc,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftDate,
  ftTime,
  ftDateTime,
  ftMemo,
  ftFmtMemo,
  ftGraphic,
  ftBlob,
};

// English name of a field type ("String", "Integer", ...) for messages.
const char* FieldTypeName(TFieldType type);

enum TFieldKind : uint8_t { fkData, fkCalculated, fkLookup };

// What GetRecord is asked to fetch and what it found.
enum TGetMode : uint8_t { gmCurrent, gmNext, gmPrior };
enum TGetResult : uint8_t { grOK, grBOF, grEOF, grError };

// Where a record buffer stands: on a record, before the first, after the
// last, or on a record not yet posted.
enum TBookmarkFlag : uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };

// Bit sets.
using TResyncMode = uint8_t;
inline constexpr TResyncMode rmExact = 1;   // the current record must still exist
inline constexpr TResyncMode rmCenter = 2;  // put it in the middle of the buffers

using TFilterOptions = uint8_t;
inline constexpr TFilterOptions foCaseInsensitive = 1;
inline constexpr TFilterOptions foNoPartialCompare = 2;

using TLocateOptions = uint8_t;
inline constexpr TLocateOptions loCaseInsensitive = 1;
inline constexpr TLocateOptions loPartialKey = 2;

enum TBlobStreamMode : uint8_t { bmRead = 0, bmWrite = 1, bmReadWrite = 2 };

// A bookmark's bytes (BookmarkSize of them); empty when there is none.
using TBookmark = std::vector<char>;

// What a dataset tells its data sources and they tell their links.
enum TDataEvent : uint8_t {
  deFieldChange,      // a field of the active record changed (field given)
  deRecordChange,     // the active record changed as a whole
  deDataSetChange,    // the buffers were read anew
  deDataSetScroll,    // the active record moved (distance given)
  deLayoutChange,     // fields were added, removed or changed
  deUpdateRecord,     // controls shall write their pending input to the fields
  deUpdateState,      // the dataset's state changed
  deCheckBrowseMode,  // about to leave the record: controls finish their input
};

// What an error event decides about a failed Post, Edit or Delete: let the
// failure pass on, or try the operation again.
enum TDataAction : uint8_t { daFail, daRetry };

using TDataSetNotifyEvent = std::function<void(TDataSet&)>;
using TDataSetErrorEvent = std::function<void(TDataSet&, const std::exception&, TDataAction&)>;
using TFilterRecordEvent = std::function<void(TDataSet&, bool& accept)>;
using TFieldNotifyEvent = std::function<void(TField&)>;

}  // namespace vesk
