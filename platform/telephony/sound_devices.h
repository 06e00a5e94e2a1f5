// The sound devices calls go through: the microphones and speakers the SIP
// library finds now, the system's default among them, and the user's
// choice (sip_account.h) made the library's for the next calls. A choice
// is kept by the device's id, which names driver, kind and device and so
// stays the same across runs and re-plugging, and tells apart devices of
// the same name under two drivers ("default" of ALSA and of PulseAudio).
#pragma once

#include <string>
#include <vector>

namespace vesk {

struct SoundDevice {
  std::string id;    // the library's, as stored
  std::string name;  // as shown to the user
  bool isDefault = false;
  friend bool operator==(const SoundDevice&, const SoundDevice&) = default;
};

enum class SoundDirection { Capture, Playback };

// The devices that record (Capture) or play, in the library's order, after
// looking again for devices plugged in since; the list is kept as it was
// while a call is up, so the call's own devices stay undisturbed.
std::vector<SoundDevice> ListSoundDevices(SoundDirection direction);

// Makes the devices of the given ids the library's defaults for the next
// calls, "" the system's default. A device that is not there gives way to
// the system's default; the text returned then tells the user so (in
// German), otherwise it is "".
std::string UseSoundDevices(const std::string& microphone, const std::string& speaker);

}  // namespace vesk
