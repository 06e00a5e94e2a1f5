#include "platform/window_directory.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "platform/message_socket.h"
#include "runtime/file_io.h"

namespace vesk {
namespace {

constexpr std::string_view kWindowSuffix = ".window";
constexpr std::string_view kSocketSuffix = ".sock";

std::string EntryPath(const std::string& folder, uint32_t process, uint32_t number) {
  return folder + "/" + std::to_string(process) + "." + std::to_string(number) + std::string(kWindowSuffix);
}

// A whole decimal number and nothing else.
std::optional<uint32_t> Number(std::string_view text) {
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

struct Name {
  uint32_t process = 0;
  std::optional<uint32_t> window;  // nothing: the process's socket
};

// "<process>.<number>.window" or "<process>.sock"; other files are not ours.
std::optional<Name> ParseName(std::string_view name) {
  if (name.ends_with(kSocketSuffix)) {
    std::optional<uint32_t> process = Number(name.substr(0, name.size() - kSocketSuffix.size()));
    if (process) return Name{*process, std::nullopt};
    return std::nullopt;
  }
  if (!name.ends_with(kWindowSuffix)) return std::nullopt;
  name.remove_suffix(kWindowSuffix.size());
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::optional<uint32_t> process = Number(name.substr(0, dot));
  std::optional<uint32_t> number = Number(name.substr(dot + 1));
  if (!process || !number) return std::nullopt;
  return Name{*process, number};
}

// The entry file holds class NUL caption.
std::optional<WindowEntry> ReadEntry(const std::string& folder, uint32_t process, uint32_t number) {
  std::optional<std::string> bytes = ReadFile(EntryPath(folder, process, number));
  if (!bytes) return std::nullopt;
  const size_t nul = bytes->find('\0');
  if (nul == std::string::npos) return std::nullopt;
  return WindowEntry{process, number, bytes->substr(0, nul), bytes->substr(nul + 1)};
}

}  // namespace

bool WriteWindowEntry(const std::string& folder, const WindowEntry& entry) {
  std::string bytes = entry.className;
  bytes.push_back('\0');
  bytes += entry.caption;
  return WriteFileAtomically(EntryPath(folder, entry.process, entry.number), bytes);
}

void RemoveWindowEntry(const std::string& folder, uint32_t process, uint32_t number) {
  unlink(EntryPath(folder, process, number).c_str());
}

bool WindowEntryExists(const std::string& folder, uint32_t process, uint32_t number) {
  return access(EntryPath(folder, process, number).c_str(), F_OK) == 0;
}

void RemoveProcessEntries(const std::string& folder, uint32_t process) {
  std::error_code error;
  for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
    std::optional<Name> name = ParseName(file.path().filename().native());
    if (name && name->process == process && name->window) RemoveWindowEntry(folder, process, *name->window);
  }
  unlink(SocketPath(folder, process).c_str());
}

WindowDirectory ReadWindowDirectory(const std::string& folder) {
  std::map<uint32_t, std::set<uint32_t>> windowsOf;  // process -> window numbers
  std::error_code error;
  for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
    std::optional<Name> name = ParseName(file.path().filename().native());
    if (!name) continue;
    auto& numbers = windowsOf[name->process];
    if (name->window) numbers.insert(*name->window);
  }
  WindowDirectory directory;
  for (const auto& [process, numbers] : windowsOf) {
    if (NobodyListens(folder, process)) {
      RemoveProcessEntries(folder, process);
      continue;
    }
    directory.processes.push_back(process);
    for (uint32_t number : numbers) {
      // The window may go while the folder is read.
      if (std::optional<WindowEntry> entry = ReadEntry(folder, process, number)) {
        directory.windows.push_back(std::move(*entry));
      }
    }
  }
  return directory;
}

}  // namespace vesk
