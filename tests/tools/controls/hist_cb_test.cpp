// TDBHistComboBox: the history read after the window's loading, entries added
// when the focus really leaves the box, and the history written back to the
// INI file in the program folder when the window goes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/file_io.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tests/toolkit/form_fixture.h"
#include "toolkit/data/field.h"
#include "tools/controls/HistCB.h"

namespace vesk {
namespace {

using Entries = std::vector<std::string>;

class HistComboBoxTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    Open(1);
  }

  std::string Ini() const { return home.File("ttarife.ini"); }
  void WriteIni(const std::string& text) const { ASSERT_TRUE(WriteFileAtomically(Ini(), text)); }
  std::optional<std::string> IniText() const { return ReadFile(Ini()); }

  // A tariff zone box as the address window has it, made while the window
  // loads unless `loaded` is false; the window is shown afterwards.
  TDBHistComboBox* MakeBox(int32_t maxItem = 5, const char* file = "ttarife.ini", const char* section = "Tarifzone",
                           bool loaded = true) {
    if (loaded) form->BeginLoading();
    auto* box = new TDBHistComboBox(form);
    box->SetMaxItem(maxItem);
    box->SetIniFilename(file);
    box->SetIniSection(section);
    box->SetDataSource(source);
    box->SetDataField("Name");
    other = new QLineEdit(form);
    other->move(0, 40);
    box->show();
    other->show();
    if (loaded) form->EndLoading();
    ShowForm();
    return box;
  }

  // Clears the box's text, types text and moves the focus to another control.
  void Enter(TDBHistComboBox* box, const std::string& text) {
    box->setFocus();
    QTest::keyClick(box->lineEdit(), Qt::Key_End);
    for (int i = 0; i < 40 && !box->lineEdit()->text().isEmpty(); ++i)
      QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    // Key by key, as typed; umlauts have no key of their own.
    for (QChar character : QString::fromStdString(text))
      QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString(character), {});
    ASSERT_EQ(box->Text(), text);
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());
  }

  void CloseWindow() {
    form->Free();
    form = nullptr;
  }

  TempFolder home;
  ScopedEnv programFolder{"VESK_HOME", home.Path()};
  QLineEdit* other = nullptr;
};

TEST_F(HistComboBoxTest, LoadsTheSectionInOrderAndWritesItBackUnchanged) {
  const std::string text = "[Andere]\n0=fremd\n[Tarifzone]\n0=Zone A\n1=Zone B\nx=\n2=Zone C\n[Danach]\n0=auch fremd\n";
  WriteIni(text);
  TDBHistComboBox* box = MakeBox();
  // The key with an empty value is left out; the section is not erased.
  EXPECT_EQ(box->History(), (Entries{"Zone A", "Zone B", "Zone C"}));
  EXPECT_EQ(box->Items(), box->History());
  EXPECT_EQ(box->Text(), "Name1") << "the field's value shows again";
  CloseWindow();
  EXPECT_EQ(IniText(), text);
}

TEST_F(HistComboBoxTest, LeavingTheBoxAddsNewTextsOnly) {
  WriteIni("[Tarifzone]\n0=Zone A\n1=Zone B\n2=Zone C\n3=Zone D\n4=Übersee\n");
  TDBHistComboBox* box = MakeBox();
  Enter(box, "");
  Enter(box, "zone a");
  Enter(box, "üBERSEE");
  EXPECT_EQ(box->History(), (Entries{"Zone A", "Zone B", "Zone C", "Zone D", "Übersee"}))
      << "empty and caselessly known texts change nothing";
  Enter(box, "Zone B");
  EXPECT_EQ(box->History().front(), "Zone A") << "a known text is not moved to the front";
  Enter(box, "Zone E");
  EXPECT_EQ(box->History(), (Entries{"Zone E", "Zone A", "Zone B", "Zone C", "Zone D"}));
  EXPECT_EQ(box->Items(), box->History());
  EXPECT_EQ(box->Text(), "Zone E");
  EXPECT_EQ(dataset->FieldByName("Name")->AsString(), "Zone E") << "the base wrote the field first";
  EXPECT_EQ(IniText(), "[Tarifzone]\n0=Zone A\n1=Zone B\n2=Zone C\n3=Zone D\n4=Übersee\n")
      << "nothing is written before the box goes";
  CloseWindow();
  EXPECT_EQ(IniText(), "[Tarifzone]\n0=Zone E\n1=Zone A\n2=Zone B\n3=Zone C\n4=Zone D\n");
}

TEST_F(HistComboBoxTest, LongerStoredHistoryIsKeptAndLosesItsFifthEntry) {
  WriteIni("[Tarifzone]\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n6=g\n");
  TDBHistComboBox* box = MakeBox();
  EXPECT_EQ(box->History().size(), 7u);
  Enter(box, "neu");
  EXPECT_EQ(box->History(), (Entries{"neu", "a", "b", "c", "d", "f", "g"}));
  CloseWindow();
  EXPECT_EQ(IniText(), "[Tarifzone]\n0=neu\n1=a\n2=b\n3=c\n4=d\n5=f\n6=g\n");
  TDBHistComboBox fresh;
  EXPECT_EQ(fresh.MaxItem(), 5);
  fresh.SetMaxItem(0);
  EXPECT_EQ(fresh.MaxItem(), 1);
}

TEST_F(HistComboBoxTest, WithoutFileOrNamesNothingIsReadOrWritten) {
  const std::string text = "[Tarifzone]\n0=Zone A\n";
  WriteIni(text);
  TDBHistComboBox* noFile = MakeBox(5, "", "Tarifzone");
  TDBHistComboBox* noSection = MakeBox(5, "ttarife.ini", "");
  TDBHistComboBox* madeInCode = MakeBox(5, "ttarife.ini", "Tarifzone", false);
  for (TDBHistComboBox* box : {noFile, noSection, madeInCode}) {
    EXPECT_TRUE(box->History().empty());
    Enter(box, "Zone Z");
    EXPECT_EQ(box->History(), Entries{"Zone Z"});
  }
  delete noFile;
  delete noSection;
  EXPECT_EQ(IniText(), text);
  // A box made in code still saves what it gathered.
  delete madeInCode;
  EXPECT_EQ(IniText(), "[Tarifzone]\n0=Zone Z\n");

  std::filesystem::remove(Ini());
  TDBHistComboBox* missing = MakeBox();
  EXPECT_TRUE(missing->History().empty());
  CloseWindow();
  EXPECT_FALSE(IniText().has_value()) << "an empty history writes nothing";
  EXPECT_TRUE(caught.errors.empty());
}

TEST_F(HistComboBoxTest, FailedSaveIsShownAndTheWindowStillGoes) {
  std::filesystem::create_directory(Ini());
  TDBHistComboBox* box = MakeBox();
  EXPECT_TRUE(box->History().empty());
  Enter(box, "Zone A");
  EXPECT_THROW(box->SaveHistory(), Exception);
  CloseWindow();
  EXPECT_EQ(caught.errors, Entries{"nach " + Ini() + " kann nicht geschrieben werden"});
}

}  // namespace
}  // namespace vesk
