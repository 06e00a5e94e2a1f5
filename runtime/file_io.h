// Whole-file reading, atomic replacement of files, and writing all of a
// text to an open file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);

// Writes the bytes to a temporary file in the same folder, flushes it to disk
// and renames it over path, so readers see the old or the new file, never a
// part. False (and path untouched) on any failure.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Writes all the bytes to the descriptor, going on after short writes and
// interruptions. False on the first error.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vesk
