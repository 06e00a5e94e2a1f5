// The telephony functions over the installed backend: handles, argument
// checks and the queue of each application's notifications.
#include "platform/telephony/telephony.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/telephony/dialable_address.h"
#include "platform/telephony/line_backend.h"
#include "platform/telephony/notification_queue.h"

namespace vesk {
namespace {

bool VoiceParams(const LineCallParams* params) {
  return params == nullptr || (params->dwBearerMode & LINEBEARERMODE_VOICE) != 0;
}

class Telephony final : public LineSink {
 public:
  std::unique_ptr<LineBackend> Install(std::unique_ptr<LineBackend> backend) {
    calls_.clear();
    lines_.clear();
    apps_.clear();
    std::swap(backend_, backend);
    if (backend_) backend_->Attach(this);
    return backend;
  }

  bool Installed() const { return backend_ != nullptr; }

  int32_t Initialize(HLineApp* lineApp, LineCallback callback, uint32_t* numDevs) {
    if (lineApp == nullptr || callback == nullptr || numDevs == nullptr) return LINEERR_INVALPOINTER;
    if (!backend_) {
      problem_ = "Keine Telefonleitung vorhanden";
      return LINEERR_OPERATIONUNAVAIL;
    }
    *numDevs = backend_->DeviceCount();
    problem_ = *numDevs == 0 ? backend_->Problem() : "";
    *lineApp = next_++;
    apps_.emplace(*lineApp, std::make_unique<NotificationQueue>(callback));
    return 0;
  }

  int32_t Negotiate(HLineApp lineApp, uint32_t deviceId, uint32_t low, uint32_t high, uint32_t* apiVersion,
                    LineExtensionId* extensionId) {
    if (!apps_.contains(lineApp)) return LINEERR_INVALAPPHANDLE;
    if (apiVersion == nullptr || extensionId == nullptr) return LINEERR_INVALPOINTER;
    if (deviceId >= backend_->DeviceCount()) return LINEERR_BADDEVICEID;
    if (low > kLineApiVersion || high < kLineApiVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
    *apiVersion = kLineApiVersion;
    *extensionId = {};
    return 0;
  }

  int32_t Open(HLineApp lineApp, uint32_t deviceId, HLine* line, uint32_t apiVersion, const LineCallParams* params) {
    if (!apps_.contains(lineApp)) return LINEERR_INVALAPPHANDLE;
    if (line == nullptr) return LINEERR_INVALPOINTER;
    if (deviceId != LINEMAPPER && deviceId >= backend_->DeviceCount()) return LINEERR_BADDEVICEID;
    if (deviceId == LINEMAPPER && backend_->DeviceCount() == 0) return LINEERR_BADDEVICEID;
    if (apiVersion != kLineApiVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
    if (!VoiceParams(params)) return LINEERR_OPERATIONUNAVAIL;
    if (!backend_->Open()) {
      problem_ = backend_->Problem();
      notice_.clear();
      return LINEERR_OPERATIONFAILED;
    }
    problem_.clear();
    notice_ = backend_->Notice();
    *line = next_++;
    lines_.emplace(*line, lineApp);
    return 0;
  }

  int32_t DevStatus(HLine line, LineDevStatus* status) {
    if (!lines_.contains(line)) return LINEERR_INVALLINEHANDLE;
    if (status == nullptr) return LINEERR_INVALPOINTER;
    status->dwDevStatusFlags = backend_->Connected() ? LINEDEVSTATUSFLAGS_CONNECTED : 0;
    return 0;
  }

  int32_t MakeCall(HLine line, HCall* call, const char* destAddress, const LineCallParams* params) {
    auto owner = lines_.find(line);
    if (owner == lines_.end()) return LINEERR_INVALLINEHANDLE;
    if (call == nullptr) return LINEERR_INVALPOINTER;
    const std::optional<std::string> address = destAddress == nullptr ? std::nullopt : DialableAddress(destAddress);
    if (!address) return LINEERR_INVALADDRESS;
    if (!VoiceParams(params)) return LINEERR_OPERATIONUNAVAIL;
    if (!backend_->Connected()) return LINEERR_RESOURCEUNAVAIL;
    const HCall handle = next_++;
    const int32_t request = NextRequest();
    calls_.emplace(handle, line);
    // States the backend reports while it starts the call follow the reply.
    holding_ = true;
    const bool placed = backend_->Place(handle, *address);
    holding_ = false;
    std::vector<Held> held = std::move(held_);
    held_.clear();
    NotificationQueue& queue = *apps_.at(owner->second);
    queue.Post(0, LINE_REPLY, request, placed ? 0 : LINEERR_OPERATIONFAILED);
    if (!placed) {
      calls_.erase(handle);
      *call = 0;
      return request;
    }
    for (const Held& state : held) queue.Post(handle, LINE_CALLSTATE, state.state, state.mode);
    *call = handle;
    return request;
  }

  int32_t Drop(HCall call) {
    if (!calls_.contains(call)) return LINEERR_INVALCALLHANDLE;
    return backend_->Drop(call) ? NextRequest() : LINEERR_OPERATIONFAILED;
  }

  int32_t Deallocate(HCall call) {
    auto found = calls_.find(call);
    if (found == calls_.end()) return LINEERR_INVALCALLHANDLE;
    // A released handle may be the current call's no more: what it reported
    // and is still waiting is dropped with it.
    apps_.at(lines_.at(found->second))->Forget(call, LINE_CALLSTATE);
    calls_.erase(found);
    backend_->Release(call);
    return 0;
  }

  int32_t CallInfo(HCall call, LineCallInfo* info) {
    if (!calls_.contains(call)) return LINEERR_INVALCALLHANDLE;
    if (info == nullptr) return LINEERR_INVALPOINTER;
    info->appName = backend_->RemoteName(call);
    return 0;
  }

  int32_t Shutdown(HLineApp lineApp) {
    if (!apps_.contains(lineApp)) return LINEERR_INVALAPPHANDLE;
    for (auto call = calls_.begin(); call != calls_.end();) {
      if (lines_.at(call->second) != lineApp) {
        ++call;
        continue;
      }
      backend_->Drop(call->first);
      backend_->Release(call->first);
      call = calls_.erase(call);
    }
    std::erase_if(lines_, [&](const auto& entry) { return entry.second == lineApp; });
    apps_.erase(lineApp);
    if (lines_.empty()) backend_->Idle();
    return 0;
  }

  void Wait(uint32_t milliseconds) {
    {
      HoldNotifications hold;
      QEventLoop loop;
      QTimer::singleShot(std::chrono::milliseconds(milliseconds), &loop, &QEventLoop::quit);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    for (auto& [app, queue] : apps_) queue->Resume();
  }

  std::string Problem() const { return problem_; }
  std::string Notice() const { return notice_; }

  void LineState(bool connected) override {
    problem_ = connected ? "" : backend_->Problem();
    for (const auto& [line, app] : lines_) {
      apps_.at(app)->Post(line, LINE_LINEDEVSTATE, connected ? LINEDEVSTATE_CONNECTED : LINEDEVSTATE_DISCONNECTED, 0);
    }
  }

  void CallState(HCall call, uint32_t state, uint32_t mode) override {
    auto owner = calls_.find(call);
    if (owner == calls_.end()) return;  // released, or its line shut down
    if (holding_) {
      held_.push_back({state, mode});
      return;
    }
    apps_.at(lines_.at(owner->second))->Post(call, LINE_CALLSTATE, state, mode);
  }

 private:
  struct Held {
    uint32_t state;
    uint32_t mode;
  };

  int32_t NextRequest() {
    if (request_ == INT32_MAX) request_ = 0;
    return ++request_;
  }

  std::unique_ptr<LineBackend> backend_;
  std::map<HLineApp, std::unique_ptr<NotificationQueue>> apps_;
  std::map<HLine, HLineApp> lines_;
  std::map<HCall, HLine> calls_;
  uint32_t next_ = 1;
  int32_t request_ = 0;
  bool holding_ = false;
  std::vector<Held> held_;
  std::string problem_;
  std::string notice_;
};

Telephony& Instance() {
  static Telephony telephony;
  return telephony;
}

}  // namespace

std::unique_ptr<LineBackend> InstallLineBackend(std::unique_ptr<LineBackend> backend) {
  return Instance().Install(std::move(backend));
}

bool LineBackendInstalled() { return Instance().Installed(); }

int32_t lineInitialize(HLineApp* lineApp, void*, LineCallback callback, const char*, uint32_t* numDevs) {
  return Instance().Initialize(lineApp, callback, numDevs);
}

int32_t lineNegotiateAPIVersion(HLineApp lineApp, uint32_t deviceId, uint32_t lowVersion, uint32_t highVersion,
                                uint32_t* apiVersion, LineExtensionId* extensionId) {
  return Instance().Negotiate(lineApp, deviceId, lowVersion, highVersion, apiVersion, extensionId);
}

int32_t lineOpen(HLineApp lineApp, uint32_t deviceId, HLine* line, uint32_t apiVersion, uint32_t, uintptr_t, uint32_t,
                 uint32_t, const LineCallParams* params) {
  return Instance().Open(lineApp, deviceId, line, apiVersion, params);
}

int32_t lineGetLineDevStatus(HLine line, LineDevStatus* status) { return Instance().DevStatus(line, status); }

int32_t lineMakeCall(HLine line, HCall* call, const char* destAddress, uint32_t, const LineCallParams* params) {
  return Instance().MakeCall(line, call, destAddress, params);
}

int32_t lineDrop(HCall call, const char*, uint32_t) { return Instance().Drop(call); }

int32_t lineDeallocateCall(HCall call) { return Instance().Deallocate(call); }

int32_t lineGetCallInfo(HCall call, LineCallInfo* info) { return Instance().CallInfo(call, info); }

int32_t lineShutdown(HLineApp lineApp) { return Instance().Shutdown(lineApp); }

void LineWait(uint32_t milliseconds) { Instance().Wait(milliseconds); }

std::string lineProblem() { return Instance().Problem(); }

std::string lineNotice() { return Instance().Notice(); }

}  // namespace vesk
