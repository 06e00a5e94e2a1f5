#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/ini_document.h"
#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "runtime/file_io.h"
#include "runtime/unique_fd.h"

namespace vesk {
namespace {

// Names and values that would read back as something else once written:
// a line break or NUL starts a new line, "=" ends a key, "]" a section name,
// and a key that begins with "[" or ";" reads as a header or a comment.
bool Writable(const std::string& section, const std::string& key, const std::string& value) {
  auto breaksLine = [](const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
  };
  std::string name = Trim(key);
  return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) && section.find(']') == std::string::npos &&
         !name.empty() && name.find('=') == std::string::npos && name[0] != '[' && name[0] != ';';
}

bool Missing(const std::string& file) {
  struct stat info {};
  return lstat(file.c_str(), &info) != 0 && errno == ENOENT;
}

}  // namespace

std::string ProfileReadString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback) {
  std::optional<std::string> bytes = ReadFile(file);
  if (!bytes) return fallback;
  return IniDocument(*bytes).Value(section, key).value_or(fallback);
}

bool ProfileWriteString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  if (!Writable(section, key, value)) return false;
  std::optional<std::string> bytes = ReadFile(file);
  // A file that exists but cannot be read must not be replaced by one key.
  if (!bytes && !Missing(file)) return false;
  IniDocument document(bytes.value_or(""));
  document.SetValue(section, key, value);
  return WriteFileAtomically(file, document.Text());
}

void ProfileWriteStringOrRaise(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!ProfileWriteString(file, section, key, value))
    throw Exception(FormatMessage("nach %s kann nicht geschrieben werden", {file}));
}

bool ProfileDeleteKey(const std::string& file, const std::string& section, const std::string& key) {
  std::optional<std::string> bytes = ReadFile(file);
  if (!bytes) return Missing(file);
  IniDocument document(*bytes);
  return !document.RemoveKey(section, key) || WriteFileAtomically(file, document.Text());
}

bool ProfileMakePrivate(const std::string& file) {
  UniqueFd fd(open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  return fd.Get() >= 0 && fchmod(fd.Get(), 0600) == 0;
}

std::vector<std::pair<std::string, std::string>> ProfileReadSection(const std::string& file,
                                                                    const std::string& section) {
  std::optional<std::string> bytes = ReadFile(file);
  if (!bytes) return {};
  return IniDocument(*bytes).Keys(section);
}

}  // namespace vesk
