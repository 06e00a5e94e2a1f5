// A reader beside a writer in another process: its moves and counts see
// the writer's stores and deletes as soon as it moves again.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

class ReaderView : public EngineTest {
 protected:
  // Starts a writer process that runs one command per line from the test:
  // "+Name" stores a record, "-Name" deletes the first record of that name;
  // it answers each with "ok" or "failed".
  void StartWriter() {
    int to_writer[2], from_writer[2];
    ASSERT_EQ(pipe(to_writer), 0);
    ASSERT_EQ(pipe(from_writer), 0);
    writer_ = fork();
    ASSERT_GE(writer_, 0);
    if (writer_ == 0) {
      close(to_writer[1]);
      close(from_writer[0]);
      _exit(RunWriter(fdopen(to_writer[0], "r"), fdopen(from_writer[1], "w")));
    }
    close(to_writer[0]);
    close(from_writer[1]);
    commands_ = fdopen(to_writer[1], "w");
    answers_ = fdopen(from_writer[0], "r");
  }

  void TearDown() override {
    if (commands_) fclose(commands_);
    if (answers_) fclose(answers_);
    if (writer_ > 0) {
      int status = 0;
      waitpid(writer_, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EngineTest::TearDown();
  }

  std::string Tell(const std::string& command) {
    std::fprintf(commands_, "%s\n", command.c_str());
    std::fflush(commands_);
    char answer[32] = {};
    if (!std::fgets(answer, sizeof answer, answers_)) return "no answer";
    return std::string(answer, strcspn(answer, "\n"));
  }

  int RunWriter(FILE* in, FILE* out) {
    h_ = rr_new(0);
    if (Open(sample_, RR_MODE_READ_WRITE) != 0) return 2;
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
      std::string name(line + 1, strcspn(line + 1, "\n"));
      bool ok = line[0] == '+' ? Add(name) > 0 : DeleteNamed(name);
      std::fprintf(out, ok ? "ok\n" : "failed\n");
      std::fflush(out);
    }
    rr_free(h_);
    return 0;
  }

  bool DeleteNamed(const std::string& name) {
    for (bool more = rr_first(h_); more && !rr_eof(h_); more = rr_next(h_)) {
      if (CurrentName() == name) return rr_delete(h_) != 0;
    }
    return false;
  }

  pid_t writer_ = -1;
  FILE* commands_ = nullptr;
  FILE* answers_ = nullptr;
};

TEST_F(ReaderView, MovesAndCountFollowTheWritersStoresAndDeletes) {
  OpenSample();
  for (const char* name : {"Adam", "Bert", "Cora", "Dora"}) Add(name);
  rr_close(h_);
  StartWriter();
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0) << LastError(h_);
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_next(h_));
  ASSERT_EQ(CurrentName(), "Bert");
  EXPECT_EQ(rr_record_count(h_), 4);

  // The record the reader stands on goes, and the one after it.
  for (const char* command : {"+Anna", "+Emil", "-Bert", "-Cora"}) ASSERT_EQ(Tell(command), "ok") << command;
  EXPECT_EQ(rr_record_count(h_), 4) << LastError(h_);
  ASSERT_TRUE(rr_next(h_)) << LastError(h_);
  EXPECT_EQ(CurrentName(), "Dora");
  ASSERT_TRUE(rr_next(h_));
  EXPECT_EQ(CurrentName(), "Anna");
  EXPECT_EQ((std::vector<std::string>{"Adam", "Dora", "Anna", "Emil"}), Names());

  // In index order too; a prior move from a record that stays.
  ASSERT_TRUE(rr_select_index(h_, kByName));
  ASSERT_TRUE(rr_last(h_));
  ASSERT_TRUE(rr_prior(h_));
  ASSERT_EQ(CurrentName(), "Dora");
  for (const char* command : {"+Bruno", "+Dieter", "-Emil"}) ASSERT_EQ(Tell(command), "ok") << command;
  ASSERT_TRUE(rr_prior(h_)) << LastError(h_);
  EXPECT_EQ(CurrentName(), "Dieter");
  EXPECT_EQ(rr_record_count(h_), 5);
  EXPECT_EQ((std::vector<std::string>{"Adam", "Anna", "Bruno", "Dieter", "Dora"}), Names());

  // The last record goes while the reader stands on it: off the end after
  // it, the new last one before it.
  ASSERT_TRUE(rr_last(h_));
  ASSERT_EQ(Tell("-Dora"), "ok");
  ASSERT_TRUE(rr_next(h_));
  EXPECT_TRUE(rr_eof(h_));
  ASSERT_TRUE(rr_last(h_));
  ASSERT_EQ(Tell("-Dieter"), "ok");
  ASSERT_TRUE(rr_prior(h_));
  EXPECT_EQ(CurrentName(), "Bruno");

  // Without a change the reader keeps its place and its records.
  EXPECT_EQ(rr_record_count(h_), 3);
  EXPECT_EQ(CurrentName(), "Bruno");
}

TEST_F(ReaderView, AReaderOfAnEmptyTableSeesTheFirstRecords) {
  ASSERT_EQ(CreateSample(sample_), 0);
  StartWriter();
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  EXPECT_EQ(rr_record_count(h_), 0);
  EXPECT_TRUE(rr_no_current(h_));
  ASSERT_EQ(Tell("+Adam"), "ok");
  EXPECT_EQ(rr_record_count(h_), 1);
  EXPECT_EQ((std::vector<std::string>{"Adam"}), Names());
  ASSERT_EQ(Tell("-Adam"), "ok");
  ASSERT_TRUE(rr_first(h_));
  EXPECT_TRUE(rr_no_current(h_));
  EXPECT_EQ(rr_record_count(h_), 0);
}

}  // namespace
}  // namespace vesk
