#include "tests/tools/exchange/sample_files.h"

#include <gtest/gtest.h>

#include "runtime/file_io.h"

namespace vesk {

std::string Sample(const std::string& name) {
  const std::optional<std::string> text = ReadFile(std::string(EXCHANGE_SAMPLES) + "/" + name);
  EXPECT_TRUE(text.has_value()) << name;
  return text.value_or("");
}

}  // namespace vesk
