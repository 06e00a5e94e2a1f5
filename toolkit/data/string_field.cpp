#include "toolkit/data/string_field.h"

#include <vector>

#include "runtime/conversions.h"
#include "runtime/utf8_text.h"

namespace vesk {

TStringField::TStringField(TComponent* owner) : TField(owner, ftString) { SetSize(20); }

std::string TStringField::AsString() const {
  std::vector<char> buffer(static_cast<size_t>(DataSize()), '\0');
  if (!GetData(buffer.data())) return {};
  buffer.back() = '\0';
  return std::string(buffer.data());
}

void TStringField::SetAsString(std::string_view text) {
  if (text.empty()) {
    Clear();
    return;
  }
  const std::string_view cut =
      Utf8CutBytes(Utf8Prefix(text, static_cast<size_t>(Size())), static_cast<size_t>(DataSize() - 1));
  std::vector<char> buffer(static_cast<size_t>(DataSize()), '\0');
  std::copy(cut.begin(), cut.end(), buffer.begin());
  SetData(buffer.data());
}

int32_t TStringField::AsInteger() const {
  const std::string text = AsString();
  return text.empty() ? 0 : StrToInt(text);
}

void TStringField::SetAsInteger(int32_t value) { SetAsString(IntToStr(value)); }

double TStringField::AsFloat() const {
  const std::string text = AsString();
  return text.empty() ? 0.0 : StrToFloat(text);
}

void TStringField::SetAsFloat(double value) { SetAsString(FloatToStr(value)); }

TDateTime TStringField::AsDateTime() const {
  const std::string text = AsString();
  return text.empty() ? 0.0 : StrToDateTime(text);
}

void TStringField::SetAsDateTime(TDateTime value) { SetAsString(DateTimeToStr(value)); }

bool TStringField::AsBoolean() const {
  const std::string text = AsString();
  if (text.empty()) return false;
  const char first = UpperCase(text.substr(0, 1))[0];
  return first == 'T' || first == 'Y' || first == 'J';
}

void TStringField::SetAsBoolean(bool value) { SetAsString(value ? "True" : "False"); }

Variant TStringField::GetAsVariant() const { return Variant(AsString()); }

void TStringField::SetAsVariant(const Variant& value) { SetAsString(value.AsString()); }

}  // namespace vesk
