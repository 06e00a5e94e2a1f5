// The sound devices over the test's sound cards: what each direction
// lists, and the choice made the core's, a missing device giving way.
#include "platform/telephony/sound_devices.h"

#include <gtest/gtest.h>

#include "tests/support/test_sound_cards.h"

namespace vesk {
namespace {

constexpr unsigned kRecords = MS_SND_CARD_CAP_CAPTURE;
constexpr unsigned kPlays = MS_SND_CARD_CAP_PLAYBACK;

TEST(SoundDevices, EachDirectionListsItsDevicesWithTheDefaultMarked) {
  SetTestSoundCards({{"Lautsprecher", kPlays}, {"Headset"}, {"Stumm", 0}, {"Mikro (USB)", kRecords}});
  EXPECT_EQ(ListSoundDevices(SoundDirection::Capture),
            (std::vector<SoundDevice>{{"Test Unknown: Headset", "Headset", true},
                                      {"Test Unknown: Mikro (USB)", "Mikro (USB)", false}}));
  EXPECT_EQ(ListSoundDevices(SoundDirection::Playback),
            (std::vector<SoundDevice>{{"Test Unknown: Lautsprecher", "Lautsprecher", true},
                                      {"Test Unknown: Headset", "Headset", false}}));
  // Plugged in since the core last looked, and unplugged.
  test_sound_cards::present = {{"Neu", kRecords}};
  EXPECT_EQ(ListSoundDevices(SoundDirection::Capture), (std::vector<SoundDevice>{{"Test Unknown: Neu", "Neu", true}}));
  EXPECT_EQ(ListSoundDevices(SoundDirection::Playback), std::vector<SoundDevice>{});
}

// Each case follows the one before, so that a choice left standing from
// it would show.
TEST(SoundDevices, TheChoiceBecomesTheCoresDefaultAndAMissingDeviceGivesWay) {
  SetTestSoundCards({{"Headset"}, {"Mikro (USB)", kRecords}, {"Boxen", kPlays}});
  const std::string mikro = "Test Unknown: Mikro (USB)";
  const std::string boxen = "Test Unknown: Boxen";
  const std::string headset = "Test Unknown: Headset";
  struct Case {
    std::string microphone, speaker;
    std::string input, output;  // the core's defaults afterwards
    std::string notice;
  } cases[] = {
      {mikro, boxen, mikro, boxen, ""},
      {"", "", headset, headset, ""},
      {mikro, boxen, mikro, boxen, ""},
      {"Test Unknown: Weg", boxen, headset, boxen,
       "Mikrofon nicht vorhanden: Test Unknown: Weg – es gilt das Standardgerät"},
      // A device there that cannot play counts as missing for the speaker.
      {mikro, mikro, mikro, headset,
       "Lautsprecher nicht vorhanden: Test Unknown: Mikro (USB) – es gilt das Standardgerät"},
      {boxen, "Weg", headset, headset,
       "Mikrofon nicht vorhanden: Test Unknown: Boxen – es gilt das Standardgerät\n"
       "Lautsprecher nicht vorhanden: Weg – es gilt das Standardgerät"},
  };
  auto core = SipCore();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.microphone + " / " + c.speaker);
    EXPECT_EQ(UseSoundDevices(c.microphone, c.speaker), c.notice);
    ASSERT_TRUE(core->getDefaultInputAudioDevice() && core->getDefaultOutputAudioDevice());
    EXPECT_EQ(core->getDefaultInputAudioDevice()->getId(), c.input);
    EXPECT_EQ(core->getDefaultOutputAudioDevice()->getId(), c.output);
  }
  // Without any device nothing is set, and nothing breaks.
  SetTestSoundCards({});
  EXPECT_EQ(UseSoundDevices(mikro, ""), "Mikrofon nicht vorhanden: " + mikro + " – es gilt das Standardgerät");
}

}  // namespace
}  // namespace vesk
