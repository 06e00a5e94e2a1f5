// Checks shared by the tests of the text readers (TryStrToInt, TryStrToFloat,
// TryStrToDate...): what a reader accepts, what it refuses, and the message
// of the raising form.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/exceptions.h"

namespace vesk {

template <typename T>
using Reader = bool (*)(std::string_view, T&);

// The value read; a test failure when the reader refuses the text.
template <typename T>
T Accepted(Reader<T> reader, std::string_view text) {
  T value{};
  EXPECT_TRUE(reader(text, value)) << '"' << text << '"';
  return value;
}

// Every text refused, and the value left as it was.
template <typename T>
void ExpectRefused(Reader<T> reader, std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) {
    T value = static_cast<T>(-77);
    EXPECT_FALSE(reader(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, static_cast<T>(-77)) << '"' << text << '"';
  }
}

// The call raises EConvertError with exactly this message.
template <typename Call>
void ExpectConvertError(Call call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), message);
  }
}

}  // namespace vesk
