// Failure inside the engine: an English text for rr_last_error and the
// negative result the C entry point hands back.
#ifndef VESK_ENGINE_ENGINE_ERROR_H
#define VESK_ENGINE_ENGINE_ERROR_H

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vesk::engine {

// Negative results of rr_open and rr_create.
enum OpenResult : int32_t {
  kOpenInUse = -1,
  kOpenMissing = -2,
  kOpenUnreadable = -3,
  kOpenNotDatabase = -4,
  kOpenDamaged = -5,
  kOpenNotTable = -6,
  kOpenFailed = -7,
};

class EngineError : public std::runtime_error {
 public:
  explicit EngineError(const std::string& text, int32_t code = kOpenFailed) : std::runtime_error(text), code_(code) {}
  int32_t Code() const { return code_; }

 private:
  int32_t code_;
};

}  // namespace vesk::engine

#endif
