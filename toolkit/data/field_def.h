// TFieldDefs / TFieldDef: what a dataset's storage says about its columns
// (name, type, size, required, field number). Default fields are made from
// them when a dataset without persistent fields opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/data/db_types.h"

namespace vesk {

class TComponent;

class TFieldDef {
 public:
  TFieldDef(std::string name, TFieldType dataType, int size, bool required, int fieldNo);

  const std::string& Name() const { return name_; }
  TFieldType DataType() const { return dataType_; }
  int Size() const { return size_; }  // characters of a text field, else 0
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  int FieldNo() const { return fieldNo_; }  // from 1

  // A new field object of the class for DataType, owned by owner (joining
  // the dataset when owner is one). EDatabaseError for ftUnknown.
  TField* CreateField(TComponent* owner) const;

 private:
  std::string name_;
  TFieldType dataType_;
  int size_;
  bool required_;
  int fieldNo_;
};

class TFieldDefs {
 public:
  int Count() const { return static_cast<int>(defs_.size()); }
  const TFieldDef& operator[](int index) const { return defs_.at(index); }
  TFieldDef& operator[](int index) { return defs_.at(index); }
  // Field number = position + 1 when fieldNo is 0.
  TFieldDef& Add(std::string name, TFieldType dataType, int size = 0, bool required = false, int fieldNo = 0);
  void Clear() { defs_.clear(); }
  // Names compare as SameFieldName does; nullptr / -1 when absent.
  const TFieldDef* Find(std::string_view name) const;
  int IndexOf(std::string_view name) const;

 private:
  std::vector<TFieldDef> defs_;
};

}  // namespace vesk
