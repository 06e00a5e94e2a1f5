#include "platform/command_words.h"

#include <glib.h>

namespace vesk {

std::vector<std::string> CommandWords(std::string_view command) {
  const std::string text(command);
  gchar** words = nullptr;
  if (!g_shell_parse_argv(text.c_str(), nullptr, &words, nullptr)) return {};
  std::vector<std::string> result;
  for (gchar** word = words; *word != nullptr; ++word) result.emplace_back(*word);
  g_strfreev(words);
  return result;
}

}  // namespace vesk
