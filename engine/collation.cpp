#include "engine/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <cstring>
#include <memory>

#include "engine/engine_error.h"

namespace vesk {

namespace {

struct CollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};
using Collator = std::unique_ptr<UCollator, CollatorCloser>;

// The user's locale as ICU sees it (LANG / LC_ALL); the POSIX locale, which
// ICU reports when nothing is set, gets the root order.
Collator OpenCollator(UCollationStrength strength) {
  const char* locale = uloc_getDefault();
  if (std::strncmp(locale, "en_US_POSIX", 11) == 0) locale = "";
  UErrorCode status = U_ZERO_ERROR;
  Collator collator(ucol_open(locale, &status));
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    collator.reset(ucol_open("", &status));
  }
  if (U_FAILURE(status)) throw EngineError(std::string("Text collator unavailable: ") + u_errorName(status));
  ucol_setStrength(collator.get(), strength);
  return collator;
}

UCollator* CollatorFor(bool case_insensitive) {
  static Collator with_case = OpenCollator(UCOL_TERTIARY);
  static Collator without_case = OpenCollator(UCOL_SECONDARY);
  return case_insensitive ? without_case.get() : with_case.get();
}

int Compare(UCollator* collator, std::string_view a, std::string_view b) {
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult result = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                             static_cast<int32_t>(b.size()), &status);
  if (U_FAILURE(status)) return a.compare(b);
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

int SqliteCompare(void* collator, int a_len, const void* a, int b_len, const void* b) {
  return Compare(static_cast<UCollator*>(collator), std::string_view(static_cast<const char*>(a), a_len),
                 std::string_view(static_cast<const char*>(b), b_len));
}

}  // namespace

int CompareText(std::string_view a, std::string_view b, bool case_insensitive) {
  return Compare(CollatorFor(case_insensitive), a, b);
}

void RegisterCollations(sqlite3* db) {
  for (bool no_case : {false, true}) {
    int rc = sqlite3_create_collation_v2(db, no_case ? kCollationNoCase : kCollationCase, SQLITE_UTF8,
                                         CollatorFor(no_case), SqliteCompare, nullptr);
    if (rc != SQLITE_OK) throw EngineError(sqlite3_errmsg(db));
  }
}

}  // namespace vesk
