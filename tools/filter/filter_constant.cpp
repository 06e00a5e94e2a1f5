#include "tools/filter/filter_constant.h"

namespace vesk {

std::string QuotedConstant(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted += '\'';
}

std::string DateConstant(TDateTime date) { return QuotedConstant(DateToStr(date)); }

}  // namespace vesk
