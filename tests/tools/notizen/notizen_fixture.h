// The notes window tests: the library windows' test ground (a folder of
// its own, a recording host window, boxes and errors caught) at a fixed
// moment.
#pragma once

#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/datetime.h"
#include "tests/tools/library_window_test.h"
#include "tools/categories/dlgnseite.h"
#include "tools/notizen/notizenmn.h"

namespace vesk {

class NotizenTest : public LibraryWindowTest {
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
  // A right click on the tab row's free space, or on the tab onTab; answer
  // runs on the dialog while it is shown modally.
  void AddPage(const std::function<void(TDlgNeueseite&)>& answer, int onTab = -1);
  // Keywords of the notes the window lets through, in their order.
  std::vector<std::string> Keywords();
  // Ctrl+C to the focused control, or the window when none has the focus.
  void PressCtrlC(Qt::KeyboardModifiers modifiers = Qt::ControlModifier);

  std::string ListPath() const { return File("notizen.txt"); }
  std::optional<std::string> ListText() const;

  QPointer<TFRNotizen> window_;
};

}  // namespace vesk
