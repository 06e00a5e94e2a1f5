// The Tools library in a host of another make, started under en_US in a
// process left in the C locale: the library reads the user's regional
// formats itself when it is loaded, so the reminder list it writes names
// today as en_US writes dates, and the times as en_US writes them.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/generated_locales.h"

namespace vesk {
namespace {

std::string Today(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(LibraryStart, ReadsTheUsersFormatsInAForeignHost) {
  GeneratedLocales locales({"en_US"});
  ASSERT_TRUE(locales.Missing().empty()) << "localedef cannot make en_US (package locales)";
  TempFolder folder;
  const std::string in = "cd '" + folder.Path() + "' && ";
  std::filesystem::create_directory(folder.File("Data"));
  // Today's appointment late in the evening, entered in the German formats.
  ASSERT_EQ(Shell(in + "LC_ALL=C '" MTITOOL_PATH "' create Data/termine.mti Datum:D Ort:S:50 Uhrzeit:D "
                       "Bemerkung:M --index 'DatumUhrzeit=Datum;Uhrzeit' >/dev/null"),
            0);
  { std::ofstream(folder.File("heute.csv")) << "Datum,Ort,Uhrzeit\n" << Today("%d.%m.%Y") << ",Büro,23:59\n"; }
  ASSERT_EQ(Shell(in + "LC_ALL=C '" MTITOOL_PATH "' import Data/termine.mti heute.csv"), 0);

  ASSERT_EQ(
      Shell(in + "env -u LC_ALL -u LC_TIME -u LC_NUMERIC -u LC_CTYPE LANG=en_US.UTF-8 VESK_HOME='" + folder.Path() +
            "' VESK_NONINTERACTIVE=1 QT_QPA_PLATFORM=offscreen '" FOREIGN_HOST "' '" + TOOLS_LIBRARY "'"),
      0);
  std::ifstream list(folder.File("termine.sav"));
  ASSERT_TRUE(list.good()) << "no termine.sav";
  std::stringstream text;
  text << list.rdbuf();
  EXPECT_EQ(text.str(), "[" + Today("%m/%d/%Y") + "]\n0=11:59:00 PM\n");
}

}  // namespace
}  // namespace vesk
