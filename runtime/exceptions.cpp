#include "runtime/exceptions.h"

namespace vesk {

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string result;
  result.reserve(pattern.size());
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == '%') {
        result += '%';
        ++i;
        continue;
      }
      if (pattern[i + 1] == 's' && next != args.end()) {
        result += *next++;
        ++i;
        continue;
      }
    }
    result += pattern[i];
  }
  return result;
}

}  // namespace vesk
