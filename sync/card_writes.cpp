#include "sync/card_writes.h"

namespace vesk {
namespace {

WriteResult Outcome(const DavReply& reply) {
  WriteResult result;
  result.reply = reply;
  result.etag = reply.etag;
  if (reply.failure != DavFailure::None) return result;
  if (reply.status == 200 || reply.status == 201 || reply.status == 204)
    result.outcome = WriteOutcome::Written;
  else if (reply.status == 412)
    result.outcome = WriteOutcome::ChangedThere;
  else if (reply.status == 409 && reply.body.find("no-uid-conflict") != std::string::npos)
    result.outcome = WriteOutcome::UidTaken;
  else if (reply.status == 404 || reply.status == 410)
    result.outcome = WriteOutcome::Gone;
  return result;
}

}  // namespace

void PutCard(DavClient& client, const QUrl& url, const std::string& card, const std::string& etag,
             std::function<void(WriteResult)> done, DavKind kind) {
  const bool made = etag.empty();
  const DavClient::Headers headers{
      {"Content-Type", kind == DavKind::AddressBook ? "text/vcard; charset=utf-8" : "text/calendar; charset=utf-8"},
      {made ? "If-None-Match" : "If-Match", made ? std::string("*") : etag}};
  client.Send("PUT", url, card, headers, [done = std::move(done)](const DavReply& reply) { done(Outcome(reply)); });
}

void DeleteCard(DavClient& client, const QUrl& url, const std::string& etag, std::function<void(WriteResult)> done) {
  client.Send("DELETE", url, "", {{"If-Match", etag}},
              [done = std::move(done)](const DavReply& reply) { done(Outcome(reply)); });
}

}  // namespace vesk
