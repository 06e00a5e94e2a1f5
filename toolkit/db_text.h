// TDBText: read-only text showing the display text of one field of the
// active record.
#pragma once

#include <QLabel>
#include <string>

#include "toolkit/field_data_link.h"

namespace vesk {

class TDataSource;

class TDBText : public QLabel {
 public:
  explicit TDBText(QWidget* parent = nullptr);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(std::string name) { link_.SetFieldName(std::move(name)); }
  std::string Text() const { return text().toStdString(); }
  // Sized to the text each time it changes; default on.
  void SetAutoSize(bool on) { autoSize_ = on; }

 private:
  TFieldDataLink link_;
  bool autoSize_ = true;
};

}  // namespace vesk
