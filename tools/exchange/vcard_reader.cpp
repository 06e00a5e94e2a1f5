#include "tools/exchange/vcard_reader.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>

#include "runtime/conversions.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

// The bytes of a value in the character set into UTF-8. Without a stated
// set, bytes that are not UTF-8 are taken as Windows Latin-1, which older
// mail programs and phones write.
std::string ToUtf8(std::string bytes, std::string charset, int line) {
  if ((charset.empty() || SameIgnoringCase(charset, "UTF-8")) && IsValidUtf8(bytes)) return bytes;
  if (charset.empty()) charset = "windows-1252";
  std::string result(bytes.size() * 3 + 4, '\0');
  UErrorCode status = U_ZERO_ERROR;
  auto convert = [&] {
    return ucnv_convert("UTF-8", charset.c_str(), result.data(), static_cast<int32_t>(result.size()), bytes.data(),
                        static_cast<int32_t>(bytes.size()), &status);
  };
  int32_t length = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.resize(static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    length = convert();
  }
  if (status == U_FILE_ACCESS_ERROR || status == U_ILLEGAL_ARGUMENT_ERROR)
    throw EExchangeError(line, "unbekannter Zeichensatz " + charset);
  if (U_FAILURE(status)) throw EExchangeError(line, "Text nicht im Zeichensatz " + charset);
  result.resize(static_cast<size_t>(length));
  return result;
}

VCardProperty MakeProperty(ContentLine content) {
  const std::vector<std::string> charset = content.Parameter("CHARSET");
  content.value = CleanedText(ToUtf8(std::move(content.value), charset.empty() ? "" : charset.front(), content.line));
  return {std::move(content)};
}

}  // namespace

bool VCardProperty::HasType(std::string_view type) const { return content.HasParameterValue("TYPE", type); }

int VCardProperty::Preference() const {
  const std::vector<std::string> pref = content.Parameter("PREF");
  if (!pref.empty()) {
    int value = 0;
    for (char c : pref.front()) {
      if (!std::isdigit(static_cast<unsigned char>(c)) || value > 100) return 100;
      value = value * 10 + (c - '0');
    }
    return std::clamp(value, 1, 100);
  }
  return HasType("PREF") ? 1 : 100;
}

std::vector<std::string> VCardProperty::Parts(char separator) const {
  std::vector<std::string> parts(1);
  const std::string& value = content.value;
  size_t plain = 0;  // where the run of plain characters began
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\' && i + 1 < value.size() && (escapes || value[i + 1] == ';')) {
      parts.back().append(value, plain, i - plain);
      const char next = value[++i];
      parts.back() += (next == 'n' || next == 'N') && escapes ? '\n' : next;
      plain = i + 1;
    } else if (c == separator) {
      parts.back().append(value, plain, i - plain);
      parts.emplace_back();
      plain = i + 1;
    }
  }
  parts.back().append(value, plain, value.size() - plain);
  return parts;
}

std::string VCardProperty::Text() const {
  std::vector<std::string> parts = Parts('\0');
  return std::move(parts.front());
}

std::vector<VCard> ReadVCards(std::string_view text) {
  std::vector<VCard> cards;
  bool inCard = false;
  for (ContentLine& line : ReadContentLines(text)) {
    const bool named = line.name == "BEGIN" || line.name == "END" || line.name == "VERSION";
    const std::string value = named ? UpperCase(line.value) : std::string();
    if (line.name == "BEGIN" && value == "VCARD") {
      if (inCard) throw EExchangeError(line.line, "neue Karte, bevor die Karte ab Zeile " +
                                                      std::to_string(cards.back().line) + " mit END:VCARD endet");
      cards.push_back({line.line, "3.0", {}});
      inCard = true;
    } else if (!inCard) {
      throw EExchangeError(line.line, line.name == "END" ? "END ohne BEGIN:VCARD" : "Text außerhalb einer Karte");
    } else if (line.name == "END") {
      if (value != "VCARD") throw EExchangeError(line.line, "END:" + line.value + " in einer Karte");
      inCard = false;
      for (VCardProperty& property : cards.back().properties) property.escapes = cards.back().version != "2.1";
    } else if (line.name == "VERSION") {
      if (value != "2.1" && value != "3.0" && value != "4.0")
        throw EExchangeError(line.line, "vCard-Version " + line.value + " wird nicht gelesen (nur 2.1, 3.0, 4.0)");
      cards.back().version = value;
    } else {
      cards.back().properties.push_back(MakeProperty(std::move(line)));
    }
  }
  if (inCard)
    throw EExchangeError(cards.back().line, "die Karte endet nicht mit END:VCARD (Datei abgeschnitten?)");
  if (cards.empty()) throw EExchangeError(1, "keine vCard in der Datei (BEGIN:VCARD fehlt)");
  return cards;
}

}  // namespace vesk
