// The navigator driven by mouse clicks: enabled buttons per state, insert,
// type, post, edit, cancel, delete with and without confirmation, the
// before-action event, hints and visible buttons.
#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "form_fixture.h"
#include "runtime/exceptions.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_navigator.h"

namespace vesk {
namespace {

class DBNavigatorTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    navigator = new TDBNavigator(form);
    navigator->setGeometry(0, 0, 240, 30);
    navigator->SetDataSource(source);
    name = new TDBEdit(form);
    name->setGeometry(0, 40, 200, 24);
    name->SetDataSource(source);
    name->SetDataField("Name");
  }
  void Click(TNavigateBtn button) { QTest::mouseClick(navigator->Button(button), Qt::LeftButton); }
  // The enabled buttons as a string of 0 and 1, first to refresh.
  std::string Enabled() {
    std::string flags;
    for (int i = 0; i < kNavigateButtons; ++i)
      flags += navigator->Button(static_cast<TNavigateBtn>(i))->isEnabled() ? '1' : '0';
    return flags;
  }

  TDBNavigator* navigator = nullptr;
  TDBEdit* name = nullptr;
};

TEST_F(DBNavigatorTest, ButtonsFollowTheState) {
  EXPECT_EQ(Enabled(), "0000000000");
  Open(3);
  ShowForm();
  EXPECT_EQ(Enabled(), "0011111001");  // on the first record
  Click(nbNext);
  EXPECT_EQ(Enabled(), "1111111001");
  Click(nbLast);
  EXPECT_EQ(dataset->FieldByName("Nr")->AsInteger(), 3);
  EXPECT_EQ(Enabled(), "1100111001");
  Click(nbEdit);
  EXPECT_EQ(dataset->State(), dsEdit);
  EXPECT_EQ(Enabled().substr(4), "110110");
  Click(nbCancel);
  Click(nbFirst);
  EXPECT_EQ(dataset->FieldByName("Nr")->AsInteger(), 1);
  dataset->SetReadOnly(true);
  Click(nbNext);
  EXPECT_EQ(Enabled(), "1111000001");
}

TEST_F(DBNavigatorTest, InsertTypePostAndEditCancel) {
  Open(2);
  ShowForm();
  std::vector<std::string> log;
  navigator->BeforeAction = [&](TDBNavigator&, TNavigateBtn button) {
    log.push_back(std::to_string(button) + (dataset->State() == dsBrowse ? " browse" : " editing"));
    if (button == nbInsert) name->setFocus();
  };
  Click(nbInsert);
  EXPECT_EQ(dataset->State(), dsInsert);
  EXPECT_TRUE(name->hasFocus());
  QTest::keyClicks(name, "Neu");
  dataset->FieldByName("Nr")->SetAsInteger(9);
  Click(nbPost);
  EXPECT_EQ(dataset->StoredCount(), 3);
  EXPECT_EQ(Stored(9, "Name"), "Neu");

  dataset->Last();
  const std::string before = name->Text();
  Click(nbEdit);
  QTest::keyClicks(name, "X");
  Click(nbCancel);
  EXPECT_EQ(name->Text(), before);
  EXPECT_EQ(dataset->FieldByName("Name")->AsString(), before);
  EXPECT_EQ(log, (std::vector<std::string>{"4 browse", "7 editing", "6 browse", "8 editing"}));
}

TEST_F(DBNavigatorTest, DeleteAsksFirst) {
  Open(3);
  ShowForm();
  caught.SetAnswer(MbResult::No);
  Click(nbDelete);
  EXPECT_EQ(dataset->StoredCount(), 3);
  ASSERT_EQ(caught.boxes.size(), 1u);
  EXPECT_EQ(caught.boxes[0].text, "Datensatz löschen?");
  EXPECT_EQ(caught.boxes[0].buttons, MbButtons::YesNo);
  caught.SetAnswer(MbResult::Yes);
  Click(nbDelete);
  EXPECT_EQ(dataset->StoredCount(), 2);
  EXPECT_EQ(name->Text(), "Name2");
  navigator->SetConfirmDelete(false);
  Click(nbDelete);
  EXPECT_EQ(dataset->StoredCount(), 1);
  EXPECT_EQ(caught.boxes.size(), 2u);
}

TEST_F(DBNavigatorTest, FailuresAreShownAndHintsAreGerman) {
  Open(1);
  ShowForm();
  dataset->SetFailingPosts(1);
  navigator->BeforeAction = [](TDBNavigator&, TNavigateBtn button) {
    if (button == nbRefresh) throw Exception("nicht jetzt");
  };
  Click(nbEdit);
  Click(nbPost);
  EXPECT_EQ(dataset->State(), dsEdit) << "the failed post keeps the edit";
  Click(nbCancel);
  Click(nbRefresh);
  EXPECT_EQ(caught.errors.size(), 2u);
  EXPECT_EQ(caught.errors.back(), "nicht jetzt");

  EXPECT_TRUE(navigator->Button(nbFirst)->toolTip().isEmpty());
  navigator->SetShowHint(true);
  EXPECT_EQ(navigator->Button(nbNext)->toolTip(), "Nächster Datensatz");
  EXPECT_EQ(navigator->Button(nbRefresh)->toolTip(), "Daten aktualisieren");
  navigator->SetVisibleButtons(NavButton(nbFirst) | NavButton(nbLast));
  EXPECT_TRUE(navigator->Button(nbLast)->isVisible());
  EXPECT_FALSE(navigator->Button(nbNext)->isVisible());
}

}  // namespace
}  // namespace vesk
