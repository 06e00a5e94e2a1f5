#include "tools/exchange/vcard_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "runtime/charset_conversion.h"
#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "tools/exchange/byte_scan.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

// The bytes of a value in the character set into UTF-8. Without a stated
// set, bytes that are not UTF-8 are taken as Windows Latin-1, which older
// mail programs and phones write.
std::string ToUtf8(std::string bytes, const std::string& charset, int line) {
  const bool utf8 = charset.empty() || SameIgnoringCase(charset, "UTF-8");
  if (utf8 && AllAscii(bytes)) return bytes;  // as most values are
  try {
    if (charset.empty()) return Utf8OrWindows1252(std::move(bytes));
    if (utf8 && IsValidUtf8(bytes)) return bytes;
    return CharsetToUtf8(bytes, charset);
  } catch (const EConvertError& error) {
    throw EExchangeError(line, error.Message());
  }
}

VCardProperty MakeProperty(ContentLine content) {
  const std::string* charset = content.FirstParameter("CHARSET");
  content.value = CleanedText(ToUtf8(std::move(content.value), charset ? *charset : "", content.line));
  return {std::move(content)};
}

}  // namespace

bool VCardProperty::HasType(std::string_view type) const { return content.HasParameterValue("TYPE", type); }

int VCardProperty::Preference() const {
  if (const std::string* pref = content.FirstParameter("PREF")) {
    int value = 0;
    for (char c : *pref) {
      if (!std::isdigit(static_cast<unsigned char>(c)) || value > 100) return 100;
      value = value * 10 + (c - '0');
    }
    return std::clamp(value, 1, 100);
  }
  return HasType("PREF") ? 1 : 100;
}

size_t VCardProperty::UnescapeInto(std::string& part, size_t from, char separator) const {
  const std::string& value = content.value;
  size_t plain = from;  // where the run of plain characters began
  size_t i = from;
  for (; i < value.size() && value[i] != separator; ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && (escapes || value[i + 1] == ';')) {
      part.append(value, plain, i - plain);
      const char next = value[++i];
      part += (next == 'n' || next == 'N') && escapes ? '\n' : next;
      plain = i + 1;
    }
  }
  part.append(value, plain, i - plain);
  return i;
}

std::vector<std::string> VCardProperty::Parts(char separator) const {
  std::vector<std::string> parts;
  parts.reserve(1 + static_cast<size_t>(std::ranges::count(content.value, separator)));
  for (size_t at = 0;; ++at) {
    at = UnescapeInto(parts.emplace_back(), at, separator);
    if (at == content.value.size()) return parts;
  }
}

std::string VCardProperty::Text() const {
  // A value holds no NUL, which would end it.
  std::string text;
  UnescapeInto(text, 0, '\0');
  return text;
}

void ReadVCards(std::string_view text, const std::function<void(VCard&&)>& take, const SkipFault& skip) {
  VCard card;                              // the one being read
  std::optional<ExchangeFault> cardFault;  // the first fault of the card being read
  std::optional<ExchangeFault> firstSkipped;
  bool inCard = false, any = false;
  auto skipped = [&](const ExchangeFault& fault) {
    if (!skip) throw EExchangeError(fault);
    if (!firstSkipped) firstSkipped = fault;
    skip(fault);
  };
  auto faulty = [&](const ExchangeFault& fault) {
    if (!cardFault) cardFault = fault;
  };
  // Cards of one file are much alike: room for as many properties as the
  // last one had.
  size_t room = 0;
  auto onLine = [&](ContentLine&& line) {
    const bool named = line.name == "BEGIN" || line.name == "END" || line.name == "VERSION";
    const std::string value = named ? UpperCase(line.value) : std::string();
    if (line.name == "BEGIN" && value == "VCARD") {
      if (inCard)
        skipped(
            {line.line, "neue Karte, bevor die Karte ab Zeile " + std::to_string(card.line) + " mit END:VCARD endet"});
      card = {line.line, "3.0", {}};
      card.properties.reserve(room);
      cardFault.reset();
      inCard = any = true;
    } else if (!inCard) {
      skipped({line.line, line.name == "END" ? "END ohne BEGIN:VCARD" : "Text außerhalb einer Karte"});
    } else if (line.name == "END") {
      if (value != "VCARD") return faulty({line.line, "END:" + line.value + " in einer Karte"});
      inCard = false;
      if (cardFault) return skipped(*cardFault);
      for (VCardProperty& property : card.properties) property.escapes = card.version != "2.1";
      room = card.properties.size();
      take(std::move(card));
    } else if (line.name == "VERSION") {
      if (value != "2.1" && value != "3.0" && value != "4.0")
        return faulty({line.line, "vCard-Version " + line.value + " wird nicht gelesen (nur 2.1, 3.0, 4.0)"});
      card.version = value;
    } else {
      try {
        card.properties.push_back(MakeProperty(std::move(line)));
      } catch (const EExchangeError& error) {
        faulty(error.Fault());
      }
    }
  };
  ReadContentLines(text, onLine, [&](const ExchangeFault& fault, int) {
    if (inCard)
      faulty(fault);
    else
      skipped(fault);
  });
  if (inCard) throw EExchangeError(card.line, "die Karte endet nicht mit END:VCARD (Datei abgeschnitten?)");
  if (!any)
    throw EExchangeError(firstSkipped.value_or(ExchangeFault{1, "keine vCard in der Datei (BEGIN:VCARD fehlt)"}));
}

std::vector<VCard> ReadVCards(std::string_view text, std::vector<ExchangeFault>* skipped) {
  std::vector<VCard> cards;
  SkipFault skip;
  if (skipped != nullptr) skip = [skipped](const ExchangeFault& fault) { skipped->push_back(fault); };
  ReadVCards(
      text, [&cards](VCard&& card) { cards.push_back(std::move(card)); }, skip);
  return cards;
}

}  // namespace vesk
