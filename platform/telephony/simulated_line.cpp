#include "platform/telephony/simulated_line.h"

namespace vesk {

void SimulatedLine::Report(HCall call, uint32_t state, uint32_t mode) {
  if (sink_ != nullptr) sink_->CallState(call, state, mode);
}

void SimulatedLine::ReportLine(bool connected) {
  behaviour_.connected = connected;
  if (sink_ != nullptr) sink_->LineState(connected);
}

bool SimulatedLine::Open() {
  journal_.push_back("open");
  return behaviour_.openAccepted;
}

bool SimulatedLine::Place(HCall call, const std::string& address) {
  journal_.push_back("place " + std::to_string(call) + " " + address);
  return behaviour_.placeAccepted;
}

bool SimulatedLine::Drop(HCall call) {
  journal_.push_back("drop " + std::to_string(call));
  return behaviour_.dropAccepted;
}

void SimulatedLine::Release(HCall call) { journal_.push_back("release " + std::to_string(call)); }

}  // namespace vesk
