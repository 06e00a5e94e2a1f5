// Sound cards a test gives the SIP library's core, with the system's own
// left out: a machine without sound hardware offers none that records or
// plays, and one with sound hardware would offer its own. A card records,
// plays or both; the core finds the test's cards when it looks for devices
// again, as it does for devices plugged in or out. Calls through them hear
// silence and play to nowhere.
#pragma once

#include <linphone/core.h>
#include <mediastreamer2/allfilters.h>
#include <mediastreamer2/msfactory.h>
#include <mediastreamer2/mssndcard.h>

#include <string>
#include <vector>

#include "platform/telephony/sip_core.h"

namespace vesk {

struct TestSoundCard {
  std::string name;  // its device's id is "Test Unknown: " and the name
  unsigned capabilities = MS_SND_CARD_CAP_CAPTURE | MS_SND_CARD_CAP_PLAYBACK;
};

namespace test_sound_cards {

inline std::vector<TestSoundCard> present;

inline void Detect(MSSndCardManager* manager);
inline MSFilter* Reader(MSSndCard* card) {
  return ms_factory_create_filter(ms_snd_card_get_factory(card), MS_VOID_SOURCE_ID);
}
inline MSFilter* Writer(MSSndCard* card) {
  return ms_factory_create_filter(ms_snd_card_get_factory(card), MS_VOID_SINK_ID);
}
inline MSSndCardDesc description = [] {
  MSSndCardDesc made{};
  made.driver_type = "Test";
  made.detect = Detect;
  made.create_reader = Reader;
  made.create_writer = Writer;
  return made;
}();

inline void Detect(MSSndCardManager* manager) {
  for (const TestSoundCard& wanted : present) {
    MSSndCard* card = ms_snd_card_new(&description);
    card->name = ms_strdup(wanted.name.c_str());
    card->capabilities = wanted.capabilities;
    ms_snd_card_manager_add_card(manager, card);
  }
}

}  // namespace test_sound_cards

// The cards present from now on, in this order (the first that records is
// the default microphone, the first that plays the default speaker), and
// none of the system's.
inline void SetTestSoundCards(std::vector<TestSoundCard> cards) {
  test_sound_cards::present = std::move(cards);
  auto core = SipCore();
  MSSndCardManager* manager = ms_factory_get_snd_card_manager(linphone_core_get_ms_factory(core->cPtr()));
  ms_snd_card_manager_register_desc(manager, &test_sound_cards::description);
  bctbx_list_t* drivers = bctbx_list_copy(manager->descs);
  for (bctbx_list_t* driver = drivers; driver != nullptr; driver = driver->next) {
    auto* other = static_cast<MSSndCardDesc*>(driver->data);
    if (other != &test_sound_cards::description) ms_snd_card_manager_unregister_desc(manager, other);
  }
  bctbx_list_free(drivers);
  core->reloadSoundDevices();
}

}  // namespace vesk
