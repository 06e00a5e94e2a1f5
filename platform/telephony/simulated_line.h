// A line inside the process, driven by a test: the test says how many line
// devices there are, whether each request is accepted, and when a call
// changes state. Every request the line receives is written to its journal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/telephony/line_backend.h"

namespace vesk {

class SimulatedLine final : public LineBackend {
 public:
  // What the test controls; may be changed at any time.
  struct Behaviour {
    uint32_t devices = 1;
    bool openAccepted = true;
    bool connected = true;  // calls can be placed on the open line
    bool placeAccepted = true;
    bool dropAccepted = true;
    std::string remoteName;
    std::string problem;
    std::string notice;
  };

  Behaviour& behaviour() { return behaviour_; }
  // "place <handle> <address>", "drop <handle>", "release <handle>", "open".
  const std::vector<std::string>& journal() const { return journal_; }

  // Reports a state of a call, as the far end or the network would.
  void Report(HCall call, uint32_t state, uint32_t mode = 0);
  // The line gained or lost its registrar, as the network would report it.
  void ReportLine(bool connected);

  void Attach(LineSink* sink) override { sink_ = sink; }
  uint32_t DeviceCount() override { return behaviour_.devices; }
  bool Open() override;
  bool Connected() override { return behaviour_.connected; }
  bool Place(HCall call, const std::string& address) override;
  bool Drop(HCall call) override;
  void Release(HCall call) override;
  std::string RemoteName(HCall) override { return behaviour_.remoteName; }
  std::string Problem() override { return behaviour_.problem; }
  std::string Notice() override { return behaviour_.notice; }

 private:
  Behaviour behaviour_;
  std::vector<std::string> journal_;
  LineSink* sink_ = nullptr;
};

}  // namespace vesk
