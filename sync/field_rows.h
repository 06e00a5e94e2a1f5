// A record's synced fields as texts, by number, and what the sync does with
// them whatever the record holds: cut to what the table holds, made whole
// again from the server's values where nothing was typed here, merged
// field by field against the base, and encoded as one comparable string.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

using FieldRow = std::vector<std::string>;

struct FieldColumn {
  const char* name;  // the table's field, named so in a conflict's note
  size_t chars;      // what the table holds of it; 0 for no limit
};

class FieldRows {
 public:
  // note: the column the notes of conflicts go below.
  FieldRows(std::vector<FieldColumn> columns, size_t note) : columns_(std::move(columns)), note_(note) {}

  size_t Size() const { return columns_.size(); }
  const FieldColumn& Column(size_t i) const { return columns_[i]; }

  // The row as the table can hold it.
  FieldRow Cut(FieldRow row) const;
  // What goes to the server for a row held here: a value the table holds
  // cut is the server's whole one, unless it was changed here.
  FieldRow Whole(const FieldRow& held, const FieldRow& server) const;
  // Both sides changed the record since base: each field changed on one
  // side takes that side's value; one changed on both to different values
  // keeps the value typed here, the server's going below the note
  // ("Auf dem Server am 10.12.2026: Ort = …"), and counts in conflicts.
  FieldRow Merged(const FieldRow& base, const FieldRow& here, const FieldRow& server, TDateTime today,
                  int& conflicts) const;

  // The fields in one string, each with its length, so that two rows'
  // strings are equal when all their fields are.
  static std::string Encoded(const FieldRow& row);
  // One field of it, put after encoded.
  static void Encode(std::string& encoded, std::string_view field);

 private:
  std::vector<FieldColumn> columns_;
  size_t note_;
};

}  // namespace vesk
