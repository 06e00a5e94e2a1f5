#include "sync/appointment_sync.h"

#include <QUuid>
#include <map>
#include <optional>
#include <set>

#include "sync/collection_sync.h"
#include "sync/field_rows.h"
#include "toolkit/data/field.h"
#include "tools/exchange/batch_import.h"
#include "tools/exchange/calendar_patch.h"
#include "tools/exchange/exchange_error.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirBatch.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// An appointment's fields as the sync compares them: the day
// ("14.01.2027"), the time of day ("09:30", "" for a day-long one), the
// place and the remark.
enum Column : size_t { kDay, kTime, kPlace, kRemark };

FieldRow RowOf(const AppointmentRecord& appointment) {
  FieldRow row(4);
  row[kDay] = FormatDateTime("dd.mm.yyyy", appointment.Datum);
  if (appointment.Uhrzeit) {
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(*appointment.Uhrzeit, hour, minute, second, msec);
    row[kTime] = FormatDateTime(second != 0 ? "hh:nn:ss" : "hh:nn", *appointment.Uhrzeit);
  }
  row[kPlace] = appointment.Ort;
  row[kRemark] = appointment.Bemerkung;
  return row;
}

AppointmentRecord AppointmentOf(const FieldRow& row) {
  AppointmentRecord appointment;
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  std::sscanf(row[kDay].c_str(), "%d.%d.%d", &day, &month, &year);
  appointment.Datum = EncodeDate(year, month, day);
  if (!row[kTime].empty()) {
    std::sscanf(row[kTime].c_str(), "%d:%d:%d", &hour, &minute, &second);
    appointment.Uhrzeit = EncodeTime(hour, minute, second, 0);
  }
  appointment.Ort = row[kPlace];
  appointment.Bemerkung = row[kRemark];
  return appointment;
}

// A resource's events by occurrence ("" for a single event).
using Occurrences = std::map<std::string, AppointmentRecord>;

bool IsSeries(const std::string& text) { return text.find("\nRRULE") != std::string::npos; }

class AppointmentSync : public CollectionSync {
 public:
  AppointmentSync(TRadiRidir& table, DavClient& client, QUrl calendar, TDateTime today, CalendarSettings settings,
                  SyncHooks hooks, std::function<void(SyncOutcome)> done)
      : CollectionSync(client, std::move(calendar), DavKind::Calendar, SyncStateFile(TableFilePath(table.TableName())),
                       std::move(hooks), std::move(done)),
        table_(table),
        today_(today),
        settings_(std::move(settings)),
        rows_({{termine::kDatum, 0},
               {termine::kUhrzeit, 0},
               {termine::kOrt, static_cast<size_t>(table.FieldByName(termine::kOrt)->Size())},
               {termine::kBemerkung, 0}},
              kRemark),
        datum_(*table.FieldByName(termine::kDatum)),
        uhrzeit_(*table.FieldByName(termine::kUhrzeit)),
        ort_(*table.FieldByName(termine::kOrt)),
        bemerkung_(*table.FieldByName(termine::kBemerkung)) {
    summary_.what = "Termine";
    progress_.items = "Termine";
  }

 private:
  // ----- the table

  // The dated records here; the undated ones are no events.
  struct Local {
    std::map<int32_t, FieldRow> rows;
    std::set<int32_t> undated;
  };

  Local ReadLocal() {
    Local local;
    for (table_.First(); !table_.Eof(); table_.Next()) {
      if (datum_.IsNull()) {
        local.undated.insert(table_.RecordIdentity());
        continue;
      }
      AppointmentRecord appointment;
      appointment.Datum = static_cast<int64_t>(datum_.AsDateTime());
      if (!uhrzeit_.IsNull()) appointment.Uhrzeit = uhrzeit_.AsDateTime() - static_cast<int64_t>(uhrzeit_.AsDateTime());
      appointment.Ort = ort_.AsString();
      appointment.Bemerkung = bemerkung_.AsString();
      local.rows[table_.RecordIdentity()] = RowOf(appointment);
    }
    return local;
  }

  void Write(const FieldRow& row) {
    const AppointmentRecord appointment = AppointmentOf(row);
    datum_.SetAsDateTime(appointment.Datum);
    if (appointment.Uhrzeit)
      uhrzeit_.SetAsDateTime(*appointment.Uhrzeit);
    else
      uhrzeit_.Clear();
    SetTextCut(ort_, appointment.Ort);
    SetTextCut(bemerkung_, appointment.Bemerkung);
  }

  bool Upcoming(const FieldRow& row) const { return AppointmentOf(row).Datum >= today_; }

  // A record to make of an occurrence on the server.
  struct Insert {
    SyncedCard synced;  // record unknown yet
    FieldRow row;       // cut
  };

  // What the table is to take, in one batch.
  struct Changes {
    std::map<int32_t, FieldRow> updates;
    std::set<int32_t> deletes;
    std::vector<Insert> inserts;
  };

  void Apply(const Changes& changes, const Local& local) {
    if (changes.updates.empty() && changes.deletes.empty() && changes.inserts.empty()) return;
    TRadiRidirBatch batch(table_);
    try {
      table_.First();
      while (!table_.Eof()) {
        const int32_t record = table_.RecordIdentity();
        const auto was = local.rows.find(record);
        if (changes.deletes.contains(record)) {
          summary_.upcoming |= was != local.rows.end() && Upcoming(was->second);
          table_.Delete();
          continue;
        }
        if (const auto update = changes.updates.find(record); update != changes.updates.end()) {
          summary_.upcoming |= Upcoming(update->second) || (was != local.rows.end() && Upcoming(was->second));
          table_.Edit();
          Write(update->second);
          table_.Post();
        }
        table_.Next();
      }
      for (const Insert& insert : changes.inserts) {
        table_.Append();
        Write(insert.row);
        table_.Post();
        SyncedCard synced = insert.synced;
        synced.record = table_.RecordIdentity();
        state_.cards[synced.record] = std::move(synced);
        summary_.upcoming |= Upcoming(insert.row);
        ++summary_.added;
      }
      batch.Commit();
    } catch (...) {
      if (table_.State() != dsBrowse) table_.Cancel();
      throw;
    }
  }

  // ----- set against each other

  Occurrences Derived(const std::string& text) const {
    Occurrences occurrences;
    for (AppointmentRecord& appointment : AppointmentsFromCalendar(text, settings_.zone, today_).appointments)
      occurrences.try_emplace(appointment.occurrence, std::move(appointment));
    return occurrences;
  }

  // What goes up for one resource, and what it carries for the state.
  struct Upload_ {
    std::vector<int32_t> deleted;                       // records whose occurrences go (EXDATE, or the resource)
    std::vector<std::pair<int32_t, FieldRow>> carried;  // records whose fields the text carries now
    std::optional<ResourceWrite> write;
    std::string uid;  // of a new event
  };

  // The resource at href against its records here: the table's changes
  // go into changes, the state's into state_; what goes up comes back.
  // records: those the state has at href. unsynced: the records here not
  // synced yet, by their encoded fields, to be joined to new occurrences
  // that equal them.
  Upload_ Reconcile(const std::string& href, const std::vector<int32_t>& records, Local& local, Changes& changes,
                    std::map<std::string, std::vector<int32_t>>& unsynced) {
    const auto there = fetched_.find(href);
    const bool gone = there == fetched_.end() && removed_.contains(href);
    const std::string serverText = there != fetched_.end() ? there->second.text
                                   : records.empty()       ? ""
                                                           : state_.cards[records.front()].base;
    const std::string etag = there != fetched_.end() ? there->second.etag : state_.cards[records.front()].etag;
    // What is here of each record, taken out of those still to place.
    std::map<int32_t, std::optional<FieldRow>> here;
    bool touched = there != fetched_.end() || gone || IsSeries(serverText);
    std::set<std::string> seen;  // the occurrences that have their record
    for (int32_t record : records) {
      seen.insert(state_.cards[record].occurrence);
      if (local.undated.contains(record)) continue;  // no event while it has no day: left as it is
      std::optional<FieldRow>& row = here[record];
      if (const auto found = local.rows.find(record); found != local.rows.end()) row = found->second;
      touched |= !row || FieldRows::Encoded(*row) != state_.cards[record].held;
    }
    Upload_ upload;
    if (!touched) return upload;
    Occurrences server;
    if (!gone) {
      try {
        server = Derived(serverText);
      } catch (const EExchangeError&) {
        return upload;  // not readable: left as it was
      }
    }
    std::optional<Occurrences> base;  // derived when a merge needs it
    std::vector<EventChange> events;
    bool removeResource = false;
    for (const auto& [record, row] : here) {
      SyncedCard& synced = state_.cards[record];
      const bool changedHere = row && FieldRows::Encoded(*row) != synced.held;
      if (gone) {
        if (row && !changedHere) {
          changes.deletes.insert(record);
          ++summary_.deleted;
        }
        state_.cards.erase(record);  // changed here: it stays, and goes up as a new event
        continue;
      }
      const auto occurrence = server.find(synced.occurrence);
      if (occurrence == server.end()) {
        if (!row) {
          state_.cards.erase(record);
        } else if (!synced.occurrence.empty() && AppointmentOf(*row).Datum < today_) {
          // Passed: stays here as it is.
        } else if (!changedHere) {
          changes.deletes.insert(record);
          ++summary_.deleted;
          state_.cards.erase(record);
        } else {
          state_.cards.erase(record);  // changed here, gone there: a new event
        }
        continue;
      }
      const FieldRow serverRow = RowOf(occurrence->second);
      const bool changedOnServer = FieldRows::Encoded(rows_.Cut(serverRow)) != synced.held;
      if (!row) {
        if (changedOnServer) {  // deleted here, changed there: the change wins
          changes.inserts.push_back({Synced(href, etag, serverText, occurrence->second), rows_.Cut(serverRow)});
          state_.cards.erase(record);
        } else if (synced.occurrence.empty()) {
          removeResource = true;
          upload.deleted.push_back(record);
        } else {
          events.push_back({synced.occurrence, occurrence->second, std::nullopt});
          upload.deleted.push_back(record);
        }
        continue;
      }
      FieldRow merged = *row;
      if (changedOnServer) {
        if (!changedHere) {
          merged = rows_.Cut(serverRow);
        } else {
          if (!base) base = Derived(synced.base);
          const auto was = base->find(synced.occurrence);
          merged = rows_.Merged(was != base->end() ? RowOf(was->second) : serverRow, *row, serverRow, today_,
                                summary_.conflicts);
        }
        if (merged != *row) changes.updates[record] = merged;
        ++summary_.changed;
      }
      synced.etag = etag;
      synced.base = serverText;
      synced.held = FieldRows::Encoded(rows_.Cut(serverRow));
      const FieldRow whole = rows_.Whole(merged, serverRow);
      if (whole != serverRow) {
        events.push_back({synced.occurrence, occurrence->second, AppointmentOf(whole)});
        upload.carried.push_back({record, rows_.Cut(whole)});
      }
    }
    // New on the server, or come into the horizon: joined to an equal
    // record here, or new records.
    for (const auto& [id, appointment] : server) {
      if (seen.contains(id)) continue;
      const FieldRow row = rows_.Cut(RowOf(appointment));
      const SyncedCard synced = Synced(href, etag, serverText, appointment);
      const auto same = unsynced.find(FieldRows::Encoded(row));
      if (same != unsynced.end() && !same->second.empty()) {
        const int32_t record = same->second.back();
        same->second.pop_back();
        local.rows.erase(record);
        state_.cards[record] = synced;
        state_.cards[record].record = record;
        continue;
      }
      changes.inserts.push_back({synced, row});
    }
    if (removeResource)
      upload.write = ResourceWrite{href, "", etag, true};
    else if (!events.empty())
      upload.write = ResourceWrite{href, PatchedCalendar(serverText, events, settings_.zone), etag};
    return upload;
  }

  // What the state keeps of an occurrence synced now, as read from text.
  SyncedCard Synced(const std::string& href, const std::string& etag, const std::string& text,
                    const AppointmentRecord& event) const {
    return {0, href, etag, event.uid, text, FieldRows::Encoded(rows_.Cut(RowOf(event))), event.occurrence};
  }

  // The state's records by the href of their resource, found in one pass.
  std::map<std::string, std::vector<int32_t>> RecordsByHref() const {
    std::map<std::string, std::vector<int32_t>> byHref;
    for (const auto& [record, synced] : state_.cards) byHref[synced.href].push_back(record);
    return byHref;
  }

  void Reconcile() override {
    Local local = ReadLocal();
    std::map<std::string, std::vector<int32_t>> unsynced;
    for (const auto& [record, row] : local.rows)
      if (!state_.cards.contains(record)) unsynced[FieldRows::Encoded(row)].push_back(record);
    std::map<std::string, std::vector<int32_t>> byHref = RecordsByHref();
    for (const auto& [href, resource] : fetched_) byHref.try_emplace(href);
    Changes changes;
    const Local before = local;
    for (const auto& [href, records] : byHref) {
      Upload_ upload = Reconcile(href, records, local, changes, unsynced);
      // Those still synced there are placed; a joined one was taken out already.
      for (int32_t record : records)
        if (state_.cards.contains(record)) local.rows.erase(record);
      if (upload.write) Queue(std::move(upload));
    }
    for (int32_t record : changes.deletes) local.rows.erase(record);
    // New here: up as single events.
    for (const auto& [record, row] : local.rows) {
      if (state_.cards.contains(record)) continue;
      AppointmentRecord appointment = AppointmentOf(row);
      appointment.uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
      const std::string href = collection_.path(QUrl::FullyEncoded).toStdString() + appointment.uid + ".ics";
      Upload_ upload;
      upload.uid = appointment.uid;
      upload.carried.push_back({record, row});
      upload.write = ResourceWrite{href, CalendarFromAppointments({appointment}, settings_), ""};
      Queue(std::move(upload));
    }
    Apply(changes, before);
  }

  void Queue(Upload_ upload) {
    writes_.push_back(*upload.write);
    uploads_.push_back(std::move(upload));
  }

  // ----- the server's resources, one by one

  void Wrote(size_t i, const std::string& etag) override {
    const ResourceWrite& write = writes_[i];
    const Upload_& upload = uploads_[i];
    for (int32_t record : upload.deleted) state_.cards.erase(record);
    if (write.remove) {
      ++summary_.deleted;
      return;
    }
    const bool made = write.etag.empty();
    for (auto& [record, synced] : state_.cards)
      if (synced.href == write.href) {
        synced.etag = etag;
        synced.base = write.text;
      }
    for (const auto& [record, row] : upload.carried) {
      if (made) {
        AppointmentRecord made = AppointmentOf(row);
        made.uid = upload.uid;
        state_.cards[record] = Synced(write.href, etag, write.text, made);
        state_.cards[record].record = record;
        ++summary_.added;
      } else {
        state_.cards[record].held = FieldRows::Encoded(row);
        ++summary_.changed;
      }
    }
    if (!upload.deleted.empty() && !made) ++summary_.deleted;
  }

  void Postponed(size_t i) override {
    for (auto& [record, synced] : state_.cards)
      if (synced.href == writes_[i].href) synced.etag.clear();
  }

  // The resource changed there since it was listed (412): set against the
  // records here again and written once more.
  void Merge(size_t next, std::optional<FetchedCard> now) override {
    const std::string href = writes_[next].href;
    fetched_.erase(href);
    if (now)
      fetched_[href] = std::move(*now);
    else
      removed_.insert(href);
    Local local = ReadLocal();
    const Local before = local;
    std::map<std::string, std::vector<int32_t>> unsynced;
    Changes changes;
    Upload_ upload = Reconcile(href, RecordsByHref()[href], local, changes, unsynced);
    Apply(changes, before);
    if (!upload.write) return Upload(next + 1);
    upload.write->again = true;
    writes_[next] = *upload.write;
    uploads_[next] = std::move(upload);
    Upload(next);
  }

  TRadiRidir& table_;
  TDateTime today_;
  CalendarSettings settings_;
  FieldRows rows_;
  TField &datum_, &uhrzeit_, &ort_, &bemerkung_;
  std::vector<Upload_> uploads_;  // beside writes_
};

}  // namespace

void SyncAppointments(TRadiRidir& table, DavClient& client, const QUrl& calendar, TDateTime today,
                      const CalendarSettings& settings, std::function<void(SyncOutcome)> done, SyncHooks hooks) {
  std::make_shared<AppointmentSync>(table, client, calendar, today, settings, std::move(hooks), std::move(done))
      ->Start();
}

}  // namespace vesk
