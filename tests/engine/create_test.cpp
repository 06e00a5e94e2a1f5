// Creating tables: the file appears under its name only when complete, so
// a creation killed at any moment leaves no table that fails to open; and
// indexes added to a table later.
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Creating = EngineTest;

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Creating, LeavesOnlyTheTableAndNothingOnFailure) {
  ASSERT_EQ(CreateSample(sample_), 0) << LastError(h_);
  EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{"adressen.mti"});
  EXPECT_EQ(std::filesystem::status(sample_).permissions() & std::filesystem::perms::all, std::filesystem::perms(0644));
  EXPECT_LT(CreateSample(sample_), 0);
  EXPECT_EQ(LastError(h_), "Table " + sample_ + " already exists");
  EXPECT_LT(CreateSample(Path("fehlt/neu.mti")), 0);
  EXPECT_EQ(LastError(h_).rfind("Table " + Path("fehlt/neu.mti") + " cannot be created: ", 0), 0u) << LastError(h_);
  EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{"adressen.mti"});
}

TEST_F(Creating, AKilledCreationNeverLeavesATableThatFailsToOpen) {
  // Each child creates tables one after another and reports each; after
  // its first it is killed at a random moment, most often in the middle of
  // the next creation.
  std::mt19937 random(20240611);
  int created = 0;
  for (int run = 0; run < 30; ++run) {
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(done[0]);
      int32_t h = rr_new(0);
      for (int n = 0;; ++n) {
        CreateSample(Path("t" + std::to_string(run) + "_" + std::to_string(n) + ".mti"), h);
        if (write(done[1], "x", 1) != 1) _exit(1);
      }
    }
    close(done[1]);
    char first = 0;
    EXPECT_EQ(read(done[0], &first, 1), 1);
    usleep(std::uniform_int_distribution<useconds_t>(0, 5000)(random));
    kill(child, SIGKILL);
    close(done[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
  }
  int leftovers = 0;
  for (const std::string& name : FolderEntries(dir_)) {
    if (name[0] == '.') {
      ++leftovers;  // a scratch file of a creation that was killed
      continue;
    }
    if (name.size() < 4 || name.substr(name.size() - 4) != ".mti") continue;
    ++created;
    ASSERT_EQ(Open(Path(name), RR_MODE_READ_ONLY), 0) << name << ": " << LastError(h_);
    EXPECT_EQ(rr_field_count(h_), 10);
    rr_close(h_);
  }
  EXPECT_GT(created, 0);
  EXPECT_GT(leftovers, 0) << "no kill fell inside a creation";
}

TEST_F(Creating, IndexesAddedToAnOpenTable) {
  OpenSample();
  for (const char* name : {"Dora", "Adam", "Cora"}) Add(name, "Ulm");
  ASSERT_TRUE(rr_select_index(h_, kByAnzahl));
  const int32_t vorname_name[] = {kVorname, kName};
  const rr_index_spec added{"VornameName", vorname_name, 2, 1};
  ASSERT_TRUE(rr_add_index(h_, &added)) << LastError(h_);
  std::vector<uint8_t> index_name(256);
  rr_index_name(index_name.data(), h_);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&index_name[1]), index_name[0]), "Anzahl") << "order kept";
  std::vector<uint8_t> name = ShortText("vornamename");
  EXPECT_EQ(rr_index_number(h_, name.data()), 5);
  EXPECT_EQ(rr_search_index(h_, vorname_name, 2, 0), 5);
  ASSERT_TRUE(rr_select_index(h_, 5));
  Add("Bert", "Ulm");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam", "Bert", "Cora", "Dora"}));

  // Refused: a name in use, a field that does not exist, inside a batch,
  // on a reader; none of them changes the table.
  const int32_t missing[] = {12};
  const rr_index_spec twice{"Name", vorname_name, 1, 0};
  EXPECT_FALSE(rr_add_index(h_, &twice));
  EXPECT_EQ(LastError(h_), "Index name Name is used twice");
  const rr_index_spec bad{"Fehlt", missing, 1, 0};
  EXPECT_FALSE(rr_add_index(h_, &bad));
  EXPECT_FALSE(rr_add_index(h_, nullptr));
  ASSERT_TRUE(rr_batch_begin(h_));
  const rr_index_spec later{"Später", vorname_name, 1, 0};
  EXPECT_FALSE(rr_add_index(h_, &later));
  EXPECT_EQ(LastError(h_), "Not allowed inside a batch");
  ASSERT_TRUE(rr_batch_commit(h_));
  rr_close(h_);

  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  EXPECT_FALSE(rr_add_index(h_, &later));
  EXPECT_EQ(LastError(h_), "Table " + sample_ + " is open for reading only");
  EXPECT_EQ(rr_index_number(h_, name.data()), 5);
  ASSERT_TRUE(rr_select_index(h_, 5));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam", "Bert", "Cora", "Dora"}));
  EXPECT_FALSE(rr_select_index(h_, 6));
}

}  // namespace
}  // namespace vesk
