#include "host/tools_library.h"

namespace vesk {

ToolsLibrary::ToolsLibrary(const std::string& path) : library_(QString::fromStdString(path)) {}

ToolsLibrary::~ToolsLibrary() {
  if (library_.isLoaded()) library_.unload();
}

bool ToolsLibrary::Load() { return library_.load(); }

std::string ToolsLibrary::ErrorText() const { return library_.errorString().toStdString(); }

ToolsLibrary::EntryPoint ToolsLibrary::Resolve(const char* name) {
  return reinterpret_cast<EntryPoint>(library_.resolve(name));
}

ToolsLibrary::DialEntryPoint ToolsLibrary::ResolveDial() {
  return reinterpret_cast<DialEntryPoint>(library_.resolve(kDialExport));
}

}  // namespace vesk
