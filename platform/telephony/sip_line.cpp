#include "platform/telephony/sip_line.h"

#include <bctoolbox/logging.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <linphone++/linphone.hh>
#include <thread>
#include <utility>

#include "platform/program_folder.h"
#include "platform/telephony/sip_account.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

using linphone::Call;

constexpr const char* kNoAccount = "Kein SIP-Konto eingerichtet (Einstellungen: Telefon…)";

// The library logs nothing unless VESK_SIP_LOG is set; even then not its
// debug level, which would show the messages of the authentication. Set
// before the first object of the library is made.
void SetLogLevel() {
  static const bool done = [] {
    const unsigned mask =
        std::getenv("VESK_SIP_LOG") == nullptr
            ? 0u
            : static_cast<unsigned>(linphone::LogLevel::Message) |
                  static_cast<unsigned>(linphone::LogLevel::Warning) |
                  static_cast<unsigned>(linphone::LogLevel::Error) |
                  static_cast<unsigned>(linphone::LogLevel::Fatal);
    for (const char* domain : {static_cast<const char*>(nullptr), "belle-sip", "bctbx"}) {
      bctbx_set_log_level_mask(domain, static_cast<int>(mask));
    }
    linphone::LoggingService::get()->setLogLevelMask(mask);
    return true;
  }();
  (void)done;
}

// The one core of the process and the timer that drives it. The core is
// never destroyed: the library's own threads and sockets end with the
// process. While no line is open the timer stops, once the core has no
// call left to end, so an idle program does not wake 50 times a second.
struct CoreDriver {
  std::shared_ptr<linphone::Core> core;
  QTimer* timer = nullptr;
  bool resting = false;
};

CoreDriver& Driver() {
  static CoreDriver* driver = [] {
    auto factory = linphone::Factory::get();
    const std::string folder = ProgramFolder();
    factory->setDataDir(folder);
    factory->setConfigDir(folder);
    factory->setDownloadDir(folder);
    // No configuration file: the library would keep the password in it.
    auto created = factory->createCore("", "", nullptr);
    created->setUserAgent("Vesk Tools", "1");
    created->enableVideoCapture(false);
    created->enableVideoDisplay(false);
    created->setAudioPort(-1);
    created->start();
    auto* made = new CoreDriver{created, new QTimer};
    QObject::connect(made->timer, &QTimer::timeout, [made] {
      made->core->iterate();
      if (made->resting && made->core->getCallsNb() == 0) made->timer->stop();
    });
    return made;
  }();
  return *driver;
}

std::shared_ptr<linphone::Core> TheCore() { return Driver().core; }

void WakeCore() {
  CoreDriver& driver = Driver();
  driver.resting = false;
  if (!driver.timer->isActive()) driver.timer->start(20);
}

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
  if ((used->getUdpPort() != 0) == udp && (used->getTcpPort() != 0) == tcp &&
      (used->getTlsPort() != 0) == tls) {
    return;
  }
  auto transports = linphone::Factory::get()->createTransports();
  transports->setUdpPort(udp ? -1 : 0);
  transports->setTcpPort(tcp ? -1 : 0);
  transports->setTlsPort(tls ? -1 : 0);
  core->setTransports(transports);
}

std::string Dialable(const std::string& address) {
  std::string number;
  for (char c : address) {
    if ((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#') number += c;
  }
  return number;
}

bool Ended(Call::State state) {
  return state == Call::State::End || state == Call::State::Error ||
         state == Call::State::Released;
}

uint32_t DisconnectMode(linphone::Reason reason) {
  switch (reason) {
    case linphone::Reason::Busy:
      return LINEDISCONNECTMODE_BUSY;
    case linphone::Reason::Declined:
      return LINEDISCONNECTMODE_REJECT;
    case linphone::Reason::NotAnswered:
      return LINEDISCONNECTMODE_NOANSWER;
    case linphone::Reason::NotFound:
    case linphone::Reason::AddressIncomplete:
      return LINEDISCONNECTMODE_BADADDRESS;
    case linphone::Reason::NoResponse:
    case linphone::Reason::IOError:
      return LINEDISCONNECTMODE_UNREACHABLE;
    default:
      return LINEDISCONNECTMODE_UNKNOWN;
  }
}

}  // namespace

class SipLine::Calls final : public linphone::CoreListener {
 public:
  LineSink* sink = nullptr;
  HCall placing = 0;  // the handle of the call being placed, while it is
  std::map<HCall, std::shared_ptr<Call>> byHandle;
  std::shared_ptr<linphone::Account> account;  // the one whose registration counts
  linphone::RegistrationState registration = linphone::RegistrationState::None;
  std::string registrationAnswer;

  std::shared_ptr<Call> Find(HCall handle) const {
    auto found = byHandle.find(handle);
    return found == byHandle.end() ? nullptr : found->second;
  }

  void onCallStateChanged(const std::shared_ptr<linphone::Core>&,
                          const std::shared_ptr<Call>& call, Call::State state,
                          const std::string&) override {
    const HCall handle = HandleOf(call, state);
    if (handle == 0 || sink == nullptr) return;
    switch (state) {
      case Call::State::OutgoingInit:
        return sink->CallState(handle, LINECALLSTATE_DIALING, 0);
      case Call::State::OutgoingProgress:
        return sink->CallState(handle, LINECALLSTATE_PROCEEDING, 0);
      case Call::State::OutgoingRinging:
        return sink->CallState(handle, LINECALLSTATE_RINGBACK, 0);
      case Call::State::Connected:
        return sink->CallState(handle, LINECALLSTATE_CONNECTED, 0);
      case Call::State::End:
        return sink->CallState(handle, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
      case Call::State::Error: {
        const uint32_t mode = DisconnectMode(call->getReason());
        if (mode == LINEDISCONNECTMODE_BUSY) sink->CallState(handle, LINECALLSTATE_BUSY, 0);
        return sink->CallState(handle, LINECALLSTATE_DISCONNECTED, mode);
      }
      case Call::State::Released:
        return sink->CallState(handle, LINECALLSTATE_IDLE, 0);
      default:
        return;
    }
  }

  void onAccountRegistrationStateChanged(const std::shared_ptr<linphone::Core>&,
                                         const std::shared_ptr<linphone::Account>& changed,
                                         linphone::RegistrationState state,
                                         const std::string&) override {
    if (changed != account) return;
    registration = state;
    auto error = changed->getErrorInfo();
    registrationAnswer.clear();
    if (error && error->getProtocolCode() != 0) {
      registrationAnswer = std::to_string(error->getProtocolCode()) + " " + error->getPhrase();
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

SipLine::SipLine(std::string iniFile)
    : iniFile_(std::move(iniFile)), calls_((SetLogLevel(), std::make_shared<Calls>())) {}

SipLine::~SipLine() {
  if (!listening_) return;
  auto core = TheCore();
  core->removeListener(calls_);
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
  auto factory = linphone::Factory::get();
  auto identity = factory->createAddress(account.identity);
  auto registrar = factory->createAddress(account.registrar);
  if (!identity || !registrar) {
    problem_ = !identity ? "SIP-Identität ungültig: " + account.identity
                         : "SIP-Registrar ungültig: " + account.registrar;
    return false;
  }
  std::shared_ptr<linphone::Core> core;
  try {
    core = TheCore();
  } catch (const Exception& error) {  // the program folder cannot be made
    problem_ = error.what();
    return false;
  }
  WakeCore();
  if (!listening_) {
    core->addListener(calls_);
    listening_ = true;
  }
  const linphone::TransportType transport = Transport(account.transport);
  UseTransport(core, transport);
  registrar->setTransport(transport);
  core->clearAccounts();
  core->clearAllAuthInfo();
  // The library finds the password by the identity's user; the registrar
  // may know the user under another name (a router's IP telephone user).
  if (!account.user.empty() || !account.password.empty()) {
    core->addAuthInfo(factory->createAuthInfo(identity->getUsername(), account.user,
                                              account.password, "", "", identity->getDomain()));
  }
  auto params = core->createAccountParams();
  params->setIdentityAddress(identity);
  params->setServerAddress(registrar);
  params->enableRegister(account.registerFirst);
  if (!account.proxy.empty()) {
    auto proxy = factory->createAddress(account.proxy);
    if (!proxy) {
      problem_ = "SIP-Proxy ungültig: " + account.proxy;
      return false;
    }
    params->setRoutesAddresses({proxy});
  }
  calls_->registration = linphone::RegistrationState::None;
  auto sipAccount = core->createAccount(params);
  calls_->account = sipAccount;
  core->addAccount(sipAccount);
  core->setDefaultAccount(sipAccount);
  registrar_ = registrar->asStringUriOnly();
  if (!account.registerFirst) {
    problem_.clear();
    return true;
  }
  // The registrar's answer decides whether the line can be used; the core is
  // iterated here, as the thread's timer does not run meanwhile.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (calls_->registration != linphone::RegistrationState::Ok &&
         calls_->registration != linphone::RegistrationState::Failed &&
         std::chrono::steady_clock::now() < deadline) {
    core->iterate();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (calls_->registration == linphone::RegistrationState::Ok) {
    problem_.clear();
    return true;
  }
  if (calls_->registration != linphone::RegistrationState::Failed) {
    problem_ = "Der Registrar antwortet nicht: " + account.registrar;
  } else if (calls_->registrationAnswer.empty()) {
    problem_ = "Der Registrar ist nicht erreichbar: " + account.registrar;
  } else {
    problem_ = "Der Registrar lehnt die Anmeldung ab: " + calls_->registrationAnswer;
  }
  core->clearAccounts();
  return false;
}

bool SipLine::Place(HCall handle, const std::string& address) {
  if (!listening_) return false;
  auto factory = linphone::Factory::get();
  std::shared_ptr<linphone::Address> callee;
  if (address.starts_with("sip:") || address.starts_with("sips:")) {
    callee = factory->createAddress(address);
  } else {
    const std::string number = Dialable(address);
    callee = number.empty() ? nullptr : factory->createAddress(registrar_);
    if (callee) callee->setUsername(number);
  }
  if (!callee) return false;
  auto core = TheCore();
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
  if (listening_) Driver().resting = true;
}

bool SipLine::Driven() { return listening_ && Driver().timer->isActive(); }

std::string SipLine::RemoteName(HCall handle) {
  auto call = calls_->Find(handle);
  return call ? call->getRemoteUserAgent() : "";
}

}  // namespace vesk
