#include "tools/csv/cell_text.h"

#include <QByteArray>
#include <charconv>

#include "runtime/datetime.h"
#include "runtime/format_settings.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/field.h"

namespace vesk {

namespace {

bool IsBlob(const TField& field) { return field.DataType() == ftBlob || field.DataType() == ftGraphic; }

// Shortest text that reads back as the same double, with the regional
// decimal separator.
std::string ExactNumber(double value) {
  char buffer[32];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, static_cast<size_t>(end - buffer));
  for (char& c : text)
    if (c == '.') c = GetFormatSettings().decimalSeparator;
  return text;
}

// Day, month and year in the order of the short date format, the year with
// four digits so that no century window applies when it is read back.
std::string FullYearDateFormat() {
  std::string order;
  for (char c : GetFormatSettings().shortDateFormat) {
    const char letter = static_cast<char>(c | 0x20);
    if ((letter == 'd' || letter == 'm' || letter == 'y') && order.find(letter) == std::string::npos) order += letter;
  }
  for (char letter : {'d', 'm', 'y'})
    if (order.find(letter) == std::string::npos) order += letter;
  std::string format;
  for (char letter : order) {
    if (!format.empty()) format += '/';
    format += letter == 'y' ? "yyyy" : std::string(2, letter);
  }
  return format;
}

// The date, then the time of day on the 24-hour clock unless midnight, its
// milliseconds only when there are any. A time of day alone (on day 0, as
// a time field and the appointments' Uhrzeit hold it) is written without
// the date, as the windows show it.
std::string ExactDateTime(TDateTime value, bool timeField) {
  int hour = 0, minute = 0, second = 0, msec = 0;
  DecodeTime(value, hour, minute, second, msec);
  const bool midnight = hour == 0 && minute == 0 && second == 0 && msec == 0;
  const bool timeAlone = value >= 0 && value < 1 && (timeField || !midnight);
  std::string format = timeAlone ? "hh:nn:ss" : FullYearDateFormat();
  if (!timeAlone && !midnight) format += " hh:nn:ss";
  if (msec != 0) format += std::string("\"") + GetFormatSettings().decimalSeparator + "\"zzz";
  return FormatDateTime(format, value);
}

}  // namespace

std::string CellText(const TField& field) {
  if (field.IsNull()) return {};
  switch (field.DataType()) {
    case ftFloat:
    case ftCurrency: return ExactNumber(field.AsFloat());
    case ftDate:
    case ftTime:
    case ftDateTime: return ExactDateTime(field.AsDateTime(), field.DataType() == ftTime);
    default: break;
  }
  if (IsBlob(field)) return QByteArray::fromStdString(field.AsString()).toBase64().toStdString();
  return field.AsString();
}

void SetCellText(TField& field, std::string_view text) {
  if (text.empty()) return field.Clear();
  if (!IsBlob(field)) return field.SetAsString(text);
  const QByteArray::FromBase64Result bytes = QByteArray::fromBase64Encoding(
      QByteArray(text.data(), static_cast<qsizetype>(text.size())), QByteArray::AbortOnBase64DecodingErrors);
  if (!bytes) DatabaseError("The cell is not base64, as blob cells are written");
  field.SetAsString(bytes.decoded.toStdString());
}

}  // namespace vesk
