// A registered browser or mail command taken apart: the program to start and
// the extra arguments that go before the address, without the command's
// placeholders for file names and addresses ("%u", "%1", ...).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

struct BrowserCommand {
  std::string program;  // "" when the command names none
  std::vector<std::string> arguments;
};

// The program is the command's first word, quoting taken off; each further
// word, placeholders removed, is one argument unless nothing is left. A command
// whose text up to a ".exe", ".bat" or ".com" (any case) that ends a word
// names an existing file has that text as its program, blanks and all, so
// that an unquoted Windows-style path still starts; its arguments are the
// rest's words at blanks, double quotes and placeholders removed.
BrowserCommand SplitCommand(std::string_view command);

}  // namespace vesk
