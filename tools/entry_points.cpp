// The library's exports, one per window, by ordinal:
//   1 EinstExecute  TFREinstellungen  "Einstellungen"
//   2 TermExecute   TFRTermine        "Termine"
//   3 NtzExecute    TFRNotizen        "Notizen"
//   4 AdrExecute    TFRAdressen       "Adressen"
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

}  // namespace vesk
