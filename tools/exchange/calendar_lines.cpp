#include "tools/exchange/calendar_lines.h"

#include <algorithm>

#include "runtime/conversions.h"
#include "tools/exchange/content_lines.h"

namespace vesk {

CalendarLines ScanCalendar(std::string_view file) {
  const std::vector<std::string_view> physical = PhysicalLines(file);
  std::vector<bool> leftOut(physical.size(), false);
  CalendarLines result;
  std::vector<std::pair<std::string, int>> open;  // the components open, each with its BEGIN line
  std::optional<size_t> event;                    // the event open, in result.events
  bool calendar = false;
  std::optional<ExchangeFault> firstFault;
  auto leaveOut = [&](const ExchangeFault& fault, int first, int last) {
    std::fill(leftOut.begin() + first - 1, leftOut.begin() + last, true);
    if (!firstFault) firstFault = fault;
    result.skipped.push_back(fault);
  };
  auto eventFault = [&](const ExchangeFault& fault) {
    if (!result.events[*event].fault) result.events[*event].fault = fault;
  };
  auto outside = [&] { return calendar ? "Text nach dem Ende des Kalenders" : "Text außerhalb eines Kalenders"; };
  // A component outside a calendar (a vCard) is left out as a whole.
  auto stray = [&] { return !open.empty() && open.front().first != "VCALENDAR"; };
  auto closeEvent = [&](int endLine) {
    result.events[*event].end = endLine;
    event.reset();
  };
  auto onLine = [&](ContentLine&& line) {
    if (line.name == "BEGIN") {
      const std::string name = UpperCase(line.value);
      if (open.empty()) {
        calendar = calendar || name == "VCALENDAR";
      } else if (name == "VEVENT" && event) {
        // The open event lacks its END: it goes, the new one begins.
        eventFault({line.line, "neuer Termin, bevor der Termin ab Zeile " +
                                   std::to_string(result.events[*event].begin) + " mit END:VEVENT endet"});
        while (open.back().first != "VEVENT") open.pop_back();
        open.pop_back();
        closeEvent(line.line - 1);
      }
      if (name == "VEVENT" && open.size() == 1 && open.front().first == "VCALENDAR") {
        event = result.events.size();
        result.events.emplace_back().begin = line.line;
      }
      open.emplace_back(name, line.line);
    } else if (open.empty()) {
      leaveOut({line.line, outside()}, line.line, line.lastLine);
    } else if (line.name == "END") {
      const std::string name = UpperCase(line.value);
      auto found = std::find_if(open.rbegin(), open.rend(), [&](const auto& c) { return c.first == name; });
      if (found == open.rend() || found != open.rbegin()) {
        const ExchangeFault fault{line.line, found == open.rend()
                                                 ? "END:" + line.value + " ohne BEGIN:" + line.value
                                                 : "END:" + line.value + ", wo BEGIN:" + open.back().first +
                                                       " aus Zeile " + std::to_string(open.back().second) + " endet"};
        if (!event && !stray()) throw EExchangeError(fault);
        if (event) eventFault(fault);
        if (found == open.rend()) return;
      }
      const int begin = found->second;
      open.erase(std::prev(found.base()), open.end());
      // An END beyond the event's own ends the event on the line before.
      if (event && open.size() < 2) closeEvent(name == "VEVENT" ? line.line : line.line - 1);
      if (open.empty() && name != "VCALENDAR")
        leaveOut({begin, "BEGIN:" + name + " außerhalb eines Kalenders"}, begin, line.line);
    } else if (event && open.size() == 2) {
      result.events[*event].properties.emplace_back(std::move(line.name), line.line);
    }
  };
  ReadContentLines(physical, onLine, [&](const ExchangeFault& fault, int last) {
    if (event)
      eventFault(fault);
    else if (!stray())
      leaveOut({fault.line, calendar && open.empty() ? outside() : fault.reason}, fault.line, last);
  });
  if (!open.empty())
    throw EExchangeError(open.back().second, "BEGIN:" + open.back().first + " endet nicht (Datei abgeschnitten?)");
  if (!calendar)
    throw EExchangeError(firstFault.value_or(ExchangeFault{1, "kein Kalender in der Datei (BEGIN:VCALENDAR fehlt)"}));
  for (const EventSource& source : result.events)
    if (source.fault) {
      std::fill(leftOut.begin() + source.begin - 1, leftOut.begin() + source.end, true);
      result.skipped.push_back(*source.fault);
    }
  result.text.reserve(file.size() + physical.size());
  for (size_t i = 0; i < physical.size(); ++i) {
    if (leftOut[i]) continue;
    result.text += physical[i];
    result.text += "\r\n";
  }
  std::erase_if(result.events, [](const EventSource& source) { return source.fault.has_value(); });
  return result;
}

}  // namespace vesk
