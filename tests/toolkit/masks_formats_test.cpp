// The edit mask language and the number display formats.
#include <gtest/gtest.h>

#include "runtime/format_settings.h"
#include "toolkit/data/edit_mask.h"
#include "toolkit/data/number_format.h"

namespace vesk {
namespace {

class Masks : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(FormatSettings{}); }
  void TearDown() override { SetFormatSettings(FormatSettings{}); }
};

TEST_F(Masks, DateMaskWithRequiredAndOptionalDigits) {
  const TEditMask mask("!99/99/0000;1;_");
  EXPECT_EQ(mask.Length(), 10);
  EXPECT_TRUE(mask.SaveLiterals());
  EXPECT_TRUE(mask.IsLiteral(2));
  EXPECT_TRUE(mask.Accepts(2, U'.')) << "'/' is the regional date separator";
  EXPECT_FALSE(mask.Accepts(0, U'a'));
  EXPECT_EQ(mask.EditText(""), "__.__.____");
  EXPECT_EQ(mask.EditText("03.03.2026"), "03.03.2026");
  EXPECT_TRUE(mask.IsBlank("__.__.____"));
  EXPECT_FALSE(mask.IsComplete("__.__.____"));
  EXPECT_TRUE(mask.IsComplete("_3._3.2026")) << "days and months may leave a digit out";
  EXPECT_FALSE(mask.IsComplete("03.03.20_6")) << "the year needs all four";
  EXPECT_FALSE(mask.IsComplete("03.x3.2026"));
  EXPECT_EQ(mask.ValueText("_3._3.2026"), " 3. 3.2026");
  EXPECT_EQ(mask.EditText(mask.ValueText("_3._3.2026")), "_3._3.2026") << "stored text keeps its positions";
  EXPECT_EQ(mask.ValueText("__.__.____"), "");
}

TEST_F(Masks, TimeMaskAlignsShortTextsToTheRight) {
  const TEditMask mask("!90:00;1;_");
  EXPECT_EQ(mask.EditText("9:05"), "_9:05");
  EXPECT_TRUE(mask.IsComplete("_9:05"));
  EXPECT_FALSE(mask.IsComplete("9_:05")) << "the second hour digit is required";
  EXPECT_EQ(mask.ValueText("_9:05"), " 9:05");
  EXPECT_EQ(TEditMask("90:00;1;_").EditText("9:05"), "9_:05") << "without '!' to the left";
  EXPECT_EQ(TEditMask("!99/99/0000;1;_").EditText("3.3.2026"), "_3._3.2026");
}

TEST_F(Masks, SeparatorCompletesThePartAndAlignmentCountsShortParts) {
  const TEditMask date("!90/90/9900;1;_");
  std::string text = "1_.__.____";
  int caret = 1;
  ASSERT_TRUE(date.CompletePart(text, caret, U'.'));
  EXPECT_EQ(text, "01.__.____");
  EXPECT_EQ(caret, 3);
  ASSERT_TRUE(date.CompletePart(text, caret, U'.')) << "the part the caret went to was opened by it";
  EXPECT_EQ(caret, 3);
  text = "01.12.____";
  caret = 5;  // in front of the second literal, the month complete
  ASSERT_TRUE(date.CompletePart(text, caret, U'.'));
  EXPECT_EQ(text, "01.12.____");
  EXPECT_EQ(caret, 6);
  text = "01._2.____";  // a digit typed after a free position moves right
  caret = 5;
  ASSERT_TRUE(date.CompletePart(text, caret, U'.'));
  EXPECT_EQ(text, "01.02.____");
  // Refused: an empty part, the last part (no literal ends it), another separator.
  text = "__.__.____";
  caret = 0;
  EXPECT_FALSE(date.CompletePart(text, caret, U'.'));
  text = "01.12.26__";
  caret = 8;
  EXPECT_FALSE(date.CompletePart(text, caret, U'.'));
  caret = 1;
  EXPECT_FALSE(date.CompletePart(text, caret, U':'));
  EXPECT_EQ(text, "01.12.26__");
  EXPECT_EQ(caret, 1);

  const TEditMask time("!90:90;1;_");
  text = "9_:__";
  caret = 1;
  ASSERT_TRUE(time.CompletePart(text, caret, U':'));
  EXPECT_EQ(text, "09:__");

  EXPECT_EQ(date.AlignParts("1_.12.26__"), "_1.12.__26");
  EXPECT_TRUE(date.IsComplete(date.AlignParts("1_.12.26__")));
  EXPECT_FALSE(date.IsComplete("1_.12.26__"));
  EXPECT_EQ(date.ValueText(date.AlignParts("1_.12.26__")), " 1.12.  26");
  EXPECT_EQ(TEditMask("00-00;1;_").AlignParts("1_-2_"), "1_-2_") << "without '!' as typed";

  EXPECT_EQ(date.FirstBlank("__.__.____"), 0);
  EXPECT_EQ(date.FirstBlank("01.1_.____"), 4);
  EXPECT_EQ(date.FirstBlank("01.12.2026"), -1);
}

TEST_F(Masks, LiteralsDroppedBlankCharEscapesAndRegionalSeparators) {
  const TEditMask mask("00/00;0;*");
  EXPECT_EQ(mask.BlankChar(), U'*');
  EXPECT_EQ(mask.EditText(""), "**.**");
  EXPECT_EQ(mask.ValueText("12.34"), "1234");
  EXPECT_EQ(mask.EditText("1234"), "12.34");

  const TEditMask escaped("\\0-00");
  EXPECT_EQ(escaped.Length(), 4);
  EXPECT_TRUE(escaped.IsLiteral(0));
  EXPECT_EQ(escaped.EditText(""), "0-__");

  const TEditMask letters("LL-aa");
  EXPECT_TRUE(letters.Accepts(0, U'Ä'));
  EXPECT_FALSE(letters.Accepts(0, U'1'));
  EXPECT_TRUE(letters.Accepts(3, U'1'));
  EXPECT_TRUE(letters.IsComplete("ÄB-__"));
  EXPECT_FALSE(letters.IsComplete("Ä_-__"));

  FormatSettings us;
  us.dateSeparator = '/';
  us.timeSeparator = '.';
  SetFormatSettings(us);
  EXPECT_EQ(TEditMask("99/99;1;_").EditText(""), "__/__");
  EXPECT_EQ(TEditMask("90:00;1;_").EditText(""), "__.__");

  const TEditMask none("");
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none.ValueText("frei"), "frei");
  EXPECT_TRUE(none.IsComplete("frei"));
}

TEST_F(Masks, NumberFormats) {
  EXPECT_EQ(FormatFloat("0.00", 2.675), "2,68") << "rounded as written, half away from zero";
  EXPECT_EQ(FormatFloat("0.00", -2.675), "-2,68");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
  EXPECT_EQ(FormatFloat("#,##0.00", 999.999), "1.000,00");
  EXPECT_EQ(FormatFloat("0.00", -0.004), "0,00") << "no sign on a zero";
  EXPECT_EQ(FormatFloat("#.##", 0.5), ",5");
  EXPECT_EQ(FormatFloat("0.0#", 1.5), "1,5");
  EXPECT_EQ(FormatFloat("0.0#", 1.256), "1,26");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("000", 7), "007");
  EXPECT_EQ(FormatFloat("#,##0.00 €", -1234.5), "-1.234,50 €");
  EXPECT_EQ(FormatFloat("Nr. 0", 12), "Nr. 12");
  EXPECT_EQ(FormatFloat("0", 1e20), "100000000000000000000");
  EXPECT_EQ(FormatFloat("0.000", 0.0005), "0,001");
  EXPECT_EQ(FormatFloat("", 1.5), "1,5");
  FormatSettings english;
  english.decimalSeparator = '.';
  english.thousandSeparator = ',';
  SetFormatSettings(english);
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
}

}  // namespace
}  // namespace vesk
