/* radiridir: the table engine. One table per file (an SQLite 3 database
 * holding the field catalogue, the indexes and the records), reached through
 * a handle. Each function below is one engine operation; its ordinal, by
 * which the table layer knows it, stands in the comment.
 *
 * Conventions: texts passed in are length-prefixed (one length byte, at most
 * 255 characters); a text result goes to a 256-byte buffer passed first, in
 * the same form. Booleans are one byte (1 true, 0 false). Handles, marks and
 * identities are 32-bit. After a failure, rr_last_error (55) tells why; it is
 * empty after a successful call.
 *
 * A record buffer holds one presence byte per field (1: the field holds a
 * value), then each field's data at the offset that rr_field_info (13)
 * reports. Sizes: text "S" RR_TEXT_SIZE(declared characters), room for the
 * longest UTF-8 form of that many characters and a terminating zero; "I" and
 * "A" 4; "B" 2; "F", "R", "C", "D" 8 (a double; "D" days since 30.12.1899);
 * blobs "M", "E", "G", "L" 4 (the blob's length; its bytes go through rr_blob).
 * A text holds at most its declared characters; more are cut when stored. */
#ifndef VESK_ENGINE_RADIRIDIR_H
#define VESK_ENGINE_RADIRIDIR_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RR_API __attribute__((visibility("default")))

/* Record slot of a text field of chars characters, and back. */
#define RR_TEXT_SIZE(chars) (4 * (chars) + 1)
#define RR_TEXT_CHARS(size) (((size)-1) / 4)

typedef uint8_t rr_bool;
/* A record test: returns 1 to accept the candidate record. */
typedef rr_bool (*rr_record_test)(void* data, const uint8_t* record);

/* Open modes of rr_open. */
#define RR_MODE_READ_ONLY 0
#define RR_MODE_READ_WRITE 34

/* Constraint kinds of rr_constraint. */
#define RR_CONSTRAINT_REQUIRED 0
#define RR_CONSTRAINT_DEFAULT 1
#define RR_CONSTRAINT_MIN 2
#define RR_CONSTRAINT_MAX 3

/* Blob operations of rr_blob. */
#define RR_BLOB_OPEN 0
#define RR_BLOB_READ 1
#define RR_BLOB_WRITE 2
#define RR_BLOB_TRUNCATE 3
#define RR_BLOB_LENGTH 4

/* ---- Handles and tables ---- */
RR_API int32_t rr_new(intptr_t app_window); /* 1: new handle, 0 on failure */
RR_API void rr_free(int32_t h);             /* 2: closes and frees the handle */
/* 3: >= 0 opened; -1 the file is open for writing elsewhere (mode 34 only);
 * < -1 missing, unreadable, not a table. Never creates a file. Names may use
 * "\" as folder separator. Mode 34 opens for reading and writing, any other
 * mode for reading only. */
RR_API int32_t rr_open(int32_t h, const uint8_t* name, int32_t mode);
RR_API void rr_close(int32_t h);      /* 4 */
RR_API rr_bool rr_is_open(int32_t h); /* 50 */

/* ---- Catalogue ---- */
RR_API int32_t rr_record_size(int32_t h);                             /* 9: bytes, < 65536 */
RR_API int32_t rr_field_count(int32_t h);                             /* 11 */
RR_API void rr_field_name(uint8_t* result, int32_t h, int32_t field); /* 12: fields from 0 */
/* 13: offset and size in the record buffer, type letter; false when out of range. */
RR_API rr_bool rr_field_info(int32_t h, int32_t field, int32_t* offset, int32_t* size, uint8_t* letter);
/* 43: present := the catalogue holds the constraint; text := its text (at most max_len). */
RR_API rr_bool rr_constraint(int32_t h, int32_t field, int32_t kind, rr_bool* present, uint8_t* text, int32_t max_len);

/* ---- Records ---- */
/* 5: the current record into buffer; right after a move off either end the
 * record the cursor stands on (a blank record when the table is empty). */
RR_API rr_bool rr_get_record(int32_t h, uint8_t* buffer);
RR_API rr_bool rr_blank_record(int32_t h, uint8_t* buffer);     /* 61: no field present */
RR_API rr_bool rr_put_buffer(int32_t h, const uint8_t* buffer); /* 6: what 24/25 store */
/* 24: stores the put buffer as a new record (AutoInc fields get the next
 * value), together with blob writes held for the new record; the cursor then
 * stands on it. One durable transaction. */
RR_API rr_bool rr_store_new(int32_t h);
/* 25: stores the put buffer over the current record, with the blob writes held for it. */
RR_API rr_bool rr_store_over(int32_t h);
RR_API rr_bool rr_lock(int32_t h);     /* 28: lock current for editing */
RR_API rr_bool rr_end_edit(int32_t h); /* 26: ends edit or insert, drops held blob writes */
/* 27: deletes the current record; the cursor moves to the following one, or
 * to the new last one when it was the last. */
RR_API rr_bool rr_delete(int32_t h);

/* ---- Cursor: the current index's order, identity order without an index ---- */
RR_API rr_bool rr_first(int32_t h);                       /* 18 */
RR_API rr_bool rr_last(int32_t h);                        /* 19 */
RR_API rr_bool rr_next(int32_t h);                        /* 20 */
RR_API rr_bool rr_prior(int32_t h);                       /* 21 */
RR_API rr_bool rr_bof(int32_t h);                         /* 15: moved off the start */
RR_API rr_bool rr_eof(int32_t h);                         /* 16: moved off the end */
RR_API rr_bool rr_no_current(int32_t h);                  /* 17: no current record */
RR_API int32_t rr_rec_no(int32_t h);                      /* 8: 1-based position in the order */
RR_API rr_bool rr_goto_rec_no(int32_t h, int32_t number); /* 7 */
RR_API int32_t rr_record_count(int32_t h);                /* 22: accepted records while tests are on */
RR_API int32_t rr_record_id(int32_t h);                   /* 47: identity of the current record, never reused */

/* ---- Marks: stay valid while other records come and go ---- */
RR_API int32_t rr_mark_create(int32_t h, int32_t identity); /* 44 */
RR_API void rr_mark_free(int32_t h, int32_t mark);          /* 45 */
RR_API rr_bool rr_goto_mark(int32_t h, int32_t mark);       /* 46: false when its record is gone */
RR_API int32_t rr_mark_state(int32_t h, int32_t mark);      /* 58: >= 0 while the mark names a record */

/* ---- Indexes ---- */
RR_API void rr_index_name(uint8_t* result, int32_t h);          /* 33: empty without index */
RR_API int32_t rr_index_number(int32_t h, const uint8_t* name); /* 34: < 0 when none; "" gives 0, identity order */
RR_API rr_bool rr_select_index(int32_t h, int32_t number);      /* 35: cursor goes to the first record */

/* ---- Record tests: called synchronously with each candidate record ---- */
RR_API void rr_set_tests(int32_t h, rr_record_test test1, void* data1, rr_record_test test2, void* data2); /* 51 */
RR_API void rr_enable_tests(int32_t h, rr_bool use1, rr_bool use2);                                        /* 56 */
RR_API void rr_tests_on(int32_t h, rr_bool on); /* 52: while on, moves skip rejected records */
RR_API rr_bool rr_test_found(int32_t h);        /* 54: the last move under 52 found a record */

/* ---- Candidate condition: the records the record tests need to see ----
 * A condition over the fields in postfix order (operands before their
 * operator). While one is set and the tests are on, moves and counts look
 * only at the records that meet it, found by SQLite with the table's
 * indexes, and run the tests on each of those (test 2 spares those certain
 * to pass it, see 62); the order stays that of the
 * current index. The caller makes sure the tests reject every record that
 * does not meet it. Comparisons are false for an absent field; texts
 * compare by their bytes (the _NOCASE forms fold the ASCII letters only),
 * the numeric fields I, A, F, R and D by value. */
#define RR_CAND_TRUE 0
#define RR_CAND_FALSE 1
#define RR_CAND_AND 2 /* the two conditions before it */
#define RR_CAND_OR 3
#define RR_CAND_NOT 4    /* the condition before it */
#define RR_CAND_ABSENT 5 /* the field holds no value */
#define RR_CAND_EQ 6     /* field = value */
#define RR_CAND_NE 7
#define RR_CAND_LT 8
#define RR_CAND_LE 9
#define RR_CAND_GT 10
#define RR_CAND_GE 11
#define RR_CAND_EQ_NOCASE 12 /* texts */
#define RR_CAND_PREFIX 13    /* the text begins with the bytes of text */
#define RR_CAND_PREFIX_NOCASE 14

typedef struct rr_candidate_term {
  int32_t op;       /* RR_CAND_* */
  int32_t field;    /* comparisons */
  double number;    /* value for numeric fields */
  const char* text; /* value for text fields, zero-terminated UTF-8 */
} rr_candidate_term;

/* 62: sets the condition; count 0 removes it, so that every record is a
 * candidate. The candidates that also meet the certain condition pass test 2
 * without its being called (the caller makes sure they would pass it);
 * certain_count 0: none is certain. False, and no condition, when either
 * list of terms does not form one. */
RR_API rr_bool rr_set_candidates(int32_t h, const rr_candidate_term* terms, int32_t count,
                                 const rr_candidate_term* certain, int32_t certain_count);

/* ---- Search ---- */
/* 48: the index whose leading fields are the given fields, compared as asked; < 0 when none. */
RR_API int32_t rr_search_index(int32_t h, const int32_t* fields, int32_t field_count, rr_bool case_sensitive);
/* 49: finds the first record (in the order of index, or of the cursor when
 * index < 0) whose fields equal those of key_record; partial_length > 0
 * compares only that many leading characters of the last (text) key. With
 * move the match becomes current, else it is copied into key_record. */
RR_API rr_bool rr_search(int32_t h, const int32_t* fields, int32_t field_count, uint8_t* key_record, int32_t index,
                         int32_t partial_length, rr_bool case_insensitive, rr_bool move);

/* ---- Errors and blobs ---- */
RR_API void rr_last_error(uint8_t* result, int32_t h, int32_t one); /* 55 */
/* 60: RR_BLOB_OPEN: mark (0 on failure) for the blob of field of the record
 * whose identity is value (0: the record being inserted); READ / WRITE: count
 * bytes at position value, result the bytes moved; TRUNCATE at value; LENGTH.
 * Writes are held until the record is stored (24, 25) and dropped by 26. */
RR_API int32_t rr_blob(int32_t h, int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark,
                       uint8_t* buffer);

/* ---- Creating tables and batches (for tools that build and fill tables) ---- */
typedef struct rr_field_spec {
  const char* name;
  char letter;              /* S I A B F R C D M E G L */
  int32_t chars;            /* declared characters of "S" fields */
  const char* required;     /* NULL: no constraint; "" not required; other: required */
  const char* default_text; /* NULL: none */
  const char* min_text;
  const char* max_text;
} rr_field_spec;

typedef struct rr_index_spec {
  const char* name;
  const int32_t* fields;
  int32_t field_count;
  rr_bool case_insensitive;
} rr_index_spec;

/* Creates a new table file; fails when it exists. 0 on success, < 0 on failure (see 55). */
RR_API int32_t rr_create(int32_t h, const char* name, const rr_field_spec* fields, int32_t field_count,
                         const rr_index_spec* indexes, int32_t index_count);
/* Adds an index to the table open for writing on h and builds it (not inside
 * a batch); the cursor keeps its order and record. */
RR_API rr_bool rr_add_index(int32_t h, const rr_index_spec* index);
/* Stores and deletes between begin and commit form one transaction;
 * rollback undoes them and puts the cursor on the first record. */
RR_API rr_bool rr_batch_begin(int32_t h);
RR_API rr_bool rr_batch_commit(int32_t h);
RR_API rr_bool rr_batch_rollback(int32_t h);

#ifdef __cplusplus
}
#endif

#endif
