// For the whole test program: a private runtime folder for the window
// lookup, the QApplication whose event loop drives the widgets and the
// "VeskTools" message registered as at the library's start; the
// application's windows are freed before it goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "tests/platform/test_support.h"
#include "toolkit/application.h"
#include "tools/VeskMsg.h"

namespace vesk {
namespace {

class TermineEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    runtime_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", folder_->Path());
    application_ = std::make_unique<QApplication>(argc_, argv_);
    // As the library does when it is loaded.
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
  char name_[32] = "termine_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> runtime_;
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new TermineEnvironment);

}  // namespace
}  // namespace vesk
