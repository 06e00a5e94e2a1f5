#include "tools/adressen/browser_command.h"

#include <unistd.h>

#include <array>

#include "platform/command_words.h"
#include "runtime/conversions.h"

namespace vesk {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Each "%" with what follows it up to the next blank goes.
std::string WithoutPlaceholders(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      result += text[i];
      continue;
    }
    while (i + 1 < text.size() && text[i + 1] != ' ') ++i;
  }
  return result;
}

std::vector<std::string> BlankSeparatedWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (!IsBlank(c)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// The end of the last ".exe", ".bat" or ".com" that ends a word, or 0.
size_t WindowsProgramEnd(std::string_view command) {
  static constexpr std::array<std::string_view, 3> kEndings = {".EXE", ".BAT", ".COM"};
  for (size_t end = command.size(); end >= 4; --end) {
    if (end < command.size() && !IsBlank(command[end]) && command[end] != '"') continue;
    const std::string tail = UpperCase(command.substr(end - 4, 4));
    for (std::string_view ending : kEndings)
      if (tail == ending) return end;
  }
  return 0;
}

// The arguments after a Windows-style program: quotes and placeholders taken
// out of the rest of the command, then split at blanks.
std::vector<std::string> WindowsArguments(std::string_view rest) {
  std::string text = Trim(rest);
  std::erase(text, '"');
  return BlankSeparatedWords(WithoutPlaceholders(text));
}

}  // namespace

BrowserCommand SplitCommand(std::string_view command) {
  if (const size_t end = WindowsProgramEnd(command); end != 0) {
    std::string program(command.substr(0, end));
    program = Trim(program);
    if (!program.empty() && program[0] == '"') program.erase(0, 1);
    if (access(program.c_str(), F_OK) == 0) return {program, WindowsArguments(command.substr(end))};
  }
  std::vector<std::string> words = CommandWords(command);
  if (words.empty()) return {};
  BrowserCommand result{words[0], {}};
  for (size_t i = 1; i < words.size(); ++i) {
    std::string word = Trim(WithoutPlaceholders(words[i]));
    if (!word.empty()) result.arguments.push_back(std::move(word));
  }
  return result;
}

}  // namespace vesk
