// Number fields: TIntegerField (int32 in the buffer), TAutoIncField,
// TFloatField and TCurrencyField (double in the buffer). DisplayFormat takes
// the number_format.h patterns; MinValue/MaxValue (both 0: no range) are
// checked when a value is set.
#pragma once

#include "toolkit/data/field.h"

namespace vesk {

class TNumericField : public TField {
 public:
  const std::string& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(std::string format) { displayFormat_ = std::move(format); }
  const std::string& EditFormat() const { return editFormat_; }
  void SetEditFormat(std::string format) { editFormat_ = std::move(format); }

 protected:
  using TField::TField;
  // The format for the text asked for; empty when none is set.
  const std::string& FormatFor(bool displayText) const;

 private:
  std::string displayFormat_;
  std::string editFormat_;
};

class TIntegerField : public TNumericField {
 public:
  explicit TIntegerField(TComponent* owner);

  int DataSize() const override { return 4; }
  int32_t MinValue() const { return minValue_; }
  void SetMinValue(int32_t value) { minValue_ = value; }
  int32_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int32_t value) { maxValue_ = value; }

  std::string AsString() const override;
  void SetAsString(std::string_view text) override;  // empty text clears
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;  // rounded; outside int32 is a range error
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;

 protected:
  TIntegerField(TComponent* owner, TFieldType type);
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  std::string GetText(bool displayText) const override;

 private:
  [[noreturn]] void RangeError(const std::string& value) const;
  int32_t minValue_ = 0;
  int32_t maxValue_ = 0;
};

// Numbered by the storage; made read-only by the table that numbers it.
class TAutoIncField : public TIntegerField {
 public:
  explicit TAutoIncField(TComponent* owner);
};

class TFloatField : public TNumericField {
 public:
  explicit TFloatField(TComponent* owner);

  int DataSize() const override { return 8; }
  double MinValue() const { return minValue_; }
  void SetMinValue(double value) { minValue_ = value; }
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value) { maxValue_ = value; }

  std::string AsString() const override;
  void SetAsString(std::string_view text) override;  // empty text clears
  int32_t AsInteger() const override;                // rounded
  void SetAsInteger(int32_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;  // not finite: EDatabaseError

 protected:
  TFloatField(TComponent* owner, TFieldType type);
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  std::string GetText(bool displayText) const override;

 private:
  double minValue_ = 0;
  double maxValue_ = 0;
};

// Shown as "#,##0.00 €" unless DisplayFormat says otherwise; Value is a Currency.
class TCurrencyField : public TFloatField {
 public:
  explicit TCurrencyField(TComponent* owner);

 protected:
  Variant GetAsVariant() const override;
  std::string GetText(bool displayText) const override;
};

}  // namespace vesk
