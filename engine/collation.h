// Text order of a table (ICU collator of the locale recorded with it),
// shared by SQLite's indexes and the engine's own comparisons so both
// always agree, whatever locale the process runs under.
#ifndef VESK_ENGINE_COLLATION_H
#define VESK_ENGINE_COLLATION_H

#include <sqlite3.h>

#include <bitset>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UCollator;

namespace vesk::engine {

// Collation names used in the table files' index definitions.
inline constexpr const char* kCollationCase = "vesk_text";
inline constexpr const char* kCollationNoCase = "vesk_text_ci";

class TextOrder : public std::enable_shared_from_this<TextOrder> {
 public:
  // The order of locale ("root" for the root order); throws EngineError
  // when ICU has no collator at all.
  static std::shared_ptr<const TextOrder> Open(const std::string& locale);
  // The process's locale as ICU sees it (LANG / LC_ALL); "root" under POSIX.
  static std::string ProcessLocale();

  ~TextOrder();
  TextOrder(const TextOrder&) = delete;
  TextOrder& operator=(const TextOrder&) = delete;

  const std::string& Locale() const { return locale_; }
  // The collator's version: it changes when ICU's order for the locale does.
  const std::string& Version() const { return version_; }
  // < 0, 0, > 0 as a sorts before, with or after b.
  int Compare(std::string_view a, std::string_view b, bool case_insensitive) const;
  // Whether every text beginning with prefix sorts at or after it, and
  // without regard to case also every text beginning with prefix in other
  // ASCII letter cases: prefix is ASCII and none of its characters, in
  // either case, takes part in a contraction. When high is given it gets a
  // text that all of them sort below in both orders, or stays empty when
  // there is none to be sure of.
  bool PrefixRange(std::string_view prefix, std::string* high) const;
  // The printable ASCII characters (U+0020 to U+007E) that a text sorting,
  // without regard to case, at or after low and below high (no upper end
  // when empty) may begin with. False when the order cannot tell: a bound
  // is not one printable ASCII character.
  bool LeadsWithin(std::string_view low, std::string_view high, std::bitset<128>* leads) const;
  // Makes both collations known to a connection; they keep this order alive.
  void Register(sqlite3* db) const;

 private:
  TextOrder() = default;
  void MarkContractions(const UCollator* collator) const;
  void KnowContractions() const;

  std::string locale_;
  std::string version_;
  UCollator* with_case_ = nullptr;
  UCollator* without_case_ = nullptr;
  // ASCII characters that some contraction of either collator holds.
  mutable std::bitset<128> in_contractions_;
  // The contractions beginning with an ASCII character, and the ASCII
  // characters whose weights at the start of a text ICU does not tell.
  mutable std::vector<std::string> ascii_led_contractions_;
  mutable std::bitset<128> leads_unknown_;
  mutable bool contractions_known_ = false;
};

}  // namespace vesk::engine

#endif
