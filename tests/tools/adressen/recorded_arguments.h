// What the recording program (record_arguments) was given: its arguments,
// read from the file it writes, which is removed for the next start.
#pragma once

#include <QTest>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/file_io.h"

namespace vesk {

// Nothing when the program has not written the file within the time.
inline std::optional<std::vector<std::string>> RecordedArguments(const std::string& record, int milliseconds) {
  if (!QTest::qWaitFor([&record] { return std::filesystem::exists(record); }, milliseconds)) return std::nullopt;
  const std::optional<std::string> bytes = ReadFile(record);
  std::filesystem::remove(record);
  if (!bytes) return std::nullopt;
  std::vector<std::string> words;
  for (size_t start = 0; start < bytes->size();) {
    const size_t end = bytes->find('\0', start);
    words.push_back(bytes->substr(start, end - start));
    start = end + 1;
  }
  return words;
}

}  // namespace vesk
