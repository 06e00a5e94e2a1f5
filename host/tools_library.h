// The Tools library as the host loads it: libTools.so from beside the host's
// executable, its four exports, each of which shows one window, and the
// address window's dial of a number that came from elsewhere.
#pragma once

#include <QLibrary>

#include <string>

#include "tools/tools_exports.h"

namespace vesk {

class ToolsLibrary {
 public:
  using EntryPoint = void (*)();
  using DialEntryPoint = void (*)(const char* number);

  explicit ToolsLibrary(const std::string& path);
  // Unloads the library; its windows are freed then, so this must run
  // while the QApplication exists.
  ~ToolsLibrary();
  ToolsLibrary(const ToolsLibrary&) = delete;
  ToolsLibrary& operator=(const ToolsLibrary&) = delete;

  // False, with ErrorText, when the library cannot be loaded.
  bool Load();
  std::string ErrorText() const;
  // Nothing when the library lacks the export.
  EntryPoint Resolve(const char* name);
  DialEntryPoint ResolveDial();

 private:
  QLibrary library_;
};

}  // namespace vesk
