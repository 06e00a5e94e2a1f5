#include "platform/registered_messages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "helper_process.h"
#include "platform/caseless_text.h"
#include "platform/runtime_folder.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

QStringList RegisterArguments(const std::vector<std::string>& names) {
  QStringList arguments{"register"};
  for (const std::string& name : names) arguments << QString::fromStdString(name);
  return arguments;
}

std::vector<uint16_t> RegisteredInHelper(const std::vector<std::string>& names) {
  HelperProcess helper(RegisterArguments(names));
  std::vector<uint16_t> ids;
  for (size_t i = 0; i < names.size(); ++i) ids.push_back(static_cast<uint16_t>(std::stoi(helper.ReadLine())));
  EXPECT_EQ(helper.ExitCode(), 0);
  return ids;
}

TEST(RegisteredMessages, SameIdentifierInEveryProcessWithoutRegardToCase) {
  std::vector<uint16_t> other = RegisteredInHelper({"VeskTools", "AlarmAus",
                                                    "\xC3\x9C"
                                                    "bersicht"});
  EXPECT_GE(other[0], kFirstRegisteredMessage);
  EXPECT_NE(other[0], other[1]);
  EXPECT_NE(other[1], other[2]);
  EXPECT_EQ(RegisterWindowMessage("veskTOOLS"), other[0]);
  EXPECT_EQ(RegisterWindowMessage("ALARMAUS"), other[1]);
  EXPECT_EQ(RegisterWindowMessage("\xC3\xBC"
                                  "BERSICHT"),
            other[2]);
  EXPECT_EQ(RegisteredInHelper({"VESKTOOLS"})[0], other[0]);
}

// Processes that register at the same moment must not hand one identifier
// to two names, nor two identifiers to one.
TEST(RegisteredMessages, ConcurrentRegistrationsAgree) {
  constexpr int kProcesses = 4;
  constexpr int kNames = 400;
  std::vector<std::unique_ptr<HelperProcess>> helpers;
  for (int p = 0; p < kProcesses; ++p) {
    std::vector<std::string> names;
    for (int i = 0; i < kNames; ++i) names.push_back("Concurrent" + std::to_string((i + p * 100) % kNames));
    helpers.push_back(std::make_unique<HelperProcess>(RegisterArguments(names)));
  }
  std::map<std::string, uint16_t> idOf;
  std::map<uint16_t, std::string> nameOf;
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kNames; ++i) {
      const std::string name = "Concurrent" + std::to_string((i + p * 100) % kNames);
      const auto id = static_cast<uint16_t>(std::stoi(helpers[p]->ReadLine()));
      ASSERT_NE(id, 0) << name;
      auto [known, fresh] = idOf.emplace(name, id);
      EXPECT_EQ(known->second, id) << name;
      auto [holder, unused] = nameOf.emplace(id, name);
      EXPECT_EQ(holder->second, name) << id;
    }
  }
  EXPECT_EQ(idOf.size(), static_cast<size_t>(kNames));
  for (const auto& [name, id] : idOf) EXPECT_EQ(RegisterWindowMessage(name), id);
}

TEST(RegisteredMessages, NamesThatCannotBeKeptGiveZero) {
  EXPECT_EQ(RegisterWindowMessage(""), 0);
  EXPECT_EQ(RegisterWindowMessage("Vesk\nTools"), 0);
  EXPECT_EQ(RegisterWindowMessage("Vesk\rTools"), 0);
  EXPECT_EQ(RegisterWindowMessage(std::string_view("Vesk\0Tools", 10)), 0);
  EXPECT_EQ(RegisterWindowMessage(std::string(256, 'n')), 0);
  EXPECT_NE(RegisterWindowMessage(std::string(255, 'n')), 0);
  EXPECT_NE(RegisterWindowMessage("Vesk"), RegisterWindowMessage("VeskTools")) << "no prefix match";
}

TEST(RegisteredMessages, CutOffLineSkippedAndFullTableRefuses) {
  TempFolder temp;
  ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
  const std::string table = RuntimeFolder() + "/messages";
  std::ofstream(table, std::ios::binary) << "Alpha\nBet";  // a writer died in the middle
  EXPECT_EQ(RegisterWindowMessage("Gamma"), 0xC001);
  EXPECT_EQ(RegisterWindowMessage("alpha"), 0xC000);
  EXPECT_EQ(RegisterWindowMessage("Bet"), 0xC002);
  EXPECT_EQ(RegisterWindowMessage("Gamma"), 0xC001);

  {
    std::ofstream full(table, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 0x4000; ++i) full << "Name" << i << "\n";
  }
  EXPECT_EQ(RegisterWindowMessage("name16383"), 0xFFFF);
  EXPECT_EQ(RegisterWindowMessage("Name0"), 0xC000);
  EXPECT_EQ(RegisterWindowMessage("OneTooMany"), 0);
}

TEST(CaselessText, UnicodeFoldingAndMalformedBytes) {
  EXPECT_TRUE(EqualIgnoringCase("Termine", "TERMINE"));
  EXPECT_TRUE(
      EqualIgnoringCase("\xC3\x9C"
                        "bersicht",
                        "\xC3\xBC"
                        "BERSICHT"));
  EXPECT_FALSE(EqualIgnoringCase("Termine", "Termin"));
  EXPECT_FALSE(EqualIgnoringCase("Notizen", "Notizen "));
  // Malformed: bytes compared as they are, ASCII letters folded.
  EXPECT_TRUE(EqualIgnoringCase("A\xFF", "a\xFF"));
  EXPECT_FALSE(EqualIgnoringCase("\xFF", "\xFE"));
  EXPECT_FALSE(EqualIgnoringCase("\xFF", "\xEF\xBF\xBD")) << "not the replacement character";
}

}  // namespace
}  // namespace vesk
