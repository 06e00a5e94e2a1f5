// TIntEdit: the key filter typed through QTest, Value, alignment and the
// user's own key handler.
#include <gtest/gtest.h>

#include <QTest>
#include <limits>
#include <stdexcept>
#include <string>

#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "tools/controls/IntEdit.h"

namespace vesk {
namespace {

// Counts the refusals instead of sounding them.
class CountingIntEdit : public TIntEdit {
 public:
  int beeps = 0;

 protected:
  void Beep() override { ++beeps; }
};

class IntEditTest : public testing::Test {
 protected:
  void SetUp() override { edit.show(); }

  // Sets the text, puts the caret at `caret` (-1: the end) and types `keys`.
  std::string Type(const char* text, int caret, const char* keys) {
    edit.setText(QString::fromUtf8(text));
    if (caret >= 0) edit.setCursorPosition(caret);
    QTest::keyClicks(&edit, QString::fromUtf8(keys));
    return edit.text().toStdString();
  }

  CountingIntEdit edit;
};

TEST_F(IntEditTest, NewControlShowsRightAlignedZero) {
  EXPECT_EQ(edit.text().toStdString(), "0");
  EXPECT_EQ(edit.Value(), 0);
  EXPECT_EQ(edit.Alignment(), taRightJustify);
  EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
  EXPECT_EQ(edit.height(), Scale(24));
}

TEST_F(IntEditTest, DigitReplacesLoneZeroAndZeroIsRefused) {
  EXPECT_EQ(Type("0", -1, "7"), "7");
  EXPECT_EQ(edit.beeps, 0);
  EXPECT_EQ(Type("0", -1, "0"), "0");
  EXPECT_EQ(edit.beeps, 1);
  // Before a lone zero: both the zero rule and the leading-zero rule refuse.
  EXPECT_EQ(Type("0", 0, "0"), "0");
  EXPECT_EQ(edit.beeps, 3);
  // A zero text that is not exactly "0" is not cleared.
  EXPECT_EQ(Type("05", -1, "3"), "053");
}

TEST_F(IntEditTest, EmptyTextTakesAnyDigit) {
  EXPECT_EQ(Type("", -1, "0"), "0");
  EXPECT_EQ(Type("", -1, "45"), "45");
  EXPECT_EQ(edit.beeps, 0);
}

TEST_F(IntEditTest, NoLeadingZeroButDigitsAnywhereElse) {
  EXPECT_EQ(Type("12", 0, "0"), "12");
  EXPECT_EQ(edit.beeps, 1);
  EXPECT_EQ(Type("12", 0, "3"), "312");
  EXPECT_EQ(Type("12", 1, "0"), "102");
  EXPECT_EQ(Type("12", -1, "0"), "120");
  EXPECT_EQ(edit.beeps, 1);
}

TEST_F(IntEditTest, MinusTogglesTheSignWithoutBeep) {
  EXPECT_EQ(Type("12", 1, "-"), "-12");
  EXPECT_EQ(edit.Value(), -12);
  QTest::keyClick(&edit, '-');
  EXPECT_EQ(edit.text().toStdString(), "12");
  // Text that is no number reads 0, so the sign key writes "0".
  EXPECT_EQ(Type("abc", -1, "-"), "0");
  EXPECT_EQ(edit.beeps, 0);
}

TEST_F(IntEditTest, SmallestValueKeepsItsSign) {
  edit.SetValue(std::numeric_limits<int32_t>::min());
  QTest::keyClick(&edit, '-');
  EXPECT_EQ(edit.Value(), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(edit.beeps, 1);
  edit.SetValue(std::numeric_limits<int32_t>::max());
  QTest::keyClick(&edit, '-');
  EXPECT_EQ(edit.Value(), -std::numeric_limits<int32_t>::max());
}

TEST_F(IntEditTest, NoZeroAfterTheSignAndNoDigitBeforeIt) {
  EXPECT_EQ(Type("-5", 1, "0"), "-5");
  EXPECT_EQ(edit.beeps, 1);
  EXPECT_EQ(Type("-5", 2, "0"), "-50");
  EXPECT_EQ(Type("-5", 1, "3"), "-35");
  EXPECT_EQ(edit.beeps, 1);
  EXPECT_EQ(Type("-5", 0, "3"), "-5");
  EXPECT_EQ(edit.beeps, 2);
  // A zero before the sign breaks two rules.
  EXPECT_EQ(Type("-5", 0, "0"), "-5");
  EXPECT_EQ(edit.beeps, 4);
}

TEST_F(IntEditTest, NonDigitsAreRefusedWithBeep) {
  EXPECT_EQ(Type("12", -1, "a+ ."), "12");
  QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_Adiaeresis, QString::fromUtf8("\xc3\xa4"), Qt::NoModifier);
  EXPECT_EQ(edit.text().toStdString(), "12");
  EXPECT_EQ(edit.beeps, 5);
}

TEST_F(IntEditTest, SelectionStartCountsAsCaret) {
  edit.setText("123");
  edit.selectAll();
  QTest::keyClick(&edit, '0');
  EXPECT_EQ(edit.text().toStdString(), "123");
  EXPECT_EQ(edit.beeps, 1);
  edit.selectAll();
  QTest::keyClick(&edit, '5');
  EXPECT_EQ(edit.text().toStdString(), "5");
}

TEST_F(IntEditTest, EditingKeysPassUnfiltered) {
  EXPECT_EQ(Type("123", -1, ""), "123");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text().toStdString(), "12");
  QTest::keyClick(&edit, Qt::Key_Home);
  EXPECT_EQ(edit.cursorPosition(), 0);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text().toStdString(), "2");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_End);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text().toStdString(), "");
  EXPECT_EQ(edit.Value(), 0);
  EXPECT_EQ(edit.beeps, 0);
}

TEST_F(IntEditTest, ReadOnlyEditIgnoresTyping) {
  edit.setReadOnly(true);
  EXPECT_EQ(Type("12", -1, "-3a"), "12");
  EXPECT_EQ(edit.beeps, 0);
}

TEST_F(IntEditTest, ValueReadsTheTextAndZeroForNoInteger) {
  edit.SetValue(-42);
  EXPECT_EQ(edit.text().toStdString(), "-42");
  edit.setText("abc");
  EXPECT_EQ(edit.Value(), 0);
  edit.setText("2147483648");
  EXPECT_EQ(edit.Value(), 0);
  edit.setText("-2147483648");
  EXPECT_EQ(edit.Value(), std::numeric_limits<int32_t>::min());
  edit.setText("");
  EXPECT_EQ(edit.Value(), 0);
}

TEST_F(IntEditTest, AlignmentChangeKeepsTheText) {
  edit.SetValue(77);
  edit.SetAlignment(taCenter);
  EXPECT_EQ(edit.Alignment(), taCenter);
  EXPECT_TRUE(edit.alignment() & Qt::AlignHCenter);
  edit.SetAlignment(taLeftJustify);
  EXPECT_TRUE(edit.alignment() & Qt::AlignLeft);
  EXPECT_EQ(edit.text().toStdString(), "77");
}

TEST_F(IntEditTest, OwnKeyHandlerRunsBeforeTheFilter) {
  edit.OnKeyPress = [](TIntEdit&, char32_t& key) {
    if (key == U'x') key = U'5';
    if (key == U'9') key = 0;
  };
  EXPECT_EQ(Type("1", -1, "x9"), "15");
  EXPECT_EQ(edit.beeps, 0);
  // What the handler puts in is filtered as if typed.
  edit.OnKeyPress = [](TIntEdit&, char32_t& key) { key = U'0'; };
  EXPECT_EQ(Type("1", 0, "7"), "1");
  EXPECT_EQ(edit.beeps, 1);
}

TEST_F(IntEditTest, FailingKeyHandlerDropsTheKeyAndReports) {
  std::string shown;
  Application().OnException = [&](const std::exception& error) { shown = error.what(); };
  edit.OnKeyPress = [](TIntEdit&, char32_t&) { throw std::runtime_error("Handler kaputt"); };
  EXPECT_EQ(Type("1", -1, "2"), "1");
  Application().OnException = nullptr;
  EXPECT_EQ(shown, "Handler kaputt");
}

}  // namespace
}  // namespace vesk
