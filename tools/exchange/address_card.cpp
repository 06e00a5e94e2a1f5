#include "tools/exchange/address_card.h"

#include <algorithm>
#include <set>
#include <span>

#include "runtime/conversions.h"
#include "tools/exchange/content_line_writer.h"

namespace vesk {
namespace {

// Short lists, looked through in turn: that costs less than a tree.
bool Among(const auto& names, std::string_view name) { return std::ranges::find(names, name) != std::end(names); }

// How the user reads a property that lands in Text.
constexpr std::pair<std::string_view, std::string_view> kLabels[] = {
    {"TEL", "Telefon"},        {"EMAIL", "E-Mail"},         {"URL", "Internet"},    {"ADR", "Adresse"},
    {"BDAY", "Geburtstag"},    {"ANNIVERSARY", "Jahrestag"}, {"ORG", "Firma"},       {"TITLE", "Position"},
    {"ROLE", "Funktion"},      {"NICKNAME", "Spitzname"},   {"IMPP", "Chat"},       {"GENDER", "Geschlecht"},
    {"LANG", "Sprache"},       {"TZ", "Zeitzone"},          {"GEO", "Koordinaten"}, {"RELATED", "Beziehung"},
    {"CATEGORIES", "Kategorien"}, {"PHOTO", "Foto"},        {"LOGO", "Logo"},       {"SOUND", "Ton"},
    {"KEY", "Schlüssel"}};
// Types worth telling, in the user's words.
constexpr std::pair<std::string_view, std::string_view> kTypeWords[] = {
    {"HOME", "privat"}, {"WORK", "geschäftlich"}, {"CELL", "mobil"}, {"FAX", "Fax"},
    {"PAGER", "Pager"}, {"CAR", "Auto"},          {"VIDEO", "Video"}, {"TEXT", "SMS"}};
// Technical properties that hold nothing of the user's.
constexpr std::string_view kTechnical[] = {"PRODID", "REV",     "UID",    "CLIENTPIDMAP", "SORT-STRING", "KIND",
                              "SOURCE", "NAME",    "PROFILE", "MAILER",      "LABEL",       "X-ABUID"};
// Embedded files, which a text field cannot take.
constexpr std::string_view kBinary[] = {"PHOTO", "LOGO", "SOUND", "KEY"};

std::string Label(std::string_view name) {
  const auto found = std::ranges::find(kLabels, name, [](const auto& label) { return label.first; });
  return std::string(found != std::end(kLabels) ? found->second : name);
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
  std::string line = Label(property.content.name);
  unsigned told = 0;  // the type words in the line, one bit each
  for (const ContentParameter& parameter : property.content.parameters) {
    if (parameter.name != "TYPE") continue;
    for (const std::string& type : parameter.values) {
      const auto found =
          std::ranges::find_if(kTypeWords, [&](const auto& word) { return SameIgnoringCase(word.first, type); });
      const unsigned bit = 1u << (found - std::begin(kTypeWords));
      if (found == std::end(kTypeWords) || (told & bit) != 0) continue;
      line += told == 0 ? " (" : ", ";
      line += found->second;
      told |= bit;
    }
  }
  if (told != 0) line += ")";
  return line + ": " + value;
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

// Sorts properties of one name, the preferred first, else in the card's
// order; a card has a few of each.
std::vector<const VCardProperty*>& Ranked(std::vector<const VCardProperty*>& properties,
                                          int (*rank)(const VCardProperty&)) {
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
void Distribute(const std::vector<const VCardProperty*>& ranked, std::initializer_list<std::string*> fields,
                std::vector<std::string>& extras) {
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

void TakeName(const VCard& card, const std::vector<const VCardProperty*>& names, AddressRecord& address,
              std::vector<std::string>& extras) {
  if (!names.empty()) {
    std::vector<std::string> n = names.front()->Parts(';');
    n.resize(std::max<size_t>(n.size(), 5));
    address.Name = n[0];
    address.Vorname = Join({n[1], n[2]}, " ");
    if (!n[3].empty()) extras.push_back("Titel: " + n[3]);
    if (!n[4].empty()) extras.push_back("Namenszusatz: " + n[4]);
  }
  if (!address.Name.empty() || !address.Vorname.empty()) return;
  for (const VCardProperty& property : card.properties)
    if (property.content.name == "FN" && !property.Text().empty()) {
      address.Name = property.Text();
      return;
    }
}

void TakeAddress(const std::vector<const VCardProperty*>& addresses, AddressRecord& address,
                 std::vector<std::string>& extras) {
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

}  // namespace

AddressRecord AddressFromCard(const VCard& card) {
  // The properties by name, the names in the card's order: a card has a
  // dozen names at most, so a list serves better than a tree.
  std::vector<std::pair<std::string_view, std::vector<const VCardProperty*>>> byName;
  byName.reserve(card.properties.size());
  auto entry = [&byName](std::string_view name) {
    return std::ranges::find(byName, name, [](const auto& named) { return named.first; });
  };
  std::set<std::pair<std::string, std::string>> altIds;
  for (const VCardProperty& property : card.properties) {
    const std::string& name = property.content.name;
    // 4.0: the same ALTID marks other forms (languages, scripts) of one value.
    const std::string* altId = property.content.FirstParameter("ALTID");
    if (altId && !altIds.insert({name, *altId}).second) continue;
    auto found = entry(name);
    if (found == byName.end()) found = byName.insert(byName.end(), {name, {}});
    found->second.push_back(&property);
  }
  std::vector<const VCardProperty*> none;
  auto of = [&](std::string_view name) -> std::vector<const VCardProperty*>& {
    const auto found = entry(name);
    return found != byName.end() ? found->second : none;
  };

  AddressRecord address;
  std::vector<std::string> extras;
  TakeName(card, of("N"), address, extras);
  TakeAddress(Ranked(of("ADR"), NoRank), address, extras);
  std::vector<const VCardProperty*> voice, fax;
  voice.reserve(of("TEL").size());
  for (const VCardProperty* tel : of("TEL")) (tel->HasType("FAX") ? fax : voice).push_back(tel);
  Distribute(Ranked(voice, TelephoneRank), {&address.Telefon1, &address.Telefon2}, extras);
  Distribute(Ranked(fax, NoRank), {&address.Fax}, extras);
  Distribute(Ranked(of("EMAIL"), NoRank), {&address.Email}, extras);
  Distribute(Ranked(of("URL"), NoRank), {&address.URL}, extras);

  std::vector<std::string> notes, categories;
  for (const VCardProperty* note : of("NOTE")) notes.push_back(note->Text());
  for (const VCardProperty* list : of("CATEGORIES"))
    for (const std::string& category : list->Parts(','))
      if (!category.empty()) categories.push_back(category);
  if (!categories.empty()) address.Kategorie = categories.front();
  if (categories.size() > 1)
    extras.push_back("Kategorien: " + Join(std::span(categories).subspan(1), ", "));

  constexpr std::string_view kTaken[] = {"N", "FN", "ADR", "TEL", "EMAIL", "URL", "NOTE", "CATEGORIES"};
  for (const auto& [name, properties] : byName) {
    if (Among(kTaken, name) || Among(kTechnical, name)) continue;
    for (const VCardProperty* property : properties) {
      if (Among(kBinary, name)) {
        extras.push_back(Label(name) + ": nicht übernommen");
        continue;
      }
      const std::string value = ValueText(*property);
      if (!value.empty()) extras.push_back(ExtraLine(*property, value));
    }
  }
  address.Text = Join({Join(notes, "\n\n"), Join(extras, "\n")}, "\n\n");
  return address;
}

std::string CardFromAddress(const AddressRecord& a) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
  card += FoldedLine("N:" + EscapedText(a.Name) + ";" + EscapedText(a.Vorname) + ";;;");
  card += FoldedLine("FN:" + EscapedText(Join({a.Vorname, a.Name}, " ")));
  if (!a.Strasse.empty() || !a.PLZ.empty() || !a.Stadt.empty())
    card += FoldedLine("ADR:;;" + EscapedText(a.Strasse) + ";" + EscapedText(a.Stadt) + ";;" + EscapedText(a.PLZ) +
                       ";");
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
