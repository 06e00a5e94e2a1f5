#include "tools/table/RadiRidirText.h"

#include <algorithm>

#include "platform/regional_settings.h"

namespace vesk {

std::string_view CutText(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t length = 0;
  while (length < maxBytes) {
    const size_t step = static_cast<size_t>(
        CharLength(text.data() + length, static_cast<int>(std::min<size_t>(text.size() - length, 8))));
    if (length + step > maxBytes) break;
    length += step;
  }
  return text.substr(0, length);
}

EngineText ToEngineText(std::string_view text) {
  EngineText result{};
  const std::string_view cut = CutText(text, 255);
  result[0] = static_cast<uint8_t>(cut.size());
  std::copy(cut.begin(), cut.end(), result.begin() + 1);
  return result;
}

std::string FromEngineText(const uint8_t* text) {
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace vesk
