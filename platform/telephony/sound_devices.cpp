#include "platform/telephony/sound_devices.h"

#include <linphone/core.h>
#include <mediastreamer2/msfactory.h>
#include <mediastreamer2/mssndcard.h>

#include <memory>

#include "platform/telephony/sip_core.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

using linphone::AudioDevice;

MSSndCardManager* Cards(const std::shared_ptr<linphone::Core>& core) {
  return ms_factory_get_snd_card_manager(linphone_core_get_ms_factory(core->cPtr()));
}

unsigned Capability(SoundDirection direction) {
  return direction == SoundDirection::Capture ? MS_SND_CARD_CAP_CAPTURE : MS_SND_CARD_CAP_PLAYBACK;
}

// Whether the device records or plays is asked of its sound card: the
// library's device leaves its capabilities unset for a card that does
// neither (ALSA's "default" on a machine without sound hardware) and then
// claims one at random. Ids are compared as they stand; the card manager's
// own lookup takes them for patterns.
bool Can(MSSndCardManager* cards, const AudioDevice& device, SoundDirection direction) {
  const std::string id = device.getId();
  for (const bctbx_list_t* item = ms_snd_card_manager_get_list(cards); item != nullptr; item = item->next) {
    auto* card = static_cast<MSSndCard*>(item->data);
    if (id == ms_snd_card_get_string_id(card)) return (ms_snd_card_get_capabilities(card) & Capability(direction)) != 0;
  }
  return false;
}

// The system's default: the device the library takes when none is chosen.
std::string DefaultId(MSSndCardManager* cards, SoundDirection direction) {
  MSSndCard* card = direction == SoundDirection::Capture ? ms_snd_card_manager_get_default_capture_card(cards)
                                                         : ms_snd_card_manager_get_default_playback_card(cards);
  return card == nullptr ? "" : ms_snd_card_get_string_id(card);
}

// Looks for devices plugged in or out since, unless a call is up.
void Reload(const std::shared_ptr<linphone::Core>& core) {
  if (core->getCallsNb() == 0) core->reloadSoundDevices();
}

std::vector<std::shared_ptr<AudioDevice>> Devices(const std::shared_ptr<linphone::Core>& core,
                                                  SoundDirection direction) {
  std::vector<std::shared_ptr<AudioDevice>> devices;
  MSSndCardManager* cards = Cards(core);
  for (const auto& device : core->getExtendedAudioDevices()) {
    if (Can(cards, *device, direction)) devices.push_back(device);
  }
  return devices;
}

}  // namespace

std::vector<SoundDevice> ListSoundDevices(SoundDirection direction) {
  std::shared_ptr<linphone::Core> core;
  try {
    core = SipCore();
  } catch (const Exception&) {  // the program folder cannot be made: no library, no devices
    return {};
  }
  Reload(core);
  const std::string defaultId = DefaultId(Cards(core), direction);
  std::vector<SoundDevice> listed;
  for (const auto& device : Devices(core, direction)) {
    listed.push_back({device->getId(), device->getDeviceName(), device->getId() == defaultId});
  }
  return listed;
}

std::string UseSoundDevices(const std::string& microphone, const std::string& speaker) {
  auto core = SipCore();
  Reload(core);
  std::string notice;
  // The device of the given id, or the system's default (null without any
  // device), which a device not there gives way to.
  auto choose = [&](SoundDirection direction, const std::string& id, const char* what) {
    const std::string defaultId = DefaultId(Cards(core), direction);
    std::shared_ptr<AudioDevice> fallback;
    for (const auto& device : Devices(core, direction)) {
      if (device->getId() == id) return device;
      if (device->getId() == defaultId) fallback = device;
    }
    if (!id.empty()) {
      if (!notice.empty()) notice += '\n';
      notice += std::string(what) + " nicht vorhanden: " + id + " – es gilt das Standardgerät";
    }
    return fallback;
  };
  if (auto device = choose(SoundDirection::Capture, microphone, "Mikrofon")) core->setDefaultInputAudioDevice(device);
  if (auto device = choose(SoundDirection::Playback, speaker, "Lautsprecher"))
    core->setDefaultOutputAudioDevice(device);
  return notice;
}

}  // namespace vesk
