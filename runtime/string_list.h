// TStringList: an ordered list of text lines, read from and written to plain
// text files (one item per line), as the category lists use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

class TStringList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const;  // std::out_of_range when outside
  void Add(std::string item) { items_.push_back(std::move(item)); }
  void Insert(int index, std::string item);
  void Delete(int index);
  void Clear() { items_.clear(); }
  // Position of the first item equal to text (ASCII case ignored), or -1.
  int IndexOf(std::string_view text) const;
  const std::vector<std::string>& Items() const { return items_; }

  // The whole list as lines ending in "\n"; SetText splits at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(std::string_view text);

  // LoadFromFile: false when the file cannot be read (the list is then empty).
  // SaveToFile writes atomically and returns false on failure.
  bool LoadFromFile(const std::string& path);
  bool SaveToFile(const std::string& path) const;

 private:
  std::vector<std::string> items_;
};

}  // namespace vesk
