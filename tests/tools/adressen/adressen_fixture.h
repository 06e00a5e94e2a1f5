// The address window tests: each test runs in a folder of its own (the
// current directory for Data/adressen.mti, the program folder for
// adressen.txt and ttarife.ini), as every library window's test does.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <string>
#include <vector>

#include "tests/tools/library_window_test.h"
#include "toolkit/db_navigator.h"
#include "tools/adressen/adressenmn.h"

namespace vesk {

class AdressenTest : public LibraryWindowTest {
 protected:
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

  QPointer<TFRAdressen> window_;
};

}  // namespace vesk
