// A card and the fields the sync compares: what has no field stays in the
// card and out of Text; a change rewrites the properties of the changed
// fields alone and leaves every other line as the phone wrote it.
#include <gtest/gtest.h>

#include "sync/synced_fields.h"

namespace vesk {
namespace {

// As an iPhone writes a contact, with a photo, a birthday, three numbers,
// an organisation and properties of its own.
const std::string kPhoneCard =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.1//EN\r\nN:Köhler;Änne;Maria;;\r\n"
    "FN:Änne Maria Köhler\r\nORG:Stadtwerke Hürth;\r\nTEL;type=CELL;type=VOICE;type=pref:0171 123456\r\n"
    "TEL;type=HOME;type=VOICE:02233 9876\r\nTEL;type=WORK;type=VOICE:02233 5555\r\n"
    "EMAIL;type=INTERNET;type=HOME;type=pref:aenne@example.de\r\n"
    "item1.ADR;type=HOME;type=pref:;;Lindenstraße 5;Hürth;;50354;Deutschland\r\nitem1.X-ABADR:de\r\n"
    "BDAY;value=date:1965-04-12\r\nNOTE:Kennt sich mit Rosen aus\r\nCATEGORIES:Familie,Garten\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/"
    "2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQ\r\n"
    " DQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/wAALCAABAAEBAREA/8QAFAABAAAAAAAAAAAAAAAAAAAACf\r\n"
    "UID:4F2E9C31-7A0B-4D2E-9F11-2C3D4E5F6A7B\r\nX-ABUID:4F2E9C31-7A0B-4D2E-9F11-2C3D4E5F6A7B:ABPerson\r\n"
    "END:VCARD\r\n";

// The fields one per line, for a readable failure.
std::string Shown(const SyncedFields& f) {
  std::string text;
  for (const auto& [name, member] : kAddressFields) text += std::string(name) + "=" + f.address.*member + "\n";
  return text + "Tarifzone1=" + f.Tarifzone1 + "\nTarifzone2=" + f.Tarifzone2 + "\n";
}

TEST(SyncedFields, ACardEditedHereKeepsEverythingWithoutAField) {
  const SyncedFields before = FieldsOfCard(kPhoneCard);
  EXPECT_EQ(before.address.Name, "Köhler");
  EXPECT_EQ(before.address.Vorname, "Änne Maria");
  EXPECT_EQ(before.address.Telefon1, "0171 123456");
  EXPECT_EQ(before.address.Telefon2, "02233 9876");
  EXPECT_EQ(before.address.Text, "Kennt sich mit Rosen aus");  // no photo, birthday or company in it
  EXPECT_EQ(before.address.Kategorie, "Familie");

  // Each change alone, then all at once; the lines of the other fields and
  // the ones without a field stay byte for byte.
  const std::vector<std::function<void(SyncedFields&)>> edits = {
      [](SyncedFields& f) { f.address.Name = "Köhler-Brandt"; },
      [](SyncedFields& f) { f.address.Telefon2 = "02233 1111"; },
      [](SyncedFields& f) { std::swap(f.address.Telefon1, f.address.Telefon2); },
      [](SyncedFields& f) { f.address.Email.clear(); },
      [](SyncedFields& f) { f.address.Fax = "02233 9877"; },
      [](SyncedFields& f) {
        f.address.Strasse = "Birkenweg 2, Hinterhaus";
        f.address.PLZ = "50355";
      },
      [](SyncedFields& f) { f.address.Text = "Zwei\nZeilen; mit Komma, und \\"; },
      [](SyncedFields& f) { f.address.Kategorie = "Nachbarn"; },
      [](SyncedFields& f) { f.Tarifzone1 = "Regional"; },
      [](SyncedFields& f) {
        f.address.Email = "aenne@neu.example";
        f.address.URL = "https://example.de/rosen";
        f.Tarifzone2 = "Fern";
      },
  };
  for (size_t i = 0; i < edits.size(); ++i) {
    SyncedFields after = before;
    edits[i](after);
    const std::string patched = PatchedCard(kPhoneCard, before, after);
    EXPECT_EQ(Shown(FieldsOfCard(patched)), Shown(after)) << i << "\n" << patched;
    for (const char* kept :
         {"PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ", "BDAY;value=date:1965-04-12\r\n", "ORG:Stadtwerke Hürth;\r\n",
          "TEL;type=WORK;type=VOICE:02233 5555\r\n", "X-ABUID:4F2E9C31", "item1.X-ABADR:de\r\n", "UID:4F2E9C31"})
      EXPECT_NE(patched.find(kept), std::string::npos) << i << ": lost " << kept << "\n" << patched;
  }
  EXPECT_EQ(PatchedCard(kPhoneCard, before, before), kPhoneCard);

  SyncedFields made;
  made.address.Name = "Neu";
  made.Tarifzone1 = "Ort";
  const std::string card = NewCard(made, "abc-1");
  EXPECT_EQ(Shown(FieldsOfCard(card)), Shown(made));
  EXPECT_NE(card.find("UID:abc-1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vesk
