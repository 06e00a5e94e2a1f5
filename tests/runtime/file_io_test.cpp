#include "runtime/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using Names = std::vector<std::string>;

TEST(ReadFile, BytesAsTheyAreOrNothing) {
  TempFolder folder;
  const std::string bytes("a\0b\r\n\xff", 6);
  ASSERT_TRUE(WriteFileAtomically(folder.File("x.bin"), bytes));
  EXPECT_EQ(ReadFile(folder.File("x.bin")), bytes);
  ASSERT_TRUE(WriteFileAtomically(folder.File("empty"), ""));
  EXPECT_EQ(ReadFile(folder.File("empty")), std::string());
  EXPECT_EQ(ReadFile(folder.File("missing")), std::nullopt);
  EXPECT_EQ(ReadFile(folder.Path()), std::nullopt) << "a folder";
  // Files whose size the system does not know beforehand.
  const std::optional<std::string> version = ReadFile("/proc/version");
  ASSERT_TRUE(version.has_value());
  EXPECT_NE(version->find("Linux"), std::string::npos);
}

TEST(WriteFileAtomically, CreatesAndReplacesWithoutLeftovers) {
  TempFolder folder;
  const std::string path = folder.File("liste.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "alt\n"));
  ASSERT_TRUE(WriteFileAtomically(path, std::string(200000, 'n')));
  EXPECT_EQ(ReadFile(path), std::string(200000, 'n'));
  EXPECT_EQ(folder.Entries(), Names{"liste.txt"});
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheReplacedFile) {
  TempFolder folder;
  const std::string path = folder.File("geheim.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "1"));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "2"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, FailedRenameRemovesTheTemporaryFile) {
  TempFolder folder;
  ASSERT_EQ(mkdir(folder.File("ordner").c_str(), 0700), 0);
  ASSERT_TRUE(WriteFileAtomically(folder.File("ordner/inhalt"), "x"));
  EXPECT_FALSE(WriteFileAtomically(folder.File("ordner"), "neu"));
  EXPECT_EQ(folder.Entries(), Names{"ordner"});
  EXPECT_EQ(ReadFile(folder.File("ordner/inhalt")), "x");
}

TEST(WriteFileAtomically, FailedWriteLeavesTheOldFile) {
  TempFolder folder;
  const std::string path = folder.File("termine.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "alt\n"));
  // A file size limit makes the write fail part way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteFileAtomically(path, std::string(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(path), "alt\n");
  EXPECT_EQ(folder.Entries(), Names{"termine.txt"});
}

TEST(WriteFileAtomically, MissingFolderOrNameFails) {
  TempFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder.File("fehlt/datei"), "x"));
  EXPECT_FALSE(WriteFileAtomically(folder.Path() + "/", "x"));
  EXPECT_FALSE(WriteFileAtomically("", "x"));
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(WriteFileAtomically, UnwritableSystemFolderLeavesTheOldFile) {
  // /proc refuses new files even to root.
  const std::optional<std::string> before = ReadFile("/proc/version");
  ASSERT_TRUE(before.has_value());
  EXPECT_FALSE(WriteFileAtomically("/proc/version", "kaputt"));
  EXPECT_EQ(ReadFile("/proc/version"), before);
}

TEST(WriteFileAtomically, UnwritableFolderLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
  TempFolder folder;
  const std::string path = folder.File("adressen.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "alt\n"));
  ASSERT_EQ(chmod(folder.Path().c_str(), 0555), 0);
  EXPECT_FALSE(WriteFileAtomically(path, "neu\n"));
  EXPECT_EQ(ReadFile(path), "alt\n");
  EXPECT_EQ(folder.Entries(), Names{"adressen.txt"});
}

}  // namespace
}  // namespace vesk
