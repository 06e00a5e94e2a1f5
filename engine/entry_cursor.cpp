// C entry points: cursor moves and flags, record numbers, marks, tests.
#include "engine/radiridir.h"
#include "engine/session.h"

using namespace vesk::engine;

namespace {
// A flag of the open table; false without one.
template <typename Query>
rr_bool Flag(int32_t h, Query query) {
  return Guarded(h, rr_bool{0}, [&](Session& s) { return rr_bool{query(s.Open().Cursor())}; });
}
}  // namespace

extern "C" {

rr_bool rr_first(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().First(); });
}

rr_bool rr_last(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Last(); });
}

rr_bool rr_next(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Next(); });
}

rr_bool rr_prior(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Prior(); });
}

rr_bool rr_bof(int32_t h) {
  return Flag(h, [](const CursorPosition& c) { return c.Bof(); });
}

rr_bool rr_eof(int32_t h) {
  return Flag(h, [](const CursorPosition& c) { return c.Eof(); });
}

rr_bool rr_no_current(int32_t h) {
  return Flag(h, [](const CursorPosition& c) { return c.NoCurrent(); });
}

rr_bool rr_test_found(int32_t h) {
  return Flag(h, [](const CursorPosition& c) { return c.Found(); });
}

int32_t rr_rec_no(int32_t h) {
  return Guarded(h, int32_t{-1}, [](Session& s) { return s.Open().RecNo(); });
}

rr_bool rr_goto_rec_no(int32_t h, int32_t number) {
  return GuardedBool(h, [&](Session& s) { s.Open().GotoRecNo(number); });
}

int32_t rr_record_count(int32_t h) {
  return Guarded(h, int32_t{-1}, [](Session& s) { return s.Open().RecordCount(); });
}

int32_t rr_record_id(int32_t h) {
  return Guarded(h, int32_t{0}, [](Session& s) { return s.Open().CurrentId(); });
}

int32_t rr_mark_create(int32_t h, int32_t identity) {
  return Guarded(h, int32_t{0}, [&](Session& s) { return s.Open().MarkList().Create(identity); });
}

void rr_mark_free(int32_t h, int32_t mark) {
  GuardedBool(h, [&](Session& s) { s.Open().MarkList().Free(mark); });
}

rr_bool rr_goto_mark(int32_t h, int32_t mark) {
  return Guarded(h, rr_bool{0}, [&](Session& s) { return rr_bool{s.Open().GotoMark(mark)}; });
}

int32_t rr_mark_state(int32_t h, int32_t mark) {
  return Guarded(h, int32_t{-1}, [&](Session& s) { return s.Open().MarkNamesRecord(mark) ? 0 : -1; });
}

void rr_set_tests(int32_t h, rr_record_test test1, void* data1, rr_record_test test2, void* data2) {
  GuardedBool(h, [&](Session& s) { s.Open().Tests().Set(test1, data1, test2, data2); });
}

void rr_enable_tests(int32_t h, rr_bool use1, rr_bool use2) {
  GuardedBool(h, [&](Session& s) { s.Open().Tests().Enable(use1 != 0, use2 != 0); });
}

rr_bool rr_set_candidates(int32_t h, const rr_candidate_term* terms, int32_t count, const rr_candidate_term* certain,
                          int32_t certain_count) {
  return GuardedBool(h, [&](Session& s) { s.Open().SetCandidates(terms, count, certain, certain_count); });
}

void rr_tests_on(int32_t h, rr_bool on) {
  GuardedBool(h, [&](Session& s) { s.Open().Tests().TurnOn(on != 0); });
}

}  // extern "C"
