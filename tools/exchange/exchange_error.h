// The failure of reading an exchange file: the message names the line of
// the file (from 1) and the reason, so that the user can find the fault.
#pragma once

#include <string>

#include "runtime/exceptions.h"

namespace vesk {

class EExchangeError : public Exception {
 public:
  EExchangeError(int line, const std::string& reason)
      : Exception("Zeile " + std::to_string(line) + ": " + reason), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

}  // namespace vesk
