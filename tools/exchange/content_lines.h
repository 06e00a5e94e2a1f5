// The content lines of a vCard file (RFC 2425, RFC 6350 section 3.3):
// physical lines unfolded, each split into its name, parameters and value,
// with the value's transfer encoding (quoted-printable, vCard 2.1) undone.
// Character sets and the value's own escapes are the card reader's.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/exchange/exchange_error.h"

namespace vesk {

// One value of a parameter: a parameter of several values (split at
// unquoted commas) is several of them, one after the other.
struct ContentParameter {
  std::string name;   // upper case; a vCard 2.1 bare word ("HOME") has the name TYPE
  std::string value;  // quotes removed
};

struct ContentLine {
  int line = 0;      // the physical line it began on, from 1
  int lastLine = 0;  // the physical line it ended on
  std::string name;  // upper case, the group ("item1.") removed
  std::vector<ContentParameter> parameters;
  std::string value;  // bytes, quoted-printable decoded

  // The values of the parameter, empty when it is absent.
  std::vector<std::string> Parameter(std::string_view name) const;
  // Its first value, or nullptr when it is absent.
  const std::string* FirstParameter(std::string_view name) const;
  // One of the parameter's values is value, without regard to ASCII case.
  bool HasParameterValue(std::string_view name, std::string_view value) const;
};

// The longest logical line read; a longer one (an embedded photo of many
// megabytes, binary data) is refused.
inline constexpr size_t kMaxContentLine = 1 << 20;

// The physical lines of the text, without a leading byte order mark. A
// line ends in LF, in CR, or in CRs before an LF: a file copied through a
// program that made each LF a CRLF ends its lines in CR CR LF.
std::vector<std::string_view> PhysicalLines(std::string_view text);

// Told of a logical line that cannot be read, with the physical line it
// ended on; reading goes on after it.
using ContentLineFault = std::function<void(const ExchangeFault& fault, int lastLine)>;

// Gives take every content line of the physical lines in turn, blank lines
// left out. A line without ':' or with an empty name, one longer than
// kMaxContentLine, and one with control characters (binary data) go to
// fault instead; without one, EExchangeError names the line.
void ReadContentLines(const std::vector<std::string_view>& physical, const std::function<void(ContentLine&&)>& take,
                      const ContentLineFault& fault = {});
void ReadContentLines(std::string_view text, const std::function<void(ContentLine&&)>& take,
                      const ContentLineFault& fault = {});

// A value's text as a memo keeps it: a line break that an escape or
// quoted-printable brought in as CR or CRLF is LF; the other control
// characters (and the substitute for a byte a character set lacks) are no
// text and go; a tab stays.
std::string CleanedText(std::string text);

}  // namespace vesk
