// The listing where Radicale cannot show it: a server without the sync
// report, listed by etags instead and only when its getctag changed, and a
// sync report cut short (507), asked again from the token it gave.
#include <gtest/gtest.h>

#include <optional>

#include "sync/card_listing.h"
#include "tests/sync/stub_dav_server.h"
#include "tests/sync/wait.h"

namespace vesk {
namespace {

std::string Response(const std::string& href, const std::string& etag) {
  return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop><d:getetag>" + etag +
         "</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}
std::string Multistatus(const std::string& inner) {
  return "<?xml version='1.0'?><d:multistatus xmlns:d='DAV:'>" + inner + "</d:multistatus>";
}

TEST(StubPaths, WithoutASyncReportAndWithOneCutShort) {
  StubDavServer plain({{"REPORT", "sync-collection", 403, "<error xmlns='DAV:'><supported-report/></error>"},
                       {"PROPFIND", "getctag", 207,
                        Multistatus("<d:response><d:href>/book/</d:href><d:propstat><d:prop><cs:getctag "
                                    "xmlns:cs='http://calendarserver.org/ns/'>c1</cs:getctag></d:prop><d:status>"
                                    "HTTP/1.1 200 OK</d:status></d:propstat></d:response>")},
                       {"PROPFIND", "getetag", 207,
                        Multistatus("<d:response><d:href>/book/</d:href><d:propstat><d:prop><d:resourcetype>"
                                    "<d:collection/></d:resourcetype></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                                    "</d:propstat></d:response>" +
                                    Response("/book/a.vcf", "\"1\"") + Response("/book/b.vcf", "\"2\""))}});
  DavClient client({QUrl(QString::fromStdString(plain.Url())), "u", "p", ""});
  const QUrl book(QString::fromStdString(plain.Url("/book/")));
  const CardListing changes = Wait<CardListing>([&](auto done) { ListChanges(client, book, "", done); });
  EXPECT_TRUE(changes.noSyncReport);
  const CardListing all = Wait<CardListing>([&](auto done) { ListEtags(client, book, done); });
  ASSERT_EQ(all.present.size(), 2u) << all.message;
  EXPECT_EQ(all.present[1].href, "/book/b.vcf");
  EXPECT_EQ(all.present[1].etag, "\"2\"");
  const CardListing first = Wait<CardListing>([&](auto done) { ListByCtag(client, book, "", done); });
  EXPECT_EQ(first.present.size(), 2u) << first.message;
  EXPECT_EQ(first.token, "ctag:c1");
  EXPECT_FALSE(first.unchanged);
  const size_t asked = plain.Requests().size();
  const CardListing again = Wait<CardListing>([&](auto done) { ListByCtag(client, book, first.token, done); });
  EXPECT_TRUE(again.unchanged);
  EXPECT_TRUE(again.present.empty());
  EXPECT_EQ(plain.Requests().size(), asked + 1);  // the getctag alone

  // The first answer holds one card, a 507 for the collection and a token;
  // asked again from it, the rest.
  StubDavServer cut({{"REPORT", "<d:sync-token>t1</d:sync-token>", 207,
                      Multistatus(Response("/book/b.vcf", "\"2\"") + "<d:sync-token>t2</d:sync-token>")},
                     {"REPORT", "sync-collection", 207,
                      Multistatus(Response("/book/a.vcf", "\"1\"") +
                                  "<d:response><d:href>/book/</d:href><d:status>HTTP/1.1 507 Insufficient Storage"
                                  "</d:status></d:response><d:sync-token>t1</d:sync-token>")}});
  DavClient cutClient({QUrl(QString::fromStdString(cut.Url())), "u", "p", ""});
  const QUrl cutBook(QString::fromStdString(cut.Url("/book/")));
  const CardListing both = Wait<CardListing>([&](auto done) { ListChanges(cutClient, cutBook, "", done); });
  ASSERT_EQ(both.failure, DavFailure::None) << both.message;
  ASSERT_EQ(both.present.size(), 2u);
  EXPECT_EQ(both.token, "t2");
  EXPECT_EQ(cut.Requests().size(), 2u);
}

}  // namespace
}  // namespace vesk
