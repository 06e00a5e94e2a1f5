// The notes window tests: each test runs in a folder of its own (the
// current directory for Data/notizen.mti, the program folder for
// notizen.txt) at a fixed moment, with a host window that records what it
// is sent and the message boxes and error displays caught.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_messages.h"
#include "runtime/datetime.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tools/notizen/dlgnseite.h"
#include "tools/notizen/notizenmn.h"

namespace vesk {

class NotizenTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The clock stands still at that moment from here on.
  void SetNow(int year, int month, int day, int hour, int minute);
  // A new window, shown and active.
  TFRNotizen& OpenWindow();
  // Closes the window as the user does and lets the posted messages arrive.
  void CloseWindow();
  // A new note through the navigator and the keyword field.
  void AddNote(const std::string& keyword);
  // Selects the tab as the user does, with the arrow keys on the tab row.
  void SelectTab(int index);
  // A right click on the tab row's free space; answer runs on the dialog
  // while it is shown modally.
  void AddPage(const std::function<void(TDlgNeueseite&)>& answer);
  // Keywords of the notes the window lets through, in their order.
  std::vector<std::string> Keywords();
  // Ctrl+C to the focused control, or the window when none has the focus.
  void PressCtrlC(Qt::KeyboardModifiers modifiers = Qt::ControlModifier);

  std::string ListPath() const { return folder_->File("notizen.txt"); }
  std::optional<std::string> ListText() const;
  uint16_t VeskTools() const;

  QPointer<TFRNotizen> window_;
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
