#include "tools/table/MTcomm.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/radiridir.h"
#include "runtime/conversions.h"
#include "runtime/datetime.h"
#include "runtime/utf8_text.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

TFieldType FieldTypeOfLetter(char letter) {
  switch (letter) {
    case 'S': return ftString;
    case 'I': return ftInteger;
    case 'A': return ftAutoInc;
    case 'B': return ftBoolean;
    case 'F':
    case 'R': return ftFloat;
    case 'C': return ftCurrency;
    case 'D': return ftDateTime;
    case 'M': return ftMemo;
    case 'E': return ftFmtMemo;
    case 'G': return ftGraphic;
    case 'L': return ftBlob;
    default: return ftUnknown;
  }
}

namespace {

template <typename T>
void Put(uint8_t* data, int32_t size, T value) {
  std::memcpy(data, &value, std::min(sizeof value, static_cast<size_t>(size)));
}

}  // namespace

void WriteDefaultValue(char letter, std::string_view text, uint8_t* data, int32_t size) {
  switch (letter) {
    case 'A':
    case 'I': return Put(data, size, StrToInt(text));
    case 'B': {
      const std::string word = UpperCase(text);
      if (word != "TRUE" && word != "FALSE")
        throw EMTBError(std::string(text) + " is not valid data for a boolean field.");
      data[0] = word == "TRUE" ? 1 : 0;
      return;
    }
    case 'C': {
      std::string number(text);
      if (const size_t dollar = number.find('$'); dollar != std::string::npos) number.erase(dollar, 1);
      return Put(data, size, StrToFloat(number));
    }
    case 'D': return Put(data, size, StrToDateTime(text));
    case 'F':
    case 'R': return Put(data, size, StrToFloat(text));
    case 'S': {
      if (size <= 0) return;
      // Characters are counted in UTF-8, as the engine counts them.
      const std::string_view cut =
          CutText(Utf8Prefix(text, static_cast<size_t>(RR_TEXT_CHARS(size))), static_cast<size_t>(size - 1));
      std::memset(data, 0, static_cast<size_t>(size));
      std::memcpy(data, cut.data(), cut.size());
      return;
    }
    default: throw EMTBError("Unrecognized field type.");
  }
}

}  // namespace vesk
