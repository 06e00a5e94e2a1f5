// TStringField: text of at most Size characters, zero-terminated in the
// record buffer in UTF-8 (DataSize = 4 * Size + 1 bytes).
#pragma once

#include "toolkit/data/field.h"

namespace vesk {

class TStringField : public TField {
 public:
  explicit TStringField(TComponent* owner);

  // Size counts characters; the data holds their longest UTF-8 form (4
  // bytes each) and a terminating zero.
  int DataSize() const override { return 4 * Size() + 1; }
  // Empty text clears the field; a longer text is cut to Size characters.
  void SetAsString(std::string_view text) override;
  std::string AsString() const override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;

 protected:
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
};

}  // namespace vesk
