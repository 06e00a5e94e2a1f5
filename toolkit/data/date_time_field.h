// TDateTimeField: a date and time, kept in the record buffer as the
// runtime's time stamp in milliseconds (double). DisplayFormat takes the
// FormatDateTime letters; without one, dates show in the short date format
// followed by the long time format unless midnight. An edit control edits
// the text of DisplayFormat too, so a field and its edit mask agree.
#pragma once

#include "toolkit/data/field.h"

namespace vesk {

class TDateTimeField : public TField {
 public:
  // type: ftDateTime, ftDate or ftTime (all kept alike).
  explicit TDateTimeField(TComponent* owner, TFieldType type = ftDateTime);

  int DataSize() const override { return 8; }
  const std::string& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(std::string format) { displayFormat_ = std::move(format); }

  std::string AsString() const override;
  // Read with StrToDateTime; empty text clears.
  void SetAsString(std::string_view text) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;

 protected:
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  std::string GetText(bool displayText) const override;

 private:
  std::string displayFormat_;
};

}  // namespace vesk
