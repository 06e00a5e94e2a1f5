// A small address table in memory for the filter's tests and the fuzz
// targets: a text, integer, boolean, float, currency, date and memo column,
// a calculated field and rows with empty values, umlauts and asterisks.
#pragma once

#include "tests/toolkit/memory_dataset.h"

namespace vesk {

// Columns Name, Vorname, "Vor name", Straße (texts), Nr (integer), Aktiv
// (boolean), Betrag (float), Preis (currency), Datum (date), Notiz (memo);
// calculated Summe = Nr * 2 (empty when that is no integer). Opens the dataset.
void FillAddresses(TMemoryDataSet& dataset);

// One filled address table for the whole process, never freed: the fuzz
// targets use it for every input.
TMemoryDataSet& SharedAddresses();

}  // namespace vesk
