// The filter evaluator against the address table: activation, wildcards
// under each FilterOptions setting, Null rules, constant conversions, operand
// kinds, non-data fields and the stack.
#include <gtest/gtest.h>

#include "runtime/exceptions.h"
#include "tests/tools/filter/filter_fixture.h"
#include "toolkit/data/field.h"

namespace vesk {
namespace {

using Names = std::vector<std::string>;
const Names kAll = {"Meier", "MEIER", "meier", "Müller", "O'Neil", "*", "", "Anton"};

TEST_F(FilterTest, ActivationFollowsTheFilterText) {
  EXPECT_FALSE(filter.Active());
  EXPECT_TRUE(filter.Evaluate());
  Activate("");
  EXPECT_FALSE(filter.Active());
  EXPECT_TRUE(filter.Evaluate());

  EXPECT_EQ(Passing("Nr = 1"), Names{"Meier"});
  EXPECT_TRUE(filter.Active());
  table.First();
  EXPECT_TRUE(filter.Evaluate());
  table.Next();
  EXPECT_FALSE(filter.Evaluate());
  filter.SetActive(false);
  EXPECT_FALSE(filter.Active());
  EXPECT_TRUE(filter.Evaluate());

  // Switching on again prepares anew, under the options now set.
  EXPECT_EQ(Passing("Name = 'meier'"), Names{"meier"});
  EXPECT_EQ(Passing("Name = 'meier'", foCaseInsensitive), (Names{"Meier", "MEIER", "meier"}));
  // A failure while active leaves the filter inactive, without its tree.
  EXPECT_EQ(PrepareError("Name ="), "Ausdruck erwartet, jedoch leer vorgefunden");
  EXPECT_EQ(filter.StackSlots(), 0);
  Activate("");
  EXPECT_FALSE(filter.Active());
}

TEST_F(FilterTest, TrailingAsteriskAndCaseWithDefaultOptions) {
  EXPECT_EQ(Passing("Name = 'mei*'"), Names{"meier"});
  EXPECT_EQ(Passing("Name = 'Meier'"), Names{"Meier"});
  EXPECT_EQ(Passing("Name = 'M*' OR Name = 'm*'"), (Names{"Meier", "MEIER", "meier", "Müller"}));
  EXPECT_EQ(Passing("Name = 'Mü*'"), Names{"Müller"});
  EXPECT_EQ(Passing("Name = '*'"), (Names{"Meier", "MEIER", "meier", "Müller", "O'Neil", "*", "Anton"}));
  EXPECT_EQ(Passing("Name >= 'M*'"), (Names{"Meier", "MEIER", "meier", "Müller", "O'Neil"}));
  EXPECT_EQ(Passing("Name <> 'M*'"), (Names{"meier", "O'Neil", "*", "", "Anton"}));
  EXPECT_EQ(Passing("Name < 'M*'"), (Names{"*", "", "Anton"}));
  // Only a trailing asterisk counts; the empty constant is no pattern.
  EXPECT_EQ(Passing("Name = '*r'"), Names{});
  EXPECT_EQ(Passing("Name = ''"), Names{});
  EXPECT_EQ(Passing("Name <> ''"), kAll);
  EXPECT_EQ(Passing("Name = 'Meier*'"), Names{"Meier"});
  EXPECT_EQ(Passing("Name = 'Meierx*'"), Names{});
  // Memo fields and other fields than text compare the constant as it is.
  EXPECT_EQ(Passing("Notiz = 'not*'"), Names{});
  EXPECT_EQ(Passing("Notiz = 'notiz'"), Names{"meier"});
}

TEST_F(FilterTest, TrailingAsteriskAndCaseUnderEachOption) {
  // Case-insensitive: ASCII letters fold, umlauts compare as they are.
  EXPECT_EQ(Passing("Name = 'mei*'", foCaseInsensitive), (Names{"Meier", "MEIER", "meier"}));
  EXPECT_EQ(Passing("Name = 'MEIER'", foCaseInsensitive), (Names{"Meier", "MEIER", "meier"}));
  EXPECT_EQ(Passing("Name = 'mü*'", foCaseInsensitive), Names{"Müller"});
  EXPECT_EQ(Passing("Name = 'MÜ*'", foCaseInsensitive), Names{});
  EXPECT_EQ(Passing("Name > 'meier'", foCaseInsensitive), (Names{"Müller", "O'Neil"}));
  // No partial compare: the asterisk is an ordinary character.
  EXPECT_EQ(Passing("Name = '*'", foNoPartialCompare), Names{"*"});
  EXPECT_EQ(Passing("Name = 'mei*'", foNoPartialCompare), Names{});
  EXPECT_EQ(Passing("Name = 'MEIER'", foNoPartialCompare), Names{"MEIER"});
  // Both: the asterisk is removed and whole texts compare without case.
  const TFilterOptions both = foCaseInsensitive | foNoPartialCompare;
  EXPECT_EQ(Passing("Name = 'meier*'", both), (Names{"Meier", "MEIER", "meier"}));
  EXPECT_EQ(Passing("Name = 'mei*'", both), Names{});
  EXPECT_EQ(Passing("Name = 'meier'", both), (Names{"Meier", "MEIER", "meier"}));
  EXPECT_EQ(Passing("Name = '*'", both), Names{});
}

TEST_F(FilterTest, NullRules) {
  EXPECT_EQ(PrepareError("Datum >= NULL"), "Filter expression error. <> operators not valid for null comparisons");
  EXPECT_EQ(PrepareError("Nr < null"), "Filter expression error. <> operators not valid for null comparisons");
  EXPECT_EQ(PrepareError("Name <= NULL"), "Filter expression error. <> operators not valid for null comparisons");
  EXPECT_EQ(PrepareError("Nr > NULL"), "Filter expression error. <> operators not valid for null comparisons");
  EXPECT_EQ(Passing("Datum = NULL"), (Names{"O'Neil", ""}));
  EXPECT_EQ(Passing("Datum <> NULL"), (Names{"Meier", "MEIER", "meier", "Müller", "*", "Anton"}));
  EXPECT_EQ(Passing("Name = NULL"), Names{""});
  // An empty value is below every other value.
  EXPECT_EQ(Passing("Datum < 01.01.2000"), (Names{"meier", "O'Neil", "", "Anton"}));
  EXPECT_EQ(Passing("Nr <= 3"), (Names{"Meier", "MEIER", "meier", "O'Neil", ""}));
  EXPECT_EQ(Passing("Nr > 3"), (Names{"Müller", "*", "Anton"}));
  EXPECT_EQ(Passing("Nr >= 0 OR Nr <> 5"), kAll);
  // NULL on the left of a comparison is no field.
  EXPECT_EQ(PrepareError("NULL = Nr"), "Error in filter expression evaluation");
}

TEST_F(FilterTest, DatesCompareAsDayNumbers) {
  EXPECT_EQ(Passing("Datum = 24.12.2000"), Names{"Meier"});
  EXPECT_EQ(Passing("Datum > 24.12.2000"), (Names{"MEIER", "Müller", "*"}));
  EXPECT_EQ(Passing("Datum = '24.12.2000 12:00'"), Names{"MEIER"});
  EXPECT_EQ(Passing("Datum >= 24.12.2000 AND Datum < 25.12.2000"), (Names{"Meier", "MEIER"}));
  EXPECT_EQ(Passing("Datum >= 1.1.26"), (Names{"Müller", "*"}));
  // A boolean constant is taken as a day number: True is -1, 29.12.1899.
  EXPECT_EQ(Passing("Datum > True"), (Names{"Meier", "MEIER", "meier", "Müller", "*", "Anton"}));
  EXPECT_EQ(PrepareError("Datum = 'x'"), "'x' ist keine gültige Datums- und Uhrzeitangabe");
  EXPECT_EQ(PrepareError("Datum = 31.02.2000"), "'31.02.2000' ist keine gültige Datums- und Uhrzeitangabe");
}

TEST_F(FilterTest, NumbersAndBooleans) {
  EXPECT_EQ(Passing("Aktiv = 'Falsch'"), (Names{"MEIER", "O'Neil", "Anton"}));
  EXPECT_EQ(Passing("Aktiv = 'nicht'"), (Names{"Meier", "Müller", "*"}));
  EXPECT_EQ(Passing("Aktiv = True"), (Names{"Meier", "Müller", "*"}));
  EXPECT_EQ(Passing("Aktiv < True"), (Names{"MEIER", "meier", "O'Neil", "", "Anton"}));
  EXPECT_EQ(PrepareError("Aktiv = 1"), "1 is not a valid boolean data value.");
  EXPECT_EQ(PrepareError("Aktiv = 'ja'"), "ja is not a valid boolean data value.");
  EXPECT_EQ(Passing("Nr = '  +8'"), Names{"Anton"});
  EXPECT_EQ(Passing("Nr = '$8'"), Names{"Anton"});  // the integer reader's hexadecimal
  // True as an integer is -1.
  EXPECT_EQ(Passing("Nr = True"), Names{});
  EXPECT_EQ(Passing("Nr >= False"), (Names{"Meier", "MEIER", "meier", "Müller", "*", "Anton"}));
  EXPECT_EQ(PrepareError("Nr = 'x'"), "'x' ist kein gültiger Integerwert");
  EXPECT_EQ(PrepareError("Nr = 5-3"), "'5-3' ist kein gültiger Integerwert");
  EXPECT_EQ(PrepareError("Nr = 3000000000"), "'3000000000' ist kein gültiger Integerwert");
  // Floating numbers read with the regional decimal separator, a comma.
  EXPECT_EQ(Passing("Betrag = '1,5'"), Names{"Meier"});
  EXPECT_EQ(Passing("Betrag < 0"), (Names{"meier", "Müller", "*", ""}));
  EXPECT_EQ(PrepareError("Betrag = 1.5"), "'1.5' ist kein gültiger Gleitkommawert");
  EXPECT_EQ(PrepareError("Betrag = 'abc'"), "'abc' ist kein gültiger Gleitkommawert");
  EXPECT_EQ(Passing("Preis = '10,25'"), Names{"Meier"});
  EXPECT_EQ(Passing("Preis >= 100"), Names{"Müller"});
  EXPECT_EQ(PrepareError("Preis = 'x'"), "'x' ist kein gültiger Gleitkommawert");
  // A text field against a boolean compares as booleans: names are none.
  EXPECT_EQ(PrepareError("Name = True"), "Ungültige Variant-Typumwandlung");
}

TEST_F(FilterTest, ConversionErrorsKeepTheirTypes) {
  EXPECT_THROW(Activate("Nr = 'x'"), EConvertError);
  EXPECT_THROW(Activate("Datum = 'x'"), EConvertError);
  EXPECT_THROW(Activate("Name = True"), EVariantError);
  EXPECT_THROW(Activate("Aktiv = 'ja'"), EDatabaseError);
  EXPECT_THROW(Activate("Nr > NULL"), EDatabaseError);
  EXPECT_THROW(Activate("Name"), EDatabaseError);
  EXPECT_THROW(Activate("Name = 'x"), EDatabaseError);
  EXPECT_THROW(Activate("Summe = 1"), EDatabaseError);
}

TEST_F(FilterTest, OperandKinds) {
  for (const char* text : {"Name", "'A' = Name", "Name = Vorname", "NOT Name", "NOT 'x'", "True", "(Nr = 1) AND 'x'",
                           "Nr AND (Nr = 1)", "(Nr = 1) = 1", "NULL", "1 = 1"}) {
    EXPECT_EQ(PrepareError(text), "Error in filter expression evaluation") << text;
  }
  // Two conditions compare as truth values.
  EXPECT_EQ(Passing("(Nr = 1) = (Betrag = '2,5')"), (Names{"meier", "Müller", "O'Neil", "*", "", "Anton"}));
  EXPECT_EQ(Passing("(Nr = 1) < (Nr = 2)"), Names{"MEIER"});
  EXPECT_EQ(Passing("NOT (NOT (Nr = 1))"), Names{"Meier"});
  EXPECT_EQ(Passing("NOT Nr = 1 AND NOT Nr = 2 AND Nr < 5"), (Names{"meier", "Müller", "O'Neil", ""}));
  EXPECT_EQ(Passing("Nr = 1 OR Name = 'Anton' OR [Vor name] = 'Hans Peter'"), (Names{"Meier", "Anton"}));
  // AND and OR of a field and a constant take their values as truth values;
  // after the text step the comparison's result stands against 0.
  int failures = 0;
  EXPECT_EQ(Passing("Nr AND True", 0, failures), (Names{"Meier", "MEIER", "meier", "Müller", "*", "Anton"}));
  EXPECT_EQ(failures, 2);  // no Nr: Null is no truth value
  EXPECT_EQ(Passing("Name AND 'x'", foCaseInsensitive, failures), Names{});
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(Passing("Name OR 'MEIER'", foCaseInsensitive, failures), (Names{"Müller", "O'Neil", "*", "Anton"}));
  EXPECT_EQ(failures, 1);
}

TEST_F(FilterTest, FieldNamesAndNonDataFields) {
  EXPECT_EQ(Passing("nr = 4"), Names{"Müller"});
  EXPECT_EQ(Passing("[straße] = 'Ölweg'"), Names{"meier"});
  EXPECT_EQ(Passing("Straße = 'Haupt*'"), Names{"Meier"});
  EXPECT_EQ(Passing("Vorname = 'ä*'", foCaseInsensitive), Names{});
  EXPECT_EQ(Passing("[Vorname] = 'Ä*'"), Names{"Müller"});
  EXPECT_EQ(PrepareError("Summe = 2"), "Summe is not a valid filter type");
  EXPECT_EQ(PrepareError("summe = 2"), "Summe is not a valid filter type");
  EXPECT_EQ(PrepareError("Nix = 1"), "Das Feld 'Nix' wurde nicht gefunden");
  EXPECT_EQ(PrepareError("[NULL] = 1"), "Das Feld 'NULL' wurde nicht gefunden");
  table.SetName("MTbAdressen");
  EXPECT_EQ(PrepareError("Nr = 1 OR Nix = 1"), "MTbAdressen: Das Feld 'Nix' wurde nicht gefunden");
}

TEST_F(FilterTest, WorksInsideTheDatasetsFilterState) {
  int calls = 0;
  table.SetOnFilterRecord([&](TDataSet& dataset, bool& accept) {
    EXPECT_EQ(dataset.State(), dsFilter);
    ++calls;
    accept = filter.Evaluate();
  });
  Activate("Name = 'M*' OR Nr >= 8");
  table.SetFiltered(true);
  Names shown;
  for (table.First(); !table.Eof(); table.Next()) shown.push_back(table.FieldByName("Name")->AsString());
  EXPECT_EQ(shown, (Names{"Meier", "MEIER", "Müller", "Anton"}));
  EXPECT_GE(calls, 8);
}

TEST_F(FilterTest, StackSlotsAreReused) {
  Activate("Nr = 1 OR (Nr = 2 AND (Name = 'x' OR NOT Aktiv = True))");
  const int slots = filter.StackSlots();
  EXPECT_GE(slots, 5);
  for (table.First(); !table.Eof(); table.Next()) {
    filter.Evaluate();
    EXPECT_EQ(filter.StackSlots(), slots);
  }
  filter.SetActive(false);
  EXPECT_EQ(filter.StackSlots(), 0);
}

TEST_F(FilterTest, AFailedWalkDoesNotSpoilTheNextRecord) {
  // Prepared on a record without price, the comparison with a price beyond
  // the currency range fails only on records that have one, after the
  // first condition is already on the stack.
  for (table.First(); table.FieldByName("Name")->AsString() != "O'Neil"; table.Next()) {
  }
  int failures = 0;
  EXPECT_EQ(Passing("Nr = 6 OR Preis = 1E300", 0, failures), Names{"*"});
  EXPECT_EQ(failures, 4);
  table.First();
  EXPECT_THROW(filter.Evaluate(), EVariantError);
}

TEST_F(FilterTest, LongChainsPrepareAndEvaluate) {
  std::string chain = "Nr = 0";
  for (int i = 0; i < 20000; ++i) chain += " OR Nr = 0";
  chain += " OR Nr = 8";
  EXPECT_EQ(Passing(chain), Names{"Anton"});
  filter.SetActive(false);
}

}  // namespace
}  // namespace vesk
