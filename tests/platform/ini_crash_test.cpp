// A process killed while it rewrites an INI file leaves the old or the new
// file, never a part of one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/ini_file.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

constexpr int kKeys = 300;

std::string Key(int key) { return "k" + std::to_string(key); }

std::string Value(int generation, int key) {
  return "g" + std::to_string(generation) + "-" + Key(key) + "-" + std::string(150, 'x');
}

// The whole file when the first split keys have generation low + 1 and the
// others generation low.
std::string Expected(int low, int split) {
  std::string text = "; Kopf\n\n[Daten]\n";
  for (int key = 0; key < kKeys; ++key) {
    text += Key(key) + "=" + Value(key < split ? low + 1 : low, key) + "\n";
  }
  return text;
}

std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct State {
  int low;
  int split;
};

// Where the writer stood: the keys up to the first one of an older
// generation are new. The file must then be exactly what that state writes.
std::optional<State> StateOf(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> keys = ProfileReadSection(path, "Daten");
  if (keys.empty() || !keys[0].second.starts_with("g")) return std::nullopt;
  int generation = std::atoi(keys[0].second.c_str() + 1);
  int split = 0;
  while (split < static_cast<int>(keys.size()) && keys[split].second == Value(generation, split)) {
    ++split;
  }
  State state = split == kKeys ? State{generation, 0} : State{generation - 1, split};
  if (state.low < 0 || Get(path) != Expected(state.low, state.split)) return std::nullopt;
  return state;
}

[[noreturn]] void Write(const std::string& path, State from) {
  for (int generation = from.low + 1;; ++generation) {
    for (int key = generation == from.low + 1 ? from.split : 0; key < kKeys; ++key) {
      if (!ProfileWriteString(path, "Daten", Key(key), Value(generation, key))) _exit(2);
    }
  }
}

TEST(IniCrash, KilledWriterLeavesOldOrNewFile) {
  TempFolder temp;
  std::string path = temp.File("gross.ini");
  std::ofstream(path, std::ios::binary) << Expected(0, 0);
  std::random_device seed;
  unsigned seedValue = seed();
  std::mt19937 random(seedValue);
  std::uniform_int_distribution<int> delay(0, 30000);
  State state{0, 0};
  int progressed = 0;
  for (int round = 0; round < 100; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) Write(path, state);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own, status " << status;
    std::optional<State> now = StateOf(path);
    ASSERT_TRUE(now) << "broken file after round " << round << " (seed " << seedValue << ")";
    if (now->low != state.low || now->split != state.split) ++progressed;
    state = *now;
  }
  EXPECT_GT(progressed, 10) << "the writer was killed before it wrote";
}

}  // namespace
}  // namespace vesk
