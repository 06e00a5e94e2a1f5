#include "toolkit/data/field_name.h"

#include <QString>

namespace vesk {

namespace {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

unsigned char FoldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

bool SameFieldName(std::string_view a, std::string_view b) {
  // Names are looked up for every comparison of every filtered record, so
  // plain ASCII names are compared without building QStrings.
  if (IsAscii(a) && IsAscii(b)) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) return false;
    return true;
  }
  const QString left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
  const QString right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
  return QString::compare(left, right, Qt::CaseInsensitive) == 0;
}

}  // namespace vesk
