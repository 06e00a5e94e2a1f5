#include "tools/controls/HistCB.h"

#include <algorithm>
#include <exception>

#include "platform/caseless_text.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "runtime/value_after_equals.h"
#include "toolkit/application.h"

namespace vesk {

TDBHistComboBox::TDBHistComboBox(QWidget* parent) : TDBComboBox(parent) {}

TDBHistComboBox::~TDBHistComboBox() {
  // Nothing may leave a destructor: a failed save is shown, and the box goes.
  try {
    SaveHistory();
  } catch (const std::exception& error) {
    Application().HandleException(error);
  }
}

void TDBHistComboBox::SetMaxItem(int32_t maxItem) { maxItem_ = std::max(maxItem, 1); }

void TDBHistComboBox::LoadHistory() {
  if (iniFilename_.empty() || iniSection_.empty()) return;
  const std::string path = ProgramFile(iniFilename_);
  std::vector<std::string> lines;
  for (const auto& [key, value] : ProfileReadSection(path, iniSection_))
    if (!value.empty()) lines.push_back(key + "=" + value);
  for (std::string& line : lines) line = ValueAfterEquals(line);
  history_ = std::move(lines);
}

void TDBHistComboBox::SaveHistory() {
  if (iniFilename_.empty() || iniSection_.empty() || history_.empty()) return;
  const std::string path = ProgramFile(iniFilename_);
  for (size_t i = 0; i < history_.size(); ++i)
    ProfileWriteStringOrRaise(path, iniSection_, std::to_string(i), history_[i]);
}

void TDBHistComboBox::ShowHistory() { SetItems(history_); }

void TDBHistComboBox::Loaded() {
  TDBComboBox::Loaded();
  LoadHistory();
  ShowHistory();
}

void TDBHistComboBox::DoExit() {
  const std::string text = Text();
  if (text.empty()) return;
  const auto same = [&text](const std::string& entry) { return EqualIgnoringCase(entry, text); };
  if (std::any_of(history_.begin(), history_.end(), same)) return;
  if (history_.size() >= static_cast<size_t>(maxItem_)) history_.erase(history_.begin() + (maxItem_ - 1));
  history_.insert(history_.begin(), text);
  ShowHistory();
}

}  // namespace vesk
