// For the whole forms test program: a private runtime folder for the window
// lookup, the QApplication whose event loop drives the widgets, message
// boxes answered by the tests, and the application's windows freed before
// the QApplication goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "../platform/test_support.h"
#include "toolkit/application.h"

namespace vesk {
namespace {

class FormsTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    runtime_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", folder_->Path());
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    Application().DestroyWindows();
    application_.reset();
    runtime_.reset();
    folder_.reset();
  }

 private:
  int argc_ = 1;
  char name_[32] = "forms_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> runtime_;
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new FormsTestEnvironment);

}  // namespace
}  // namespace vesk
