#include "toolkit/data/db_types.h"

namespace vesk {

const char* FieldTypeName(TFieldType type) {
  switch (type) {
    case ftUnknown: return "Unknown";
    case ftString: return "String";
    case ftInteger: return "Integer";
    case ftAutoInc: return "AutoInc";
    case ftBoolean: return "Boolean";
    case ftFloat: return "Float";
    case ftCurrency: return "Currency";
    case ftDate: return "Date";
    case ftTime: return "Time";
    case ftDateTime: return "DateTime";
    case ftMemo: return "Memo";
    case ftFmtMemo: return "FmtMemo";
    case ftGraphic: return "Graphic";
    case ftBlob: return "Blob";
  }
  return "Unknown";
}

}  // namespace vesk
