// TFieldControl: what every control showing one field has - a field data
// link and the properties that bind it (DataSource, DataField) - on top of
// the Qt widget it is made from.
#pragma once

#include <string>

#include "toolkit/field_data_link.h"

namespace vesk {

class TDataSource;

template <typename Widget>
class TFieldControl : public Widget {
 public:
  explicit TFieldControl(QWidget* parent) : Widget(parent) { link_.SetControl(this); }

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(std::string name) { link_.SetFieldName(std::move(name)); }
  // nullptr while the dataset is closed or has no such field.
  TField* Field() const { return link_.Field(); }

 protected:
  TFieldDataLink link_;
};

}  // namespace vesk
