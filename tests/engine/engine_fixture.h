// Shared set-up of the engine tests: a scratch folder, a handle, an
// address-like sample table and helpers to fill and read record buffers.
#ifndef VESK_TESTS_ENGINE_ENGINE_FIXTURE_H
#define VESK_TESTS_ENGINE_ENGINE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/radiridir.h"
#include "tests/support/temp_folder.h"

namespace vesk {

// Fields of the sample table, by number.
enum SampleField { kNr, kName, kVorname, kOrt, kAnzahl, kBetrag, kGeburt, kAktiv, kNotiz, kBild };
// Indexes of the sample table, by number.
enum SampleIndex { kByName = 1, kByNameNoCase, kByOrtName, kByAnzahl };

std::vector<uint8_t> ShortText(const std::string& text);
std::string LastError(int32_t h);

// A record buffer laid out as the handle's table says.
class Record {
 public:
  explicit Record(int32_t h);
  uint8_t* Data() { return bytes_.data(); }
  bool Has(int32_t field) const { return bytes_[field] != 0; }
  void SetText(int32_t field, const std::string& text);
  std::string Text(int32_t field) const;
  void SetInt(int32_t field, int32_t value);
  int32_t Int(int32_t field) const;
  void SetBool(int32_t field, bool value);
  bool Bool(int32_t field) const;
  void SetReal(int32_t field, double value);
  double Real(int32_t field) const;

 private:
  int32_t Offset(int32_t field, int32_t* size = nullptr) const;
  template <typename T>
  void Put(int32_t field, T value) {
    std::memcpy(&bytes_[Offset(field)], &value, sizeof value);
    bytes_[field] = 1;
  }
  template <typename T>
  T Get(int32_t field) const {
    T value;
    std::memcpy(&value, &bytes_[Offset(field)], sizeof value);
    return value;
  }
  int32_t h_;
  std::vector<uint8_t> bytes_;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Creates the sample table at path (0 on success).
  int32_t CreateSample(const std::string& path, int32_t h = 0);
  int32_t Open(const std::string& path, int32_t mode = RR_MODE_READ_WRITE, int32_t h = 0);
  // Creates the sample table and opens it for writing on h_.
  void OpenSample();
  // Stores a new record with these values; its identity.
  int32_t Add(const std::string& name, const std::string& ort = "", int32_t anzahl = 0);
  // Names of all records from first to last as the engine moves.
  std::vector<std::string> Names();
  std::string CurrentName();

  TempFolder temp_;
  std::string dir_ = temp_.Path();
  std::string sample_;
  int32_t h_ = 0;
};

}  // namespace vesk

#endif
