// The library's exports: one per window of the list in tools_exports.h, and
// AdrDial (ordinal 5), which opens the address window and dials a number
// there.
#include "tools/entry_points.h"
#include "tools/adressen/adressenmn.h"
#include "tools/notizen/notizenmn.h"
#include "tools/termine/Einstmn.h"
#include "tools/termine/terminemn.h"
#include "tools/tools_exports.h"

namespace vesk {

#define VESK_TOOLS_DEFINE(ExportName, WindowType, Instance, Caption, How) \
  VESK_TOOLS_##How(ExportName, WindowType, Instance, Caption)
VESK_TOOLS_WINDOWS(VESK_TOOLS_DEFINE)
#undef VESK_TOOLS_DEFINE

// A number (or SIP address) from a telephone link of another program: the
// address window opens as AdrExecute opens it, and dials it.
extern "C" __attribute__((visibility("default"))) void AdrDial(const char* number) {  // ordinal 5
  Guarded([number] {
    Execute(FRAdressen, "TFRAdressen", "Adressen");
    if (number != nullptr && !FRAdressen.isNull()) FRAdressen->DialNumber(number);
  });
}

}  // namespace vesk
