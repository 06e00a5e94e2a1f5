// The SIP account the telephone line uses, and the sound devices its calls
// go through: section "Telefon" of the host's INI file, kept readable by its
// owner only. The password is kept through password_store.h: in the
// desktop's secret store when one runs, otherwise in the same section.
#pragma once

#include <string>

namespace vesk {

struct SipAccount {
  std::string identity;   // "sip:max@fritz.box"
  std::string registrar;  // "sip:fritz.box", a port allowed
  std::string user;
  std::string password;
  std::string transport = "udp";  // "udp", "tcp" or "tls"
  std::string proxy;              // outbound proxy, optional
  bool registerFirst = true;      // false: calls go to the registrar unregistered
  std::string microphone;         // a sound device's id (sound_devices.h), "" the default
  std::string speaker;

  // Identity and registrar are both given.
  bool Complete() const { return !identity.empty() && !registrar.empty(); }
  friend bool operator==(const SipAccount&, const SipAccount&) = default;
};

inline constexpr const char* kTelephoneSection = "Telefon";

// Missing keys keep their defaults; a transport other than the three becomes
// "udp", "Registrieren" other than "0" means true.
SipAccount ReadSipAccount(const std::string& iniFile);
// The user's own country code, "Landesvorwahl" of the same section, digits
// only ("49" when it is missing or not a code).
std::string ReadCountryCode(const std::string& iniFile);
// Gives the file mode 0600 (creating it so) before the keys are written.
// False when the file cannot be made private or written, or the password
// could be kept nowhere.
bool WriteSipAccount(const std::string& iniFile, const SipAccount& account);

}  // namespace vesk
