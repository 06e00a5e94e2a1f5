// Converting a filter constant once to the data type of the field it is
// compared with.
#pragma once

#include "runtime/variant.h"
#include "toolkit/data/db_types.h"

namespace vesk {

// Null stays Null; integer, boolean, floating-point, currency and date
// fields get their own value types, other types keep the constant as it is.
// Texts that do not read raise the runtime's conversion errors; the boolean
// and value-type failures raise EDatabaseError.
Variant ConvertConstant(const Variant& value, TFieldType type);

}  // namespace vesk
