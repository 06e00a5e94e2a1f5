// The address window's double clicks on the mail and web address, in a
// temporary XDG world whose browser is a recording program. The world is
// set up before anything in this process asks the desktop for its
// associations (each test case runs in a process of its own).
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "runtime/file_io.h"
#include "tests/tools/adressen/adressen_fixture.h"
#include "tests/tools/adressen/recorded_arguments.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

using Words = std::vector<std::string>;

class AdressenLaunch : public AdressenTest {
 protected:
  void SetUp() override {
    AdressenTest::SetUp();
    std::filesystem::create_directories(world_.File("data/applications"));
    std::filesystem::create_directories(world_.File("config"));
    ASSERT_TRUE(WriteFileAtomically(world_.File("data/applications/browser.desktop"),
                                    "[Desktop Entry]\nType=Application\nName=browser\nExec=\"" VESK_RECORD_ARGUMENTS
                                    "\" --new-window %u\n"));
    ASSERT_TRUE(WriteFileAtomically(world_.File("config/mimeapps.list"),
                                    "[Default Applications]\ntext/html=browser.desktop\n"));
    for (const auto& [name, folder] : {std::pair{"XDG_DATA_HOME", "data"}, std::pair{"XDG_CONFIG_HOME", "config"},
                                       std::pair{"XDG_DATA_DIRS", "system"}, std::pair{"XDG_CONFIG_DIRS", "system"}})
      world_env_.push_back(std::make_unique<ScopedEnv>(name, world_.File(folder)));
    world_env_.push_back(std::make_unique<ScopedEnv>("XDG_CURRENT_DESKTOP", std::nullopt));
    world_env_.push_back(std::make_unique<ScopedEnv>("VESK_RECORD", Record()));
  }
  void TearDown() override {
    world_env_.clear();
    AdressenTest::TearDown();
  }

  std::string Record() const { return world_.File("record.out"); }
  TempFolder world_;
  std::vector<std::unique_ptr<ScopedEnv>> world_env_;
};

TEST_F(AdressenLaunch, DoubleClickOpensTheWebAndTheMailAddress) {
  OpenWindow();
  TRadiRidir& table = *window_->MTbAdressen;
  table.Append();
  table.FieldByName("Name")->SetAsString("Muster");
  table.FieldByName("Email")->SetAsString("max@example.org");
  table.FieldByName("URL")->SetAsString("https://example.org/suche?q=a b&x=1");
  table.Post();

  QTest::mouseDClick(window_->EdURL, Qt::LeftButton);
  EXPECT_EQ(RecordedArguments(Record(), 10000), (Words{"--new-window", "https://example.org/suche?q=a b&x=1"}));
  // No mail program: the browser gets the mail address.
  QTest::mouseDClick(window_->EdEmail, Qt::LeftButton);
  EXPECT_EQ(RecordedArguments(Record(), 10000), (Words{"--new-window", "mailto:max@example.org?subject="}));
  // A single click starts nothing.
  QTest::mouseClick(window_->EdURL, Qt::LeftButton);
  QTest::qWait(300);
  EXPECT_FALSE(std::filesystem::exists(Record()));
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace vesk
