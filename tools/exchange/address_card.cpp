#include "tools/exchange/address_card.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <span>

#include "runtime/conversions.h"
#include "tools/exchange/content_line_writer.h"

namespace vesk {
namespace {

// Short lists, looked through in turn: that costs less than a tree.
bool Among(const auto& names, std::string_view name) { return std::ranges::find(names, name) != std::end(names); }

// How the user reads a property that lands in Text.
constexpr std::pair<std::string_view, std::string_view> kLabels[] = {{"TEL", "Telefon"},
                                                                     {"EMAIL", "E-Mail"},
                                                                     {"URL", "Internet"},
                                                                     {"ADR", "Adresse"},
                                                                     {"BDAY", "Geburtstag"},
                                                                     {"ANNIVERSARY", "Jahrestag"},
                                                                     {"ORG", "Firma"},
                                                                     {"TITLE", "Position"},
                                                                     {"ROLE", "Funktion"},
                                                                     {"NICKNAME", "Spitzname"},
                                                                     {"IMPP", "Chat"},
                                                                     {"GENDER", "Geschlecht"},
                                                                     {"LANG", "Sprache"},
                                                                     {"TZ", "Zeitzone"},
                                                                     {"GEO", "Koordinaten"},
                                                                     {"RELATED", "Beziehung"},
                                                                     {"CATEGORIES", "Kategorien"},
                                                                     {"PHOTO", "Foto"},
                                                                     {"LOGO", "Logo"},
                                                                     {"SOUND", "Ton"},
                                                                     {"KEY", "Schlüssel"}};
// Types worth telling, in the user's words.
constexpr std::pair<std::string_view, std::string_view> kTypeWords[] = {
    {"HOME", "privat"}, {"WORK", "geschäftlich"}, {"CELL", "mobil"},  {"FAX", "Fax"},
    {"PAGER", "Pager"}, {"CAR", "Auto"},          {"VIDEO", "Video"}, {"TEXT", "SMS"}};
// Technical properties that hold nothing of the user's.
constexpr std::string_view kTechnical[] = {"PRODID", "REV",  "UID",     "CLIENTPIDMAP", "SORT-STRING", "KIND",
                                           "SOURCE", "NAME", "PROFILE", "MAILER",       "LABEL",       "X-ABUID"};
// Embedded files, which a text field cannot take.
constexpr std::string_view kBinary[] = {"PHOTO", "LOGO", "SOUND", "KEY"};

std::string_view Label(std::string_view name) {
  const auto found = std::ranges::find(kLabels, name, [](const auto& label) { return label.first; });
  return found != std::end(kLabels) ? found->second : name;
}

// The parts that are not empty, the separator between them.
template <typename Parts>
std::string Join(const Parts& parts, std::string_view separator) {
  std::string text;
  for (const auto& part : parts) {
    if (std::string_view(part).empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}
std::string Join(std::initializer_list<std::string_view> parts, std::string_view separator) {
  return Join<std::initializer_list<std::string_view>>(parts, separator);
}

// "Telefon (mobil, geschäftlich): +49 ..."
std::string ExtraLine(const VCardProperty& property, const std::string& value) {
  std::string line(Label(property.content.name));
  line.reserve(line.size() + 48 + value.size());  // room for the words and the value
  unsigned told = 0;                              // the type words in the line, one bit each
  for (const ContentParameter& parameter : property.content.parameters) {
    if (parameter.name != "TYPE") continue;
    const auto found = std::ranges::find_if(
        kTypeWords, [&](const auto& word) { return SameIgnoringCase(word.first, parameter.value); });
    const unsigned bit = 1u << (found - std::begin(kTypeWords));
    if (found == std::end(kTypeWords) || (told & bit) != 0) continue;
    line += told == 0 ? " (" : ", ";
    line += found->second;
    told |= bit;
  }
  if (told != 0) line += ")";
  return line.append(": ").append(value);
}

// A date of the card (19800115, 1980-01-15, with a time after it) as the
// user writes it: 15.01.1980. Anything else stays as it is.
std::string ReadableDate(const std::string& value) {
  std::string digits;
  for (char c : value.substr(0, value.find('T')))
    if (c != '-') digits += c;
  if (digits.size() != 8 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return value;
  return digits.substr(6, 2) + "." + digits.substr(4, 2) + "." + digits.substr(0, 4);
}

std::string AddressText(const VCardProperty& property) {
  const std::vector<std::string> parts = property.Parts(';');
  auto part = [&](size_t i) { return i < parts.size() ? parts[i] : std::string(); };
  // Post box, extended address, street, locality, region, code, country.
  return Join({part(0), part(1), part(2), Join({part(5), part(3)}, " "), part(4), part(6)}, ", ");
}

std::string ValueText(const VCardProperty& property) {
  const std::string& name = property.content.name;
  if (name == "ADR") return AddressText(property);
  if (name == "ORG" || name == "N" || name == "GENDER") return Join(property.Parts(';'), ", ");
  if (name == "CATEGORIES" || name == "NICKNAME") return Join(property.Parts(','), ", ");
  if (name == "BDAY" || name == "ANNIVERSARY") return ReadableDate(property.Text());
  return property.Text();
}

// Properties of one name, as a card groups them.
using Properties = std::span<const VCardProperty*>;

// Sorts properties of one name, the preferred first, else in the card's
// order; a card has a few of each.
Properties Ranked(Properties properties, int (*rank)(const VCardProperty&)) {
  auto key = [rank](const VCardProperty* property) { return std::pair(rank(*property), property->Preference()); };
  // Insertion keeps the order of equals and needs no buffer.
  for (size_t i = 1; i < properties.size(); ++i)
    for (size_t j = i; j > 0 && key(properties[j]) < key(properties[j - 1]); --j)
      std::swap(properties[j], properties[j - 1]);
  return properties;
}

int NoRank(const VCardProperty&) { return 0; }
// Private, mobile and plain voice numbers before work numbers.
int TelephoneRank(const VCardProperty& tel) { return tel.HasType("WORK") && !tel.HasType("HOME") ? 1 : 0; }

// Fills the fields in order from the ranked properties; the rest become
// lines of Text.
void Distribute(Properties ranked, std::initializer_list<std::string*> fields, std::vector<std::string>& extras) {
  auto field = fields.begin();
  for (const VCardProperty* property : ranked) {
    std::string value = property->Text();
    // 4.0 writes numbers as URIs.
    const std::string* kind = property->content.FirstParameter("VALUE");
    if (property->content.name == "TEL" && kind && (*kind == "uri" || *kind == "URI") && value.starts_with("tel:"))
      value.erase(0, 4);
    if (value.empty()) continue;
    if (field != fields.end())
      **field++ = std::move(value);
    else
      extras.push_back(ExtraLine(*property, value));
  }
}

void TakeName(const VCard& card, Properties names, AddressRecord& address, std::vector<std::string>& extras) {
  if (!names.empty()) {
    std::vector<std::string> n = names.front()->Parts(';');
    n.resize(std::max<size_t>(n.size(), 5));
    address.Name = n[0];
    address.Vorname = Join({n[1], n[2]}, " ");
    if (!n[3].empty()) extras.push_back("Titel: " + n[3]);
    if (!n[4].empty()) extras.push_back("Namenszusatz: " + n[4]);
  }
  if (!address.Name.empty() || !address.Vorname.empty()) return;
  for (const VCardProperty& property : card.properties) {
    if (property.content.name != "FN") continue;
    address.Name = property.Text();
    if (!address.Name.empty()) return;
  }
}

void TakeAddress(Properties addresses, AddressRecord& address, std::vector<std::string>& extras) {
  for (const VCardProperty* property : addresses) {
    if (property != addresses.front()) {
      extras.push_back(ExtraLine(*property, AddressText(*property)));
      continue;
    }
    std::vector<std::string> parts = property->Parts(';');
    parts.resize(std::max<size_t>(parts.size(), 7));
    address.Strasse = Join({parts[2], parts[1]}, ", ");
    address.Stadt = parts[3];
    address.PLZ = parts[5];
    if (!parts[0].empty()) extras.push_back("Postfach: " + parts[0]);
    if (!parts[4].empty()) extras.push_back("Region: " + parts[4]);
    if (!parts[6].empty()) extras.push_back("Land: " + parts[6]);
  }
}

// A card's properties grouped by name, the names in the card's order; a
// card has a dozen names at most, so a list serves better than a tree.
class PropertiesByName {
 public:
  explicit PropertiesByName(const VCard& card) {
    const size_t n = card.properties.size();
    groups_.reserve(n);
    std::vector<size_t> groupOf(n, kLeftOut);
    std::set<std::pair<std::string, std::string>> altIds;
    for (size_t i = 0; i < n; ++i) {
      const ContentLine& content = card.properties[i].content;
      // 4.0: the same ALTID marks other forms (languages, scripts) of one value.
      const std::string* altId = content.FirstParameter("ALTID");
      if (altId && !altIds.insert({content.name, *altId}).second) continue;
      groupOf[i] = Find(content.name);
      if (groupOf[i] == groups_.size()) groups_.push_back({content.name, 0, 0});
      ++groups_[groupOf[i]].end;  // counted first, placed below
    }
    size_t at = 0;
    for (Group& group : groups_) {
      group.begin = at;
      at += group.end;
      group.end = group.begin;
    }
    grouped_.resize(at);
    for (size_t i = 0; i < n; ++i)
      if (groupOf[i] != kLeftOut) grouped_[groups_[groupOf[i]].end++] = &card.properties[i];
  }
  Properties Of(std::string_view name) {
    const size_t g = Find(name);
    return g == groups_.size() ? Properties() : Of(groups_[g]);
  }
  // Calls take with each name and its properties.
  void ForEach(const std::function<void(std::string_view, Properties)>& take) {
    for (const Group& group : groups_) take(group.name, Of(group));
  }

 private:
  static constexpr size_t kLeftOut = SIZE_MAX;
  struct Group {
    std::string_view name;
    size_t begin, end;  // in grouped_
  };
  size_t Find(std::string_view name) const {
    return static_cast<size_t>(std::ranges::find(groups_, name, &Group::name) - groups_.begin());
  }
  Properties Of(const Group& group) { return Properties(grouped_).subspan(group.begin, group.end - group.begin); }

  std::vector<Group> groups_;
  std::vector<const VCardProperty*> grouped_;
};

}  // namespace

AddressRecord AddressFromCard(const VCard& card, CardRest rest) {
  PropertiesByName byName(card);

  AddressRecord address;
  std::vector<std::string> extras;
  extras.reserve(8);
  TakeName(card, byName.Of("N"), address, extras);
  TakeAddress(Ranked(byName.Of("ADR"), NoRank), address, extras);
  std::vector<const VCardProperty*> voice, fax;
  const Properties telephones = byName.Of("TEL");
  voice.reserve(telephones.size());
  for (const VCardProperty* tel : telephones) (tel->HasType("FAX") ? fax : voice).push_back(tel);
  Distribute(Ranked(voice, TelephoneRank), {&address.Telefon1, &address.Telefon2}, extras);
  Distribute(Ranked(fax, NoRank), {&address.Fax}, extras);
  Distribute(Ranked(byName.Of("EMAIL"), NoRank), {&address.Email}, extras);
  Distribute(Ranked(byName.Of("URL"), NoRank), {&address.URL}, extras);

  std::vector<std::string> notes, categories;
  for (const VCardProperty* note : byName.Of("NOTE")) notes.push_back(note->Text());
  for (const VCardProperty* list : byName.Of("CATEGORIES"))
    for (const std::string& category : list->Parts(','))
      if (!category.empty()) categories.push_back(category);
  if (!categories.empty()) address.Kategorie = categories.front();
  if (categories.size() > 1) extras.push_back("Kategorien: " + Join(std::span(categories).subspan(1), ", "));

  constexpr std::string_view kTaken[] = {"N", "FN", "ADR", "TEL", "EMAIL", "URL", "NOTE", "CATEGORIES"};
  byName.ForEach([&](std::string_view name, Properties properties) {
    if (Among(kTaken, name) || Among(kTechnical, name)) return;
    for (const VCardProperty* property : properties) {
      if (Among(kBinary, name)) {
        extras.push_back(std::string(Label(name)) + ": nicht übernommen");
        continue;
      }
      const std::string value = ValueText(*property);
      if (!value.empty()) extras.push_back(ExtraLine(*property, value));
    }
  });
  address.Text = Join(notes, "\n\n");
  if (rest == CardRest::LeftInCard) return address;
  const std::string more = Join(extras, "\n");
  if (!address.Text.empty() && !more.empty()) address.Text += "\n\n";
  address.Text += more;
  return address;
}

std::string CardFromAddress(const AddressRecord& a) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
  card += FoldedLine("N:" + EscapedText(a.Name) + ";" + EscapedText(a.Vorname) + ";;;");
  card += FoldedLine("FN:" + EscapedText(Join({a.Vorname, a.Name}, " ")));
  if (!a.Strasse.empty() || !a.PLZ.empty() || !a.Stadt.empty())
    card +=
        FoldedLine("ADR:;;" + EscapedText(a.Strasse) + ";" + EscapedText(a.Stadt) + ";;" + EscapedText(a.PLZ) + ";");
  auto line = [&](const char* head, const std::string& value) {
    if (!value.empty()) card += FoldedLine(head + EscapedText(value));
  };
  line("TEL;TYPE=VOICE,PREF:", a.Telefon1);
  line("TEL;TYPE=VOICE:", a.Telefon2);
  line("TEL;TYPE=FAX:", a.Fax);
  line("EMAIL;TYPE=INTERNET:", a.Email);
  line("URL:", a.URL);
  line("NOTE:", a.Text);
  line("CATEGORIES:", a.Kategorie);
  return card + "END:VCARD\r\n";
}

}  // namespace vesk
