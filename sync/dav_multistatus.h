// What a WebDAV server answers (a multistatus, RFC 4918) to the requests an
// address book and calendar client makes (RFC 6352, RFC 4791, RFC 6578,
// RFC 6764): for each resource its href, status and the properties that
// came with status 200.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/exceptions.h"

namespace vesk {

// An answer that is no multistatus: the server is no WebDAV server, or not
// the one asked.
class EDavAnswer : public Exception {
 public:
  explicit EDavAnswer(const std::string& message) : Exception(message) {}
};

struct DavResource {
  std::string href;  // as the server wrote it: a path, percent-encoded
  int status = 0;    // of the response itself (404 for a deletion in a sync report), else 200
  std::string etag;  // DAV:getetag, with its quotes
  std::string ctag;  // CS:getctag
  std::string data;  // CARDDAV:address-data or CALDAV:calendar-data: the card or the calendar
  std::string displayName;
  bool collection = false;              // resourcetype holds DAV:collection
  bool addressBook = false;             // resourcetype holds CARDDAV:addressbook
  bool calendar = false;                // resourcetype holds CALDAV:calendar
  std::vector<std::string> components;  // supported-calendar-component-set: "VEVENT", "VTODO"…
  std::string principal;                // current-user-principal's href
  std::string addressBookHome;          // addressbook-home-set's href
  std::string calendarHome;             // calendar-home-set's href
  std::string syncToken;                // DAV:sync-token as a property of a collection
};

struct DavMultistatus {
  std::vector<DavResource> resources;
  std::string syncToken;  // the report's own sync-token (RFC 6578)
};

// Raises EDavAnswer for a text that is not a well-formed multistatus.
DavMultistatus ReadMultistatus(std::string_view xml);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found"); 0 when
// there is none.
int StatusOfLine(std::string_view line);

}  // namespace vesk
