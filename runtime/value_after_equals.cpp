#include "runtime/value_after_equals.h"

#include "runtime/exceptions.h"

namespace vesk {

std::string ValueAfterEquals(std::string_view line) {
  const size_t separator = line.find('=');
  if (separator == std::string_view::npos) throw Exception("Trennzeichen (=) nicht gefunden");
  return std::string(line.substr(separator + 1));
}

}  // namespace vesk
