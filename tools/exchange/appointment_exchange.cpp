#include "tools/exchange/appointment_exchange.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// "-<hash>@vesktools": the hash (FNV-1a) of the computer's name and the
// table's full path, so that two tables never give the same UID.
std::string UidSuffix(const TRadiRidir& table) {
  char host[HOST_NAME_MAX + 1] = {};
  gethostname(host, sizeof host - 1);
  std::error_code error;
  const std::string path = std::filesystem::absolute(table.TableName(), error).lexically_normal().string();
  uint64_t hash = 14695981039346656037ull;
  for (char c : std::string(host) + "\n" + path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("-") + text + "@vesktools";
}

}  // namespace

ImportResult ImportCalendar(TRadiRidir& table, std::string_view text, const std::string& zone, TDateTime today,
                            const ImportProgress& progress) {
  CalendarReading reading = AppointmentsFromCalendar(text, zone, today);
  const ImportResult result{reading.appointments.size(), std::move(reading.skipped)};
  result.RefuseWhenNothingCameIn();
  std::vector<AppointmentRecord>& appointments = reading.appointments;
  TField& datum = *table.FieldByName(termine::kDatum);
  TField& uhrzeit = *table.FieldByName(termine::kUhrzeit);
  TField& ort = *table.FieldByName(termine::kOrt);
  TField& bemerkung = *table.FieldByName(termine::kBemerkung);
  AppendInOneBatch(
      table, appointments.size(),
      [&](size_t i) {
        AppointmentRecord& appointment = appointments[i];
        datum.SetAsDateTime(appointment.Datum);
        if (appointment.Uhrzeit) uhrzeit.SetAsDateTime(*appointment.Uhrzeit);
        if (!SetTextCut(ort, appointment.Ort))
          appointment.Bemerkung =
              "Titel: " + appointment.Ort + (appointment.Bemerkung.empty() ? "" : "\n\n") + appointment.Bemerkung;
        SetTextCut(bemerkung, appointment.Bemerkung);
      },
      [&](size_t i) { return appointments[i].line; }, progress);
  return result;
}

std::string ExportCalendar(TRadiRidir& table, const std::string& zone, int leadMinutes) {
  std::vector<AppointmentRecord> appointments;
  const TField& datum = *table.FieldByName(termine::kDatum);
  const TField& uhrzeit = *table.FieldByName(termine::kUhrzeit);
  const TField& ort = *table.FieldByName(termine::kOrt);
  const TField& bemerkung = *table.FieldByName(termine::kBemerkung);
  for (table.First(); !table.Eof(); table.Next()) {
    if (datum.IsNull()) continue;
    AppointmentRecord appointment;
    appointment.Datum = datum.AsDateTime();
    if (!uhrzeit.IsNull()) appointment.Uhrzeit = uhrzeit.AsDateTime() - static_cast<int64_t>(uhrzeit.AsDateTime());
    appointment.Ort = ort.AsString();
    appointment.Bemerkung = bemerkung.AsString();
    appointment.identity = table.RecordIdentity();
    appointments.push_back(std::move(appointment));
  }
  return CalendarFromAppointments(appointments, {zone, leadMinutes, UidSuffix(table)});
}

}  // namespace vesk
