#include "platform/runtime_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/registered_messages.h"
#include "platform/window_messages.h"
#include "runtime/exceptions.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

std::filesystem::perms ModeOf(const std::string& path) { return std::filesystem::symlink_status(path).permissions(); }

constexpr std::filesystem::perms kPrivate = std::filesystem::perms::owner_all;

// Nothing that needs the folder works while it is refused.
void ExpectMessagingRefused() {
  EXPECT_THROW(RuntimeFolder(), Exception);
  EXPECT_EQ(RegisterWindowMessage("VeskTools"), 0);
  EXPECT_FALSE(FindWindow("", ""));
  EXPECT_FALSE(PostMessage(WindowHandle{1, 1}, 0xC000, 0, 0));
}

TEST(RuntimeFolder, CreatedPrivateUnderXdgRuntimeDir) {
  TempFolder temp;
  ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path() + "/");
  const mode_t oldMask = umask(0);
  EXPECT_EQ(RuntimeFolder(), temp.Path() + "/vesktools");
  umask(oldMask);
  EXPECT_EQ(ModeOf(temp.File("vesktools")), kPrivate);
  EXPECT_EQ(RuntimeFolder(), temp.Path() + "/vesktools") << "an existing folder of its own is used";
}

TEST(RuntimeFolder, UnderTmpNamedByUserWhenVariableUnsetOrRelative) {
  const std::string expected = "/tmp/vesktools-" + std::to_string(geteuid());
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(RuntimeFolder(), expected);
  }
  ScopedEnv runtime("XDG_RUNTIME_DIR", "relative/run");
  EXPECT_EQ(RuntimeFolder(), expected);
  EXPECT_EQ(ModeOf(expected), kPrivate);
}

TEST(RuntimeFolder, RefusedWhenOpenToOthersForeignOrNotAFolder) {
  TempFolder temp;
  ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
  const std::string folder = RuntimeFolder();

  ASSERT_EQ(chmod(folder.c_str(), 0750), 0);
  ExpectMessagingRefused();
  ASSERT_EQ(chmod(folder.c_str(), 0701), 0);
  ExpectMessagingRefused();
  ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
  EXPECT_EQ(RuntimeFolder(), folder);

  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    ExpectMessagingRefused();
    ASSERT_EQ(chown(folder.c_str(), 0, 0), 0);
  }

  // A symbolic link to a private folder is not followed, nor is a file used.
  ASSERT_EQ(rmdir(folder.c_str()), 0);
  ASSERT_EQ(mkdir(temp.File("elsewhere").c_str(), 0700), 0);
  ASSERT_EQ(symlink(temp.File("elsewhere").c_str(), folder.c_str()), 0);
  ExpectMessagingRefused();
  ASSERT_EQ(unlink(folder.c_str()), 0);
  {
    FILE* file = fopen(folder.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fclose(file);
  }
  ExpectMessagingRefused();
}

}  // namespace
}  // namespace vesk
