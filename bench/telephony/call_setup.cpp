#include "bench/telephony/call_setup.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <linphone++/linphone.hh>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/program_folder.h"
#include "platform/telephony/line_backend.h"
#include "platform/telephony/sip_account.h"
#include "platform/telephony/sip_line.h"
#include "platform/telephony/telephony.h"
#include "tests/support/open_line.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/status_bar.h"
#include "tools/adressen/adressenmn.h"
#include "tools/table/RadiRidir.h"

namespace vesk::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kIterateEvery = std::chrono::milliseconds(20);

// What the layer's notification routine saw of the call in flight.
struct LayerCall {
  static inline Clock::time_point connected;
  static inline uint32_t awaited = 0;  // the state that ends the wait
  static inline QEventLoop* loop = nullptr;

  static void Callback(uint32_t device, uint32_t message, uintptr_t, intptr_t param1, intptr_t, intptr_t) {
    if (message != LINE_CALLSTATE) return;
    if (param1 == LINECALLSTATE_CONNECTED) connected = Clock::now();
    if (param1 == LINECALLSTATE_IDLE) lineDeallocateCall(device);
    if (static_cast<uint32_t>(param1) == awaited && loop != nullptr) loop->quit();
  }
  // Runs the event loop until state arrives; false after ten seconds.
  static bool Await(uint32_t state) {
    QEventLoop events;
    QTimer::singleShot(10000, &events, [&] { events.exit(1); });
    awaited = state;
    loop = &events;
    const int result = events.exec();
    loop = nullptr;
    return result == 0;
  }
};

class LibraryListener final : public linphone::CoreListener {
 public:
  std::set<linphone::Call::State> reached;  // by the call in flight
  Clock::time_point connected;
  void onCallStateChanged(const std::shared_ptr<linphone::Core>&, const std::shared_ptr<linphone::Call>&,
                          linphone::Call::State state, const std::string&) override {
    reached.insert(state);
    if (state == linphone::Call::State::Connected) connected = Clock::now();
  }
};

// Iterates the core every 20 ms, as the layer's timer does, until the call
// has reached state.
bool IterateUntil(linphone::Core& core, const LibraryListener& listener, linphone::Call::State state) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  auto tick = Clock::now();
  while (!listener.reached.contains(state)) {
    if (Clock::now() > deadline) return false;
    tick += kIterateEvery;
    std::this_thread::sleep_until(tick);
    core.iterate();
  }
  return true;
}

// Runs the event loop until the status bar shows a text beginning with
// text; false after ten seconds.
bool AwaitStatus(TStatusBar& bar, const std::string& text) {
  QEventLoop events;
  QTimer::singleShot(10000, &events, [&] { events.exit(1); });
  bar.OnSimpleTextChange = [&](const std::string& shown) {
    if (shown.rfind(text, 0) == 0) events.quit();
  };
  const int result = events.exec();
  bar.OnSimpleTextChange = nullptr;
  return result == 0;
}

// The account at the peer, calls sent to it without registering.
std::string WriteBenchAccount(int port) {
  const std::string ini = ProgramFile("bench.ini");
  SipAccount account;
  account.identity = "sip:vesk@127.0.0.1";
  account.registrar = "sip:127.0.0.1:" + std::to_string(port);
  account.registerFirst = false;
  if (!WriteSipAccount(ini, account)) throw std::runtime_error("cannot write " + ini);
  return ini;
}

}  // namespace

void WindowCallSetup(benchmark::State& state, int port) {
  InstallLineBackend(std::make_unique<SipLine>(WriteBenchAccount(port)));
  auto* window = new TFRAdressen();
  window->Show();
  if (!QTest::qWaitForWindowActive(window)) state.SkipWithError("window not active");
  window->EdName->setFocus();
  TRadiRidir& table = *window->MTbAdressen;
  table.Append();
  table.FieldByName("Name")->SetAsString("Gegenstelle");
  table.FieldByName("Telefon1")->SetAsString("0711");
  table.Post();
  for (auto _ : state) {
    Clock::time_point connected;
    const Clock::time_point start = Clock::now();
    window->SBAdressen->OnSimpleTextChange = nullptr;
    QTimer::singleShot(0, [&] { QTest::mouseDClick(window->EdTelefon, Qt::LeftButton); });
    if (!AwaitStatus(*window->SBAdressen, "Verbunden: ")) {
      state.SkipWithError("not connected");
      break;
    }
    connected = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(connected - start).count());
    // Ctrl+A, as the user hangs up.
    QTimer::singleShot(0, [&] {
      window->EdName->setFocus();
      QTest::keyClick(window->EdName, Qt::Key_A, Qt::ControlModifier);
    });
    if (!AwaitStatus(*window->SBAdressen, "Verbindung unterbrechen")) {
      state.SkipWithError("not released");
      break;
    }
  }
  window->Close();
  QCoreApplication::processEvents();
  InstallLineBackend(nullptr);
}

void LayerCallSetup(benchmark::State& state, int port) {
  InstallLineBackend(std::make_unique<SipLine>(WriteBenchAccount(port)));
  HLineApp app = 0;
  const HLine line = OpenVoiceLine(app, LayerCall::Callback);
  LineCallParams params;
  if (line == 0) {
    state.SkipWithError("no line");
    return;
  }
  for (auto _ : state) {
    HCall call = 0;
    const Clock::time_point start = Clock::now();
    if (lineMakeCall(line, &call, "0711", 0, &params) < 0 || !LayerCall::Await(LINECALLSTATE_CONNECTED)) {
      state.SkipWithError("not connected");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(LayerCall::connected - start).count());
    lineDrop(call, nullptr, 0);
    if (!LayerCall::Await(LINECALLSTATE_IDLE)) {
      state.SkipWithError("not released");
      break;
    }
  }
  lineShutdown(app);
  InstallLineBackend(nullptr);
}

void LibraryCallSetup(benchmark::State& state, int port) {
  auto factory = linphone::Factory::get();
  auto core = factory->createCore("", "", nullptr);
  core->enableVideoCapture(false);
  core->enableVideoDisplay(false);
  core->setAudioPort(-1);
  auto transports = factory->createTransports();
  transports->setUdpPort(-1);
  transports->setTcpPort(0);
  transports->setTlsPort(0);
  core->setTransports(transports);
  core->start();
  auto listener = std::make_shared<LibraryListener>();
  core->addListener(listener);
  auto callee = factory->createAddress("sip:0711@127.0.0.1:" + std::to_string(port));
  for (auto _ : state) {
    listener->reached.clear();
    const Clock::time_point start = Clock::now();
    auto call = core->inviteAddress(callee);
    if (!call || !IterateUntil(*core, *listener, linphone::Call::State::Connected)) {
      state.SkipWithError("not connected");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(listener->connected - start).count());
    call->terminate();
    if (!IterateUntil(*core, *listener, linphone::Call::State::Released)) {
      state.SkipWithError("not released");
      break;
    }
  }
  core->removeListener(listener);
  core->stop();
}

}  // namespace vesk::bench
