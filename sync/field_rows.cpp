#include "sync/field_rows.h"

#include "runtime/utf8_text.h"

namespace vesk {

FieldRow FieldRows::Cut(FieldRow row) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].chars > 0) row[i] = std::string(Utf8Prefix(row[i], columns_[i].chars));
  return row;
}

FieldRow FieldRows::Whole(const FieldRow& held, const FieldRow& server) const {
  FieldRow whole = held;
  const FieldRow cut = Cut(server);
  for (size_t i = 0; i < columns_.size(); ++i)
    if (held[i] == cut[i]) whole[i] = server[i];
  return whole;
}

FieldRow FieldRows::Merged(const FieldRow& base, const FieldRow& here, const FieldRow& server, TDateTime today,
                           int& conflicts) const {
  const FieldRow b = Cut(base), s = Cut(server);
  FieldRow merged = here;
  std::string notes;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (here[i] == b[i]) {
      merged[i] = s[i];
    } else if (s[i] != b[i] && s[i] != here[i]) {
      ++conflicts;
      notes +=
          "\nAuf dem Server am " + FormatDateTime("dd.mm.yyyy", today) + ": " + columns_[i].name + " = " + server[i];
    }
  }
  // Below the note, a blank line between.
  std::string& text = merged[note_];
  if (!notes.empty()) text += (text.empty() ? notes.substr(1) : "\n" + notes);
  return merged;
}

std::string FieldRows::Encoded(const FieldRow& row) {
  std::string encoded;
  for (const std::string& field : row) Encode(encoded, field);
  return encoded;
}

void FieldRows::Encode(std::string& encoded, std::string_view field) {
  encoded += std::to_string(field.size());
  encoded += ':';
  encoded += field;
}

}  // namespace vesk
