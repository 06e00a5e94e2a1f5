#include "sync/dav_requests.h"

#include <QXmlStreamWriter>
#include <functional>

namespace vesk {
namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCardDav[] = "urn:ietf:params:xml:ns:carddav";
constexpr char kCalDav[] = "urn:ietf:params:xml:ns:caldav";
constexpr char kCalendarServer[] = "http://calendarserver.org/ns/";

// A document with its root element in the namespace rootSpace; the
// namespaces of CardDAV, CalDAV and the calendar server get their prefixes
// at the root. body writes the root's content.
std::string Document(const char* rootSpace, const char* root, const std::function<void(QXmlStreamWriter&)>& body) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.writeStartDocument();
  xml.writeNamespace(kDav, "d");
  xml.writeNamespace(kCardDav, "card");
  xml.writeNamespace(kCalDav, "cal");
  xml.writeNamespace(kCalendarServer, "cs");
  xml.writeStartElement(rootSpace, root);
  body(xml);
  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes.toStdString();
}

// <d:prop> with the empty elements of the properties asked for.
void Prop(QXmlStreamWriter& xml, std::initializer_list<std::pair<const char*, const char*>> properties) {
  xml.writeStartElement(kDav, "prop");
  for (const auto& [space, name] : properties) xml.writeEmptyElement(space, name);
  xml.writeEndElement();
}

}  // namespace

std::string PrincipalPropfind() {
  return Document(kDav, "propfind", [](QXmlStreamWriter& xml) { Prop(xml, {{kDav, "current-user-principal"}}); });
}

std::string HomeSetPropfind(DavKind kind) {
  return Document(kDav, "propfind", [kind](QXmlStreamWriter& xml) {
    if (kind == DavKind::AddressBook)
      Prop(xml, {{kCardDav, "addressbook-home-set"}});
    else
      Prop(xml, {{kCalDav, "calendar-home-set"}});
  });
}

std::string CollectionsPropfind(DavKind kind) {
  return Document(kDav, "propfind", [kind](QXmlStreamWriter& xml) {
    if (kind == DavKind::AddressBook)
      Prop(xml, {{kDav, "resourcetype"}, {kDav, "displayname"}, {kCalendarServer, "getctag"}, {kDav, "sync-token"}});
    else
      Prop(xml, {{kDav, "resourcetype"},
                 {kDav, "displayname"},
                 {kCalendarServer, "getctag"},
                 {kDav, "sync-token"},
                 {kCalDav, "supported-calendar-component-set"}});
  });
}

std::string EtagPropfind() {
  return Document(kDav, "propfind", [](QXmlStreamWriter& xml) { Prop(xml, {{kDav, "getetag"}}); });
}

std::string SyncCollectionReport(const std::string& token) {
  return Document(kDav, "sync-collection", [&](QXmlStreamWriter& xml) {
    xml.writeTextElement(kDav, "sync-token", QString::fromStdString(token));
    xml.writeTextElement(kDav, "sync-level", "1");
    Prop(xml, {{kDav, "getetag"}});
  });
}

std::string MultigetReport(DavKind kind, const std::vector<std::string>& hrefs) {
  const bool cards = kind == DavKind::AddressBook;
  return Document(cards ? kCardDav : kCalDav, cards ? "addressbook-multiget" : "calendar-multiget",
                  [&](QXmlStreamWriter& xml) {
                    if (cards)
                      Prop(xml, {{kDav, "getetag"}, {kCardDav, "address-data"}});
                    else
                      Prop(xml, {{kDav, "getetag"}, {kCalDav, "calendar-data"}});
                    for (const std::string& href : hrefs)
                      xml.writeTextElement(kDav, "href", QString::fromStdString(href));
                  });
}

}  // namespace vesk
