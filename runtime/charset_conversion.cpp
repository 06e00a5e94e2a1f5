#include "runtime/charset_conversion.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "runtime/exceptions.h"

namespace vesk {

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

std::string CharsetToUtf8(std::string_view bytes, const std::string& charset) {
  // Three bytes of UTF-8 at most for each byte read: a first try mostly fits.
  std::string result(bytes.size() * 3 + 4, '\0');
  UErrorCode status = U_ZERO_ERROR;
  auto convert = [&] {
    return ucnv_convert("UTF-8", charset.c_str(), result.data(), static_cast<int32_t>(result.size()), bytes.data(),
                        static_cast<int32_t>(bytes.size()), &status);
  };
  int32_t length = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.resize(static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    length = convert();
  }
  if (status == U_FILE_ACCESS_ERROR || status == U_ILLEGAL_ARGUMENT_ERROR)
    throw EConvertError("unbekannter Zeichensatz " + charset);
  if (U_FAILURE(status)) throw EConvertError("Text nicht im Zeichensatz " + charset);
  result.resize(static_cast<size_t>(length));
  return result;
}

std::string Utf8OrWindows1252(std::string bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  return CharsetToUtf8(bytes, "windows-1252");
}

}  // namespace vesk
