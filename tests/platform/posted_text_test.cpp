#include "platform/posted_text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime_folder.h"
#include "runtime/file_io.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr uint16_t kTextMessage = 0xC777;

// The texts left in the runtime folder and not yet taken.
std::vector<fs::path> LeftTexts() {
  std::vector<fs::path> texts;
  for (const fs::directory_entry& entry : fs::directory_iterator(RuntimeFolder())) {
    if (entry.path().filename().string().starts_with("text-")) texts.push_back(entry.path());
  }
  return texts;
}

// A window that takes the text of each message as it arrives; before, the
// test may do to the file what another program could.
class TextWindow : public testing::Test {
 protected:
  void TearDown() override {
    for (const fs::path& text : LeftTexts()) fs::remove(text);
  }

  // The text the window took from one message posted with text, after
  // meddle had its way with the file.
  std::optional<std::string> Carry(const std::string& text, const std::function<void(const fs::path&)>& meddle) {
    std::optional<std::optional<std::string>> taken;
    TopLevelWindow window("VeskTextWindow", "Text", [&](uint16_t message, uintptr_t wParam, intptr_t) {
      if (message == kTextMessage) taken = TakePostedText(wParam);
    });
    EXPECT_TRUE(PostText(window.Handle(), kTextMessage, text));
    const std::vector<fs::path> left = LeftTexts();
    EXPECT_EQ(left.size(), 1u);
    if (left.size() == 1 && meddle) meddle(left.front());
    EXPECT_TRUE(QTest::qWaitFor([&] { return taken.has_value(); }, 5000));
    EXPECT_TRUE(LeftTexts().empty()) << "a taken text stays behind";
    return taken.value_or(std::nullopt);
  }
};

TEST_F(TextWindow, TravelsOnceAndPrivatelyWhateverTheUmask) {
  const mode_t oldMask = umask(0277);
  std::string text = "+49 (711) 12 34-56 \xC3\xBC";
  text += std::string(kMaxPostedText - text.size(), '9');
  std::optional<fs::perms> mode;
  const std::optional<std::string> taken =
      Carry(text, [&](const fs::path& file) { mode = fs::symlink_status(file).permissions(); });
  umask(oldMask);
  EXPECT_EQ(taken, text);
  EXPECT_EQ(mode, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Carry("", nullptr), "");
}

TEST_F(TextWindow, AFileTamperedWithIsNotTaken) {
  const std::string elsewhere = RuntimeFolder() + "/elsewhere";
  ASSERT_TRUE(WriteFileAtomically(elsewhere, "0190 666666"));
  ASSERT_EQ(chmod(elsewhere.c_str(), 0600), 0);
  const std::vector<std::function<void(const fs::path&)>> meddles = {
      [](const fs::path& file) { fs::permissions(file, fs::perms::group_read, fs::perm_options::add); },
      [](const fs::path& file) { std::ofstream(file, std::ios::app) << '1'; },  // one byte too long
      [&](const fs::path& file) {
        fs::remove(file);
        fs::create_symlink(elsewhere, file);
      },
      [](const fs::path& file) {
        fs::remove(file);
        ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);  // read from, it would block
      },
      [](const fs::path& file) { fs::remove(file); },
  };
  for (size_t i = 0; i < meddles.size(); ++i) {
    EXPECT_EQ(Carry(std::string(kMaxPostedText, '1'), meddles[i]), std::nullopt) << "meddle " << i;
  }
  EXPECT_EQ(ReadFile(elsewhere), "0190 666666") << "the link was followed";
}

TEST_F(TextWindow, NothingIsLeftForATextTooLongOrAWindowGone) {
  {
    TopLevelWindow window("VeskTextWindow", "Text", nullptr);
    EXPECT_FALSE(PostText(window.Handle(), kTextMessage, std::string(kMaxPostedText + 1, '1')));
  }
  EXPECT_FALSE(PostText(WindowHandle{static_cast<uint32_t>(getpid()), 999}, kTextMessage, "0711"));
  EXPECT_TRUE(LeftTexts().empty());
  EXPECT_EQ(TakePostedText(12345), std::nullopt);
}

}  // namespace
}  // namespace vesk
