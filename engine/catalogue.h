// The table's field catalogue and indexes: what the file stores about its
// fields, the record buffer layout derived from it, and the SQL order of
// each index.
#ifndef VESK_ENGINE_CATALOGUE_H
#define VESK_ENGINE_CATALOGUE_H

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vesk::engine {

struct Field {
  std::string name;
  char letter = 'S';
  int32_t chars = 0;                                      // declared characters of "S" fields
  std::array<std::optional<std::string>, 4> constraints;  // by RR_CONSTRAINT_*
  int32_t offset = 0;                                     // in the record buffer
  int32_t size = 0;

  bool IsBlob() const;
  bool IsText() const { return letter == 'S'; }
  bool IsInteger() const;  // I, A, B
};

struct Index {
  std::string name;
  std::vector<int32_t> fields;
  bool case_insensitive = false;
  // The file holds the index of its odd leads (see Catalogue::OddLeads).
  bool odd_leads = false;
};

class TextOrder;

class Catalogue {
 public:
  std::vector<Field> fields;
  std::vector<Index> indexes;  // index number n is indexes[n - 1]
  // The text order recorded with the table: locale and collator version
  // (both empty in files made before they were recorded).
  std::string collation_locale;
  std::string collation_version;
  // The order the table is sorted with, once the table is open.
  std::shared_ptr<const TextOrder> text_order;

  // Reads and checks the catalogue of an open table file; throws
  // EngineError(kOpenNotTable) with the reason when there is none or it is
  // inconsistent.
  static Catalogue Load(sqlite3* db, const std::string& table_name);
  // Writes catalogue, records table and indexes into an empty database.
  void Write(sqlite3* db) const;
  // Writes index number n (from 1) into the catalogue and builds it.
  void WriteIndex(sqlite3* db, int32_t number) const;
  // Records the text order in the file.
  void WriteTextOrder(sqlite3* db) const;

  // Beside a case-insensitive index led by a text field the file keeps a
  // small index of the records whose text there does not begin with a
  // printable ASCII character (the odd leads): counting the rest of a
  // range along the index then needs no look at their texts.
  bool KeepsOddLeads(const Index& index) const;
  // The odd leads' index of index number n, and what its records meet.
  static std::string OddLeadsName(int32_t number);
  std::string OddLeadsCondition(const Index& index) const;
  // Builds the odd leads' index of index number n unless the file has it.
  void WriteOddLeads(sqlite3* db, int32_t number) const;
  // Checks names, letters, sizes and index fields; fills in the layout.
  // Throws EngineError naming the first fault.
  void Validate();

  int32_t RecordSize() const { return record_size_; }
  int32_t FieldCount() const { return static_cast<int32_t>(fields.size()); }
  // Quoted column names of all fields, comma separated, in field order.
  std::string ColumnList() const;
  // ORDER BY terms of index number n (0: identity order), each descending
  // when asked.
  std::string OrderBy(int32_t index_number, bool descending = false) const;
  // The terms of that order one by one: the index's fields with their
  // collations, then the identity.
  std::vector<std::string> OrderTerms(int32_t index_number) const;
  // The records table for reading in the order of index number n; names
  // the index so SQLite walks it instead of sorting.
  std::string From(int32_t index_number) const;

  // Lookups by number and name; each throws EngineError for what it cannot
  // find.
  const Field& FieldAt(int32_t field) const;
  // Number of the index named so, ignoring case; 0 for the empty name.
  int32_t IndexNumber(const std::string& name) const;
  // Index number can seek the key fields compared as asked.
  bool IndexServes(int32_t number, const std::vector<int32_t>& key_fields, bool case_insensitive) const;
  // First index that serves the key fields, or -1.
  int32_t SearchIndex(const std::vector<int32_t>& key_fields, bool case_sensitive) const;

 private:
  std::string IndexTerms(int32_t number) const;  // the index's fields of OrderTerms
  int32_t record_size_ = 0;
};

}  // namespace vesk::engine

#endif
