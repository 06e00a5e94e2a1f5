// The lines of a calendar file before libical reads them: where each event
// stands and which of its properties are on which line, so that a fault is
// named at its own line; the events and stray lines that cannot be read,
// left out; the rest for libical with one kind of line end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/exchange/exchange_error.h"

namespace vesk {

// Where an event stands in the file, as the reading of its lines found it.
struct EventSource {
  int begin = 0;                                        // its BEGIN:VEVENT line
  int end = 0;                                          // its END:VEVENT line
  std::optional<ExchangeFault> fault;                   // the first line of it that cannot be read
  std::vector<std::pair<std::string, int>> properties;  // the name and line of each of its own properties

  // The line of its first property of the name; 0 when it has none.
  int LineOf(std::string_view name) const {
    for (const auto& [property, line] : properties)
      if (property == name) return line;
    return 0;
  }
};

// The file as its lines show it, before libical reads it.
struct CalendarLines {
  std::vector<EventSource> events;     // the readable events of the calendars, in the file's order
  std::vector<ExchangeFault> skipped;  // the events and lines left out
  std::string text;                    // the lines for libical: all but the left-out ones, each ending in CRLF
};

// Reads the file's lines and finds its structure. An event with a line
// that cannot be read, or one a new event begins in, is left out; so are
// lines outside a calendar. A file without a calendar, one with a
// component that does not end (cut short), and components outside the
// events that end out of order are refused: the events cannot be told
// apart from their surroundings then; EExchangeError names the line.
CalendarLines ScanCalendar(std::string_view file);

}  // namespace vesk
