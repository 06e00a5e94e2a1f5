// CommandWords and StartDetached: the desktop's quoting of command lines, and
// programs that cannot be started.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_words.h"
#include "platform/detached_start.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using Words = std::vector<std::string>;

TEST(CommandWords, QuotingIsTakenOffAsTheDesktopDoes) {
  EXPECT_EQ(CommandWords("browser %u"), (Words{"browser", "%u"}));
  EXPECT_EQ(CommandWords("  \"/opt/Mein Browser/b\"   -a\t\"x \\\"y\\\" \\$z\" %U "),
            (Words{"/opt/Mein Browser/b", "-a", "x \"y\" $z", "%U"}));
  EXPECT_EQ(CommandWords("'/opt/ein Name' a\\ b"), (Words{"/opt/ein Name", "a b"}));
}

TEST(CommandWords, BrokenOrEmptyCommandsHaveNoWords) {
  for (const char* command : {"", "   ", "\"open", "browser 'open", "browser \\"})
    EXPECT_EQ(CommandWords(command), Words{}) << command;
}

TEST(StartDetached, ProgramsThatCannotRunAreNotStarted) {
  TempFolder folder;
  EXPECT_FALSE(StartDetached("", {"x"}));
  EXPECT_FALSE(StartDetached(folder.File("missing"), {}));
  EXPECT_FALSE(StartDetached(folder.Path(), {})) << "a folder";
  EXPECT_FALSE(StartDetached("vesk-no-such-program-in-path", {"--help"}));
}

}  // namespace
}  // namespace vesk
