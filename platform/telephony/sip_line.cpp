#include "platform/telephony/sip_line.h"

#include <QTimer>
#include <utility>

#include "platform/system_events.h"
#include "platform/telephony/dialable_address.h"
#include "platform/telephony/sip_account.h"
#include "platform/telephony/sip_core.h"
#include "platform/telephony/sound_devices.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

using linphone::Call;

constexpr const char* kNoAccount = "Kein SIP-Konto eingerichtet (Einstellungen: Telefon…)";
// How long the registrar may take before the line counts as unusable; a
// later answer still makes it usable.
constexpr int kRegistrarAnswerMs = 5000;

linphone::TransportType Transport(const std::string& name) {
  if (name == "tcp") return linphone::TransportType::Tcp;
  if (name == "tls") return linphone::TransportType::Tls;
  return linphone::TransportType::Udp;
}

// Only the transport of the account is offered, from a port the system
// picks. Left alone when it is offered already, so that calls of other
// lines keep their port.
void UseTransport(const std::shared_ptr<linphone::Core>& core, linphone::TransportType type) {
  auto used = core->getTransports();
  const bool udp = type == linphone::TransportType::Udp;
  const bool tcp = type == linphone::TransportType::Tcp;
  const bool tls = type == linphone::TransportType::Tls;
  if ((used->getUdpPort() != 0) == udp && (used->getTcpPort() != 0) == tcp && (used->getTlsPort() != 0) == tls) {
    return;
  }
  auto transports = linphone::Factory::get()->createTransports();
  transports->setUdpPort(udp ? -1 : 0);
  transports->setTcpPort(tcp ? -1 : 0);
  transports->setTlsPort(tls ? -1 : 0);
  core->setTransports(transports);
}

bool Ended(Call::State state) {
  return state == Call::State::End || state == Call::State::Error || state == Call::State::Released;
}

uint32_t DisconnectMode(linphone::Reason reason) {
  switch (reason) {
    case linphone::Reason::Busy: return LINEDISCONNECTMODE_BUSY;
    case linphone::Reason::Declined: return LINEDISCONNECTMODE_REJECT;
    case linphone::Reason::NotAnswered: return LINEDISCONNECTMODE_NOANSWER;
    case linphone::Reason::NotFound:
    case linphone::Reason::AddressIncomplete: return LINEDISCONNECTMODE_BADADDRESS;
    case linphone::Reason::NoResponse:
    case linphone::Reason::IOError: return LINEDISCONNECTMODE_UNREACHABLE;
    default: return LINEDISCONNECTMODE_UNKNOWN;
  }
}

}  // namespace

class SipLine::Calls final : public linphone::CoreListener {
 public:
  LineSink* sink = nullptr;
  HCall placing = 0;  // the handle of the call being placed, while it is
  std::map<HCall, std::shared_ptr<Call>> byHandle;
  std::shared_ptr<linphone::Account> account;  // the one whose registration counts
  std::string registrar;                       // as the account names it
  bool connected = false;                      // calls can be placed
  bool told = false;                           // the sink heard the outcome since Open
  std::string problem;                         // why calls cannot be placed, or ""
  QTimer answerDeadline;

  Calls() {
    answerDeadline.setSingleShot(true);
    QObject::connect(&answerDeadline, &QTimer::timeout,
                     [this] { Report(false, "Der Registrar antwortet nicht: " + registrar); });
  }

  // Calls can be placed from now on, or not. The sink hears of a change,
  // and of the first outcome after Open; a failure that follows a failure
  // only changes the reason.
  void Report(bool now, std::string why) {
    problem = now ? "" : std::move(why);
    if (now) answerDeadline.stop();
    if (now == connected && told) return;
    connected = now;
    told = true;
    if (sink != nullptr) sink->LineState(now);
  }

  std::shared_ptr<Call> Find(HCall handle) const {
    auto found = byHandle.find(handle);
    return found == byHandle.end() ? nullptr : found->second;
  }

  void onCallStateChanged(const std::shared_ptr<linphone::Core>&, const std::shared_ptr<Call>& call, Call::State state,
                          const std::string&) override {
    const HCall handle = HandleOf(call, state);
    if (handle == 0 || sink == nullptr) return;
    switch (state) {
      case Call::State::OutgoingInit: return sink->CallState(handle, LINECALLSTATE_DIALING, 0);
      case Call::State::OutgoingProgress: return sink->CallState(handle, LINECALLSTATE_PROCEEDING, 0);
      case Call::State::OutgoingRinging: return sink->CallState(handle, LINECALLSTATE_RINGBACK, 0);
      case Call::State::Connected: return sink->CallState(handle, LINECALLSTATE_CONNECTED, 0);
      case Call::State::End: return sink->CallState(handle, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
      case Call::State::Error: {
        const uint32_t mode = DisconnectMode(call->getReason());
        if (mode == LINEDISCONNECTMODE_BUSY) sink->CallState(handle, LINECALLSTATE_BUSY, 0);
        return sink->CallState(handle, LINECALLSTATE_DISCONNECTED, mode);
      }
      case Call::State::Released: return sink->CallState(handle, LINECALLSTATE_IDLE, 0);
      default: return;
    }
  }

  void onAccountRegistrationStateChanged(const std::shared_ptr<linphone::Core>&,
                                         const std::shared_ptr<linphone::Account>& changed,
                                         linphone::RegistrationState state, const std::string&) override {
    if (changed != account) return;
    if (state == linphone::RegistrationState::Ok) return Report(true, "");
    if (state != linphone::RegistrationState::Failed) return;
    auto error = changed->getErrorInfo();
    if (error && error->getProtocolCode() != 0) {
      Report(false, "Der Registrar lehnt die Anmeldung ab: " + std::to_string(error->getProtocolCode()) + " " +
                        error->getPhrase());
    } else {
      Report(false, "Der Registrar ist nicht erreichbar: " + registrar);
    }
  }

 private:
  // The call being placed is learnt from its first state, which the library
  // reports before it hands the call back; other calls not known are ones
  // already released.
  HCall HandleOf(const std::shared_ptr<Call>& call, Call::State state) {
    for (const auto& [handle, known] : byHandle) {
      if (known == call) return handle;
    }
    if (placing == 0 || state != Call::State::OutgoingInit) return 0;
    byHandle[placing] = call;
    return placing;
  }
};

SipLine::SipLine(std::string iniFile) : iniFile_(std::move(iniFile)), calls_(std::make_shared<Calls>()) {}

SipLine::~SipLine() {
  if (!listening_) return;
  SipCore()->removeListener(calls_);
  for (const auto& [handle, call] : calls_->byHandle) {
    if (!Ended(call->getState())) call->terminate();
  }
}

void SipLine::Attach(LineSink* sink) { calls_->sink = sink; }

uint32_t SipLine::DeviceCount() {
  if (ReadSipAccount(iniFile_).Complete()) {
    problem_.clear();
    return 1;
  }
  problem_ = kNoAccount;
  return 0;
}

bool SipLine::Open() {
  const SipAccount account = ReadSipAccount(iniFile_);
  if (!account.Complete()) {
    problem_ = kNoAccount;
    return false;
  }
  // The core first: it sets the library's logging up.
  std::shared_ptr<linphone::Core> core;
  try {
    core = SipCore();
  } catch (const Exception& error) {  // the program folder cannot be made
    problem_ = error.what();
    return false;
  }
  auto factory = linphone::Factory::get();
  auto identity = factory->createAddress(account.identity);
  auto registrar = factory->createAddress(account.registrar);
  if (!identity || !registrar) {
    problem_ =
        !identity ? "SIP-Identität ungültig: " + account.identity : "SIP-Registrar ungültig: " + account.registrar;
    return false;
  }
  std::shared_ptr<linphone::Address> proxy;
  if (!account.proxy.empty() && !(proxy = factory->createAddress(account.proxy))) {
    problem_ = "SIP-Proxy ungültig: " + account.proxy;
    return false;
  }
  WakeSipCore();
  if (!listening_) {
    core->addListener(calls_);
    listening_ = true;
    // After a sleep or on another network the registration is renewed at
    // once, over sockets bound anew, not when its refresh falls due.
    events_ = std::make_unique<SystemEvents>([this] { Reconnect(); }, [this] { Reconnect(); });
  }
  const linphone::TransportType transport = Transport(account.transport);
  UseTransport(core, transport);
  registrar->setTransport(transport);
  core->clearAccounts();
  core->clearAllAuthInfo();
  // The library finds the password by the identity's user; the registrar
  // may know the user under another name (a router's IP telephone user).
  if (!account.user.empty() || !account.password.empty()) {
    core->addAuthInfo(factory->createAuthInfo(identity->getUsername(), account.user, account.password, "", "",
                                              identity->getDomain()));
  }
  auto params = core->createAccountParams();
  params->setIdentityAddress(identity);
  params->setServerAddress(registrar);
  params->enableRegister(account.registerFirst);
  if (proxy) params->setRoutesAddresses({proxy});
  calls_->account = core->createAccount(params);
  calls_->registrar = account.registrar;
  calls_->connected = !account.registerFirst;
  calls_->told = !account.registerFirst;
  calls_->problem.clear();
  registrar_ = registrar->asStringUriOnly();
  // The line opens at once; the registrar's answer arrives as a line state.
  if (account.registerFirst) calls_->answerDeadline.start(kRegistrarAnswerMs);
  core->addAccount(calls_->account);
  core->setDefaultAccount(calls_->account);
  notice_ = UseSoundDevices(account.microphone, account.speaker);
  problem_.clear();
  return true;
}

bool SipLine::Connected() { return calls_->connected; }

std::string SipLine::Problem() { return calls_->problem.empty() ? problem_ : calls_->problem; }

void SipLine::Reconnect() {
  if (!calls_->account) return;
  auto core = SipCore();
  core->setNetworkReachable(false);
  core->setNetworkReachable(true);
}

bool SipLine::Place(HCall handle, const std::string& address) {
  if (!listening_) return false;
  auto factory = linphone::Factory::get();
  std::shared_ptr<linphone::Address> callee;
  if (IsSipAddress(address)) {
    callee = factory->createAddress(address);
  } else {
    callee = factory->createAddress(registrar_);
    if (callee) callee->setUsername(address);
  }
  if (!callee) return false;
  auto core = SipCore();
  auto params = core->createCallParams(nullptr);
  params->enableVideo(false);
  calls_->placing = handle;
  auto call = core->inviteAddressWithParams(callee, params);
  calls_->placing = 0;
  if (!call) {
    calls_->byHandle.erase(handle);
    return false;
  }
  calls_->byHandle[handle] = call;
  return true;
}

bool SipLine::Drop(HCall handle) {
  auto call = calls_->Find(handle);
  if (!call || Ended(call->getState())) return true;
  return call->terminate() == 0 || Ended(call->getState());
}

void SipLine::Release(HCall handle) {
  auto call = calls_->Find(handle);
  if (!call) return;
  calls_->byHandle.erase(handle);
  if (!Ended(call->getState())) call->terminate();
}

void SipLine::Idle() {
  if (listening_) RestSipCore();
}

bool SipLine::Driven() { return listening_ && SipCoreDriven(); }

std::string SipLine::RemoteName(HCall handle) {
  auto call = calls_->Find(handle);
  return call ? call->getRemoteUserAgent() : "";
}

}  // namespace vesk
