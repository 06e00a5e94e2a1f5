// The library's exports, one per window, by ordinal:
//   1 EinstExecute  TFREinstellungen  "Einstellungen"
//   2 TermExecute   TFRTermine        "Termine"
//   3 NtzExecute    TFRNotizen        "Notizen"
//   4 AdrExecute    TFRAdressen       "Adressen"
//   5 AdrDial       TFRAdressen       "Adressen", and dials a number there
// A window's export is added here when the window exists (see entry_points.h).
#include "tools/entry_points.h"
#include "tools/adressen/adressenmn.h"
#include "tools/notizen/notizenmn.h"
#include "tools/termine/Einstmn.h"
#include "tools/termine/terminemn.h"

namespace vesk {

VESK_TOOLS_ENTRY_POINT(EinstExecute, TFREinstellungen, FREinstellungen, "Einstellungen")  // ordinal 1
VESK_TOOLS_ENTRY_POINT(TermExecute, TFRTermine, FRTermine, "Termine")  // ordinal 2
VESK_TOOLS_ENTRY_POINT(NtzExecute, TFRNotizen, FRNotizen, "Notizen")  // ordinal 3
// The line's notifications reach the address window through FRAdressen.
VESK_TOOLS_EXPORT(AdrExecute, TFRAdressen, FRAdressen, "Adressen")  // ordinal 4

// A number (or SIP address) from a telephone link of another program: the
// address window opens as AdrExecute opens it, and dials it.
extern "C" __attribute__((visibility("default"))) void AdrDial(const char* number) {  // ordinal 5
  Guarded([number] {
    Execute(FRAdressen, "TFRAdressen", "Adressen");
    if (number != nullptr && !FRAdressen.isNull()) FRAdressen->DialNumber(number);
  });
}

}  // namespace vesk
