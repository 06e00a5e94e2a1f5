// For the whole test program: a private runtime folder, inherited by the
// helper processes, and the application object whose event loop receives.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <memory>

#include "test_support.h"

namespace vesk {
namespace {

class WindowTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    runtime_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", folder_->Path());
    application_ = std::make_unique<QCoreApplication>(argc_, argv_);
  }
  void TearDown() override {
    application_.reset();
    runtime_.reset();
    folder_.reset();
  }

 private:
  int argc_ = 1;
  char name_[32] = "window_message_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> runtime_;
  std::unique_ptr<QCoreApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new WindowTestEnvironment);

}  // namespace
}  // namespace vesk
