// Opening: one writer at a time across handles and processes, readers
// beside it, files that are not tables, and the file mapped only once it
// is scanned or searched.
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Opening = EngineTest;

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Whether the process maps the file at path (not its -shm or -wal).
bool Mapped(const std::string& path) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    if (line.size() > path.size() && line.ends_with(" " + path)) return true;
  }
  return false;
}

TEST_F(Opening, SecondWriterGetsMinusOneAndReadersStillOpen) {
  ASSERT_EQ(CreateSample(sample_), 0);
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
  int32_t other = rr_new(0);
  EXPECT_EQ(Open(sample_, RR_MODE_READ_WRITE, other), -1);
  EXPECT_EQ(LastError(other), "Table " + sample_ + " is open for writing elsewhere");
  EXPECT_FALSE(rr_is_open(other));
  int32_t reader = rr_new(0);
  EXPECT_EQ(Open(sample_, RR_MODE_READ_ONLY, reader), 0) << LastError(reader);
  Add("Adam");
  rr_close(h_);
  EXPECT_EQ(Open(sample_, RR_MODE_READ_WRITE, other), 0) << LastError(other);
  EXPECT_EQ(rr_record_count(other), 1);
  rr_free(other);
  rr_free(reader);
}

TEST_F(Opening, WriterInAnotherProcessIsRefused) {
  ASSERT_EQ(CreateSample(sample_), 0);
  ASSERT_EQ(Open(sample_), 0);
  Add("Adam");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int32_t h = rr_new(0);
    std::vector<uint8_t> name = ShortText(sample_);
    int writer = rr_open(h, name.data(), RR_MODE_READ_WRITE);
    int32_t reader = rr_new(0);
    int read = rr_open(reader, name.data(), RR_MODE_READ_ONLY);
    _exit(writer == -1 && read == 0 && rr_record_count(reader) == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(Opening, NamesWithBackslashesAreFolderPaths) {
  std::filesystem::create_directory(Path("Data"));
  std::string old_dir = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  ASSERT_EQ(CreateSample("Data\\Tarife.mti"), 0) << LastError(h_);
  EXPECT_TRUE(std::filesystem::exists(Path("Data/Tarife.mti")));
  EXPECT_EQ(Open("Data\\Tarife.mti"), 0) << LastError(h_);
  rr_close(h_);
  EXPECT_EQ(Open("Data\\Telefon.mti"), -2);
  EXPECT_EQ(LastError(h_), "Table Data/Telefon.mti does not exist");
  EXPECT_FALSE(std::filesystem::exists(Path("Data/Telefon.mti")));
  std::filesystem::current_path(old_dir);
}

TEST_F(Opening, FilesThatAreNotTablesGiveNegativeResultsAndTexts) {
  auto refused = [&](const std::string& path, int32_t mode) {
    int32_t result = Open(path, mode);
    EXPECT_LT(result, -1) << path;
    std::string text = LastError(h_);
    EXPECT_FALSE(rr_is_open(h_));
    return text;
  };
  std::string garbage = Path("garbage.mti");
  WriteFile(garbage, std::string(8192, 'x'));
  std::string empty = Path("empty.mti");
  WriteFile(empty, "");
  std::string foreign = Path("foreign.mti");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE kunden(name TEXT)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  for (int32_t mode : {RR_MODE_READ_ONLY, RR_MODE_READ_WRITE}) {
    EXPECT_EQ(refused(garbage, mode), "Table " + garbage + " is not an SQLite database");
    EXPECT_EQ(refused(empty, mode), "Table " + empty + " is not a table: no field catalogue");
    EXPECT_EQ(refused(foreign, mode), "Table " + foreign + " is not a table: no field catalogue");
    EXPECT_EQ(refused(dir_, mode), "Table " + dir_ + " is not a file");
  }
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);  // opening changed nothing
}

// A row of identity 0, which only another program can write, names no
// record: every order leaves it out, and the count agrees with the walk
// whether it is taken by walking a few records or from SQLite.
TEST_F(Opening, ARowOfIdentityZeroIsLeftOutOfEveryOrder) {
  OpenSample();
  const std::vector<std::string> names = {"Anna", "Bert", "Cora"};
  for (const std::string& name : names) Add(name);
  for (int i = 0; i < 100; ++i) Add("Zoe " + std::to_string(i));
  rr_close(h_);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(sample_.c_str(), &db), SQLITE_OK);
  // For these names bytes sort as the table's collator does.
  for (const char* collation : {"vesk_text", "vesk_text_ci"}) {
    sqlite3_create_collation(db, collation, SQLITE_UTF8, nullptr,
                             [](void*, int a_size, const void* a, int b_size, const void* b) {
                               const int order = std::memcmp(a, b, static_cast<size_t>(std::min(a_size, b_size)));
                               return order != 0 ? order : a_size - b_size;
                             });
  }
  ASSERT_EQ(sqlite3_exec(db, "INSERT INTO records(rr_id, \"Name\") VALUES(0, 'Null')", nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
  for (int32_t index : {0, int32_t{kByName}}) {
    ASSERT_TRUE(rr_select_index(h_, index));
    EXPECT_EQ(rr_record_count(h_), 103) << index;  // more than a walk counts
    const std::vector<std::string> walked = Names();
    ASSERT_EQ(walked.size(), 103u) << index;
    EXPECT_EQ(std::vector<std::string>(walked.begin(), walked.begin() + 3), names) << index;
    ASSERT_TRUE(rr_goto_rec_no(h_, 2));
    EXPECT_EQ(CurrentName(), "Bert") << index;
  }
  // Few records: counted by walking them.
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(rr_last(h_));
    ASSERT_TRUE(rr_delete(h_));
  }
  ASSERT_TRUE(rr_select_index(h_, 0));
  EXPECT_EQ(rr_record_count(h_), 3);
  EXPECT_EQ(Names(), names);
}

TEST_F(Opening, TruncatedTableIsRefusedWithoutCrashing) {
  OpenSample();
  ASSERT_TRUE(rr_batch_begin(h_));
  for (int i = 0; i < 2000; ++i) Add("Name " + std::to_string(i), "Ort " + std::to_string(i), i);
  ASSERT_TRUE(rr_batch_commit(h_));
  rr_close(h_);  // the last connection checkpoints the log into the file
  ASSERT_FALSE(std::filesystem::exists(sample_ + "-wal"));
  auto size = std::filesystem::file_size(sample_);
  for (auto keep : {size / 2, size_t{5000}, size_t{100}}) {
    std::string cut = Path("cut" + std::to_string(keep) + ".mti");
    std::filesystem::copy_file(sample_, cut);
    std::filesystem::resize_file(cut, keep);
    int32_t result = Open(cut, RR_MODE_READ_WRITE);
    if (result == 0) {
      // What SQLite could not see at opening must still fail cleanly later.
      EXPECT_FALSE(rr_last(h_) && rr_record_count(h_) == 2000);
      rr_close(h_);
    } else {
      EXPECT_LT(result, -1);
      EXPECT_NE(LastError(h_), "");
    }
  }
}

TEST_F(Opening, MapsTheFileOnlyOnceItIsScannedOrSearched) {
  OpenSample();
  for (int i = 0; i < 300; ++i) Add("N" + std::to_string(i));
  const std::string path = std::filesystem::canonical(sample_).string();
  const int32_t fields[] = {kName};
  struct Case {
    const char* work;
    std::function<void()> run;
  };
  const Case cases[] = {
      {"a walk", [&] { EXPECT_EQ(Names().size(), 300u); }},
      {"a search",
       [&] {
         Record key(h_);
         key.SetText(kName, "N150");
         EXPECT_TRUE(rr_search(h_, fields, 1, key.Data(), kByName, 0, 0, 1)) << LastError(h_);
       }},
      {"a count under the tests",
       [&] {
         rr_set_tests(
             h_, [](void*, const uint8_t*) -> uint8_t { return 1; }, nullptr, nullptr, nullptr);
         rr_enable_tests(h_, 1, 0);
         rr_tests_on(h_, 1);
         EXPECT_EQ(rr_record_count(h_), 300);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.work);
    // Closing the only connection writes the records into the file itself.
    rr_close(h_);
    ASSERT_EQ(Open(sample_), 0) << LastError(h_);
    Record first(h_);
    ASSERT_TRUE(rr_get_record(h_, first.Data()));
    ASSERT_TRUE(rr_next(h_));
    EXPECT_FALSE(Mapped(path));
    c.run();
    EXPECT_TRUE(Mapped(path));
  }
}

}  // namespace
}  // namespace vesk
