// The toolkit's own message texts for dataset and field failures.
#pragma once

#include <string_view>

namespace vesk {

inline constexpr std::string_view kSNotEditing = "Datenmenge weder im Editier- noch im Einfügemodus";
inline constexpr std::string_view kSFieldReadOnly = "Feld '%s' kann nicht verändert werden";
inline constexpr std::string_view kSDataSetReadOnly =
    "Eine Datenmenge, die nur zum Lesen ist, kann nicht geändert werden";
inline constexpr std::string_view kSFieldNotFound = "Das Feld '%s' wurde nicht gefunden";
inline constexpr std::string_view kSDataSetClosed =
    "Diese Operation ist bei einer geschlossenen Datenmenge nicht möglich";
inline constexpr std::string_view kSDataSetOpen = "Diese Operation ist bei einer geöffneten Datenmenge nicht möglich";
inline constexpr std::string_view kSDataSetEmpty = "Die Datenmenge enthält keinen Datensatz";
inline constexpr std::string_view kSRecordNotFound = "Der Datensatz wurde nicht gefunden";
inline constexpr std::string_view kSFieldRequired = "Das Feld '%s' muss einen Wert haben";
// %s: value, field, minimum, maximum.
inline constexpr std::string_view kSFieldRangeError =
    "%s ist kein gültiger Wert für das Feld '%s'. Erlaubt sind Werte von %s bis %s";
// %s: field, type name.
inline constexpr std::string_view kSFieldReadAs = "Das Feld '%s' kann nicht als %s gelesen werden";
inline constexpr std::string_view kSFieldWriteAs = "Dem Feld '%s' kann kein Wert vom Typ %s zugewiesen werden";
inline constexpr std::string_view kSFieldTypeMismatch = "Das Feld '%s' hat nicht den erwarteten Typ %s";
inline constexpr std::string_view kSUnknownFieldType = "Das Feld '%s' hat einen unbekannten Typ";
inline constexpr std::string_view kSDuplicateFieldName = "Der Feldname '%s' ist doppelt vorhanden";
inline constexpr std::string_view kSNoDataSet = "Das Feld '%s' gehört zu keiner Datenmenge";
inline constexpr std::string_view kSNotBoolean = "'%s' ist kein gültiger Wahrheitswert";
inline constexpr std::string_view kSBlobWriteFailed =
    "Der Inhalt des Feldes '%s' konnte nicht vollständig geschrieben werden";
// Hints at a field control that did not take a key.
inline constexpr std::string_view kSEditFirst = "Zum Ändern erst Bearbeiten (▲) oder Einfügen (+) drücken";
inline constexpr std::string_view kSTextLimit = "Höchstens %s Zeichen";
inline constexpr std::string_view kSNoBlobs = "Die Datenmenge kann keine Blob-Felder lesen oder schreiben";

}  // namespace vesk
