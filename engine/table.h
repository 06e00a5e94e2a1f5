// One open table: owns its file connections, catalogue and order, and
// composes the parts that work on them (current order, cursor position, record tests,
// marks, held blob writes, key search, record editing). Moves and the
// reader's following of the writer live here, where they meet. Failures
// throw EngineError; the C entry points turn them into results and error texts.
#ifndef VESK_ENGINE_TABLE_H
#define VESK_ENGINE_TABLE_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/catalogue.h"
#include "engine/commit_watch.h"
#include "engine/cursor_position.h"
#include "engine/held_blobs.h"
#include "engine/key_search.h"
#include "engine/record_editor.h"
#include "engine/record_tests.h"
#include "engine/sql.h"
#include "engine/table_order.h"
#include "engine/writer_lock.h"

namespace vesk::engine {

// Record marks: numbers handed out for record identities, valid until freed.
// Whether a mark's record is still stored is for the table to say.
class Marks {
 public:
  // A new mark for identity; throws EngineError when identity names no
  // record or the marks are used up.
  int32_t Create(int32_t identity);
  void Free(int32_t mark);               // throws for an unknown mark
  int32_t Identity(int32_t mark) const;  // throws for an unknown mark

 private:
  std::unordered_map<int32_t, int32_t> identities_;  // mark -> identity
  int32_t next_ = 1;
};

class Table {
 public:
  // Opens the table file name ("/" between folders); throws EngineError
  // with an OpenResult code.
  Table(const std::string& name, bool writable);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const Catalogue& Fields() const { return catalogue_; }
  const CursorPosition& Cursor() const { return cursor_; }
  RecordTests& Tests() { return tests_; }
  // The records the record tests need to see (count 0: all); throws
  // EngineError, and keeps none, when the terms form no condition.
  void SetCandidates(const rr_candidate_term* terms, int32_t count, const rr_candidate_term* certain,
                     int32_t certain_count);
  Marks& MarkList() { return marks_; }
  RecordEditor& Editor() { return editor_; }

  // Cursor moves.
  void First();
  void Last();
  void Next();
  void Prior();
  void GotoRecNo(int32_t number);
  // 1-based number of the current record in the order, 0 without one.
  int32_t RecNo();
  int32_t RecordCount();
  int32_t CurrentId() const;
  bool GotoMark(int32_t mark);
  bool MarkNamesRecord(int32_t mark);

  // Indexes.
  // Adds an index to the catalogue and builds it; the cursor keeps its order.
  void AddIndex(const Index& index);
  std::string IndexName() const;
  void SelectIndex(int32_t number);

  bool Search(const std::vector<int32_t>& fields, uint8_t* key, int32_t index, int32_t partial_length,
              bool case_insensitive, bool move);

  int32_t Blob(int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark, uint8_t* buffer);

 private:
  // Rebuilds the text indexes when the file records no order or another
  // collator version than the one the table is now sorted with.
  void KeepTextOrder();
  // Builds the odd leads' indexes the file lacks.
  void KeepOddLeads();
  // A reader's view of the file: a snapshot, renewed with the order when
  // the writer has changed the file since.
  void OpenSnapshot();
  void FollowWriter();
  bool AcceptedAt(size_t position);
  // First accepted position from `from` going forward (+1) or back (-1).
  size_t Seek(size_t from, int direction);
  // The same over the candidates only, while they can be told.
  size_t SeekCandidate(size_t from, int direction);
  // Whether the candidate at position passes; a certain one is read only
  // when the first test is to judge it.
  bool CandidateAccepted(size_t position);
  void StandOnFound(size_t position);  // or nowhere for kNotFound
  // On the first accepted record from position on, else the last before it.
  void StandNear(size_t position);
  std::string StoredBlob(const HeldBlobs::Key& key);

  std::string name_;
  bool writable_;
  WriterLock writer_lock_;
  Database db_;
  CommitWatch commits_;  // readers only
  Catalogue catalogue_;
  TableOrder order_;
  StatementCache statements_;

  CursorPosition cursor_;
  RecordTests tests_;
  Marks marks_;
  HeldBlobs blobs_;
  RecordEditor editor_;

  std::vector<uint8_t> candidate_;

  KeySearch search_;
};

}  // namespace vesk::engine

#endif
