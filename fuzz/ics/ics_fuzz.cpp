// The fuzz target of the iCalendar reader: any bytes as a calendar file,
// read in one zone on a fixed day. Every refusal and every skipped event
// names its line; what it reads, written as a calendar and read again,
// gives the same appointments and skips nothing.
#include <string_view>

#include "fuzz/fuzz_entry.h"
#include "tools/exchange/calendar_file.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {

void FuzzOneInput(const uint8_t* data, size_t size) {
  const std::string zone = "Europe/Berlin";
  const TDateTime today = EncodeDate(2027, 1, 4);
  std::vector<AppointmentRecord> appointments;
  try {
    const CalendarReading reading =
        AppointmentsFromCalendar(std::string_view(reinterpret_cast<const char*>(data), size), zone, today);
    for (const ExchangeFault& fault : reading.skipped)
      if (fault.line < 1 || fault.reason.empty()) FuzzRuleBroken("a skipped event without its line");
    appointments = reading.appointments;
  } catch (const EExchangeError& error) {
    if (error.Line() < 1) FuzzRuleBroken("a refusal without its line");
    return;
  }
  std::vector<AppointmentRecord> again;
  try {
    const CalendarReading reading =
        AppointmentsFromCalendar(CalendarFromAppointments(appointments, {zone, 10, "@fuzz"}), zone, today);
    if (!reading.skipped.empty()) FuzzRuleBroken("a written calendar skips an event");
    again = reading.appointments;
  } catch (const EExchangeError&) {
    FuzzRuleBroken("a written calendar is refused");
  }
  if (again.size() != appointments.size()) FuzzRuleBroken("a written calendar reads back as another number");
  for (size_t i = 0; i < again.size(); ++i) {
    if (again[i].Datum != appointments[i].Datum || again[i].Ort != appointments[i].Ort ||
        again[i].Bemerkung != appointments[i].Bemerkung)
      FuzzRuleBroken("a written appointment reads back as another");
  }
}

}  // namespace vesk
