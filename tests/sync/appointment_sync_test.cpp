// Two program folders keeping their appointment tables in step through one
// Radicale calendar: first syncs both ways with events in other zones and
// a day-long one, a weekly series with an exception whose occurrences are
// moved and deleted here, a series changed on the server while one of its
// occurrences was changed here, the same field changed on both sides, and
// syncs killed before each write. Every text the sync wrote is read back
// by libical.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <filesystem>

#include "sync/appointment_sync.h"
#include "sync/card_listing.h"
#include "sync/card_writes.h"
#include "tests/support/phone_calendar.h"
#include "tests/support/radicale_server.h"
#include "tests/sync/wait.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 10);

class Computer {
 public:
  Computer(const std::string& folder, const RadicaleServer& server, const QUrl& calendar)
      : client_({QUrl(QString::fromStdString(server.Url())), "max", "geheim", ""}), calendar_(calendar) {
    std::filesystem::create_directories(folder);
    const TableSchema& schema = TermineSchema();
    CreateTable(folder + "/termine.mti", schema.fields, schema.indexes);
    table_.SetTableName(folder + "/termine.mti");
    table_.Open();
  }

  SyncOutcome Sync(SyncHooks hooks = {}, TDateTime today = kToday) {
    return Wait<SyncOutcome>([&](auto done) {
      SyncAppointments(table_, client_, calendar_, today, {"Europe/Berlin", 30, ""}, done, hooks);
    });
  }
  void Add(const std::string& day, const std::string& time, const std::string& place) {
    table_.Append();
    Fill(day, time, place);
    table_.Post();
  }
  void Set(const std::string& place, const std::string& day, const std::string& time, const std::string& newPlace) {
    ASSERT_TRUE(Find(place, day)) << place << " " << day;
    table_.Edit();
    Fill(day, time, newPlace);
    table_.Post();
  }
  void SetRemark(const std::string& place, const std::string& day, const std::string& remark) {
    ASSERT_TRUE(Find(place, day)) << place << " " << day;
    table_.Edit();
    table_.FieldByName(termine::kBemerkung)->SetAsString(remark);
    table_.Post();
  }
  void Delete(const std::string& place, const std::string& day) {
    ASSERT_TRUE(Find(place, day)) << place << " " << day;
    table_.Delete();
  }
  std::string Remark(const std::string& place, const std::string& day) {
    return Find(place, day) ? table_.FieldByName(termine::kBemerkung)->AsString() : "(fehlt)";
  }
  // "14.12.2026 09:30 Zahnarzt" of each record, in date order.
  std::vector<std::string> Records() {
    std::vector<std::pair<std::string, std::string>> sorted;
    for (table_.First(); !table_.Eof(); table_.Next()) {
      const TField& time = *table_.FieldByName(termine::kUhrzeit);
      const TDateTime day = table_.FieldByName(termine::kDatum)->AsDateTime();
      const std::string record = FormatDateTime("dd.mm.yyyy", day) +
                                 (time.IsNull() ? std::string() : " " + FormatDateTime("hh:nn", time.AsDateTime())) +
                                 " " + table_.FieldByName(termine::kOrt)->AsString();
      sorted.push_back({FormatDateTime("yyyymmdd", day) + record.substr(10), record});
    }
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> records;
    for (auto& [key, record] : sorted) records.push_back(std::move(record));
    return records;
  }
  DavClient& Client() { return client_; }

 private:
  void Fill(const std::string& day, const std::string& time, const std::string& place) {
    table_.FieldByName(termine::kDatum)->SetAsDateTime(StrToDate(day));
    if (time.empty())
      table_.FieldByName(termine::kUhrzeit)->Clear();
    else
      table_.FieldByName(termine::kUhrzeit)->SetAsDateTime(StrToTime(time));
    table_.FieldByName(termine::kOrt)->SetAsString(place);
  }
  bool Find(const std::string& place, const std::string& day) {
    for (table_.First(); !table_.Eof(); table_.Next())
      if (table_.FieldByName(termine::kOrt)->AsString() == place &&
          FormatDateTime("dd.mm.yyyy", table_.FieldByName(termine::kDatum)->AsDateTime()) == day)
        return true;
    return false;
  }

  DavClient client_;
  QUrl calendar_;
  TRadiRidir table_;
};

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

class AppointmentSyncTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Listening()) << server_.Log();
    const DavReply made =
        Wait<DavReply>([&](auto done) { here_.Client().Send("MKCALENDAR", calendar_, "", {}, done); });
    ASSERT_EQ(made.status, 201) << made.body;
  }

  // Every resource on the server, each read back by libical.
  std::vector<FetchedCard> OnServer() {
    std::vector<std::string> hrefs;
    for (const CardEntry& entry :
         Wait<CardListing>([&](auto done) { ListEtags(here_.Client(), calendar_, done); }).present)
      hrefs.push_back(entry.href);
    std::vector<FetchedCard> resources = Wait<FetchedCards>([&](auto done) {
                                           FetchCards(here_.Client(), calendar_, hrefs, done, {}, DavKind::Calendar);
                                         }).cards;
    for (const FetchedCard& resource : resources) {
      std::unique_ptr<icalcomponent, ComponentFree> root(icalparser_parse_string(resource.text.c_str()));
      EXPECT_TRUE(root && icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) << resource.text;
      if (root) {
        EXPECT_EQ(icalcomponent_count_errors(root.get()), 0) << resource.text;
      }
    }
    return resources;
  }

  void Put(const std::string& name, const std::string& text, const std::string& etag = "") {
    const WriteResult written = Wait<WriteResult>([&](auto done) {
      PutCard(here_.Client(), calendar_.resolved(QUrl(QString::fromStdString(name))), text, etag, done,
              DavKind::Calendar);
    });
    ASSERT_EQ(written.outcome, WriteOutcome::Written) << written.reply.status << " " << written.reply.body;
  }

  RadicaleServer server_;
  TempFolder folder_;
  QUrl calendar_{QString::fromStdString(server_.Url("/max/termine/"))};
  Computer here_{folder_.File("hier"), server_, calendar_};
  Computer there_{folder_.File("dort"), server_, calendar_};
};

constexpr char kNewYork[] =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\n"
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
    "BEGIN:STANDARD\r\nDTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
    "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\nUID:ny-1@phone\r\nDTSTAMP:20261201T100000Z\r\n"
    "DTSTART;TZID=America/New_York:20261215T100000\r\nDTEND;TZID=America/New_York:20261215T113000\r\n"
    "SUMMARY:Telefonat New York\r\nATTENDEE;CN=Bob:mailto:bob@example.com\r\nCATEGORIES:Arbeit\r\n"
    "X-PHONE-COLOR:blue\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n";

constexpr char kUtc[] =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Google Inc//Google Calendar 70.9054//EN\r\n"
    "BEGIN:VEVENT\r\nUID:utc-1@google.com\r\nDTSTAMP:20261201T100000Z\r\n"
    "DTSTART:20261216T080000Z\r\nDTEND:20261216T090000Z\r\nSUMMARY:Frühstück\r\n"
    "DESCRIPTION:Mit Änne\\nim Café\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

constexpr char kAllDay[] =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN\r\n"
    "BEGIN:VEVENT\r\nUID:day-1@thunderbird\r\nDTSTAMP:20261201T100000Z\r\n"
    "DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nSUMMARY:Heiligabend\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n";

TEST_F(AppointmentSyncTest, TwoComputersKeepOneCalendar) {
  Put("ny-1.ics", kNewYork);
  Put("utc-1.ics", kUtc);
  Put("day-1.ics", kAllDay);
  here_.Add("14.12.2026", "09:30", "Zahnarzt");
  const SyncOutcome first = here_.Sync();
  ASSERT_EQ(first.failure, DavFailure::None) << first.message;
  EXPECT_EQ(first.summary.Text(), "Termine abgeglichen: 4 neu, 0 geändert, 0 gelöscht");
  EXPECT_TRUE(first.summary.upcoming);
  // New York at 10:00 is 16:00 here, 8:00 UTC is 9:00 here.
  const std::vector<std::string> expected{"14.12.2026 09:30 Zahnarzt", "15.12.2026 16:00 Telefonat New York",
                                          "16.12.2026 09:00 Frühstück", "24.12.2026 Heiligabend"};
  EXPECT_EQ(here_.Records(), expected);
  EXPECT_EQ(here_.Remark("Frühstück", "16.12.2026"), "Mit Änne\nim Café");
  // The appointment made here went up as a single event of an hour with
  // its reminder.
  std::vector<FetchedCard> resources = OnServer();
  ASSERT_EQ(resources.size(), 4u);
  for (const FetchedCard& resource : resources)
    if (resource.text.find("Zahnarzt") != std::string::npos) {
      EXPECT_NE(resource.text.find("DTSTART;TZID="), std::string::npos) << resource.text;
      EXPECT_NE(resource.text.find("DURATION:PT1H"), std::string::npos) << resource.text;
      EXPECT_NE(resource.text.find("TRIGGER:-PT30M"), std::string::npos) << resource.text;
    }

  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), expected);

  // Nothing changed: one request.
  const int sent = here_.Client().RequestsSent();
  EXPECT_EQ(here_.Sync().summary.Text(), "Termine abgeglichen: 0 neu, 0 geändert, 0 gelöscht");
  EXPECT_EQ(here_.Client().RequestsSent() - sent, 1);

  // The phone's event moved there: it keeps its attendee, categories, own
  // alarm and X- property, and its hour and a half.
  there_.Set("Telefonat New York", "15.12.2026", "17:00", "Telefonat NY");
  const SyncOutcome moved = there_.Sync();
  ASSERT_EQ(moved.failure, DavFailure::None) << moved.message;
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(here_.Records()[1], "15.12.2026 17:00 Telefonat NY");
  for (const FetchedCard& resource : OnServer())
    if (resource.href.ends_with("ny-1.ics")) {
      for (const char* kept : {"ATTENDEE;CN=Bob:mailto:bob@example.com", "CATEGORIES:Arbeit", "X-PHONE-COLOR:blue",
                               "TRIGGER:-PT5M", "SUMMARY:Telefonat NY"})
        EXPECT_NE(resource.text.find(kept), std::string::npos) << kept << "\n" << resource.text;
      std::unique_ptr<icalcomponent, ComponentFree> root(icalparser_parse_string(resource.text.c_str()));
      icalcomponent* event = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
      EXPECT_EQ(icaldurationtype_as_int(icalcomponent_get_duration(event)), 90 * 60) << resource.text;
    }

  // The same field changed on both sides keeps the value typed on the
  // computer that syncs second, the other below the remark.
  here_.Set("Zahnarzt", "14.12.2026", "09:30", "Zahnarzt Dr. Öz");
  there_.Set("Zahnarzt", "14.12.2026", "09:30", "Zahnärztin");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  const SyncOutcome conflict = there_.Sync();
  ASSERT_EQ(conflict.failure, DavFailure::None) << conflict.message;
  EXPECT_EQ(conflict.summary.conflicts, 1);
  EXPECT_EQ(there_.Remark("Zahnärztin", "14.12.2026"), "Auf dem Server am 10.12.2026: Ort = Zahnarzt Dr. Öz");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(here_.Records(), there_.Records());

  // A deletion here goes there.
  here_.Delete("Heiligabend", "24.12.2026");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(OnServer().size(), 3u);
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), here_.Records());
}

// Every Monday at 9:00 in Berlin from 4 January, ten times, not on 18 January.
const std::string kSeries = std::string(kPhoneCalendarInBerlin) +
                            "BEGIN:VEVENT\r\nUID:weekly-1@phone\r\nDTSTAMP:20261201T100000Z\r\n"
                            "DTSTART;TZID=Europe/Berlin:20270104T090000\r\nDTEND;TZID=Europe/Berlin:20270104T100000\r\n"
                            "RRULE:FREQ=WEEKLY;COUNT=10\r\nEXDATE;TZID=Europe/Berlin:20270118T090000\r\n"
                            "SUMMARY:Teamrunde\r\nX-PHONE-COLOR:green\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

TEST_F(AppointmentSyncTest, ASeriesStaysOneResource) {
  Put("weekly-1.ics", kSeries);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  std::vector<std::string> records = here_.Records();
  ASSERT_EQ(records.size(), 9u);
  EXPECT_EQ(records[0], "04.01.2027 09:00 Teamrunde");
  EXPECT_EQ(records[2], "25.01.2027 09:00 Teamrunde");  // 18 January left out
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);

  // One occurrence moved here, one deleted: an override and an EXDATE in
  // the same resource.
  here_.Set("Teamrunde", "25.01.2027", "10:30", "Teamrunde");
  here_.Delete("Teamrunde", "01.02.2027");
  const SyncOutcome mine = here_.Sync();
  ASSERT_EQ(mine.failure, DavFailure::None) << mine.message;
  std::vector<FetchedCard> resources = OnServer();
  ASSERT_EQ(resources.size(), 1u);
  const std::string& text = resources[0].text;
  EXPECT_NE(text.find("RECURRENCE-ID;TZID="), std::string::npos) << text;
  // In the phone's own zone, which is not written a second time.
  EXPECT_NE(text.find("DTSTART;TZID=Europe/Berlin:20270125T103000"), std::string::npos) << text;
  EXPECT_EQ(text.find("BEGIN:VTIMEZONE"), text.rfind("BEGIN:VTIMEZONE")) << text;
  EXPECT_NE(text.find("20270201T090000"), text.rfind("EXDATE")) << text;
  EXPECT_NE(text.find("X-PHONE-COLOR:green"), std::string::npos) << text;
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  records = there_.Records();
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[2], "25.01.2027 10:30 Teamrunde");
  EXPECT_EQ(records[3], "08.02.2027 09:00 Teamrunde");

  // The series renamed on the server while an occurrence was changed here:
  // every occurrence takes the name, the one changed here keeps its remark.
  here_.SetRemark("Teamrunde", "11.01.2027", "Raum 5 statt 3");
  std::string renamed = resources[0].text;
  for (size_t at = renamed.find("SUMMARY:Teamrunde"); at != std::string::npos;
       at = renamed.find("SUMMARY:Teamrunde", at))
    renamed.replace(at, 17, "SUMMARY:Jour fixe");
  Put(resources[0].href.substr(resources[0].href.rfind('/') + 1), renamed, resources[0].etag);
  const SyncOutcome merged = here_.Sync();
  ASSERT_EQ(merged.failure, DavFailure::None) << merged.message;
  records = here_.Records();
  ASSERT_EQ(records.size(), 8u);
  for (const std::string& record : records) EXPECT_NE(record.find("Jour fixe"), std::string::npos) << record;
  EXPECT_EQ(here_.Remark("Jour fixe", "11.01.2027"), "Raum 5 statt 3");
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), here_.Records());
  EXPECT_EQ(there_.Remark("Jour fixe", "11.01.2027"), "Raum 5 statt 3");
  EXPECT_EQ(OnServer().size(), 1u);
}

// A sync killed before each of its writes, then run whole: one event for
// each appointment, on both sides, nothing doubled.
TEST_F(AppointmentSyncTest, ASyncKilledBeforeAnyWriteEndsInOneOfEach) {
  Put("weekly-1.ics", kSeries);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  here_.Add("14.12.2026", "09:30", "Zahnarzt");
  here_.Add("15.12.2026", "", "Urlaub");
  here_.Set("Teamrunde", "11.01.2027", "11:00", "Teamrunde");
  here_.Delete("Teamrunde", "25.01.2027");
  // Three writes at first: the series, then the two new events. A kill
  // after the first leaves the rest to the next run.
  for (int killAt = 0; killAt < 3; ++killAt) {
    int writes = 0;
    const SyncOutcome killed = here_.Sync({.beforeWrite = [&](const std::string&) { return writes++ < killAt; }});
    if (killAt < 2) {
      EXPECT_EQ(killed.message, "beendet") << killAt;
    }
  }
  const SyncOutcome whole = here_.Sync();
  ASSERT_EQ(whole.failure, DavFailure::None) << whole.message;
  EXPECT_EQ(OnServer().size(), 3u);
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), here_.Records());
  EXPECT_EQ(here_.Records().size(), 10u);
}

// Every Monday at 9:00 from 14 December, without end.
const std::string kEndless = std::string(kPhoneCalendarInBerlin) +
                             "BEGIN:VEVENT\r\nUID:montag@phone\r\nDTSTAMP:20261201T100000Z\r\n"
                             "DTSTART;TZID=Europe/Berlin:20261214T090000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\n"
                             "SUMMARY:Wochenplanung\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

// The horizon moves on with the days: a week later two more Mondays come
// in, the one passed stays. Then the series is renamed on a phone between
// the listing and the write of a remark made here: the write is refused
// (412), the series fetched and merged, and written again.
TEST_F(AppointmentSyncTest, TheHorizonMovesOnAndASeriesChangedWhileWritingIsMerged) {
  Put("montag.ics", kEndless);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  std::vector<std::string> records = here_.Records();
  ASSERT_EQ(records.size(), 52u);
  EXPECT_EQ(records.back(), "06.12.2027 09:00 Wochenplanung");
  const SyncOutcome later = here_.Sync({}, EncodeDate(2026, 12, 21));
  ASSERT_EQ(later.failure, DavFailure::None) << later.message;
  EXPECT_EQ(later.summary.added, 2);
  records = here_.Records();
  ASSERT_EQ(records.size(), 54u);
  EXPECT_EQ(records.front(), "14.12.2026 09:00 Wochenplanung");
  EXPECT_EQ(records.back(), "20.12.2027 09:00 Wochenplanung");

  here_.SetRemark("Wochenplanung", "28.12.2026", "Urlaubsplanung mitbringen");
  int raced = 0;
  const SyncOutcome merged =
      here_.Sync({.beforeWrite =
                      [&](const std::string&) {
                        if (raced++ > 0) return true;
                        const FetchedCard now = OnServer().at(0);
                        std::string renamed = now.text;
                        renamed.replace(renamed.find("SUMMARY:Wochenplanung"), 21, "SUMMARY:Planung");
                        Put("montag.ics", renamed, now.etag);
                        return true;
                      }},
                 EncodeDate(2026, 12, 21));
  ASSERT_EQ(merged.failure, DavFailure::None) << merged.message;
  EXPECT_EQ(raced, 2);  // written twice: refused, then merged
  EXPECT_EQ(merged.summary.conflicts, 0);
  records = here_.Records();
  ASSERT_EQ(records.size(), 54u);
  // The Monday passed stays as it was; the others take the new name.
  EXPECT_EQ(records[0], "14.12.2026 09:00 Wochenplanung");
  for (size_t i = 1; i < records.size(); ++i) EXPECT_TRUE(records[i].ends_with(" Planung")) << records[i];
  EXPECT_EQ(records[2], "28.12.2026 09:00 Planung");
  EXPECT_EQ(here_.Remark("Planung", "28.12.2026"), "Urlaubsplanung mitbringen");
  const std::vector<FetchedCard> resources = OnServer();
  ASSERT_EQ(resources.size(), 1u);
  EXPECT_NE(resources[0].text.find("Urlaubsplanung mitbringen"), std::string::npos) << resources[0].text;
}

}  // namespace
}  // namespace vesk
