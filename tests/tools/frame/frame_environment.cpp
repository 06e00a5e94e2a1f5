// For the whole frame test program: a private runtime folder for the window
// lookup (inherited by the helper process), the QApplication, and the
// windows freed before the QApplication goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "toolkit/application.h"

namespace vesk {
namespace {

class FrameTestEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    setenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit().constData(), 1);
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    Application().DestroyWindows();
    application_.reset();
  }

 private:
  QTemporaryDir folder_;
  int argc_ = 1;
  char name_[32] = "frame_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new FrameTestEnvironment);

}  // namespace
}  // namespace vesk
