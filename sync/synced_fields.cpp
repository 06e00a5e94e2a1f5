#include "sync/synced_fields.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "runtime/conversions.h"
#include "tools/exchange/address_card.h"
#include "tools/exchange/content_line_writer.h"
#include "tools/exchange/content_lines.h"

namespace vesk {
namespace {

constexpr char kZone1[] = "X-VESK-TARIFZONE1";
constexpr char kZone2[] = "X-VESK-TARIFZONE2";

// One logical line of the card: its text as the server wrote it (folded,
// with its line ends) and, when it reads, its parts.
struct CardLine {
  std::string raw;
  std::optional<ContentLine> content;
  bool used = false;  // a patch took it already
};

std::vector<CardLine> CardLines(const std::string& card) {
  std::vector<CardLine> lines;
  for (std::string_view physical : PhysicalLines(card)) {
    const bool continued = !physical.empty() && (physical[0] == ' ' || physical[0] == '\t');
    if (continued && !lines.empty())
      lines.back().raw.append(physical).append("\r\n");
    else if (!physical.empty())
      lines.push_back({std::string(physical) + "\r\n", std::nullopt});
  }
  for (CardLine& line : lines) {
    try {
      ReadContentLines(line.raw, [&](ContentLine&& content) { line.content = std::move(content); });
    } catch (const EExchangeError&) {
      line.content.reset();  // kept as it stands
    }
  }
  return lines;
}

std::string Unescaped(const ContentLine& content) {
  VCardProperty property{content};
  std::string text = property.Text();
  if (content.name == "TEL" && text.starts_with("tel:")) text.erase(0, 4);
  return text;
}

// The line's name and parameters as written, before the value's colon.
std::string Head(const CardLine& line) {
  std::string unfolded;
  for (std::string_view physical : PhysicalLines(line.raw))
    unfolded.append(unfolded.empty() ? physical : physical.substr(1));
  return unfolded.substr(0, unfolded.size() - line.content->value.size() - 1);
}

// The value split at unescaped separators, each part still escaped.
std::vector<std::string> RawParts(const std::string& value, char separator) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      parts.back() += value.substr(i, 2);
      ++i;
    } else if (value[i] == separator) {
      parts.emplace_back();
    } else {
      parts.back() += value[i];
    }
  }
  return parts;
}

std::string JoinedParts(const std::vector<std::string>& parts, char separator) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? std::string(1, separator) : "") + parts[i];
  return text;
}

class Patch {
 public:
  explicit Patch(const std::string& card) : lines_(CardLines(card)) {}

  // The first unused line of the name that matches.
  CardLine* Find(std::string_view name, const std::function<bool(const ContentLine&)>& matches = {}) {
    for (CardLine& line : lines_)
      if (!line.used && line.content && line.content->name == name && (!matches || matches(*line.content)))
        return &line;
    return nullptr;
  }
  void Replace(CardLine& line, const std::string& value) {
    line.raw = FoldedLine(Head(line) + ":" + value);
    line.used = true;
  }
  void Remove(CardLine& line) {
    line.raw.clear();
    line.used = true;
  }
  void Add(const std::string& head, const std::string& value) { added_ += FoldedLine(head + ":" + value); }

  // A single value of the name, found by the value it had.
  void Value(std::string_view name, const std::string& before, const std::string& after, const std::string& newHead,
             const std::function<bool(const ContentLine&)>& kind = {}) {
    if (before == after) return;
    CardLine* line = before.empty() ? nullptr : Find(name, [&](const ContentLine& content) {
      return (!kind || kind(content)) && Unescaped(content) == before;
    });
    if (line == nullptr) {
      if (!after.empty()) Add(newHead, EscapedText(after));
    } else if (after.empty()) {
      Remove(*line);
    } else {
      Replace(*line, EscapedText(after));
    }
  }

  std::string Text() const {
    std::string text;
    for (const CardLine& line : lines_) {
      if (line.content && line.content->name == "END" && !added_.empty()) text += added_;
      text += line.raw;
    }
    return text;
  }

 private:
  std::vector<CardLine> lines_;
  std::string added_;
};

bool IsFax(const ContentLine& content) { return content.HasParameterValue("TYPE", "FAX"); }

void PatchName(Patch& patch, const AddressRecord& before, const AddressRecord& after) {
  if (before.Name == after.Name && before.Vorname == after.Vorname) return;
  if (CardLine* n = patch.Find("N")) {
    std::vector<std::string> parts = RawParts(n->content->value, ';');
    parts.resize(std::max<size_t>(parts.size(), 5));
    parts[0] = EscapedText(after.Name);
    if (before.Vorname != after.Vorname) {
      parts[1] = EscapedText(after.Vorname);
      parts[2].clear();
    }
    patch.Replace(*n, JoinedParts(parts, ';'));
  } else {
    patch.Add("N", EscapedText(after.Name) + ";" + EscapedText(after.Vorname) + ";;;");
  }
  const std::string formatted =
      after.Vorname.empty() || after.Name.empty() ? after.Vorname + after.Name : after.Vorname + " " + after.Name;
  if (CardLine* fn = patch.Find("FN"))
    patch.Replace(*fn, EscapedText(formatted));
  else
    patch.Add("FN", EscapedText(formatted));
}

void PatchAddress(Patch& patch, const AddressRecord& before, const AddressRecord& after) {
  if (before.Strasse == after.Strasse && before.Stadt == after.Stadt && before.PLZ == after.PLZ) return;
  CardLine* adr = patch.Find("ADR", [&](const ContentLine& content) {
    const std::vector<std::string> parts = VCardProperty{content}.Parts(';');
    auto part = [&](size_t i) { return i < parts.size() ? parts[i] : std::string(); };
    const std::string street = part(1).empty() ? part(2) : part(2).empty() ? part(1) : part(2) + ", " + part(1);
    return street == before.Strasse && part(3) == before.Stadt && part(5) == before.PLZ;
  });
  if (adr == nullptr) {
    if (!after.Strasse.empty() || !after.Stadt.empty() || !after.PLZ.empty())
      patch.Add("ADR", ";;" + EscapedText(after.Strasse) + ";" + EscapedText(after.Stadt) + ";;" +
                           EscapedText(after.PLZ) + ";");
    return;
  }
  if (after.Strasse.empty() && after.Stadt.empty() && after.PLZ.empty()) return patch.Remove(*adr);
  std::vector<std::string> parts = RawParts(adr->content->value, ';');
  parts.resize(std::max<size_t>(parts.size(), 7));
  if (before.Strasse != after.Strasse) {
    parts[2] = EscapedText(after.Strasse);
    parts[1].clear();
  }
  parts[3] = EscapedText(after.Stadt);
  parts[5] = EscapedText(after.PLZ);
  patch.Replace(*adr, JoinedParts(parts, ';'));
}

void PatchCategory(Patch& patch, const std::string& before, const std::string& after) {
  if (before == after) return;
  CardLine* list = patch.Find("CATEGORIES");
  if (list == nullptr) {
    if (!after.empty()) patch.Add("CATEGORIES", EscapedText(after));
    return;
  }
  std::vector<std::string> items = RawParts(list->content->value, ',');
  if (before.empty())
    items.insert(items.begin(), EscapedText(after));
  else if (after.empty())
    items.erase(items.begin());
  else
    items[0] = EscapedText(after);
  if (items.empty() || (items.size() == 1 && items[0].empty()))
    patch.Remove(*list);
  else
    patch.Replace(*list, JoinedParts(items, ','));
}

void PatchNote(Patch& patch, const std::string& before, const std::string& after) {
  if (before == after) return;
  // The note takes the place of the first; the others go.
  CardLine* first = patch.Find("NOTE");
  if (first == nullptr) {
    if (!after.empty()) patch.Add("NOTE", EscapedText(after));
    return;
  }
  if (after.empty())
    patch.Remove(*first);
  else
    patch.Replace(*first, EscapedText(after));
  while (CardLine* more = patch.Find("NOTE")) patch.Remove(*more);
}

}  // namespace

SyncedFields FieldsOfCard(const std::string& card) {
  SyncedFields fields;
  std::vector<ExchangeFault> skipped;
  std::vector<VCard> cards;
  try {
    cards = ReadVCards(card, &skipped);
  } catch (const EExchangeError&) {
    return fields;
  }
  if (cards.empty()) return fields;
  fields.address = AddressFromCard(cards.front(), CardRest::LeftInCard);
  for (const VCardProperty& property : cards.front().properties) {
    if (property.content.name == kZone1) fields.Tarifzone1 = property.Text();
    if (property.content.name == kZone2) fields.Tarifzone2 = property.Text();
  }
  return fields;
}

std::string PatchedCard(const std::string& card, const SyncedFields& before, const SyncedFields& after) {
  Patch patch(card);
  const AddressRecord& b = before.address;
  const AddressRecord& a = after.address;
  PatchName(patch, b, a);
  PatchAddress(patch, b, a);
  const auto voice = [](const ContentLine& content) { return !IsFax(content); };
  // Both numbers first find their old lines, so that a swap finds each.
  patch.Value("TEL", b.Telefon1, a.Telefon1, "TEL;TYPE=VOICE", voice);
  patch.Value("TEL", b.Telefon2, a.Telefon2, "TEL;TYPE=VOICE", voice);
  patch.Value("TEL", b.Fax, a.Fax, "TEL;TYPE=FAX", IsFax);
  patch.Value("EMAIL", b.Email, a.Email, "EMAIL;TYPE=INTERNET");
  patch.Value("URL", b.URL, a.URL, "URL");
  PatchNote(patch, b.Text, a.Text);
  PatchCategory(patch, b.Kategorie, a.Kategorie);
  patch.Value(kZone1, before.Tarifzone1, after.Tarifzone1, kZone1);
  patch.Value(kZone2, before.Tarifzone2, after.Tarifzone2, kZone2);
  return patch.Text();
}

std::string NewCard(const SyncedFields& fields, const std::string& uid) {
  std::string card = CardFromAddress(fields.address);
  std::string more = FoldedLine("UID:" + EscapedText(uid));
  if (!fields.Tarifzone1.empty()) more += FoldedLine(std::string(kZone1) + ":" + EscapedText(fields.Tarifzone1));
  if (!fields.Tarifzone2.empty()) more += FoldedLine(std::string(kZone2) + ":" + EscapedText(fields.Tarifzone2));
  card.insert(card.rfind("END:VCARD"), more);
  return card;
}

}  // namespace vesk
