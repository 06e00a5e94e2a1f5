#include "toolkit/field_name.h"

#include <QString>

namespace vesk {

bool SameFieldName(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  const QString left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
  const QString right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
  return QString::compare(left, right, Qt::CaseInsensitive) == 0;
}

}  // namespace vesk
