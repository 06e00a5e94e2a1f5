#include "tests/tools/adressen/adressen_fixture.h"

#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "toolkit/data/field.h"
#include "toolkit/tab_control.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

TFRAdressen& AdressenTest::OpenWindow() {
  window_ = new TFRAdressen();
  window_->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
  return *window_;
}

void AdressenTest::CloseWindow() {
  window_->Close();
  ProcessEvents();
}

void AdressenTest::Add(const std::string& name, const std::string& category) {
  TRadiRidir& table = *window_->MTbAdressen;
  table.Append();
  table.FieldByName("Name")->SetAsString(name);
  table.FieldByName("Kategorie")->SetAsString(category);
  table.Post();
}

void AdressenTest::SelectTab(int index) {
  QTabBar* bar = window_->TCAdressen->TabBar();
  while (bar->currentIndex() < index) QTest::keyClick(bar, Qt::Key_Right);
  while (bar->currentIndex() > index) QTest::keyClick(bar, Qt::Key_Left);
}

void AdressenTest::Click(TNavigateBtn button) {
  QToolButton* target = window_->DBNvAdressen->Button(button);
  ASSERT_TRUE(target->isEnabled());
  QTest::mouseClick(target, Qt::LeftButton);
}

std::vector<std::string> AdressenTest::Names() {
  std::vector<std::string> names;
  TRadiRidir& table = *window_->MTbAdressen;
  for (table.First(); !table.Eof(); table.Next()) names.push_back(table.FieldByName("Name")->AsString());
  return names;
}

void AdressenTest::WriteProgramFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(File(name), std::ios::binary) << bytes;
}

}  // namespace vesk
