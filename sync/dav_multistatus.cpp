#include "sync/dav_multistatus.h"

#include <QXmlStreamReader>
#include <charconv>

namespace vesk {
namespace {

constexpr char16_t kDav[] = u"DAV:";
constexpr char16_t kCardDav[] = u"urn:ietf:params:xml:ns:carddav";
constexpr char16_t kCalDav[] = u"urn:ietf:params:xml:ns:caldav";
constexpr char16_t kCalendarServer[] = u"http://calendarserver.org/ns/";

bool Is(const QXmlStreamReader& xml, const char16_t* space, const char16_t* name) {
  return xml.namespaceUri() == QStringView(space) && xml.name() == QStringView(name);
}

std::string Text(QXmlStreamReader& xml) {
  return xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString();
}

// The first DAV:href inside the element the reader stands on, which it
// reads to its end.
std::string HrefInside(QXmlStreamReader& xml) {
  std::string href;
  while (xml.readNextStartElement()) {
    if (href.empty() && Is(xml, kDav, u"href"))
      href = Text(xml);
    else
      xml.skipCurrentElement();
  }
  return href;
}

void ReadResourceType(QXmlStreamReader& xml, DavResource& resource) {
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, u"collection")) resource.collection = true;
    if (Is(xml, kCardDav, u"addressbook")) resource.addressBook = true;
    if (Is(xml, kCalDav, u"calendar")) resource.calendar = true;
    xml.skipCurrentElement();
  }
}

// <C:comp name="VEVENT"/>…
void ReadComponents(QXmlStreamReader& xml, DavResource& resource) {
  while (xml.readNextStartElement()) {
    if (Is(xml, kCalDav, u"comp"))
      resource.components.push_back(xml.attributes().value("name").toString().toStdString());
    xml.skipCurrentElement();
  }
}

// The properties of one propstat into resource.
void ReadProperties(QXmlStreamReader& xml, DavResource& resource) {
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, u"getetag"))
      resource.etag = Text(xml);
    else if (Is(xml, kCalendarServer, u"getctag"))
      resource.ctag = Text(xml);
    else if (Is(xml, kCardDav, u"address-data") || Is(xml, kCalDav, u"calendar-data"))
      resource.data = xml.readElementText().toStdString();
    else if (Is(xml, kCalDav, u"supported-calendar-component-set"))
      ReadComponents(xml, resource);
    else if (Is(xml, kDav, u"displayname"))
      resource.displayName = Text(xml);
    else if (Is(xml, kDav, u"resourcetype"))
      ReadResourceType(xml, resource);
    else if (Is(xml, kDav, u"current-user-principal"))
      resource.principal = HrefInside(xml);
    else if (Is(xml, kCardDav, u"addressbook-home-set"))
      resource.addressBookHome = HrefInside(xml);
    else if (Is(xml, kCalDav, u"calendar-home-set"))
      resource.calendarHome = HrefInside(xml);
    else if (Is(xml, kDav, u"sync-token"))
      resource.syncToken = Text(xml);
    else
      xml.skipCurrentElement();
  }
}

// A propstat: its properties count only with status 200.
void ReadPropstat(QXmlStreamReader& xml, DavResource& resource) {
  DavResource found;
  int status = 0;
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, u"prop"))
      ReadProperties(xml, found);
    else if (Is(xml, kDav, u"status"))
      status = StatusOfLine(Text(xml));
    else
      xml.skipCurrentElement();
  }
  if (status / 100 != 2) return;
  auto take = [](std::string& into, std::string& from) {
    if (!from.empty()) into = std::move(from);
  };
  take(resource.etag, found.etag);
  take(resource.ctag, found.ctag);
  take(resource.data, found.data);
  take(resource.displayName, found.displayName);
  take(resource.principal, found.principal);
  take(resource.addressBookHome, found.addressBookHome);
  take(resource.calendarHome, found.calendarHome);
  if (!found.components.empty()) resource.components = std::move(found.components);
  take(resource.syncToken, found.syncToken);
  resource.collection = resource.collection || found.collection;
  resource.addressBook = resource.addressBook || found.addressBook;
  resource.calendar = resource.calendar || found.calendar;
}

DavResource ReadResponse(QXmlStreamReader& xml) {
  DavResource resource;
  resource.status = 200;
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, u"href"))
      resource.href = Text(xml);
    else if (Is(xml, kDav, u"status"))
      resource.status = StatusOfLine(Text(xml));
    else if (Is(xml, kDav, u"propstat"))
      ReadPropstat(xml, resource);
    else
      xml.skipCurrentElement();
  }
  return resource;
}

}  // namespace

int StatusOfLine(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return 0;
  int status = 0;
  const char* first = line.data() + space + 1;
  const auto [end, error] = std::from_chars(first, line.data() + line.size(), status);
  return error == std::errc() && end == first + 3 ? status : 0;
}

DavMultistatus ReadMultistatus(std::string_view text) {
  QXmlStreamReader xml(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  DavMultistatus result;
  if (!xml.readNextStartElement() || !Is(xml, kDav, u"multistatus"))
    throw EDavAnswer("Die Antwort des Servers ist keine WebDAV-Antwort (multistatus)");
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, u"response"))
      result.resources.push_back(ReadResponse(xml));
    else if (Is(xml, kDav, u"sync-token"))
      result.syncToken = Text(xml);
    else
      xml.skipCurrentElement();
  }
  if (xml.hasError()) throw EDavAnswer("Die Antwort des Servers ist nicht lesbar: " + xml.errorString().toStdString());
  return result;
}

}  // namespace vesk
