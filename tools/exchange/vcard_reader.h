// Reading vCard files as phones, webmail and mail programs write them:
// versions 2.1, 3.0 and 4.0, folded lines, quoted-printable values, the
// character set of a value (CHARSET, else UTF-8, else Latin-1), and the
// escapes of structured and list values.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/exchange/content_lines.h"

namespace vesk {

struct VCardProperty {
  ContentLine content;  // its value in UTF-8 with LF line breaks, still escaped
  bool escapes = true;  // 3.0 and 4.0 escape "\n", "\,", "\;" and "\\"; 2.1 only "\;"

  // The TYPE values (and a 4.0 PREF or a TYPE=PREF), upper case.
  bool HasType(std::string_view type) const;
  // 1 the most preferred; 100 when the card says nothing.
  int Preference() const;
  // The value split at unescaped separators (';' for N and ADR, ',' for
  // CATEGORIES), each part unescaped.
  std::vector<std::string> Parts(char separator) const;
  // The whole value unescaped.
  std::string Text() const;

 private:
  // Unescapes the value from `from` to the next unescaped separator onto
  // part; where it ended (the value's size at its end).
  size_t UnescapeInto(std::string& part, size_t from, char separator) const;
};

struct VCard {
  int line = 0;  // its BEGIN line
  std::string version;
  std::vector<VCardProperty> properties;  // without BEGIN, END and VERSION
};

// Told of what is skipped: a card that cannot be read (a line without a
// colon, an unknown version or character set, binary data, an overlong
// line, a card that a new one begins before it ends) and text outside the
// cards, with the line at fault.
using SkipFault = std::function<void(const ExchangeFault&)>;

// Every readable card of the file in turn, what cannot be read to skip;
// without skip, its first fault raises EExchangeError. A file without a
// card, or whose last card does not end (cut short), is refused at the
// line that names it; cards before may have been given to take already.
void ReadVCards(std::string_view text, const std::function<void(VCard&&)>& take, const SkipFault& skip = {});
// The same, every card in a list; the skipped ones in skipped, or the
// first fault raised when it is nullptr.
std::vector<VCard> ReadVCards(std::string_view text, std::vector<ExchangeFault>* skipped = nullptr);

}  // namespace vesk
