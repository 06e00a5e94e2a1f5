// The filter parser: tokens, keywords, precedence, its six messages and the
// identifiers of single-byte and multi-byte code pages.
#include <gtest/gtest.h>

#include <string>

#include "platform/regional_settings.h"
#include "runtime/exceptions.h"
#include "tests/toolkit/memory_dataset.h"
#include "tools/filter/expr_parser.h"

namespace vesk {
namespace {

const char* OperatorText(TNodeOperator op) {
  switch (op) {
    case noAnd: return "AND";
    case noOr: return "OR";
    case noLess: return "<";
    case noLessEqual: return "<=";
    case noEqual: return "=";
    case noGreaterEqual: return ">=";
    case noGreater: return ">";
    case noNotEqual: return "<>";
    default: return "?";
  }
}

// The tree as text: fields bare, constants quoted (or <null>, <true>, <false>),
// operators in parentheses.
std::string Show(const TExprNode* node) {
  if (node == nullptr) return "<none>";
  EXPECT_EQ(node->PartialLength, -1);
  switch (node->Kind) {
    case nkField: EXPECT_EQ(node->Operator, noNone); return node->Value.AsString();
    case nkConst:
      if (node->Value.IsNull()) return "<null>";
      if (node->Value.Type() == VarType::Boolean) return node->Value.AsBoolean() ? "<true>" : "<false>";
      return "'" + node->Value.AsString() + "'";
    case nkOperator:
      EXPECT_TRUE(node->Value.IsEmpty());
      if (node->Operator == noNot) {
        EXPECT_EQ(node->Right, nullptr);
        return "(NOT " + Show(node->Left.get()) + ")";
      }
      return "(" + Show(node->Left.get()) + " " + OperatorText(node->Operator) + " " + Show(node->Right.get()) + ")";
  }
  return "?";
}

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMultiByteCodePageForTesting(true); }

  std::string Tree(const std::string& text) {
    dataset.SetFilterText(text);
    parser.Parse();
    return Show(parser.Root.get());
  }
  // The parser's message; the tree of the previous parse must be gone.
  std::string Error(const std::string& text) {
    dataset.SetFilterText("a = 1");
    parser.Parse();
    dataset.SetFilterText(text);
    try {
      parser.Parse();
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(parser.Root, nullptr) << text;
      return error.Message();
    }
    return "no error: " + Show(parser.Root.get());
  }

  TMemoryDataSet dataset;
  TExprParser parser{&dataset};
};

TEST_F(ParserTest, LiteralsAndNames) {
  EXPECT_EQ(Tree("Name = 'O''Neil'"), "(Name = 'O'Neil')");
  EXPECT_EQ(Tree("Name = ''''"), "(Name = ''')");
  EXPECT_EQ(Tree("[Vor name] = 'x'"), "(Vor name = 'x')");
  EXPECT_EQ(Tree("[a'<>(b] = 1"), "(a'<>(b = '1')");
  EXPECT_EQ(Tree("[] = 1"), "( = '1')");
  // Number-like runs are taken unchecked and kept as text.
  EXPECT_EQ(Tree("Datum >= 24.12.2000"), "(Datum >= '24.12.2000')");
  EXPECT_EQ(Tree("Nr = 1.5E-3"), "(Nr = '1.5E-3')");
  EXPECT_EQ(Tree("Nr = 5-3"), "(Nr = '5-3')");
  EXPECT_EQ(Tree("Nr=-5e+2"), "(Nr = '-5e+2')");
  // Every control byte separates tokens like a blank.
  EXPECT_EQ(Tree("\tName\r\n=\x01'x'\x1f"), "(Name = 'x')");
  // A NUL byte ends the text.
  EXPECT_EQ(Tree(std::string("Name = 'x'\0 Rest", 16)), "(Name = 'x')");
}

TEST_F(ParserTest, QuotedTextKeepsItsFirst256Characters) {
  const std::string tree = Tree("Name = '" + std::string(300, 'x') + "' AND Nr = 1");
  EXPECT_EQ(tree, "((Name = '" + std::string(256, 'x') + "') AND (Nr = '1'))");
  // Under UTF-8 a character is its whole byte sequence; a doubled quote is one.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "ä";
  std::string kept;
  for (int i = 0; i < 255; ++i) kept += "ä";
  EXPECT_EQ(Tree("Name = '''" + umlauts + "'"), "(Name = ''" + kept + "')");
}

TEST_F(ParserTest, KeywordsOnlyAsBareWordsWhereTheGrammarLooks) {
  EXPECT_EQ(Tree("Nr = null OR Aktiv = TRUE or Aktiv <> fAlSe"),
            "(((Nr = <null>) OR (Aktiv = <true>)) OR (Aktiv <> <false>))");
  EXPECT_EQ(Tree("[NULL] = [True]"), "(NULL = True)");
  EXPECT_EQ(Tree("Nr = 'NULL'"), "(Nr = 'NULL')");
  // In the place of a primary the words are field names.
  EXPECT_EQ(Tree("and = 1 AND or = 2"), "((and = '1') AND (or = '2'))");
  EXPECT_EQ(Tree("NOT not = 1"), "(NOT (not = '1'))");
}

TEST_F(ParserTest, PrecedenceAndGrouping) {
  EXPECT_EQ(Tree("not (a = 1) and b <> 2 or c < 3"), "(((NOT (a = '1')) AND (b <> '2')) OR (c < '3'))");
  EXPECT_EQ(Tree("a = 1 OR b = 2 OR c = 3"), "(((a = '1') OR (b = '2')) OR (c = '3'))");
  EXPECT_EQ(Tree("a = 1 AND b = 2 OR c = 3 AND d = 4"), "(((a = '1') AND (b = '2')) OR ((c = '3') AND (d = '4')))");
  EXPECT_EQ(Tree("a = 1 AND (b = 2 OR c = 3)"), "((a = '1') AND ((b = '2') OR (c = '3')))");
  EXPECT_EQ(Tree("NOT Name = 'x'"), "(NOT (Name = 'x'))");
  EXPECT_EQ(Tree("NOT (NOT (a = 1))"), "(NOT (NOT (a = '1')))");
  EXPECT_EQ(Tree("(A = 1) = (B = 2)"), "((A = '1') = (B = '2'))");
  // Operand kinds are the evaluator's business.
  EXPECT_EQ(Tree("'A' = Name"), "('A' = Name)");
  EXPECT_EQ(Tree("Name"), "Name");
  EXPECT_EQ(Tree("a<b"), "(a < b)");
  EXPECT_EQ(Tree("a>b"), "(a > b)");
  EXPECT_EQ(Tree("a>=b"), "(a >= b)");
  EXPECT_EQ(Tree("a<=b"), "(a <= b)");
  EXPECT_EQ(Tree("a<>b"), "(a <> b)");
}

TEST_F(ParserTest, MessagesWithTheTokenFound) {
  EXPECT_EQ(Error("   "), "Ausdruck erwartet, jedoch leer vorgefunden");
  EXPECT_EQ(Error("Name ="), "Ausdruck erwartet, jedoch leer vorgefunden");
  EXPECT_EQ(Error("Name == 'x'"), "Ausdruck erwartet, jedoch '=' vorgefunden");
  EXPECT_EQ(Error("Name = <> 'x'"), "Ausdruck erwartet, jedoch '<>' vorgefunden");
  EXPECT_EQ(Error(")"), "Ausdruck erwartet, jedoch ')' vorgefunden");
  EXPECT_EQ(Error("(Name = 'x'"), "')' erwartet, jedoch leer vorgefunden");
  EXPECT_EQ(Error("(Name = 'x' 'abc'"), "')' erwartet, jedoch ''abc'' vorgefunden");
  EXPECT_EQ(Error("Name = 'x' Vorname"), "Filterausdruck fehlerhaft abgeschlossen");
  EXPECT_EQ(Error("a = 1 = 2"), "Filterausdruck fehlerhaft abgeschlossen");
  EXPECT_EQ(Error("NOT NOT (a = 1)"), "Filterausdruck fehlerhaft abgeschlossen");
  EXPECT_EQ(Error("Nr = 12abc"), "Filterausdruck fehlerhaft abgeschlossen");
  EXPECT_EQ(Error("Name = 'abc"), "Nicht begrenzte String-Konstante");
  EXPECT_EQ(Error("Name = 'abc''"), "Nicht begrenzte String-Konstante");
  EXPECT_EQ(Error("[Vor name = 'x'"), "Nicht begrenzter Feldname");
  EXPECT_EQ(Error("Name != 'x'"), "Ungültiges Zeichen in Filterausdruck: '!'");
  EXPECT_EQ(Error("Name = .5"), "Ungültiges Zeichen in Filterausdruck: '.'");
  EXPECT_EQ(Error("Name = +5"), "Ungültiges Zeichen in Filterausdruck: '+'");
  EXPECT_EQ(Error("Datum >= 24/12/2000"), "Ungültiges Zeichen in Filterausdruck: '/'");
  EXPECT_EQ(Error("Name = \"x\""), "Ungültiges Zeichen in Filterausdruck: '\"'");
  EXPECT_EQ(Error("a = 1 ] "), "Ungültiges Zeichen in Filterausdruck: ']'");
  EXPECT_EQ(Error("a = \x7f"), "Ungültiges Zeichen in Filterausdruck: '\x7f'");
  EXPECT_EQ(Error("a = \x80"), "Ungültiges Zeichen in Filterausdruck: '\x80'");
  EXPECT_EQ(Error("a = \xff"), "Ungültiges Zeichen in Filterausdruck: '\xff'");
}

TEST_F(ParserTest, NestingIsBoundedButChainsAreNot) {
  const auto nested = [](int depth) { return std::string(depth, '(') + "a = 1" + std::string(depth, ')'); };
  EXPECT_NE(Tree(nested(256)).find("(a = '1')"), std::string::npos);
  EXPECT_EQ(Error(nested(257)), "Filterausdruck zu tief verschachtelt");
  EXPECT_EQ(Error(std::string(100000, '(')), "Filterausdruck zu tief verschachtelt");
  // A chain of 100,000 ORs is as deep as it is long; parsing and freeing it
  // must not recurse.
  std::string chain = "a = 1";
  for (int i = 0; i < 100000; ++i) chain += " OR a = 1";
  dataset.SetFilterText(chain);
  parser.Parse();
  ASSERT_NE(parser.Root, nullptr);
  EXPECT_EQ(parser.Root->Operator, noOr);
  parser.Root.reset();
}

TEST_F(ParserTest, IdentifiersInSingleByteAndMultiByteCodePages) {
  SetMultiByteCodePageForTesting(false);
  // ß (two bytes) ends the identifier Stra and starts another one.
  EXPECT_EQ(Error("Straße = 'x'"), "Filterausdruck fehlerhaft abgeschlossen");
  EXPECT_EQ(Tree("[Straße] = 'x'"), "(Straße = 'x')");
  // A byte above 127 starts an identifier but continues none.
  EXPECT_EQ(Tree("\xe4 = 1"), "(\xe4 = '1')");
  EXPECT_EQ(Tree("\xe4\x31 = 1"), "(\xe4\x31 = '1')");
  EXPECT_EQ(Error("\xe4\xe4 = 1"), "Filterausdruck fehlerhaft abgeschlossen");

  SetMultiByteCodePageForTesting(true);
  EXPECT_EQ(Tree("Straße = 'x'"), "(Straße = 'x')");
  EXPECT_EQ(Tree("Ölweg_2 = 'x'"), "(Ölweg_2 = 'x')");
  EXPECT_EQ(Tree("日本 = 'x'"), "(日本 = 'x')");
  EXPECT_EQ(Tree("[Straße] = 'x'"), "(Straße = 'x')");
  // A continuation byte cannot start a character, hence no identifier.
  EXPECT_EQ(Error("\x9f = 1"), "Ungültiges Zeichen in Filterausdruck: '\x9f'");
  // A broken sequence: the lead byte alone is one character.
  EXPECT_EQ(Tree("a\xc3 = 1"), "(a\xc3 = '1')");
}

}  // namespace
}  // namespace vesk
