#include "engine/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/uversion.h>

#include <cstring>

#include "engine/engine_error.h"

namespace vesk::engine {

namespace {

UCollator* OpenCollator(const std::string& locale, UCollationStrength strength) {
  UErrorCode status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status)) throw EngineError("Text collator for " + locale + " unavailable: " + u_errorName(status));
  ucol_setStrength(collator, strength);
  return collator;
}

int Compare(const UCollator* collator, std::string_view a, std::string_view b) {
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult result = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                             static_cast<int32_t>(b.size()), &status);
  if (U_FAILURE(status)) return a.compare(b);
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

// What a connection holds of an order: the order itself, kept alive until
// SQLite lets the collation go.
struct Registration {
  std::shared_ptr<const TextOrder> order;
  bool case_insensitive;
};

int SqliteCompare(void* registration, int a_len, const void* a, int b_len, const void* b) {
  auto* r = static_cast<const Registration*>(registration);
  return r->order->Compare(std::string_view(static_cast<const char*>(a), a_len),
                           std::string_view(static_cast<const char*>(b), b_len), r->case_insensitive);
}

void Unregister(void* registration) { delete static_cast<Registration*>(registration); }

}  // namespace

std::shared_ptr<const TextOrder> TextOrder::Open(const std::string& locale) {
  std::shared_ptr<TextOrder> order(new TextOrder);
  order->locale_ = locale;
  order->with_case_ = OpenCollator(locale, UCOL_TERTIARY);
  order->without_case_ = OpenCollator(locale, UCOL_SECONDARY);
  UVersionInfo version;
  ucol_getVersion(order->with_case_, version);
  char text[U_MAX_VERSION_STRING_LENGTH] = {};
  u_versionToString(version, text);
  order->version_ = text;
  return order;
}

std::string TextOrder::ProcessLocale() {
  const char* locale = uloc_getDefault();
  if (std::strncmp(locale, "en_US_POSIX", 11) == 0 || *locale == 0) return "root";
  return locale;
}

TextOrder::~TextOrder() {
  ucol_close(with_case_);
  ucol_close(without_case_);
}

int TextOrder::Compare(std::string_view a, std::string_view b, bool case_insensitive) const {
  return engine::Compare(case_insensitive ? without_case_ : with_case_, a, b);
}

void TextOrder::MarkContractions(const UCollator* collator) const {
  UErrorCode status = U_ZERO_ERROR;
  USet* contractions = uset_openEmpty();
  ucol_getContractionsAndExpansions(collator, contractions, nullptr, true, &status);
  if (U_FAILURE(status)) {
    in_contractions_.set();  // not knowing, trust no prefix
    leads_unknown_.set();
  } else {
    UChar text[64];
    for (int32_t i = 0; i < uset_getItemCount(contractions); ++i) {
      UChar32 start = 0, end = 0;
      UErrorCode item_status = U_ZERO_ERROR;
      const int32_t length = uset_getItem(contractions, i, &start, &end, text, 64, &item_status);
      if (length == 0) {
        for (UChar32 c = start; c <= end && c < 128; ++c) {
          in_contractions_.set(static_cast<size_t>(c));
          leads_unknown_.set(static_cast<size_t>(c));
        }
      } else if (U_FAILURE(item_status)) {
        in_contractions_.set();
        leads_unknown_.set();
      } else {
        for (int32_t k = 0; k < length; ++k)
          if (text[k] < 128) in_contractions_.set(text[k]);
        if (text[0] < 128) {
          char utf8[256];
          int32_t bytes = 0;
          UErrorCode utf8_status = U_ZERO_ERROR;
          u_strToUTF8(utf8, sizeof utf8, &bytes, text, length, &utf8_status);
          if (U_FAILURE(utf8_status))
            leads_unknown_.set(text[0]);
          else
            ascii_led_contractions_.emplace_back(utf8, static_cast<size_t>(bytes));
        }
      }
    }
  }
  uset_close(contractions);
}

// Telling the contractions takes a while: only once it is needed.
void TextOrder::KnowContractions() const {
  if (contractions_known_) return;
  for (const UCollator* collator : {with_case_, without_case_}) MarkContractions(collator);
  contractions_known_ = true;
}

bool TextOrder::PrefixRange(std::string_view prefix, std::string* high) const {
  auto other_case = [](unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    return c;
  };
  KnowContractions();
  for (unsigned char c : prefix) {
    if (c >= 128 || in_contractions_.test(c) || in_contractions_.test(other_case(c))) return false;
  }
  if (high == nullptr || prefix.empty()) return true;
  high->clear();
  // Below the prefix with its last letter replaced by the next one, when
  // the order puts every text beginning with that letter before the next.
  const unsigned char last = static_cast<unsigned char>(prefix.back());
  const bool letter = (last >= 'a' && last < 'z') || (last >= 'A' && last < 'Z');
  const char next = static_cast<char>(last + 1);
  if (!letter || in_contractions_.test(static_cast<unsigned char>(next)) ||
      in_contractions_.test(other_case(static_cast<unsigned char>(next))))
    return true;
  // U+FFFF has the highest primary weight there is; both orders and both
  // cases must agree.
  for (bool no_case : {false, true}) {
    for (unsigned char c : {last, other_case(last)}) {
      if (Compare(std::string(1, static_cast<char>(c)) + "\xEF\xBF\xBF", std::string(1, next), no_case) >= 0)
        return true;
    }
  }
  *high = std::string(prefix.substr(0, prefix.size() - 1)) + next;
  return true;
}

bool TextOrder::LeadsWithin(std::string_view low, std::string_view high, std::bitset<128>* leads) const {
  auto printable = [](unsigned char c) { return c >= 0x20 && c < 0x7F; };
  auto one_printable = [&](std::string_view bound) { return bound.size() == 1 && printable(bound[0]); };
  if (!one_printable(low) || !(high.empty() || one_printable(high))) return false;
  KnowContractions();
  // At every level a text's weights begin with those of its first unit:
  // its first character, or a contraction beginning with it. A text
  // beginning with a unit sorts below low when the unit followed by the
  // highest primary weight does, and at or above high when the unit alone
  // does; else it may lie within.
  auto within = [&](const std::string& unit) {
    return !(Compare(unit + "\xEF\xBF\xBF", low, true) < 0 || (!high.empty() && Compare(unit, high, true) >= 0));
  };
  leads->reset();
  for (unsigned char c = 0x20; c < 0x7F; ++c) {
    bool in = leads_unknown_.test(c) || within(std::string(1, static_cast<char>(c)));
    for (const std::string& contraction : ascii_led_contractions_)
      if (!in && static_cast<unsigned char>(contraction[0]) == c) in = within(contraction);
    leads->set(c, in);
  }
  return true;
}

void TextOrder::Register(sqlite3* db) const {
  for (bool no_case : {false, true}) {
    auto* registration = new Registration{shared_from_this(), no_case};
    int rc = sqlite3_create_collation_v2(db, no_case ? kCollationNoCase : kCollationCase, SQLITE_UTF8, registration,
                                         SqliteCompare, Unregister);
    if (rc != SQLITE_OK) {
      delete registration;
      throw EngineError(sqlite3_errmsg(db));
    }
  }
}

}  // namespace vesk::engine
