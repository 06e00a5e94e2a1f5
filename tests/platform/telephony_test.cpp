#include "platform/telephony/telephony.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>

#include "platform/telephony/line_backend.h"
#include "platform/telephony/simulated_line.h"
#include "tests/platform/line_recorder.h"
#include "tests/support/open_line.h"

namespace vesk {
namespace {

using Journal = std::vector<std::string>;

class TelephonyTest : public testing::Test {
 protected:
  void SetUp() override {
    auto line = std::make_unique<SimulatedLine>();
    line_ = line.get();
    InstallLineBackend(std::move(line));
    LineRecorder::Clear();
  }
  void TearDown() override { InstallLineBackend(nullptr); }

  HLine OpenLine() {
    const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
    EXPECT_NE(line, 0u);
    return line;
  }
  static void Deliver() { QCoreApplication::processEvents(); }

  SimulatedLine* line_ = nullptr;
  HLineApp app_ = 0;
  LineCallParams params_;
};

TEST_F(TelephonyTest, NotificationsWaitForTheEventLoopAndKeepTheirOrder) {
  const HLine line = OpenLine();
  HCall call = 0;
  const int32_t request = lineMakeCall(line, &call, "(07 11) 12 34-56", 0, &params_);
  ASSERT_GT(request, 0);
  ASSERT_NE(call, 0u);
  EXPECT_EQ(line_->journal().back(), "place " + std::to_string(call) + " 0711123456") << "made dialable";

  line_->Report(call, LINECALLSTATE_DIALING);
  line_->Report(call, LINECALLSTATE_PROCEEDING);
  line_->Report(call, LINECALLSTATE_CONNECTED);
  line_->Report(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
  EXPECT_TRUE(LineRecorder::received.empty()) << "delivered before the event loop ran";

  line_->behaviour().remoteName = "Gegenstelle";
  Deliver();
  const std::vector<Notification> expected = {
      {0, LINE_REPLY, request, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_DIALING, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_PROCEEDING, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_CONNECTED, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL}};
  EXPECT_EQ(LineRecorder::received, expected);
  EXPECT_EQ(LineRecorder::appName, "Gegenstelle");
  EXPECT_GT(LineRecorder::dropResult, 0);

  // Once released, a call is unknown and its late states are not reported.
  line_->Report(call, LINECALLSTATE_IDLE);
  Deliver();
  EXPECT_EQ(line_->journal().back(), "release " + std::to_string(call));
  line_->Report(call, LINECALLSTATE_DIALING);
  Deliver();
  EXPECT_EQ(LineRecorder::received.size(), expected.size() + 1);
  EXPECT_EQ(lineDrop(call, nullptr, 0), LINEERR_INVALCALLHANDLE);
  EXPECT_EQ(lineDeallocateCall(call), LINEERR_INVALCALLHANDLE);
}

TEST_F(TelephonyTest, AWaitLetsTheLineGoOnAndHoldsItsNotificationsTillAfter) {
  const HLine line = OpenLine();
  HCall call = 0;
  const int32_t request = lineMakeCall(line, &call, "0711", 0, &params_);
  ASSERT_GT(request, 0);
  bool reported = false;
  QTimer::singleShot(10, [&] {
    line_->Report(call, LINECALLSTATE_CONNECTED);
    reported = true;
  });
  LineWait(100);
  EXPECT_TRUE(reported) << "the line stood still during the wait";
  EXPECT_TRUE(LineRecorder::received.empty()) << "delivered during the wait";
  line_->Report(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
  Deliver();
  const std::vector<Notification> expected = {
      {0, LINE_REPLY, request, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_CONNECTED, 0},
      {call, LINE_CALLSTATE, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL}};
  EXPECT_EQ(LineRecorder::received, expected);
}

// A state reported while the call is being placed follows the request's reply.
class ReportingLine final : public LineBackend {
 public:
  void Attach(LineSink* sink) override { sink_ = sink; }
  uint32_t DeviceCount() override { return 1; }
  bool Open() override { return true; }
  bool Place(HCall call, const std::string&) override {
    sink_->CallState(call, LINECALLSTATE_DIALING, 0);
    return true;
  }
  bool Drop(HCall call) override {
    sink_->CallState(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
    return true;
  }
  void Release(HCall) override {}
  std::string RemoteName(HCall) override { return ""; }
  std::string Problem() override { return ""; }

 private:
  LineSink* sink_ = nullptr;
};

TEST_F(TelephonyTest, StatesReportedInsideACallAreDeliveredAfterItReturns) {
  InstallLineBackend(std::make_unique<ReportingLine>());
  const HLine line = OpenLine();
  HCall call = 0;
  const int32_t request = lineMakeCall(line, &call, "0711", 0, &params_);
  EXPECT_GT(lineDrop(call, nullptr, 0), 0);
  EXPECT_TRUE(LineRecorder::received.empty());
  Deliver();
  ASSERT_EQ(LineRecorder::received.size(), 3u);
  EXPECT_EQ(LineRecorder::received[0], (Notification{0, LINE_REPLY, request, 0}));
  EXPECT_EQ(LineRecorder::States(), (std::vector<intptr_t>{LINECALLSTATE_DIALING, LINECALLSTATE_DISCONNECTED}));
}

TEST_F(TelephonyTest, RefusedRequestsFailAndPlaceNothing) {
  const HLine line = OpenLine();
  HCall call = 99;
  line_->behaviour().placeAccepted = false;
  const int32_t request = lineMakeCall(line, &call, "0711", 0, &params_);
  ASSERT_GT(request, 0);
  EXPECT_EQ(call, 0u);
  Deliver();
  ASSERT_EQ(LineRecorder::received.size(), 1u);
  EXPECT_EQ(LineRecorder::received[0].message, LINE_REPLY);
  EXPECT_LT(LineRecorder::received[0].param2, 0);

  for (const char* undialable : {"", "0711 123456 ab 18 Uhr", "+", "sip:a b@c"}) {
    EXPECT_EQ(lineMakeCall(line, &call, undialable, 0, &params_), LINEERR_INVALADDRESS) << undialable;
  }
  EXPECT_EQ(lineMakeCall(line, &call, nullptr, 0, &params_), LINEERR_INVALADDRESS);
  EXPECT_EQ(lineMakeCall(0, &call, "0711", 0, &params_), LINEERR_INVALLINEHANDLE);
  LineCallParams data;
  data.dwBearerMode = 0x2;
  EXPECT_LT(lineMakeCall(line, &call, "0711", 0, &data), 0);

  line_->behaviour().placeAccepted = true;
  ASSERT_GT(lineMakeCall(line, &call, "0711", 0, &params_), 0);
  line_->behaviour().dropAccepted = false;
  EXPECT_EQ(lineDrop(call, nullptr, 0), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(lineDrop(0, nullptr, 0), LINEERR_INVALCALLHANDLE);
  ASSERT_EQ(line_->journal().size(), 4u);
  EXPECT_EQ(line_->journal()[1].substr(0, 6), "place ");
  EXPECT_EQ(line_->journal()[2], "place " + std::to_string(call) + " 0711");
  EXPECT_EQ(line_->journal()[3], "drop " + std::to_string(call));
}

// What the backend tells of the line it opened stands until the next
// opening; a line that does not open has nothing to tell.
TEST_F(TelephonyTest, TheNoticeIsOfTheLineOpenedLast) {
  line_->behaviour().notice = "Mikrofon nicht vorhanden";
  OpenLine();
  EXPECT_EQ(lineNotice(), "Mikrofon nicht vorhanden");
  EXPECT_EQ(lineProblem(), "");
  line_->behaviour().openAccepted = false;
  HLineApp second = 0;
  EXPECT_EQ(OpenVoiceLine(second, LineRecorder::Callback), 0u);
  EXPECT_EQ(lineNotice(), "");
  line_->behaviour().openAccepted = true;
  line_->behaviour().notice.clear();
  OpenLine();
  EXPECT_EQ(lineNotice(), "");
}

TEST_F(TelephonyTest, ALineWithoutDevicesOrThatCannotOpenIsRefused) {
  uint32_t devices = 7;
  uint32_t version = 0;
  LineExtensionId extension;
  HLine line = 0;
  line_->behaviour().devices = 0;
  line_->behaviour().problem = "Kein SIP-Konto eingerichtet";
  ASSERT_EQ(lineInitialize(&app_, nullptr, LineRecorder::Callback, nullptr, &devices), 0);
  EXPECT_EQ(devices, 0u);
  EXPECT_EQ(lineProblem(), "Kein SIP-Konto eingerichtet");
  EXPECT_EQ(lineNegotiateAPIVersion(app_, 0, 0x00010000, 0x10000000, &version, &extension), LINEERR_BADDEVICEID);
  EXPECT_EQ(lineOpen(app_, LINEMAPPER, &line, kLineApiVersion, 0, 0, 1, 0, &params_), LINEERR_BADDEVICEID);
  EXPECT_EQ(lineShutdown(app_), 0);
  EXPECT_EQ(lineShutdown(app_), LINEERR_INVALAPPHANDLE);

  line_->behaviour().devices = 1;
  line_->behaviour().openAccepted = false;
  line_->behaviour().problem = "Der Registrar lehnt die Anmeldung ab: 403 Forbidden";
  ASSERT_EQ(lineInitialize(&app_, nullptr, LineRecorder::Callback, nullptr, &devices), 0);
  EXPECT_EQ(lineProblem(), "");
  EXPECT_EQ(lineNegotiateAPIVersion(app_, 0, 0x00030000, 0x10000000, &version, &extension),
            LINEERR_INCOMPATIBLEAPIVERSION);
  EXPECT_EQ(lineOpen(app_, LINEMAPPER, &line, kLineApiVersion, 0, 0, 1, 0, &params_), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(lineProblem(), "Der Registrar lehnt die Anmeldung ab: 403 Forbidden");

  InstallLineBackend(nullptr);
  EXPECT_LT(lineInitialize(&app_, nullptr, LineRecorder::Callback, nullptr, &devices), 0);
  EXPECT_NE(lineProblem(), "");
}

TEST_F(TelephonyTest, ShutdownDropsTheCallsAndDiscardsWhatIsPending) {
  const HLine line = OpenLine();
  HCall call = 0;
  ASSERT_GT(lineMakeCall(line, &call, "0711", 0, &params_), 0);
  line_->Report(call, LINECALLSTATE_DIALING);
  EXPECT_EQ(lineShutdown(app_), 0);
  Deliver();
  EXPECT_TRUE(LineRecorder::received.empty());
  const std::string handle = std::to_string(call);
  EXPECT_EQ(line_->journal(), (Journal{"open", "place " + handle + " 0711", "drop " + handle, "release " + handle}));
  EXPECT_EQ(lineMakeCall(line, &call, "0711", 0, &params_), LINEERR_INVALLINEHANDLE);
}

// Shuts its application down on the first notification it gets.
struct ShuttingDown {
  static inline HLineApp app = 0;
  static inline int calls = 0;
  static void Callback(uint32_t, uint32_t, uintptr_t, intptr_t, intptr_t, intptr_t) {
    ++calls;
    lineShutdown(app);
  }
};

TEST_F(TelephonyTest, ARoutineThatShutsItsLineDownGetsNothingMore) {
  const HLine line = OpenVoiceLine(ShuttingDown::app, ShuttingDown::Callback);
  ASSERT_NE(line, 0u);
  HCall call = 0;
  ASSERT_GT(lineMakeCall(line, &call, "0711", 0, &params_), 0);
  line_->Report(call, LINECALLSTATE_DIALING);
  line_->Report(call, LINECALLSTATE_PROCEEDING);
  Deliver();
  EXPECT_EQ(ShuttingDown::calls, 1);
  EXPECT_EQ(lineDrop(call, nullptr, 0), LINEERR_INVALCALLHANDLE);
}

// A redial releases the old call while its end is still waiting to be
// delivered; none of it may reach the routine, which would take it for the
// new call's.
TEST_F(TelephonyTest, NothingOfAReleasedCallIsDeliveredEvenWhatWaited) {
  const HLine line = OpenLine();
  HCall old = 0;
  ASSERT_GT(lineMakeCall(line, &old, "0711 1", 0, &params_), 0);
  Deliver();
  line_->Report(old, LINECALLSTATE_CONNECTED);
  ASSERT_GT(lineDrop(old, nullptr, 0), 0);
  // The old call ends during the wait, as a dropped call does.
  QTimer::singleShot(50, [&] {
    line_->Report(old, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
    line_->Report(old, LINECALLSTATE_IDLE);
  });
  LineWait(150);
  ASSERT_EQ(lineDeallocateCall(old), 0);
  HCall call = 0;
  ASSERT_GT(lineMakeCall(line, &call, "089 2", 0, &params_), 0);
  LineRecorder::Clear();
  Deliver();
  for (const Notification& n : LineRecorder::received) EXPECT_NE(n.device, old) << n.param1;
  EXPECT_EQ(LineRecorder::received.size(), 1u) << "the new call's reply only";
}

// The line opens before its registrar answered: no call until it did, and
// every line of the application hears the answer.
TEST_F(TelephonyTest, ALineThatSignsOnPlacesCallsOnceConnected) {
  line_->behaviour().connected = false;
  const HLine line = OpenLine();
  LineDevStatus status;
  ASSERT_EQ(lineGetLineDevStatus(line, &status), 0);
  EXPECT_EQ(status.dwDevStatusFlags & LINEDEVSTATUSFLAGS_CONNECTED, 0u);
  HCall call = 0;
  EXPECT_EQ(lineMakeCall(line, &call, "0711", 0, &params_), LINEERR_RESOURCEUNAVAIL);
  line_->behaviour().problem = "Der Registrar antwortet nicht: sip:fritz.box";
  line_->ReportLine(false);
  EXPECT_EQ(lineProblem(), line_->behaviour().problem);
  line_->behaviour().problem.clear();
  line_->ReportLine(true);
  EXPECT_EQ(lineProblem(), "");
  EXPECT_TRUE(LineRecorder::received.empty()) << "delivered from inside the report";
  Deliver();
  EXPECT_EQ(LineRecorder::received, (std::vector<Notification>{{line, LINE_LINEDEVSTATE, LINEDEVSTATE_DISCONNECTED, 0},
                                                               {line, LINE_LINEDEVSTATE, LINEDEVSTATE_CONNECTED, 0}}));
  ASSERT_EQ(lineGetLineDevStatus(line, &status), 0);
  EXPECT_NE(status.dwDevStatusFlags & LINEDEVSTATUSFLAGS_CONNECTED, 0u);
  EXPECT_GT(lineMakeCall(line, &call, "0711", 0, &params_), 0);
  EXPECT_EQ(lineGetLineDevStatus(0, &status), LINEERR_INVALLINEHANDLE);
}

}  // namespace
}  // namespace vesk
