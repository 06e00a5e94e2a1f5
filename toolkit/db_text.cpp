#include "toolkit/db_text.h"

#include "toolkit/data/field.h"

namespace vesk {

TDBText::TDBText(QWidget* parent) : TFieldControl(parent) {
  setTextFormat(Qt::PlainText);
  link_.OnDataChange = [this] {
    const TField* field = link_.Field();
    setText(field != nullptr ? QString::fromStdString(field->DisplayText()) : QString());
    if (autoSize_) adjustSize();
  };
}

}  // namespace vesk
