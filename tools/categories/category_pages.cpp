#include "tools/categories/category_pages.h"

#include <optional>
#include <utility>

#include "platform/program_folder.h"
#include "runtime/charset_conversion.h"
#include "runtime/exceptions.h"
#include "runtime/file_io.h"
#include "runtime/string_list.h"
#include "runtime/utf8_text.h"
#include "toolkit/tab_control.h"
#include "tools/filter/filter_constant.h"

namespace vesk {
namespace {

// The title with each CR LF, LF or CR turned into one blank.
std::string OnOneLine(const std::string& title) {
  std::string line;
  for (size_t i = 0; i < title.size(); ++i) {
    const bool lineBreak = title[i] == '\r' || title[i] == '\n';
    if (title[i] == '\r' && i + 1 < title.size() && title[i + 1] == '\n') ++i;
    line += lineBreak ? ' ' : title[i];
  }
  return line;
}

}  // namespace

TCategoryPages::TCategoryPages(TTabControl& tabs, std::string listFile, std::string letterField,
                               std::string categoryField)
    : tabs_(tabs),
      listFile_(std::move(listFile)),
      letterField_(std::move(letterField)),
      categoryField_(std::move(categoryField)) {}

void TCategoryPages::Load() {
  tabs_.AddTab("Alle");
  for (char letter = 'A'; letter <= 'Z'; ++letter) tabs_.AddTab(std::string("&") + letter);
  const std::optional<std::string> bytes = ReadFile(ProgramFile(listFile_));
  if (!bytes) return;
  TStringList titles;
  titles.SetText(Utf8OrWindows1252(*bytes));
  for (const std::string& title : titles.Items()) AddPage(title);
}

void TCategoryPages::Append(const std::string& title) {
  AddPage(OnOneLine(title));
  tabs_.SetTabIndex(tabs_.TabCount() - 1);
}

void TCategoryPages::AddPage(const std::string& title) {
  tabs_.AddTab(title);
  const int length = static_cast<int>(Utf8Length(title));
  if (length <= longest_) return;
  longest_ = length;
  tabs_.SetTabWidth(length * kTabWidthPerChar);
}

std::string TCategoryPages::FilterText() const {
  const int index = tabs_.TabIndex();
  if (index <= 0) return {};
  if (index < kFirstCategoryTab) {
    // "&M": the letter after the mnemonic sign, in both cases.
    const char upper = tabs_.Tab(index).at(1);
    const char lower = static_cast<char>(upper - 'A' + 'a');
    return letterField_ + " = " + QuotedConstant(std::string{upper, '*'}) + "OR " + letterField_ + " = " +
           QuotedConstant(std::string{lower, '*'});
  }
  return categoryField_ + " = " + QuotedConstant(tabs_.Tab(index));
}

std::string TCategoryPages::NewRecordCategory() const {
  const int index = tabs_.TabIndex();
  return index >= kFirstCategoryTab ? tabs_.Tab(index) : std::string();
}

void TCategoryPages::Save() const {
  std::string text;
  for (int i = kFirstCategoryTab; i < tabs_.TabCount(); ++i) text += tabs_.Tab(i) + "\r\n";
  const std::string path = ProgramFile(listFile_);
  if (!WriteFileAtomically(path, text))
    throw Exception("Die Seitenliste " + path + " konnte nicht geschrieben werden.");
}

}  // namespace vesk
