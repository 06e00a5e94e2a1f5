// The benchmarks' folder of tables: each table is built once, a failed
// build is tried again, and Remove leaves nothing behind.
#include "bench/support/table_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk::bench {
namespace {

namespace fs = std::filesystem;

class TableFolderTest : public ::testing::Test {
 protected:
  // Writes a file standing for the table and notes what was built.
  TableFolder::Build Recorder() {
    return [this](const std::string& path, int64_t records) {
      std::ofstream(path) << records;
      built_.push_back(path);
    };
  }

  TempFolder temp_;
  ScopedEnv tmpdir_{"TMPDIR", temp_.Path()};
  std::vector<std::string> built_;
};

TEST_F(TableFolderTest, BuildsEachKindAndSizeOnceAndRemoveDeletesThemAll) {
  TableFolder tables("bench-test");
  const std::string engine = tables.Table("engine", 10, Recorder());
  EXPECT_EQ(tables.Table("engine", 10, Recorder()), engine);
  const std::string larger = tables.Table("engine", 100, Recorder());
  const std::string plain = tables.Table("sqlite", 10, Recorder());
  EXPECT_EQ(built_, (std::vector<std::string>{engine, larger, plain}));
  // One folder of the program's own, in the temporary folder, holds them.
  const fs::path folder = fs::path(engine).parent_path();
  EXPECT_EQ(folder.parent_path(), fs::path(temp_.Path()));
  EXPECT_EQ(folder.filename().string().rfind("vesk-bench-test-", 0), 0u);
  EXPECT_EQ(fs::path(larger).parent_path(), folder);
  EXPECT_EQ(fs::path(plain).parent_path(), folder);

  tables.Remove();
  EXPECT_FALSE(fs::exists(folder));
  // After removal a table is built anew.
  const std::string again = tables.Table("engine", 10, Recorder());
  EXPECT_EQ(built_.size(), 4u);
  EXPECT_TRUE(fs::exists(again));
  tables.Remove();
  EXPECT_TRUE(temp_.Entries().empty());
}

TEST_F(TableFolderTest, FailedBuildIsNotRemembered) {
  TableFolder tables("bench-test");
  EXPECT_THROW(tables.Table("engine", 10, [](const std::string&, int64_t) { throw std::runtime_error("disk full"); }),
               std::runtime_error);
  const std::string path = tables.Table("engine", 10, Recorder());
  EXPECT_EQ(built_, std::vector<std::string>{path});
  tables.Remove();
  tables.Remove();  // twice is harmless
  EXPECT_TRUE(temp_.Entries().empty());
}

TEST_F(TableFolderTest, UnusableTemporaryFolderFailsTheFirstTable) {
  ScopedEnv missing("TMPDIR", temp_.File("missing"));
  TableFolder tables("bench-test");
  EXPECT_THROW(tables.Table("engine", 10, Recorder()), std::runtime_error);
  EXPECT_TRUE(built_.empty());
}

}  // namespace
}  // namespace vesk::bench
