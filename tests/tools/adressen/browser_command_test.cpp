// SplitCommand: program and extra arguments of registered browser commands,
// desktop-style and Windows-style.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/file_io.h"
#include "tests/support/temp_folder.h"
#include "tools/adressen/browser_command.h"

namespace vesk {
namespace {

using Words = std::vector<std::string>;

TEST(BrowserCommand, DesktopCommandsLoseQuotesAndPlaceholders) {
  BrowserCommand command = SplitCommand("firefox %u");
  EXPECT_EQ(command.program, "firefox");
  EXPECT_EQ(command.arguments, Words{});
  command = SplitCommand("  \"/opt/Mein Browser/browse\" --new-window --profile \"Privat Sitzung\" %U --app=%u x%f");
  EXPECT_EQ(command.program, "/opt/Mein Browser/browse");
  EXPECT_EQ(command.arguments, (Words{"--new-window", "--profile", "Privat Sitzung", "--app=", "x"}));
  command = SplitCommand("'/opt/ein Name' a\\ b \"x \\\"y\\\" \\$z\"");
  EXPECT_EQ(command.program, "/opt/ein Name");
  EXPECT_EQ(command.arguments, (Words{"a b", "x \"y\" $z"}));
  command = SplitCommand("google-chrome --app=https://mail.google.com %u");
  EXPECT_EQ(command.program, "google-chrome") << "a .com inside an argument is no program end";
  EXPECT_EQ(command.arguments, Words{"--app=https://mail.google.com"});
}

TEST(BrowserCommand, NoProgramInBrokenOrEmptyCommands) {
  for (const char* text : {"", "   ", "\"/opt/browser %u", "'unclosed", "browser \"%u", "browser \\"}) {
    EXPECT_EQ(SplitCommand(text).program, "") << text;
    EXPECT_EQ(SplitCommand(text).arguments, Words{}) << text;
  }
}

TEST(BrowserCommand, WindowsProgramsEndAtTheirExtension) {
  TempFolder folder;
  const std::string program = folder.File("Program Files/Browser/BROWSER.EXE");
  std::filesystem::create_directories(folder.File("Program Files/Browser"));
  ASSERT_TRUE(WriteFileAtomically(program, ""));
  // Quoted, with a quoted placeholder after the arguments.
  BrowserCommand command = SplitCommand("\"" + program + "\" -nohome \"%1\"");
  EXPECT_EQ(command.program, program);
  EXPECT_EQ(command.arguments, Words{"-nohome"});
  // Unquoted with blanks: the existing file decides where the program ends.
  command = SplitCommand(program + " -a \"b c\" %1 -d%2");
  EXPECT_EQ(command.program, program);
  EXPECT_EQ(command.arguments, (Words{"-a", "b", "c", "-d"}));
  command = SplitCommand(program);
  EXPECT_EQ(command.program, program);
  EXPECT_EQ(command.arguments, Words{});
  // A name with the extension that is no existing file: its first word.
  command = SplitCommand(folder.File("Program Files/Other/other.bat") + " %1");
  EXPECT_EQ(command.program, folder.File("Program"));
}

}  // namespace
}  // namespace vesk
