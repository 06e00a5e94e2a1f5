#include "platform/telephony/sip_account.h"

#include <algorithm>
#include <utility>

#include "platform/ini_file.h"
#include "platform/password_store.h"
#include "platform/telephony/dialable_address.h"
#include "runtime/conversions.h"

namespace vesk {
namespace {

constexpr const char* kIdentity = "Identitaet";
constexpr const char* kRegistrar = "Registrar";
constexpr const char* kUser = "Benutzer";
constexpr const char* kTransport = "Transport";
constexpr const char* kProxy = "Proxy";
constexpr const char* kRegister = "Registrieren";
constexpr const char* kCountryCode = "Landesvorwahl";
constexpr const char* kMicrophone = "Mikrofon";
constexpr const char* kSpeaker = "Lautsprecher";

// Values are read back without the blanks and one pair of quotes around
// them; quoting keeps a device name's own blanks and quotes.
std::string Quoted(const std::string& value) { return '"' + value + '"'; }

}  // namespace

SipAccount ReadSipAccount(const std::string& iniFile) {
  auto read = [&](const char* key, const std::string& fallback) {
    return ProfileReadString(iniFile, kTelephoneSection, key, fallback);
  };
  SipAccount account;
  account.identity = read(kIdentity, "");
  account.registrar = read(kRegistrar, "");
  account.user = read(kUser, "");
  account.password = ReadPassword(iniFile, kTelephoneSection);
  account.transport = LowerCase(read(kTransport, account.transport));
  if (account.transport != "tcp" && account.transport != "tls") account.transport = "udp";
  account.proxy = read(kProxy, "");
  account.registerFirst = Trim(read(kRegister, "1")) != "0";
  account.microphone = read(kMicrophone, "");
  account.speaker = read(kSpeaker, "");
  return account;
}

std::string ReadCountryCode(const std::string& iniFile) {
  std::string code = Trim(ProfileReadString(iniFile, kTelephoneSection, kCountryCode, kDefaultCountryCode));
  if (code.starts_with('+')) code.erase(0, 1);
  const bool digits = !code.empty() && code.size() <= 3 &&
                      std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
  return digits && code[0] != '0' ? code : kDefaultCountryCode;
}

bool WriteSipAccount(const std::string& iniFile, const SipAccount& account) {
  if (!ProfileMakePrivate(iniFile)) return false;
  const std::pair<const char*, std::string> values[] = {{kIdentity, account.identity},
                                                        {kRegistrar, account.registrar},
                                                        {kUser, account.user},
                                                        {kTransport, account.transport},
                                                        {kProxy, account.proxy},
                                                        {kRegister, account.registerFirst ? "1" : "0"},
                                                        {kMicrophone, Quoted(account.microphone)},
                                                        {kSpeaker, Quoted(account.speaker)}};
  for (const auto& [key, value] : values) {
    if (!ProfileWriteString(iniFile, kTelephoneSection, key, value)) return false;
  }
  return WritePassword(iniFile, kTelephoneSection, account.password);
}

}  // namespace vesk
