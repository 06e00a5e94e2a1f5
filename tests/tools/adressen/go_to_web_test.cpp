// TGoToWeb against the desktop's associations: each case builds its own XDG
// world (applications, mimeapps.list, a MIME database) in a temporary
// folder, runs the operation in a helper process and reads what the started
// "browser" - a recording program - was given.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/file_io.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/adressen/recorded_arguments.h"

namespace vesk {
namespace {

using Words = std::vector<std::string>;

struct Outcome {
  std::string browser;  // what FindBrowser gave
  bool started = false;
};

class GoToWebTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"data/applications", "config", "system", "system-config", "rec dir", "work"})
      std::filesystem::create_directories(world.File(folder));
    // A program path with a blank in it, as a desktop entry has to quote.
    std::filesystem::copy_file(VESK_RECORD_ARGUMENTS, Recorder());
  }

  std::string Recorder() const { return world.File("rec dir/record"); }
  std::string Record() const { return world.File("record.out"); }

  void AddApplication(const std::string& id, const std::string& exec) const {
    ASSERT_TRUE(WriteFileAtomically(world.File("data/applications/" + id + ".desktop"),
                                    "[Desktop Entry]\nType=Application\nName=" + id + "\nExec=" + exec + "\n"));
  }
  // The recorder, quoted, with the words before the placeholder.
  std::string RecorderCommand(const std::string& words) const { return "\"" + Recorder() + "\" " + words; }
  void SetDefaults(const std::string& lines) const {
    ASSERT_TRUE(WriteFileAtomically(world.File("config/mimeapps.list"), "[Default Applications]\n" + lines));
  }
  // A MIME database in which *.shtml is a type of its own.
  void AddServerParsedHtml() const {
    const std::string packages = world.File("system/mime/packages");
    std::filesystem::create_directories(packages);
    ASSERT_TRUE(WriteFileAtomically(packages + "/vesk.xml",
                                    "<?xml version=\"1.0\"?>\n"
                                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                    "  <mime-type type=\"text/x-vesk-shtml\"><glob pattern=\"*.shtml\"/></mime-type>\n"
                                    "</mime-info>\n"));
    ASSERT_EQ(QProcess::execute("update-mime-database", {QString::fromStdString(world.File("system/mime"))}), 0);
  }

  Outcome Run(const QStringList& arguments) const {
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(world.Path()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString(world.File("data")));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(world.File("config")));
    environment.insert("XDG_DATA_DIRS", QString::fromStdString(world.File("system")));
    environment.insert("XDG_CONFIG_DIRS", QString::fromStdString(world.File("system-config")));
    environment.remove("XDG_CURRENT_DESKTOP");
    environment.insert("VESK_RECORD", QString::fromStdString(Record()));
    helper.setProcessEnvironment(environment);
    helper.setWorkingDirectory(QString::fromStdString(world.File("work")));
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(VESK_GO_TO_WEB_HELPER, arguments);
    Outcome outcome;
    if (!helper.waitForFinished(10000) || helper.exitCode() != 0) {
      ADD_FAILURE() << "helper failed";
      return outcome;
    }
    const QStringList lines = QString::fromUtf8(helper.readAllStandardOutput()).split('\n');
    if (lines.size() < 2) {
      ADD_FAILURE() << "helper output incomplete";
      return outcome;
    }
    outcome.browser = lines[0].toStdString();
    outcome.started = lines[1] == "1";
    return outcome;
  }

  // The arguments the recorder received; nullopt when it has not run
  // within a few seconds.
  std::optional<Words> Recorded(int milliseconds = 10000) const { return RecordedArguments(Record(), milliseconds); }

  TempFolder world;
};

TEST_F(GoToWebTest, BrowserGetsItsArgumentsThenTheAddressAsOneArgument) {
  AddApplication("browser", RecorderCommand("-nohome \"%u\""));
  SetDefaults("text/html=browser.desktop\n");
  const Outcome found = Run({"find"});
  EXPECT_EQ(found.browser, Recorder()) << "the quoted path with its blank is one program";

  const std::string hostile = "x \"a b\"; $(touch pwned) 'q' `touch pwned2` | cat & %u\\";
  const Outcome opened = Run({"url", QString::fromStdString(hostile)});
  EXPECT_TRUE(opened.started);
  EXPECT_EQ(Recorded(), (Words{"-nohome", hostile}));
  EXPECT_TRUE(std::filesystem::is_empty(world.File("work"))) << "nothing ran through a shell";
}

TEST_F(GoToWebTest, CommandWithoutArgumentsAndMailThroughTheBrowser) {
  AddApplication("browser", RecorderCommand("%U"));
  SetDefaults("text/html=browser.desktop\n");
  EXPECT_TRUE(Run({"url", "https://example.org/a b"}).started);
  EXPECT_EQ(Recorded(), Words{"https://example.org/a b"});
  // Without a mail program the browser gets the mailto: address; the
  // subject part is always there, nothing is encoded.
  EXPECT_TRUE(Run({"mail", "", ""}).started);
  EXPECT_EQ(Recorded(), Words{"mailto:?subject="});
  EXPECT_TRUE(Run({"mail", "max@example.org", "Grüße & mehr"}).started);
  EXPECT_EQ(Recorded(), Words{"mailto:max@example.org?subject=Grüße & mehr"});
}

TEST_F(GoToWebTest, OnlyAnAddressReachesTheBrowserNeverAnOption) {
  AddApplication("browser", RecorderCommand("%u"));
  SetDefaults("text/html=browser.desktop\n");
  // A URL with a scheme, or a host name the browser completes; leading
  // blanks stay as they were given.
  for (const char* address : {"https://example.org/", "http://example.org", "ftp://ftp.example.de/pub",
                              "mailto:max@example.org", "svn+ssh://example.de/-x", "www.example.de", "example.de/pfad",
                              "1und1.de", "münchen.de", "  https://example.org/-x"}) {
    EXPECT_TRUE(Run({"url", QString::fromUtf8(address)}).started) << address;
    EXPECT_EQ(Recorded(), Words{address}) << address;
  }
  // Options, and whatever else does not begin with a letter or digit.
  for (const char* address : {"-remote-debugging-port=9222", "--new-window", "-", "  -x", "\t\n-x", "", "   ",
                              "/etc/passwd", "~/x", "+x", "\"-x\"", ":x", "\xc2\xa0-x"}) {
    const Outcome outcome = Run({"url", QString::fromUtf8(address)});
    EXPECT_EQ(outcome.browser, Recorder()) << address;
    EXPECT_FALSE(outcome.started) << address;
  }
  EXPECT_EQ(Recorded(500), std::nullopt);
}

TEST_F(GoToWebTest, MailAddressBeginningWithAMinusStaysInsideTheMailtoAddress) {
  AddApplication("browser", RecorderCommand("--browser %u"));
  AddApplication("mailer", RecorderCommand("--compose %u"));
  SetDefaults("text/html=browser.desktop\n");
  EXPECT_TRUE(Run({"mail", "-x@example.org", "-y"}).started);
  EXPECT_EQ(Recorded(), (Words{"--browser", "mailto:-x@example.org?subject=-y"}));
  SetDefaults("text/html=browser.desktop\nx-scheme-handler/mailto=mailer.desktop\n");
  EXPECT_TRUE(Run({"mail", "--remote-debugging-port=9222", ""}).started);
  EXPECT_EQ(Recorded(), (Words{"--compose", "mailto:--remote-debugging-port=9222?subject="}));
}

TEST_F(GoToWebTest, MailProgramIsPreferredToTheBrowser) {
  AddApplication("browser", RecorderCommand("--browser %u"));
  AddApplication("mailer", RecorderCommand("--compose %u"));
  SetDefaults("text/html=browser.desktop\nx-scheme-handler/mailto=mailer.desktop\n");
  EXPECT_TRUE(Run({"mail", "max@example.org", "Termin"}).started);
  EXPECT_EQ(Recorded(), (Words{"--compose", "mailto:max@example.org?subject=Termin"}));
  EXPECT_TRUE(Run({"url", "https://example.org/"}).started);
  EXPECT_EQ(Recorded(), (Words{"--browser", "https://example.org/"}));
}

TEST_F(GoToWebTest, HtmlTypesAreSearchedInOrder) {
  AddServerParsedHtml();
  AddApplication("first", RecorderCommand("--first %u"));
  AddApplication("second", RecorderCommand("--second %u"));
  SetDefaults("text/x-vesk-shtml=second.desktop\ntext/html=first.desktop\n");
  EXPECT_TRUE(Run({"url", "https://example.org/"}).started);
  EXPECT_EQ(Recorded(), (Words{"--first", "https://example.org/"}));
  SetDefaults("text/x-vesk-shtml=second.desktop\n");
  EXPECT_TRUE(Run({"url", "https://example.org/"}).started);
  EXPECT_EQ(Recorded(), (Words{"--second", "https://example.org/"}));
}

TEST_F(GoToWebTest, WithoutAssociationNothingStarts) {
  AddApplication("browser", RecorderCommand("%u"));
  for (const char* defaults : {"", "text/html=missing.desktop\n"}) {
    SetDefaults(defaults);
    for (const QStringList& operation :
         {QStringList{"url", "https://example.org/"}, QStringList{"mail", "a@b.de", "x"}}) {
      const Outcome outcome = Run(operation);
      EXPECT_EQ(outcome.browser, "") << defaults;
      EXPECT_FALSE(outcome.started) << defaults;
    }
  }
  EXPECT_EQ(Recorded(500), std::nullopt);
}

}  // namespace
}  // namespace vesk
