// StartDetached: programs that cannot be started report so (a started one is
// seen in the web launch tests).
#include <gtest/gtest.h>

#include "platform/detached_start.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

TEST(StartDetached, ProgramsThatCannotRunAreNotStarted) {
  TempFolder folder;
  EXPECT_FALSE(StartDetached("", {"x"}));
  EXPECT_FALSE(StartDetached(folder.File("missing"), {}));
  EXPECT_FALSE(StartDetached(folder.Path(), {})) << "a folder";
  EXPECT_FALSE(StartDetached("vesk-no-such-program-in-path", {"--help"}));
}

}  // namespace
}  // namespace vesk
