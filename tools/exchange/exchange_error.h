// The faults of reading an exchange file: each names the line of the file
// (from 1) and the reason, so that the user can find it. A fault of one
// entry skips that entry; EExchangeError refuses the whole file.
#pragma once

#include <string>

#include "runtime/exceptions.h"

namespace vesk {

struct ExchangeFault {
  int line = 0;
  std::string reason;
  std::string Text() const { return "Zeile " + std::to_string(line) + ": " + reason; }
  friend bool operator==(const ExchangeFault&, const ExchangeFault&) = default;
};

class EExchangeError : public Exception {
 public:
  EExchangeError(int line, const std::string& reason) : EExchangeError(ExchangeFault{line, reason}) {}
  explicit EExchangeError(const ExchangeFault& fault) : Exception(fault.Text()), fault_(fault) {}
  int Line() const { return fault_.line; }
  const ExchangeFault& Fault() const { return fault_; }

 private:
  ExchangeFault fault_;
};

}  // namespace vesk
