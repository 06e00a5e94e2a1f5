#include "engine/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
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
