#include "runtime/string_list.h"

#include <stdexcept>

#include "runtime/conversions.h"
#include "runtime/file_io.h"

namespace vesk {
namespace {

void CheckIndex(int index, int limit) {
  if (index < 0 || index >= limit) throw std::out_of_range("TStringList index out of range");
}

}  // namespace

const std::string& TStringList::operator[](int index) const {
  CheckIndex(index, Count());
  return items_[index];
}

void TStringList::Insert(int index, std::string item) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(item));
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(std::string_view text) const {
  const std::string wanted = UpperCase(text);
  for (int i = 0; i < Count(); ++i) {
    if (UpperCase(items_[i]) == wanted) return i;
  }
  return -1;
}

std::string TStringList::Text() const {
  std::string text;
  for (const std::string& item : items_) {
    text += item;
    text += '\n';
  }
  return text;
}

void TStringList::SetText(std::string_view text) {
  items_.clear();
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      items_.emplace_back(text.substr(start));
      break;
    }
    items_.emplace_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

bool TStringList::LoadFromFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadFile(path);
  SetText(bytes.value_or(""));
  return bytes.has_value();
}

bool TStringList::SaveToFile(const std::string& path) const { return WriteFileAtomically(path, Text()); }

}  // namespace vesk
