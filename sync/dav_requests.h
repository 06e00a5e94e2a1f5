// The bodies of the requests an address book and calendar client sends:
// the PROPFINDs of discovery and listing, the sync-collection report (RFC
// 6578) and the addressbook-multiget (RFC 6352) and calendar-multiget (RFC
// 4791) reports.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// The kinds of collection kept in step with a server: address books
// (CardDAV) and calendars of events (CalDAV).
enum class DavKind { AddressBook, Calendar };

// PROPFIND for current-user-principal (on the server's root or the
// well-known address).
std::string PrincipalPropfind();
// PROPFIND for addressbook-home-set or calendar-home-set (on the principal).
std::string HomeSetPropfind(DavKind kind);
// PROPFIND, Depth 1, for the collections of the home set and what tells
// them apart: resourcetype, displayname, getctag, sync-token, and for
// calendars supported-calendar-component-set.
std::string CollectionsPropfind(DavKind kind);
// PROPFIND, Depth 1, for the etag of every resource of a collection.
std::string EtagPropfind();
// REPORT sync-collection from the token ("" for the whole collection),
// asking for the etags.
std::string SyncCollectionReport(const std::string& token);
// REPORT addressbook-multiget or calendar-multiget of the resources' hrefs,
// asking for etag and card or calendar.
std::string MultigetReport(DavKind kind, const std::vector<std::string>& hrefs);

}  // namespace vesk
