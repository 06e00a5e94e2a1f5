#include "tools/exchange/content_line_writer.h"

#include "runtime/utf8_text.h"

namespace vesk {

std::string EscapedText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') {
      result += "\\n";
      continue;
    }
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') continue;
    if (c == '\\' || c == ',' || c == ';') result += '\\';
    result += c;
  }
  return result;
}

std::string FoldedLine(std::string_view line) {
  std::string result;
  result.reserve(line.size() + line.size() / 24 + 2);
  size_t room = 75;
  while (line.size() > room) {
    std::string_view piece = Utf8CutBytes(line, room);
    // A run of stray continuation bytes, no character at all, is cut anywhere.
    if (piece.empty()) piece = line.substr(0, room);
    result.append(piece).append("\r\n ");
    line.remove_prefix(piece.size());
    room = 74;
  }
  return result.append(line).append("\r\n");
}

}  // namespace vesk
