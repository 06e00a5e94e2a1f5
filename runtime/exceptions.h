// Exception classes of the runtime. Every failure in the system is raised as
// one of these; each carries the message text that the error display shows.
#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vesk {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }

 private:
  std::string message_;
};

// A text that does not read as a number, date or time.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Failures of datasets, fields and the table layer.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// A Variant that cannot be converted or operated on.
class EVariantError : public Exception {
 public:
  using Exception::Exception;
};

// Message texts of the runtime.
inline constexpr std::string_view kSInvalidInteger = "'%s' ist kein gültiger Integerwert";
inline constexpr std::string_view kSInvalidFloat = "'%s' ist kein gültiger Gleitkommawert";
inline constexpr std::string_view kSInvalidDateTime = "'%s' ist keine gültige Datums- und Uhrzeitangabe";
inline constexpr std::string_view kSInvalidDate = "'%s' ist kein gültiges Datum";
inline constexpr std::string_view kSInvalidTime = "'%s' ist keine gültige Uhrzeit";
inline constexpr std::string_view kSDateEncodeError = "Ungültiges Argument für Datumscodierung";
inline constexpr std::string_view kSTimeEncodeError = "Ungültiges Argument für Zeitcodierung";
inline constexpr std::string_view kSInvalidVarCast = "Ungültige Variant-Typumwandlung";
inline constexpr std::string_view kSInvalidVarOp = "Ungültige Variant-Operation";

// Replaces each "%s" of the pattern, in order, by the next argument; "%%" is a
// single "%". Missing arguments leave "%s" as it stands.
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace vesk
