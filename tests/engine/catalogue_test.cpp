// Field catalogue, record layout, constraints, creating tables and the
// checks every entry point makes of its handle and arguments.
#include <filesystem>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Catalogue = EngineTest;

std::string FieldName(int32_t h, int32_t field) {
  uint8_t name[256];
  rr_field_name(name, h, field);
  return std::string(reinterpret_cast<char*>(name + 1), name[0]);
}

TEST_F(Catalogue, LayoutFollowsTheFieldTypes) {
  OpenSample();
  EXPECT_EQ(rr_field_count(h_), 10);
  EXPECT_EQ(FieldName(h_, kVorname), "Vorname");
  struct Expected {
    int32_t field, offset, size;
    char letter;
  };
  // Ten presence bytes, then the data; a text of n characters has room for
  // 4 n bytes and the terminating zero.
  for (Expected e : {Expected{kNr, 10, 4, 'A'}, Expected{kName, 14, 121, 'S'}, Expected{kVorname, 135, 81, 'S'},
                     Expected{kOrt, 216, 81, 'S'}, Expected{kAnzahl, 297, 4, 'I'}, Expected{kBetrag, 301, 8, 'C'},
                     Expected{kGeburt, 309, 8, 'D'}, Expected{kAktiv, 317, 2, 'B'}, Expected{kNotiz, 319, 4, 'M'},
                     Expected{kBild, 323, 4, 'G'}}) {
    int32_t offset = -1, size = -1;
    uint8_t letter = 0;
    ASSERT_TRUE(rr_field_info(h_, e.field, &offset, &size, &letter));
    EXPECT_EQ(offset, e.offset) << e.field;
    EXPECT_EQ(size, e.size) << e.field;
    EXPECT_EQ(letter, e.letter) << e.field;
  }
  EXPECT_EQ(rr_record_size(h_), 327);
  EXPECT_EQ(RR_TEXT_CHARS(121), 30);
}

TEST_F(Catalogue, ConstraintsComeFromTheCatalogue) {
  OpenSample();
  auto constraint = [&](int32_t field, int32_t kind, bool* present) {
    rr_bool has = 7;
    uint8_t text[256];
    EXPECT_TRUE(rr_constraint(h_, field, kind, &has, text, 255)) << LastError(h_);
    *present = has == 1;
    return std::string(reinterpret_cast<char*>(text + 1), text[0]);
  };
  bool present = false;
  EXPECT_EQ(constraint(kName, RR_CONSTRAINT_REQUIRED, &present), "ja");
  EXPECT_TRUE(present);
  EXPECT_EQ(constraint(kVorname, RR_CONSTRAINT_REQUIRED, &present), "");
  EXPECT_TRUE(present);
  constraint(kOrt, RR_CONSTRAINT_REQUIRED, &present);
  EXPECT_FALSE(present);
  EXPECT_EQ(constraint(kOrt, RR_CONSTRAINT_DEFAULT, &present), "Berlin");
  EXPECT_EQ(constraint(kAnzahl, RR_CONSTRAINT_MIN, &present), "0");
  EXPECT_EQ(constraint(kAnzahl, RR_CONSTRAINT_MAX, &present), "99");
  // The text is cut to the room the caller gives.
  rr_bool has = 0;
  uint8_t short_room[4] = {9, 9, 9, 9};
  ASSERT_TRUE(rr_constraint(h_, kOrt, RR_CONSTRAINT_DEFAULT, &has, short_room, 3));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(short_room + 1), short_room[0]), "Ber");
  uint8_t text[256];
  EXPECT_FALSE(rr_constraint(h_, kOrt, 4, &has, text, 255));
  EXPECT_EQ(LastError(h_), "Constraint kind 4 out of range");
  EXPECT_FALSE(rr_constraint(h_, 12, 0, &has, text, 255));
  EXPECT_EQ(LastError(h_), "Field index 12 out of range");
}

TEST_F(Catalogue, EntryPointsCheckHandleArgumentsAndOpenTable) {
  int32_t offset, size;
  uint8_t letter;
  EXPECT_FALSE(rr_field_info(h_, 0, &offset, &size, &letter));
  EXPECT_EQ(LastError(h_), "No table is open");
  EXPECT_FALSE(rr_first(h_));
  EXPECT_FALSE(rr_is_open(h_));
  EXPECT_EQ(rr_record_count(h_), -1);
  EXPECT_FALSE(rr_first(9999));
  EXPECT_EQ(LastError(9999), "Invalid handle 9999");
  OpenSample();
  EXPECT_TRUE(rr_is_open(h_));
  EXPECT_FALSE(rr_field_info(h_, 12, &offset, &size, &letter));
  EXPECT_EQ(LastError(h_), "Field index 12 out of range");
  EXPECT_FALSE(rr_field_info(h_, -1, &offset, &size, &letter));
  EXPECT_FALSE(rr_field_info(h_, 0, nullptr, &size, &letter));
  EXPECT_EQ(LastError(h_), "Argument offset is missing");
  EXPECT_FALSE(rr_get_record(h_, nullptr));
  EXPECT_FALSE(rr_put_buffer(h_, nullptr));
  EXPECT_LT(rr_open(h_, nullptr, 0), 0);
  EXPECT_FALSE(rr_search(h_, nullptr, 1, nullptr, -1, 0, 0, 0));
  int32_t fields[] = {kName};
  EXPECT_LT(rr_search_index(h_, fields, 0, 1), 0);
  EXPECT_EQ(LastError(h_), "A field list needs at least one field");
  int32_t blob_field[] = {kNotiz};
  Record key(h_);
  EXPECT_FALSE(rr_search(h_, blob_field, 1, key.Data(), -1, 0, 0, 0));
  EXPECT_EQ(LastError(h_), "Blob field Notiz cannot be a key");
  EXPECT_TRUE(rr_first(h_));
  EXPECT_EQ(LastError(h_), "");  // empty after a successful call
  EXPECT_LT(Open(sample_), -1);
  EXPECT_EQ(LastError(h_), "A table is already open on handle " + std::to_string(h_));
  rr_close(h_);
  EXPECT_FALSE(rr_is_open(h_));
}

TEST_F(Catalogue, CreateRefusesExistingFilesAndFaultyDescriptions) {
  ASSERT_EQ(CreateSample(sample_), 0);
  EXPECT_LT(CreateSample(sample_), 0);
  EXPECT_EQ(LastError(h_), "Table " + sample_ + " already exists");
  auto fails = [&](std::vector<rr_field_spec> fields, std::vector<rr_index_spec> indexes, const std::string& text) {
    std::string path = Path("faulty.mti");
    EXPECT_LT(rr_create(h_, path.c_str(), fields.data(), static_cast<int32_t>(fields.size()), indexes.data(),
                        static_cast<int32_t>(indexes.size())),
              0);
    EXPECT_EQ(LastError(h_), text);
    EXPECT_FALSE(std::filesystem::exists(path));
  };
  rr_field_spec name{"Name", 'S', 10, nullptr, nullptr, nullptr, nullptr};
  rr_field_spec memo{"Memo", 'M', 0, nullptr, nullptr, nullptr, nullptr};
  rr_field_spec reserved{"RR_ID", 'A', 0, nullptr, nullptr, nullptr, nullptr};
  rr_field_spec odd{"Odd", 'Q', 0, nullptr, nullptr, nullptr, nullptr};
  rr_field_spec empty_text{"Leer", 'S', 0, nullptr, nullptr, nullptr, nullptr};
  int32_t second[] = {1};
  int32_t missing[] = {5};
  fails({}, {}, "A table needs at least one field");
  fails({name, name}, {}, "Field name Name is used twice or reserved");
  fails({reserved}, {}, "Field name RR_ID is used twice or reserved");
  // The tariff tables have a field named ID: it must not clash with the engine's own row identity.
  rr_field_spec id{"ID", 'I', 0, nullptr, nullptr, nullptr, nullptr};
  std::string with_id = Path("with_id.mti");
  EXPECT_EQ(rr_create(h_, with_id.c_str(), &id, 1, nullptr, 0), 0) << LastError(h_);
  fails({odd}, {}, "Field Odd has an unknown type letter");
  fails({empty_text}, {}, "Text field Leer needs 1 to 4096 characters");
  fails({name, memo}, {{"ByMemo", second, 1, 0}}, "Index ByMemo cannot hold blob field Memo");
  fails({name}, {{"Bad", missing, 1, 0}}, "Index Bad names field 5 which does not exist");
}

}  // namespace
}  // namespace vesk
