// The raising form of a Try... reader: its value, or EConvertError with the
// message pattern filled in with the text.
#pragma once

#include <string_view>

#include "runtime/exceptions.h"

namespace vesk {

template <typename T>
T ReadOrRaise(bool (*reader)(std::string_view, T&), std::string_view text, std::string_view message) {
  T value{};
  if (!reader(text, value)) throw EConvertError(FormatMessage(message, {text}));
  return value;
}

}  // namespace vesk
