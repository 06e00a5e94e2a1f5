// TDBHistComboBox: a data-aware combo box whose list is a short history of
// the texts entered, most recent first, kept in a section of an INI file in
// the program folder. The history is read once after the window has loaded
// the box and written back when the box is destroyed; a text that is not yet
// listed (compared without regard to case) joins it when the focus leaves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/db_combo_box.h"

namespace vesk {

class TDBHistComboBox : public TDBComboBox {
 public:
  explicit TDBHistComboBox(QWidget* parent = nullptr);
  // Saves the history; a failure goes to the application's error display.
  ~TDBHistComboBox() override;

  // The number of entries kept when one is added: 5 at first; a value
  // below 1 is taken as 1.
  int32_t MaxItem() const { return maxItem_; }
  void SetMaxItem(int32_t maxItem);
  // The INI file's name in the program folder; nothing is read or written
  // while it or the section is empty.
  const std::string& IniFilename() const { return iniFilename_; }
  void SetIniFilename(std::string name) { iniFilename_ = std::move(name); }
  const std::string& IniSection() const { return iniSection_; }
  void SetIniSection(std::string section) { iniSection_ = std::move(section); }

  const std::vector<std::string>& History() const { return history_; }
  // Reads the section's non-empty values in file order into History.
  void LoadHistory();
  // Writes History under the keys "0", "1", ...; other keys of the section
  // stay. Raises "nach %s kann nicht geschrieben werden" when it cannot.
  void SaveHistory();
  // Shows History as the drop-down list.
  void ShowHistory();

 protected:
  // Loads and shows the history.
  void Loaded() override;
  // Adds the text entered to the history.
  void DoExit() override;

 private:
  int32_t maxItem_ = 5;
  std::string iniFilename_;
  std::string iniSection_;
  std::vector<std::string> history_;
};

}  // namespace vesk
