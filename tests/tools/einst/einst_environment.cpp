// For the whole settings window test program: a private runtime folder, the
// QApplication, the library's message registered, and the application's
// windows freed before the QApplication goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "../../platform/test_support.h"
#include "toolkit/application.h"
#include "tools/VeskMsg.h"

namespace vesk {
namespace {

class EinstTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    runtime_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", folder_->Path());
    application_ = std::make_unique<QApplication>(argc_, argv_);
    // As the library does at its start.
    RegisterVeskToolsMessage();
  }
  void TearDown() override {
    Application().DestroyWindows();
    application_.reset();
    runtime_.reset();
    folder_.reset();
  }

 private:
  int argc_ = 1;
  char name_[32] = "einst_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> runtime_;
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new EinstTestEnvironment);

}  // namespace
}  // namespace vesk
