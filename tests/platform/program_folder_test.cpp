#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "runtime/exceptions.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(ProgramFolder, VeskHomeIsCreatedPrivateWithItsParents) {
  TempFolder temp;
  chmod(temp.Path().c_str(), 0755);
  ScopedEnv home("VESK_HOME", temp.Path() + "/a/b/vesk//");
  std::string folder = ProgramFolder();
  EXPECT_EQ(folder, temp.Path() + "/a/b/vesk");
  EXPECT_EQ(ModeOf(temp.Path() + "/a"), 0700u);
  EXPECT_EQ(ModeOf(temp.Path() + "/a/b/vesk"), 0700u);
  EXPECT_EQ(ModeOf(temp.Path()), 0755u) << "an existing folder keeps its mode";
  EXPECT_EQ(ProgramFile("termine.sav"), folder + "/termine.sav");
  EXPECT_EQ(ProgramFolder(), folder) << "second use finds the folder";
}

TEST(ProgramFolder, FallsBackToXdgDataHomeThenHome) {
  TempFolder temp;
  ScopedEnv home("HOME", temp.Path() + "/home");
  ScopedEnv empty("VESK_HOME", "");
  {
    ScopedEnv data("XDG_DATA_HOME", temp.Path() + "/data");
    EXPECT_EQ(ProgramFolder(), temp.Path() + "/data/vesktools");
  }
  {
    // A relative XDG path is invalid and ignored.
    ScopedEnv data("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(ProgramFolder(), temp.Path() + "/home/.local/share/vesktools");
  }
  ScopedEnv data("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(ProgramFolder(), temp.Path() + "/home/.local/share/vesktools");
  EXPECT_EQ(ModeOf(temp.Path() + "/home/.local"), 0700u);
  EXPECT_FALSE(std::filesystem::exists("relative")) << "nothing is created relative to the cwd";
}

TEST(ProgramFolder, RaisesWhenThePathIsNoFolder) {
  TempFolder temp;
  std::ofstream(temp.File("plain")) << "x";
  {
    ScopedEnv home("VESK_HOME", temp.File("plain"));
    EXPECT_THROW(ProgramFolder(), Exception);
  }
  ScopedEnv home("VESK_HOME", temp.File("plain") + "/below");
  try {
    ProgramFile("x");
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find(temp.File("plain") + "/below"), std::string::npos) << error.Message();
  }
}

}  // namespace
}  // namespace vesk
