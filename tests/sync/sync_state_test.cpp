// The sync state file: what was written reads back, a second write makes
// it hold the second state, nothing changed is not written, a file that is
// no state is refused with its name.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fstream>

#include "sync/sync_state.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

TEST(SyncState, WrittenReadsBackAndReplacesTheStateBefore) {
  TempFolder folder;
  const std::string file = SyncStateFile(folder.File("adressen.mti"));
  EXPECT_EQ(file, folder.File("adressen.sync"));
  EXPECT_TRUE(ReadSyncState(file).cards.empty());

  SyncStateData state{"http://127.0.0.1/max/kontakte/", "http://radicale.org/ns/sync/7", {}};
  state.cards[3] = {3, "/max/kontakte/a.vcf", "\"e1\"", "a", "BEGIN:VCARD\r\nN:Groß;Änne\r\nEND:VCARD\r\n", "4:Groß",
                    ""};
  state.cards[9] = {9, "/max/kontakte/b.vcf", "\"e2\"", "b", "", "", ""};
  // Two occurrences of one series share their resource.
  state.cards[11] = {11, "/max/termine/s.ics", "\"e4\"", "s", "BEGIN:VCALENDAR", "", "20270105T080000Z"};
  state.cards[12] = {12, "/max/termine/s.ics", "\"e4\"", "s", "BEGIN:VCALENDAR", "", "20270112T080000Z"};
  WriteSyncState(file, state, {});
  const SyncStateData back = ReadSyncState(file);
  EXPECT_EQ(back.book, state.book);
  EXPECT_EQ(back.token, state.token);
  EXPECT_EQ(back.cards, state.cards);

  // A record gone, one changed, one new taking over the gone one's href.
  const SyncStateData first = state;
  state.cards[4] = state.cards[3];
  state.cards[4].record = 4;
  state.cards.erase(3);
  state.cards[9].etag = "\"e3\"";
  state.cards[13] = state.cards[12];
  state.cards[13].record = 13;
  state.cards.erase(12);
  state.token.clear();
  WriteSyncState(file, state, first);
  EXPECT_EQ(ReadSyncState(file), state);

  // Nothing changed: the file is not even opened, where it could not be.
  EXPECT_NO_THROW(WriteSyncState(folder.File("fehlt/adressen.sync"), state, state));

  const std::string foreign = folder.File("kaputt.sync");
  std::ofstream(foreign) << "keine Datenbank, nur Text, der lang genug ist, um wie eine Datei auszusehen";
  try {
    ReadSyncState(foreign);
    ADD_FAILURE() << "read a file that is no state";
  } catch (const ESyncState& error) {
    EXPECT_NE(std::string(error.what()).find(foreign), std::string::npos) << error.what();
  }
  EXPECT_THROW(WriteSyncState(folder.File("fehlt/adressen.sync"), state, {}), ESyncState);
}

// A file the first syncs of addresses wrote has no occurrences: it is read
// as cards, and written to with them.
TEST(SyncState, AFileWithoutOccurrencesTakesThem) {
  TempFolder folder;
  const std::string file = folder.File("adressen.sync");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE book(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
                         "CREATE TABLE cards(record INTEGER PRIMARY KEY, href TEXT NOT NULL UNIQUE,"
                         " etag TEXT NOT NULL, uid TEXT NOT NULL, base TEXT NOT NULL, held TEXT NOT NULL DEFAULT '');"
                         "INSERT INTO book VALUES('url', 'http://127.0.0.1/max/kontakte/');"
                         "INSERT INTO cards VALUES(5, '/max/kontakte/a.vcf', 'e1', 'a', 'BEGIN:VCARD', '1:x');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  SyncStateData state = ReadSyncState(file);
  ASSERT_EQ(state.cards.size(), 1u);
  EXPECT_EQ(state.cards[5], (SyncedCard{5, "/max/kontakte/a.vcf", "e1", "a", "BEGIN:VCARD", "1:x", ""}));
  const SyncStateData before = state;
  state.cards[6] = {6, "/max/kontakte/b.vcf", "e2", "b", "BEGIN:VCARD", "", ""};
  WriteSyncState(file, state, before);
  EXPECT_EQ(ReadSyncState(file), state);
}

}  // namespace
}  // namespace vesk
