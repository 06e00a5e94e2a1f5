// vCard files as a phone (2.1), a webmail service (3.0) and a 4.0 writer
// give them, read field by field; broken files refused with their line;
// written cards read back as the same address.
#include <gtest/gtest.h>

#include "tests/tools/exchange/sample_files.h"
#include "tools/exchange/address_card.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

using namespace std::string_literals;

std::vector<AddressRecord> Addresses(const std::string& text) {
  std::vector<AddressRecord> addresses;
  for (const VCard& card : ReadVCards(text)) addresses.push_back(AddressFromCard(card));
  return addresses;
}

void ExpectLines(const std::string& text, std::initializer_list<const char*> lines) {
  for (const char* line : lines)
    EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "\nin:\n" << text;
}

TEST(VCardReading, PhoneExportOfVersion21) {
  const std::vector<AddressRecord> cards = Addresses(Sample("phone_21.vcf"));
  ASSERT_EQ(cards.size(), 2u);
  const AddressRecord& a = cards[0];
  EXPECT_EQ(a.Name, "Müller");
  EXPECT_EQ(a.Vorname, "Jürgen");
  EXPECT_EQ(a.Telefon1, "+49 170 1234567");  // the preferred mobile number
  EXPECT_EQ(a.Telefon2, "0221 445566");      // home before work
  EXPECT_EQ(a.Fax, "0221 445567");
  EXPECT_EQ(a.Strasse, "Straße des 17. Juni 4");
  EXPECT_EQ(a.PLZ, "50667");
  EXPECT_EQ(a.Stadt, "Köln");
  EXPECT_TRUE(a.Text.starts_with("Zweite Zeile folgt\nDies ist die zweite; mit Semikolon\n\n")) << a.Text;
  ExpectLines(a.Text, {"Titel: Dr.", "Telefon (geschäftlich): 0221 998877", "Land: Deutschland",
                       "Geburtstag: 12.04.1965", "Foto: nicht übernommen"});
  // Latin-1, once stated and once not.
  EXPECT_EQ(cards[1].Name, "Weiß");
  EXPECT_EQ(cards[1].Vorname, "Bärbel");
  EXPECT_EQ(cards[1].Telefon1, "030 123");
  EXPECT_EQ(cards[1].Text, "Grüße aus Köln");
}

TEST(VCardReading, WebmailExportOfVersion30) {
  const std::vector<AddressRecord> cards = Addresses(Sample("webmail_30.vcf"));
  ASSERT_EQ(cards.size(), 1u);
  const AddressRecord& a = cards[0];
  EXPECT_EQ(a.Name, "Öztürk");
  EXPECT_EQ(a.Vorname, "Ayşe");
  EXPECT_EQ(a.Telefon1, "+49 151 9876543");
  EXPECT_EQ(a.Telefon2, "089 555");
  EXPECT_EQ(a.Fax, "+49 89 1234-99");
  EXPECT_EQ(a.Email, "ayse@example.org");
  EXPECT_EQ(a.URL, "https://www.beispiel.de");
  EXPECT_EQ(a.Strasse, "Leopoldstraße 1, 2. OG");
  EXPECT_EQ(a.PLZ, "80802");
  EXPECT_EQ(a.Stadt, "München");
  EXPECT_EQ(a.Kategorie, "Kunden");
  EXPECT_TRUE(
      a.Text.starts_with("Trifft man am besten vormittags.\nParkplatz im Hof, Tor 2. Sehr lange Notiz, "
                         "die gefaltet wurde.\n\n"))
      << a.Text;
  ExpectLines(a.Text, {"Telefon (geschäftlich): +49 89 1234-0", "E-Mail (geschäftlich): ayse.oeztuerk@beispiel.de",
                       "Internet (privat): https://ayse.example.org", "Adresse (privat): Am Anger 3, 85354 Freising",
                       "Region: Bayern", "Land: Deutschland", "Kategorien: Messe 2026, VIP",
                       "Firma: Beispiel GmbH, Vertrieb", "Position: Leiterin, Außendienst", "X-ABLABEL: Büro"});
  EXPECT_EQ(a.Text.find("PRODID"), std::string::npos);
  EXPECT_EQ(a.Text.find("REV"), std::string::npos);
}

TEST(VCardReading, Version40WithAlternativesAndPreferences) {
  const std::vector<AddressRecord> cards = Addresses(Sample("v40_altid.vcf"));
  ASSERT_EQ(cards.size(), 1u);
  const AddressRecord& a = cards[0];
  EXPECT_EQ(a.Name, "Ångström");  // the first form; the English one is the same name
  EXPECT_EQ(a.Vorname, "Björn");
  EXPECT_EQ(a.Telefon1, "+46-70-555");
  EXPECT_EQ(a.Telefon2, "+46-8-123");
  EXPECT_EQ(a.Email, "bjorn@home.example");
  EXPECT_EQ(a.Kategorie, "Freunde");
  ExpectLines(a.Text, {"E-Mail: bjorn@work.example", "Spitzname: Bö, Bjö", "Jahrestag: 09.06.2001"});
  EXPECT_EQ(a.Text.find("Angstrom"), std::string::npos);
}

TEST(VCardReading, FormattedNameStandsInForAnEmptyName) {
  const std::vector<AddressRecord> cards =
      Addresses("BEGIN:VCARD\nVERSION:3.0\nN:;;;;\nFN:Stadtwerke Hürth\nEND:VCARD\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(cards[0].Name, "Stadtwerke Hürth");
  EXPECT_EQ(cards[0].Vorname, "");
}

// The refusal, or the skipped cards and lines, one after the other.
std::string Faults(const std::string& text, size_t* cards = nullptr) {
  try {
    std::vector<ExchangeFault> skipped;
    const size_t read = ReadVCards(text, &skipped).size();
    if (cards != nullptr) *cards = read;
    std::string faults;
    for (const ExchangeFault& fault : skipped) faults += (faults.empty() ? "" : " | ") + fault.Text();
    return faults;
  } catch (const EExchangeError& error) {
    return std::string("refused: ") + error.what();
  }
}

TEST(VCardReading, UnreadableCardsAreSkippedAndBrokenFilesRefusedAtTheLineAtFault) {
  const std::string webmail = Sample("webmail_30.vcf");
  const std::string good = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Gut\r\nEND:VCARD\r\n";
  std::string photo = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A\r\nPHOTO;ENCODING=b:";
  for (int i = 0; i < 10 * (1 << 20) / 75; ++i) photo += std::string(74, 'Q') + "\r\n ";
  photo += "Q\r\nEND:VCARD\r\n";
  const struct {
    std::string text;
    size_t cards;
    std::string faults;
  } cases[] = {
      {webmail.substr(0, webmail.size() / 2), 0,
       "refused: Zeile 1: die Karte endet nicht mit END:VCARD (Datei abgeschnitten?)"},
      {"", 0, "refused: Zeile 1: keine vCard in der Datei (BEGIN:VCARD fehlt)"},
      {"\x7f"
       "ELF\x02\x01\x01\0\0"s,
       0, "refused: Zeile 1: Steuerzeichen im Text: keine Textdatei (Binärdaten?)"},
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B\r\nBEGIN:VCARD\r\nN:C\r\nEND:VCARD\r\n", 1,
       "Zeile 4: neue Karte, bevor die Karte ab Zeile 1 mit END:VCARD endet"},
      {good + "verirrt\r\n", 1, "Zeile 5: Eigenschaft ohne Doppelpunkt"},
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\nN:A\r\n", 1, "Zeile 4: Text außerhalb einer Karte"},
      {"BEGIN:VCARD\r\nVERSION:5.0\r\nEND:VCARD\r\n" + good, 1,
       "Zeile 2: vCard-Version 5.0 wird nicht gelesen (nur 2.1, 3.0, 4.0)"},
      {"BEGIN:VCARD\r\nN;CHARSET=KLINGON-8:A\r\nEND:VCARD\r\n" + good, 1, "Zeile 2: unbekannter Zeichensatz KLINGON-8"},
      {"BEGIN:VCARD\r\nN:A\r\nEND:VCARD\r\n\x7f"
       "ELF\x02\x01\x01\0\0"s,
       1, "Zeile 4: Steuerzeichen im Text: keine Textdatei (Binärdaten?)"},
      {photo + good, 1, "Zeile 4: Zeile länger als 1 MB (eingebettete Bild- oder Binärdaten?)"},
      {"BEGIN:VCARD\r\nN:A\r\nEND:VCALENDAR\r\nEND:VCARD\r\n" + good, 1, "Zeile 3: END:VCALENDAR in einer Karte"},
      {"BEGIN:VCARD\r\nN:A\r\nADR;HOME\r\nEND:VCARD\r\n" + good, 1, "Zeile 3: Eigenschaft ohne Doppelpunkt"},
  };
  for (const auto& c : cases) {
    size_t cards = 0;
    EXPECT_EQ(Faults(c.text, &cards), c.faults) << c.text.substr(0, 200);
    EXPECT_EQ(cards, c.cards) << c.faults;
  }
  // Read strictly, the first of them refuses the file.
  EXPECT_THROW(ReadVCards(good + "verirrt\r\n"), EExchangeError);
}

TEST(VCardReading, LineEndsOfEveryKindAndQuotedParameterValues) {
  // CR alone (old Mac programs), LF and CRLF in one file, no end to the
  // last line; a comma within quotes belongs to its value.
  const std::vector<VCard> cards = ReadVCards(
      "BEGIN:VCARD\rVERSION:3.0\nN:Kühn;Eva;;;\r\nTEL;TYPE=\"cell,voice\",WORK;TYPE=HOME:0171 5\r\n"
      "EMAIL:eva@example.de\rEND:VCARD");
  ASSERT_EQ(cards.size(), 1u);
  ASSERT_EQ(cards[0].properties.size(), 3u);
  EXPECT_EQ(cards[0].properties[1].content.Parameter("TYPE"), (std::vector<std::string>{"cell,voice", "WORK", "HOME"}));
  EXPECT_EQ(cards[0].properties[1].content.line, 4);
  const AddressRecord address = AddressFromCard(cards[0]);
  EXPECT_EQ(address.Name, "Kühn");
  EXPECT_EQ(address.Telefon1, "0171 5");
  EXPECT_EQ(address.Email, "eva@example.de");
  EXPECT_EQ(Faults("BEGIN:VCARD\rN:A\r\rverirrt\nEND:VCARD\r"), "Zeile 4: Eigenschaft ohne Doppelpunkt");
}

TEST(VCardWriting, CardsReadBackAsTheSameAddress) {
  AddressRecord a{.Name = "Groß; Söhne",
                  .Vorname = "Jörg, \"Schorsch\"",
                  .PLZ = "01067",
                  .Stadt = "Dresden",
                  .Strasse = "Prager Straße 2\\b",
                  .Telefon1 = "0351 1",
                  .Telefon2 = "0351 2",
                  .Fax = "0351 3",
                  .Email = "j@example.de",
                  .URL = "https://example.de/ä",
                  .Text = "Erste Zeile\nZweite: " + std::string(40, 'x') + "äöüäöüäöüäöüßßß and more text",
                  .Kategorie = "Familie, weit"};
  const std::string card = CardFromAddress(a);
  for (size_t start = 0, end; (end = card.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 75u) << card.substr(start, end - start);
  const std::vector<AddressRecord> back = Addresses(card);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0], a);
  EXPECT_EQ(Addresses(CardFromAddress({}))[0], AddressRecord{});
}

}  // namespace
}  // namespace vesk
