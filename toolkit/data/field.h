// TField: one column of a dataset as seen by code and controls. The value
// lives in the dataset's record buffer; the field reads and writes it through
// the dataset's GetFieldData / SetFieldData in the field's data format, and
// converts it to and from Variant, text, numbers and dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/datetime.h"
#include "runtime/variant.h"
#include "toolkit/data/component.h"
#include "toolkit/data/db_types.h"

namespace vesk {

class TField : public TComponent {
 public:
  // Joins owner's field list when owner is a dataset (persistent field).
  TField(TComponent* owner, TFieldType dataType);
  ~TField() override;

  TDataSet* DataSet() const { return dataset_; }
  // Leaves the previous dataset's field list and joins the new one's; both
  // must be closed.
  void SetDataSet(TDataSet* dataset);

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);
  // The label shown in grids and messages: DisplayLabel when set, else FieldName.
  std::string DisplayName() const;
  std::string DisplayLabel() const { return DisplayName(); }
  void SetDisplayLabel(std::string label) { displayLabel_ = std::move(label); }

  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind);
  bool IsCalculated() const { return fieldKind_ != fkData; }
  // Characters of a text field; 0 for other types.
  int Size() const { return size_; }
  virtual void SetSize(int size);
  // Bytes of the value in the field's data format (0 for blobs).
  virtual int DataSize() const = 0;
  virtual bool IsBlob() const { return false; }
  // Storage column number from 1 while bound; -1 for calculated and lookup fields.
  int FieldNo() const { return fieldNo_; }
  // Position of a calculated or lookup field's presence byte in the
  // calculated area of a record buffer.
  int Offset() const { return offset_; }

  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  const std::string& DefaultExpression() const { return defaultExpression_; }
  void SetDefaultExpression(std::string text) { defaultExpression_ = std::move(text); }
  // Mask language of edit_mask.h; edit controls apply it.
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(std::string mask) { editMask_ = std::move(mask); }

  // Lookup fields: KeyFields of this dataset are searched as LookupKeyFields
  // in LookupDataSet, whose LookupResultField gives the value.
  TDataSet* LookupDataSet() const { return lookupDataSet_; }
  void SetLookupDataSet(TDataSet* dataset) { lookupDataSet_ = dataset; }
  const std::string& KeyFields() const { return keyFields_; }
  void SetKeyFields(std::string names) { keyFields_ = std::move(names); }
  const std::string& LookupKeyFields() const { return lookupKeyFields_; }
  void SetLookupKeyFields(std::string names) { lookupKeyFields_ = std::move(names); }
  const std::string& LookupResultField() const { return lookupResultField_; }
  void SetLookupResultField(std::string name) { lookupResultField_ = std::move(name); }

  // The value of the record the dataset's state selects. Null when empty.
  Variant Value() const;
  // Null and Empty clear the field.
  void SetValue(const Variant& value);
  virtual bool IsNull() const;
  virtual void Clear();

  // Conversions; a type that does not convert raises EDatabaseError.
  // An empty field reads as "", 0, 0.0, 0 or false.
  virtual std::string AsString() const;
  virtual void SetAsString(std::string_view text);
  virtual int32_t AsInteger() const;
  virtual void SetAsInteger(int32_t value);
  virtual double AsFloat() const;
  virtual void SetAsFloat(double value);
  virtual TDateTime AsDateTime() const;
  virtual void SetAsDateTime(TDateTime value);
  virtual bool AsBoolean() const;
  virtual void SetAsBoolean(bool value);

  // The text shown in a grid or label, and the text an edit control edits.
  std::string DisplayText() const { return GetText(true); }
  std::string Text() const { return GetText(false); }
  void SetText(std::string_view text) { SetAsString(text); }

  // The value before the current edit, and the value being entered.
  Variant OldValue() const;
  Variant NewValue() const;

  // Raw access in the field's data format; buffer nullptr asks only whether
  // there is a value.
  bool GetData(void* buffer) const;
  void SetData(const void* buffer);

  // Run by the dataset's SetFieldData before it stores a value: refuses a
  // dataset that is not being edited and a read-only field, then runs
  // OnValidate, during which the field reads as the value being stored.
  void Validate(const void* buffer);
  // Run by the dataset after a value changed: OnChange.
  void Change();
  // The record was posted or cancelled.
  virtual void FreeBuffers() {}

  TFieldNotifyEvent OnValidate;
  TFieldNotifyEvent OnChange;

 protected:
  virtual Variant GetAsVariant() const = 0;
  virtual void SetAsVariant(const Variant& value) = 0;
  virtual std::string GetText(bool displayText) const;
  // Raise the conversion errors with this field's name.
  [[noreturn]] void ReadError(const char* typeName) const;
  [[noreturn]] void WriteError(const char* typeName) const;
  void SetDataType(TFieldType type) { dataType_ = type; }

 private:
  friend class TDataSet;
  void Bind(int fieldNo, int offset) {
    fieldNo_ = fieldNo;
    offset_ = offset;
  }

  TDataSet* dataset_ = nullptr;
  TFieldType dataType_;
  TFieldKind fieldKind_ = fkData;
  std::string fieldName_;
  std::string displayLabel_;
  int size_ = 0;
  int fieldNo_ = 0;
  int offset_ = 0;
  bool required_ = false;
  bool readOnly_ = false;
  std::string defaultExpression_;
  std::string editMask_;
  TDataSet* lookupDataSet_ = nullptr;
  std::string keyFields_;
  std::string lookupKeyFields_;
  std::string lookupResultField_;
  // While OnValidate runs: the value being stored.
  bool validating_ = false;
  const void* validateBuffer_ = nullptr;
};

}  // namespace vesk
