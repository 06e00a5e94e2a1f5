// The telephone line as the address window uses it: open a voice line, place
// a call to a dialable address, drop and release it, and learn of call states
// and request replies through one notification routine. Functions, handles
// and constants keep the published TAPI names and values.
//
// Notifications are queued and delivered on the thread that called
// lineInitialize, from its Qt event loop; none is ever delivered from inside
// one of these functions. Which line stands behind them is chosen with
// InstallLineBackend (line_backend.h).
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

using HLineApp = uint32_t;
using HLine = uint32_t;
using HCall = uint32_t;

// Notification messages.
inline constexpr uint32_t LINE_CALLSTATE = 2;
inline constexpr uint32_t LINE_LINEDEVSTATE = 8;
inline constexpr uint32_t LINE_REPLY = 12;

// Call states (param 1 of LINE_CALLSTATE).
inline constexpr uint32_t LINECALLSTATE_IDLE = 0x1;
inline constexpr uint32_t LINECALLSTATE_DIALING = 0x10;
inline constexpr uint32_t LINECALLSTATE_RINGBACK = 0x20;
inline constexpr uint32_t LINECALLSTATE_BUSY = 0x40;
inline constexpr uint32_t LINECALLSTATE_CONNECTED = 0x100;
inline constexpr uint32_t LINECALLSTATE_PROCEEDING = 0x200;
inline constexpr uint32_t LINECALLSTATE_DISCONNECTED = 0x4000;

// Line states (param 1 of LINE_LINEDEVSTATE): the line can place calls
// now (its registrar accepted it), or it cannot any more (lineProblem says
// why).
inline constexpr uint32_t LINEDEVSTATE_CONNECTED = 0x4;
inline constexpr uint32_t LINEDEVSTATE_DISCONNECTED = 0x8;

// Flags of LineDevStatus.
inline constexpr uint32_t LINEDEVSTATUSFLAGS_CONNECTED = 0x1;

// Disconnect modes (param 2 of LINE_CALLSTATE with DISCONNECTED).
inline constexpr uint32_t LINEDISCONNECTMODE_NORMAL = 0x1;
inline constexpr uint32_t LINEDISCONNECTMODE_UNKNOWN = 0x2;
inline constexpr uint32_t LINEDISCONNECTMODE_REJECT = 0x4;
inline constexpr uint32_t LINEDISCONNECTMODE_BUSY = 0x20;
inline constexpr uint32_t LINEDISCONNECTMODE_NOANSWER = 0x40;
inline constexpr uint32_t LINEDISCONNECTMODE_BADADDRESS = 0x80;
inline constexpr uint32_t LINEDISCONNECTMODE_UNREACHABLE = 0x100;

inline constexpr uint32_t LINEBEARERMODE_VOICE = 0x1;
inline constexpr uint32_t LINEMEDIAMODE_INTERACTIVEVOICE = 0x4;
inline constexpr uint32_t LINECALLPRIVILEGE_NONE = 0x1;
inline constexpr uint32_t LINEMAPPER = 0xFFFFFFFF;

// Results below zero.
inline constexpr int32_t LINEERR_BADDEVICEID = static_cast<int32_t>(0x80000002);
inline constexpr int32_t LINEERR_INVALADDRESS = static_cast<int32_t>(0x80000007);
inline constexpr int32_t LINEERR_INCOMPATIBLEAPIVERSION = static_cast<int32_t>(0x8000000C);
inline constexpr int32_t LINEERR_INVALAPPHANDLE = static_cast<int32_t>(0x80000015);
inline constexpr int32_t LINEERR_INVALCALLHANDLE = static_cast<int32_t>(0x80000018);
inline constexpr int32_t LINEERR_INVALLINEHANDLE = static_cast<int32_t>(0x8000002B);
inline constexpr int32_t LINEERR_INVALPOINTER = static_cast<int32_t>(0x80000035);
inline constexpr int32_t LINEERR_OPERATIONFAILED = static_cast<int32_t>(0x80000048);
inline constexpr int32_t LINEERR_OPERATIONUNAVAIL = static_cast<int32_t>(0x80000049);
inline constexpr int32_t LINEERR_RESOURCEUNAVAIL = static_cast<int32_t>(0x80000047);

// The API version this layer speaks.
inline constexpr uint32_t kLineApiVersion = 0x00020000;

// The call parameters passed to lineOpen and lineMakeCall; only voice calls
// are placed.
struct LineCallParams {
  uint32_t dwTotalSize = sizeof(LineCallParams);
  uint32_t dwBearerMode = LINEBEARERMODE_VOICE;
  uint32_t dwMediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
};

struct LineExtensionId {
  uint32_t dwExtensionID0 = 0, dwExtensionID1 = 0, dwExtensionID2 = 0, dwExtensionID3 = 0;
};

// What lineGetCallInfo tells of a call: the name of the far end's
// application (its user agent), empty when it gave none.
struct LineCallInfo {
  std::string appName;
};

// Whether a line can place calls now: LINEDEVSTATUSFLAGS_CONNECTED once the
// line is in service. A line whose registrar has not answered yet is open
// but not connected; LINE_LINEDEVSTATE tells when that changes.
struct LineDevStatus {
  uint32_t dwDevStatusFlags = 0;
};

// The notification routine. LINE_CALLSTATE: device = call handle, param1 =
// state, param2 = disconnect mode. LINE_REPLY: param1 = request id, param2 =
// result (below zero when the request failed). LINE_LINEDEVSTATE: device =
// line handle, param1 = line state.
using LineCallback = void (*)(uint32_t device, uint32_t message, uintptr_t instance, intptr_t param1, intptr_t param2,
                              intptr_t param3);

// instance and appName are accepted and not used.
int32_t lineInitialize(HLineApp* lineApp, void* instance, LineCallback callback, const char* appName,
                       uint32_t* numDevs);
int32_t lineNegotiateAPIVersion(HLineApp lineApp, uint32_t deviceId, uint32_t lowVersion, uint32_t highVersion,
                                uint32_t* apiVersion, LineExtensionId* extensionId);
int32_t lineOpen(HLineApp lineApp, uint32_t deviceId, HLine* line, uint32_t apiVersion, uint32_t extVersion,
                 uintptr_t callbackInstance, uint32_t privileges, uint32_t mediaModes, const LineCallParams* params);
int32_t lineGetLineDevStatus(HLine line, LineDevStatus* status);
// A positive request id whose LINE_REPLY follows; *call names the new call.
// destAddress follows the dialable-address rules (dialable_address.h):
// LINEERR_INVALADDRESS when it breaks them, LINEERR_RESOURCEUNAVAIL while
// the line is not connected; the line is given the address made dialable.
int32_t lineMakeCall(HLine line, HCall* call, const char* destAddress, uint32_t countryCode,
                     const LineCallParams* params);
// Positive when the drop is accepted, also for a call that has already ended.
int32_t lineDrop(HCall call, const char* userUserInfo, uint32_t size);
// From here on no notification of the call is delivered, also none that
// was queued before.
int32_t lineDeallocateCall(HCall call);
int32_t lineGetCallInfo(HCall call, LineCallInfo* info);
// Closes the application's lines, drops their calls and discards its
// notifications not yet delivered.
int32_t lineShutdown(HLineApp lineApp);

// Waits for the given time while the line goes on, as a blocked thread would
// wait but without stopping the line: timers run, user input waits.
// Notifications that fall due meanwhile are delivered after the wait, from the
// event loop, in their order.
void LineWait(uint32_t milliseconds);

// Why the last lineInitialize or lineOpen found no usable line, in German for
// the user ("" when nothing went wrong). Never contains a password.
std::string lineProblem();
// What the user should know of the line the last lineOpen opened though it
// works (a chosen sound device is missing and the default speaks instead),
// in German, or "".
std::string lineNotice();

}  // namespace vesk
