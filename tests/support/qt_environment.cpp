// The Qt environment of every test program with windows or window messages:
// a private runtime folder for the window lookup (inherited by helper
// processes) and no session bus (the passwords stay in the tests' INI files,
// the developer's secret store unasked), the QApplication whose event loop drives widgets and sockets,
// and the application's windows freed before the QApplication goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "toolkit/application.h"

namespace vesk {
namespace {

class QtTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    runtime_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", folder_->Path());
    bus_ = std::make_unique<ScopedEnv>("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    Application().DestroyWindows();
    application_.reset();
    bus_.reset();
    runtime_.reset();
    folder_.reset();
  }

 private:
  int argc_ = 1;
  char name_[32] = "vesk_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> runtime_;
  std::unique_ptr<ScopedEnv> bus_;
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new QtTestEnvironment);

}  // namespace
}  // namespace vesk
