// What stands behind the telephony functions: the SIP line in the program, a
// simulated line in tests. The telephony functions keep the handles, check
// the arguments and queue the notifications; a backend only places, drops
// and releases calls and reports their states to its sink.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/telephony/telephony.h"

namespace vesk {

// Receives the states of the calls a backend placed.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // mode is a LINEDISCONNECTMODE_ value for DISCONNECTED, otherwise 0.
  virtual void CallState(HCall call, uint32_t state, uint32_t mode) = 0;
  // The line became able to place calls, or lost that (Problem() says why).
  virtual void LineState(bool connected) = 0;
};

class LineBackend {
 public:
  virtual ~LineBackend() = default;

  // Called once, before anything else, when the backend is installed.
  virtual void Attach(LineSink* sink) = 0;
  // Line devices now offered: 0 or 1. Asked by lineInitialize.
  virtual uint32_t DeviceCount() = 0;
  // Prepares the line for calls without waiting for the network; false
  // (with Problem() saying why) when it cannot be used at all.
  virtual bool Open() = 0;
  // Whether calls can be placed now. Once Open has succeeded, a change is
  // reported to the sink's LineState.
  virtual bool Connected() { return true; }
  // Starts a call to address (a dialable address, made so by the
  // telephony functions) under the given handle; false when it could not be
  // started. States may be reported before this returns.
  virtual bool Place(HCall call, const std::string& address) = 0;
  // Ends the call; true also when it has ended already.
  virtual bool Drop(HCall call) = 0;
  // Forgets the call; no state of it is reported afterwards.
  virtual void Release(HCall call) = 0;
  virtual std::string RemoteName(HCall call) = 0;
  // Why the line is unusable, in German, or "".
  virtual std::string Problem() = 0;
  // What the user should know of the line opened last though it works (a
  // chosen sound device missing), in German, or "".
  virtual std::string Notice() { return ""; }
  // No line is open any more: the backend may rest until the next Open,
  // once the calls it is still ending have ended.
  virtual void Idle() {}
};

// Puts backend behind the telephony functions and returns the one it
// replaces. Lines and calls of the old backend are forgotten; with no backend
// installed lineInitialize fails.
std::unique_ptr<LineBackend> InstallLineBackend(std::unique_ptr<LineBackend> backend);
// Whether a backend stands behind the telephony functions.
bool LineBackendInstalled();

}  // namespace vesk
