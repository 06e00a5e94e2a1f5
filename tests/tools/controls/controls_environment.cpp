// The QApplication of the controls test program, made before the first test
// and gone after the last.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace vesk {
namespace {

class ControlsTestEnvironment : public testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[32] = "controls_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new ControlsTestEnvironment);

}  // namespace
}  // namespace vesk
