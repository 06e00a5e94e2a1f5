#include "sync/dav_requests.h"

#include <QXmlStreamWriter>
#include <functional>

namespace vesk {
namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCardDav[] = "urn:ietf:params:xml:ns:carddav";
constexpr char kCalendarServer[] = "http://calendarserver.org/ns/";

// A document with its root element in the DAV: namespace; body writes the
// root's content.
std::string Document(const char* root, const std::function<void(QXmlStreamWriter&)>& body, bool cardDav = false,
                     bool calendarServer = false) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.writeStartDocument();
  xml.writeNamespace(kDav, "d");
  if (cardDav) xml.writeNamespace(kCardDav, "card");
  if (calendarServer) xml.writeNamespace(kCalendarServer, "cs");
  xml.writeStartElement(cardDav && std::string_view(root) == "addressbook-multiget" ? kCardDav : kDav, root);
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
  return Document("propfind", [](QXmlStreamWriter& xml) { Prop(xml, {{kDav, "current-user-principal"}}); });
}

std::string HomeSetPropfind() {
  return Document(
      "propfind",
      [](QXmlStreamWriter& xml) {
        Prop(xml, {{kCardDav, "addressbook-home-set"}});
      },
      true);
}

std::string CollectionsPropfind() {
  return Document(
      "propfind",
      [](QXmlStreamWriter& xml) {
        Prop(xml, {{kDav, "resourcetype"}, {kDav, "displayname"}, {kCalendarServer, "getctag"}, {kDav, "sync-token"}});
      },
      true, true);
}

std::string EtagPropfind() {
  return Document("propfind", [](QXmlStreamWriter& xml) { Prop(xml, {{kDav, "getetag"}}); });
}

std::string SyncCollectionReport(const std::string& token) {
  return Document("sync-collection", [&](QXmlStreamWriter& xml) {
    xml.writeTextElement(kDav, "sync-token", QString::fromStdString(token));
    xml.writeTextElement(kDav, "sync-level", "1");
    Prop(xml, {{kDav, "getetag"}});
  });
}

std::string MultigetReport(const std::vector<std::string>& hrefs) {
  return Document(
      "addressbook-multiget",
      [&](QXmlStreamWriter& xml) {
        Prop(xml, {{kDav, "getetag"}, {kCardDav, "address-data"}});
        for (const std::string& href : hrefs) xml.writeTextElement(kDav, "href", QString::fromStdString(href));
      },
      true);
}

}  // namespace vesk
