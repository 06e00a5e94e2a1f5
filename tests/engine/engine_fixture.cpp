#include "tests/engine/engine_fixture.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vesk {

std::vector<uint8_t> ShortText(const std::string& text) {
  std::vector<uint8_t> bytes(text.size() + 1, static_cast<uint8_t>(text.size()));
  std::memcpy(bytes.data() + 1, text.data(), text.size());
  return bytes;
}

std::string LastError(int32_t h) {
  uint8_t result[256];
  rr_last_error(result, h, 1);
  return std::string(reinterpret_cast<const char*>(result + 1), result[0]);
}

Record::Record(int32_t h) : h_(h), bytes_(static_cast<size_t>(rr_record_size(h)), 0) {}

int32_t Record::Offset(int32_t field, int32_t* size) const {
  int32_t offset = 0, field_size = 0;
  uint8_t letter = 0;
  EXPECT_TRUE(rr_field_info(h_, field, &offset, &field_size, &letter)) << LastError(h_);
  if (size) *size = field_size;
  return offset;
}

void Record::SetText(int32_t field, const std::string& text) {
  int32_t size = 0;
  int32_t offset = Offset(field, &size);
  ASSERT_LT(text.size(), static_cast<size_t>(size));
  std::memset(&bytes_[offset], 0, size);
  std::memcpy(&bytes_[offset], text.data(), text.size());
  bytes_[field] = text.empty() ? 0 : 1;
}

std::string Record::Text(int32_t field) const {
  int32_t size = 0;
  const char* text = reinterpret_cast<const char*>(&bytes_[Offset(field, &size)]);
  return std::string(text, strnlen(text, size));
}

void Record::SetInt(int32_t field, int32_t value) { Put(field, value); }
int32_t Record::Int(int32_t field) const { return Get<int32_t>(field); }
void Record::SetBool(int32_t field, bool value) { Put<int16_t>(field, value ? 1 : 0); }
bool Record::Bool(int32_t field) const { return Has(field) && Get<int16_t>(field) != 0; }
void Record::SetReal(int32_t field, double value) { Put(field, value); }
double Record::Real(int32_t field) const { return Get<double>(field); }

void EngineTest::SetUp() {
  sample_ = Path("adressen.mti");
  h_ = rr_new(0);
  ASSERT_NE(h_, 0);
}

void EngineTest::TearDown() { rr_free(h_); }

int32_t EngineTest::CreateSample(const std::string& path, int32_t h) {
  static const rr_field_spec fields[] = {
      {"Nr", 'A', 0, nullptr, nullptr, nullptr, nullptr},
      {"Name", 'S', 30, "ja", nullptr, nullptr, nullptr},
      {"Vorname", 'S', 20, "", nullptr, nullptr, nullptr},
      {"Ort", 'S', 20, nullptr, "Berlin", nullptr, nullptr},
      {"Anzahl", 'I', 0, nullptr, "1", "0", "99"},
      {"Betrag", 'C', 0, nullptr, nullptr, nullptr, nullptr},
      {"Geburt", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Aktiv", 'B', 0, nullptr, "TRUE", nullptr, nullptr},
      {"Notiz", 'M', 0, nullptr, nullptr, nullptr, nullptr},
      {"Bild", 'G', 0, nullptr, nullptr, nullptr, nullptr},
  };
  static const int32_t name[] = {kName};
  static const int32_t ort_name[] = {kOrt, kName};
  static const int32_t anzahl[] = {kAnzahl};
  static const rr_index_spec indexes[] = {
      {"Name", name, 1, 0}, {"NameCI", name, 1, 1}, {"OrtName", ort_name, 2, 0}, {"Anzahl", anzahl, 1, 0}};
  return rr_create(h ? h : h_, path.c_str(), fields, 10, indexes, 4);
}

int32_t EngineTest::Open(const std::string& path, int32_t mode, int32_t h) {
  std::vector<uint8_t> name = ShortText(path);
  return rr_open(h ? h : h_, name.data(), mode);
}

void EngineTest::OpenSample() {
  ASSERT_EQ(CreateSample(sample_), 0) << LastError(h_);
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
}

int32_t EngineTest::Add(const std::string& name, const std::string& ort, int32_t anzahl) {
  Record record(h_);
  record.SetText(kName, name);
  record.SetText(kOrt, ort);
  record.SetInt(kAnzahl, anzahl);
  EXPECT_TRUE(rr_put_buffer(h_, record.Data()));
  EXPECT_TRUE(rr_store_new(h_)) << LastError(h_);
  return rr_record_id(h_);
}

std::vector<std::string> EngineTest::Names() {
  std::vector<std::string> names;
  EXPECT_TRUE(rr_first(h_)) << LastError(h_);
  while (!rr_no_current(h_) && !rr_eof(h_)) {
    names.push_back(CurrentName());
    EXPECT_TRUE(rr_next(h_)) << LastError(h_);
  }
  return names;
}

std::string EngineTest::CurrentName() {
  Record record(h_);
  EXPECT_TRUE(rr_get_record(h_, record.Data())) << LastError(h_);
  return record.Text(kName);
}

}  // namespace vesk
