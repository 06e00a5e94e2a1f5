#include "host/telephone_link.h"

#include <algorithm>
#include <vector>

#include "runtime/conversions.h"

namespace vesk {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsVisualSeparator(char c) { return c == '-' || c == '.' || c == '(' || c == ')' || c == ' '; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Nothing for a broken escape or a control character it yields.
std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
      if (low < 0) return std::nullopt;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (IsControl(c)) return std::nullopt;
    decoded += c;
  }
  return decoded;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// Digits, "*", "#" and separators with at least one digit, and a "+" in
// front when global is allowed.
bool IsNumber(std::string_view text, bool plusAllowed) {
  if (plusAllowed && text.starts_with('+')) text.remove_prefix(1);
  const bool allowed =
      std::ranges::all_of(text, [](char c) { return IsDigit(c) || c == '*' || c == '#' || IsVisualSeparator(c); });
  return allowed && std::ranges::any_of(text, IsDigit);
}

struct Parameter {
  std::string name;  // in lower case
  std::string value;
};

std::optional<Parameter> ParameterOf(std::string_view text) {
  const size_t equals = text.find('=');
  const std::optional<std::string> name = PercentDecoded(text.substr(0, equals));
  const std::optional<std::string> value =
      PercentDecoded(equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1));
  if (!name || name->empty() || !value) return std::nullopt;
  return Parameter{LowerCase(*name), *value};
}

// The telephone-subscriber of RFC 3966: the number and its parameters.
std::optional<std::string> NumberOf(std::string_view subscriber) {
  const std::vector<std::string_view> parts = Split(subscriber, ';');
  std::optional<std::string> number = PercentDecoded(parts.front());
  if (!number || !IsNumber(*number, true)) return std::nullopt;
  std::string extension;
  std::string context;
  for (size_t i = 1; i < parts.size(); ++i) {
    const std::optional<Parameter> parameter = ParameterOf(parts[i]);
    if (!parameter) return std::nullopt;
    if (parameter->name == "ext") {
      if (!IsNumber(parameter->value, false)) return std::nullopt;
      extension = parameter->value;
    } else if (parameter->name == "phone-context" && parameter->value.starts_with('+')) {
      if (!IsNumber(parameter->value, true)) return std::nullopt;
      context = parameter->value;
    }
  }
  if (!context.empty() && !number->starts_with('+')) *number = context + " " + *number;
  if (!extension.empty()) *number += "-" + extension;
  return number;
}

bool HasUserPhone(std::string_view uriParameters) {
  const std::vector<std::string_view> parts = Split(uriParameters, ';');
  return std::any_of(parts.begin() + 1, parts.end(), [](std::string_view part) {
    const std::optional<Parameter> parameter = ParameterOf(part);
    return parameter && parameter->name == "user" && SameIgnoringCase(parameter->value, "phone");
  });
}

// "user@host;parameters?headers" (or without the user): the number of a
// user=phone address, else the address as it stands.
std::optional<std::string> CalleeOfSip(std::string_view scheme, std::string_view address) {
  if (address.find(' ') != std::string_view::npos || !PercentDecoded(address)) return std::nullopt;
  const size_t at = address.find('@');
  const std::string_view user = at == std::string_view::npos ? std::string_view() : address.substr(0, at);
  const std::string_view rest = at == std::string_view::npos ? address : address.substr(at + 1);
  const std::string_view beforeHeaders = rest.substr(0, rest.find('?'));
  const std::string_view host = beforeHeaders.substr(0, beforeHeaders.find_first_of(";:"));
  if (host.empty() || (at != std::string_view::npos && user.empty())) return std::nullopt;
  // A password after the user is no part of the number.
  if (!user.empty() && HasUserPhone(beforeHeaders)) return NumberOf(user.substr(0, user.find(':')));
  return std::string(scheme) + ":" + std::string(address);
}

}  // namespace

std::optional<std::string> CalleeOfLink(std::string_view link) {
  if (link.size() > kMaxLinkLength || std::ranges::any_of(link, IsControl)) return std::nullopt;
  const size_t colon = link.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string scheme = LowerCase(link.substr(0, colon));
  std::string_view rest = link.substr(colon + 1);
  if (scheme == "tel") return NumberOf(rest);
  if (scheme == "callto") {
    // callto://number, as a host with a slash after it at times.
    if (rest.starts_with("//")) {
      rest.remove_prefix(2);
      if (rest.ends_with('/')) rest.remove_suffix(1);
    }
    return NumberOf(rest);
  }
  if (scheme == "sip" || scheme == "sips") return CalleeOfSip(scheme, rest);
  return std::nullopt;
}

}  // namespace vesk
