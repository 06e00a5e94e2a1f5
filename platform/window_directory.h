// The entries of top-level windows in the runtime folder: one file per
// window, <process id>.<number>.window, holding its class and caption. An
// entry counts while its process listens on its socket; entries and sockets
// of processes that are gone are removed whenever the folder is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

struct WindowEntry {
  uint32_t process = 0;
  uint32_t number = 0;
  std::string className;
  std::string caption;
};

// Writes or replaces the window's entry, atomically. False on failure.
bool WriteWindowEntry(const std::string& folder, const WindowEntry& entry);
void RemoveWindowEntry(const std::string& folder, uint32_t process, uint32_t number);
bool WindowEntryExists(const std::string& folder, uint32_t process, uint32_t number);
// Removes every window entry of the process and its socket.
void RemoveProcessEntries(const std::string& folder, uint32_t process);

struct WindowDirectory {
  std::vector<WindowEntry> windows;  // ordered by process, then number
  std::vector<uint32_t> processes;   // that listen on their socket, ascending
};

// What the folder holds for the processes that are alive, after removing
// the rest.
WindowDirectory ReadWindowDirectory(const std::string& folder);

}  // namespace vesk
