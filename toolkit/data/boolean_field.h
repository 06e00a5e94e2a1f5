// TBooleanField: int16 0/1 in the record buffer. DisplayValues "Ja;Nein"
// names true and false for display and for text input (default "True;False").
#pragma once

#include "toolkit/data/field.h"

namespace vesk {

class TBooleanField : public TField {
 public:
  explicit TBooleanField(TComponent* owner);

  int DataSize() const override { return 2; }
  const std::string& DisplayValues() const { return displayValues_; }
  void SetDisplayValues(std::string values);

  std::string AsString() const override;
  // The true or false text (case ignored), empty clears; else EDatabaseError.
  void SetAsString(std::string_view text) override;
  int32_t AsInteger() const override;  // 1 / 0
  void SetAsInteger(int32_t value) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;

 protected:
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;

 private:
  std::string displayValues_ = "True;False";
  std::string trueText_ = "True";
  std::string falseText_ = "False";
};

}  // namespace vesk
