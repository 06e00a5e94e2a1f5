#include "platform/telephony/sip_account.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "platform/ini_file.h"
#include "platform/telephony/dialable_address.h"
#include "runtime/conversions.h"
#include "runtime/unique_fd.h"

namespace vesk {
namespace {

constexpr const char* kIdentity = "Identitaet";
constexpr const char* kRegistrar = "Registrar";
constexpr const char* kUser = "Benutzer";
constexpr const char* kPassword = "Passwort";
constexpr const char* kTransport = "Transport";
constexpr const char* kProxy = "Proxy";
constexpr const char* kRegister = "Registrieren";
constexpr const char* kCountryCode = "Landesvorwahl";
constexpr const char* kMicrophone = "Mikrofon";
constexpr const char* kSpeaker = "Lautsprecher";

bool MakePrivate(const std::string& file) {
  UniqueFd fd(open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  return fd.Get() >= 0 && fchmod(fd.Get(), 0600) == 0;
}

// Values are read back without the blanks and one pair of quotes around
// them; quoting keeps a password's own blanks and quotes.
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
  account.password = read(kPassword, "");
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
  if (!MakePrivate(iniFile)) return false;
  const std::pair<const char*, std::string> values[] = {{kIdentity, account.identity},
                                                        {kRegistrar, account.registrar},
                                                        {kUser, account.user},
                                                        {kPassword, Quoted(account.password)},
                                                        {kTransport, account.transport},
                                                        {kProxy, account.proxy},
                                                        {kRegister, account.registerFirst ? "1" : "0"},
                                                        {kMicrophone, Quoted(account.microphone)},
                                                        {kSpeaker, Quoted(account.speaker)}};
  for (const auto& [key, value] : values) {
    if (!ProfileWriteString(iniFile, kTelephoneSection, key, value)) return false;
  }
  return true;
}

}  // namespace vesk
