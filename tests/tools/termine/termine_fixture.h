// The appointments window tests: each test runs in a folder of its own (the
// current directory for Data/termine.mti, the program folder for
// termine.sav) on a fixed day, as every library window's test does.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/datetime.h"
#include "tests/tools/library_window_test.h"
#include "tools/termine/terminemn.h"

namespace vesk {

class TermineTest : public LibraryWindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Today from here on (the clock stands at 8:15 of that day).
  void SetToday(int year, int month, int day);
  // A new window, shown and active.
  TFRTermine& OpenWindow();
  // Closes the window as the user does and lets the posted messages arrive.
  void CloseWindow();
  // Appends and posts an appointment through the window's table.
  void Add(TDateTime date, TDateTime time, const std::string& ort);
  // Selects the tab as the user does, with the arrow keys on the tab row.
  void SelectTab(int index);
  std::string ListPath() const { return File("termine.sav"); }
  std::optional<std::string> ListText() const;

  TDateTime today_ = 0;
  TFRTermine* window_ = nullptr;
};

// Files written while it lives may grow to `bytes` only; a longer write
// fails (as root too, where permissions do not stop it).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
};

}  // namespace vesk
