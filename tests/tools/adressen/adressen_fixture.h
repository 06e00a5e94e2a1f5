// The address window tests: each test runs in a folder of its own (the
// current directory for Data/adressen.mti, the program folder for
// adressen.txt and ttarife.ini), with a host window that records what it is
// sent and the message boxes and error displays caught.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_messages.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "toolkit/db_navigator.h"
#include "tools/adressen/adressenmn.h"

namespace vesk {

class AdressenTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new window, shown and active.
  TFRAdressen& OpenWindow();
  // Closes the window as the user does and lets the posted messages arrive.
  void CloseWindow();
  // Posts an address with name and category through the window's table.
  void Add(const std::string& name, const std::string& category = "");
  // Selects the tab as the user does, with the arrow keys on the tab row.
  void SelectTab(int index);
  // Presses a navigator button with the mouse.
  void Click(TNavigateBtn button);
  // The names the window's table shows now, in its order.
  std::vector<std::string> Names();
  // Writes a file into the program folder.
  void WriteProgramFile(const std::string& name, const std::string& bytes) const;
  std::string ProgramPath(const std::string& name) const { return folder_->File(name); }

  QPointer<TFRAdressen> window_;
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

}  // namespace vesk
