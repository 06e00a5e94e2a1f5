// The real line: calls over SIP with the account of the host's INI file,
// through the SIP library's one core per process (sip_core.h), driven from
// a timer of the thread that first opened the line while a line is open or
// a call still ending. The line opens without waiting for the registrar;
// its answer, and every later change, arrives as a line state. After a
// resume from suspend and a change of network the registration is renewed.
#pragma once

#include <memory>
#include <string>

#include "platform/telephony/line_backend.h"

namespace vesk {

class SystemEvents;

class SipLine final : public LineBackend {
 public:
  // The account is read from iniFile whenever a line is asked for, so a
  // changed account counts from the next line on.
  explicit SipLine(std::string iniFile);
  ~SipLine() override;

  void Attach(LineSink* sink) override;
  // 1 when the file holds an account with identity and registrar, else 0.
  uint32_t DeviceCount() override;
  // Sets the core up with the account and asks the registrar; fails only
  // when the account cannot be used at all.
  bool Open() override;
  // Without registration at once; with it, once the registrar accepted.
  // Five seconds without an answer count as a failure until it answers.
  bool Connected() override;
  // A "sip:" or "sips:" address is called as it stands, a number at the
  // registrar.
  bool Place(HCall call, const std::string& address) override;
  bool Drop(HCall call) override;
  void Release(HCall call) override;
  std::string RemoteName(HCall call) override;
  std::string Problem() override;
  // That a chosen sound device is missing, since the last Open.
  std::string Notice() override { return notice_; }
  // The core rests once its last calls have ended.
  void Idle() override;
  // Whether the library's core is being driven now for this line.
  bool Driven();

 private:
  class Calls;  // the library's calls by handle, the registration, what is reported

  // Registers again over sockets bound anew.
  void Reconnect();

  std::string iniFile_;
  std::string problem_;
  std::string notice_;
  std::string registrar_;  // the registrar's address, where numbers are called
  std::shared_ptr<Calls> calls_;
  bool listening_ = false;  // calls_ listens to the core
  std::unique_ptr<SystemEvents> events_;
};

}  // namespace vesk
