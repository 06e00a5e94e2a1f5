// The Tools library's exports, in one list that the library defines them
// from and the host loads them by: each shows one window, in the order of
// the host's buttons.
//   X(ExportName, WindowType, Instance, Caption, How)
// where How is ENTRY_POINT when the export keeps the window's instance
// variable itself, EXPORT when the window declares it (entry_points.h).
// The dial of a number in the address window is the one other export.
#pragma once

#define VESK_TOOLS_WINDOWS(X)                                                                      \
  X(AdrExecute, TFRAdressen, FRAdressen, "Adressen", EXPORT)                       /* ordinal 4 */ \
  X(NtzExecute, TFRNotizen, FRNotizen, "Notizen", ENTRY_POINT)                     /* ordinal 3 */ \
  X(TermExecute, TFRTermine, FRTermine, "Termine", ENTRY_POINT)                    /* ordinal 2 */ \
  X(EinstExecute, TFREinstellungen, FREinstellungen, "Einstellungen", ENTRY_POINT) /* ordinal 1 */

namespace vesk {

struct ToolsExport {
  const char* name;
  const char* caption;  // of the window, and of the host's button
};

#define VESK_TOOLS_EXPORT_ENTRY(ExportName, WindowType, Instance, Caption, How) {#ExportName, Caption},
inline constexpr ToolsExport kToolsExports[] = {VESK_TOOLS_WINDOWS(VESK_TOOLS_EXPORT_ENTRY)};
#undef VESK_TOOLS_EXPORT_ENTRY

// Opens the address window and dials the number (or SIP address) there.
inline constexpr char kDialExport[] = "AdrDial";

}  // namespace vesk
