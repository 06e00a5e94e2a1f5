// The ground of the library windows' tests: each test runs in a folder of
// its own, which is both the program folder ($VESK_HOME) and the current
// directory (for the tables under Data/), with a host window that records
// what it is sent, and the message boxes (answered Yes) and error displays
// caught. "VeskTools" is registered as the library does at its start.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_messages.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

class QWidget;

namespace vesk {

class LibraryWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file in the test's folder.
  std::string File(const std::string& name) const { return folder_->File(name); }
  // The identifier of "VeskTools".
  uint16_t VeskTools() const;

  std::vector<std::pair<uint16_t, uintptr_t>> hostMessages_;
  std::vector<std::string> errors_;
  std::vector<std::string> boxes_;

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> home_;
  std::unique_ptr<TopLevelWindow> host_;
  std::string previousFolder_;
};

// Lets queued events (posted messages, deferred frees) run.
void ProcessEvents();
// Each name is the object name of a widget in window (as tests and
// accessibility tools find the controls).
void ExpectNamedWidgets(const QWidget& window, std::initializer_list<const char*> names);

}  // namespace vesk
