// The fuzz target of the INI reader and the category list reader: any bytes
// as termine.sav, the host's INI file or adressen.txt. The sections a line
// names are looked up, their keys read one by one and rewritten.
#include <string>
#include <string_view>

#include "fuzz/fuzz_entry.h"
#include "platform/ini_document.h"
#include "runtime/string_list.h"

namespace vesk {
namespace {

constexpr int kMostSections = 8;

// What a line would name as a section: the text between its first "[" and
// the "]" after it; the document decides whether that is a header.
std::string_view BracketedName(std::string_view line) {
  const size_t open = line.find('[');
  if (open == std::string_view::npos) return line;
  const size_t close = line.find(']', open);
  return line.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
}

// Every key the section lists reads back with the value listed, and a new
// value given to it reads back, in place and after the text is read again.
void CheckSection(IniDocument& document, std::string_view section) {
  for (const auto& [key, value] : document.Keys(section)) {
    if (document.Value(section, key) != value) FuzzRuleBroken("a listed key reads another value");
    const size_t before = document.Keys(section).size();
    document.SetValue(section, key, "neu 1");
    if (document.Value(section, key) != "neu 1") FuzzRuleBroken("a written value does not read back");
    if (IniDocument(document.Text()).Value(section, key) != "neu 1")
      FuzzRuleBroken("a written value does not read back from the text");
    if (document.Keys(section).size() != before) FuzzRuleBroken("rewriting a key changed the key count");
  }
}

// The category lists: lines split at CR LF, LF or CR, written back with LF.
void CheckLines(const TStringList& lines) {
  TStringList again;
  again.SetText(lines.Text());
  if (again.Items() != lines.Items()) FuzzRuleBroken("a list reads back differently");
}

}  // namespace

void FuzzOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument document(bytes);
  if (document.Text() != bytes) FuzzRuleBroken("the document's text differs from its file");

  TStringList lines;
  lines.SetText(bytes);
  CheckLines(lines);
  for (int i = 0; i < lines.Count() && i < kMostSections; ++i) CheckSection(document, BracketedName(lines[i]));
}

}  // namespace vesk
