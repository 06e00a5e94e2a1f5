// Helpers of the table dataset tests: a temporary folder with tables made
// through the engine, datasets opened on them, and the message boxes and
// error displays the code under test shows, recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "tests/support/temp_folder.h"
#include "toolkit/data/notices.h"
#include "tools/table/RadiRidirEngine.h"

namespace vesk {

struct FieldSpec {
  std::string name;
  char letter;
  int32_t chars = 0;
  const char* required = nullptr;
  const char* defaultText = nullptr;
  const char* minText = nullptr;
  const char* maxText = nullptr;
};

struct IndexSpec {
  std::string name;
  std::vector<int32_t> fields;
  bool caseInsensitive = false;
};

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  // A new table file in the folder; its path.
  std::string CreateTable(const std::string& name, const std::vector<FieldSpec>& fields,
                          const std::vector<IndexSpec>& indexes = {});
  // The people table: Name S:20 (index ByName), Alter I, Notiz M, with the
  // given names and ages in this order.
  std::string CreatePeople(const std::vector<std::pair<std::string, int>>& people);
  // A dataset on the table, open unless asked otherwise.
  std::unique_ptr<TRadiRidir> Open(const std::string& path, bool readOnly = false);
  // Appends and posts one record of field texts.
  static void AppendRecord(TRadiRidir& table, const std::map<std::string, std::string>& texts);
  // A persistent field of the table (which must be closed).
  template <typename Field>
  static Field* AddField(TRadiRidir& table, const std::string& name, TFieldKind kind = fkData) {
    auto* field = new Field(&table);
    field->SetFieldName(name);
    field->SetFieldKind(kind);
    return field;
  }
  // Offset of an engine field in the record (ordinal 13).
  static int32_t FieldOffset(const TRadiRidir& table, int32_t field);
  // The values of one field, record by record from the first.
  static std::vector<std::string> Column(TRadiRidir& table, const std::string& field);

  std::vector<std::string> messages_;  // texts of the warnings
  std::vector<std::string> errors_;    // texts of the default error display
  NoticeHandlers previousNotices_;

 private:
  TempFolder temp_;
  std::string folder_ = temp_.Path();
};

}  // namespace vesk
