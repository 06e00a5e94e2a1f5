#include "engine/candidate_condition.h"

#include <algorithm>
#include <bitset>
#include <compare>
#include <optional>
#include <tuple>

#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/sql.h"

namespace vesk::engine {

namespace {

bool IsComparison(int32_t op) { return op >= RR_CAND_ABSENT && op <= RR_CAND_PREFIX_NOCASE; }
bool IsOrdering(int32_t op) { return op >= RR_CAND_EQ && op <= RR_CAND_GE; }
bool IsNumeric(const Field& field) { return std::string_view("IAFRD").find(field.letter) != std::string_view::npos; }

const char* SqlOperator(int32_t op) {
  switch (op) {
    case RR_CAND_EQ: return "=";
    case RR_CAND_NE: return "<>";
    case RR_CAND_LT: return "<";
    case RR_CAND_LE: return "<=";
    case RR_CAND_GT: return ">";
    default: return ">=";
  }
}

// One side of a range: absent means unbounded.
struct Bound {
  SqlValue value;
  bool inclusive = true;
};

// Where the records meeting a condition can lie along one field: among
// the absent values, and between two bounds of the present ones.
struct Span {
  bool absent = true;
  bool present = true;
  std::optional<Bound> low, high;
  bool whole = false;  // the records within it are just those meeting the condition

  bool Everything() const { return absent && present && !low && !high; }
};

// Orders the values of one field as its index does.
class SpanOrder {
 public:
  SpanOrder(const TextOrder& order, bool case_insensitive) : order_(order), case_insensitive_(case_insensitive) {}

  std::weak_ordering Compare(const SqlValue& a, const SqlValue& b) const {
    if (a.kind == SqlValue::kNumber) return std::weak_order(a.number, b.number);
    return order_.Compare(a.text, b.text, case_insensitive_) <=> 0;
  }
  Span Union(const Span& a, const Span& b) const {
    if (!a.present) return {a.absent || b.absent, b.present, b.low, b.high, a.whole && b.whole};
    if (!b.present) return {a.absent || b.absent, a.present, a.low, a.high, a.whole && b.whole};
    Span s{a.absent || b.absent, true, std::nullopt, std::nullopt, false};
    if (a.low && b.low) s.low = LooserLow(a.low, b.low);
    if (a.high && b.high) s.high = LooserHigh(a.high, b.high);
    return s;
  }
  Span Intersection(const Span& a, const Span& b) const {
    Span s{a.absent && b.absent, a.present && b.present, a.low ? a.low : b.low, a.high ? a.high : b.high,
           a.whole && b.whole};
    if (a.low && b.low) s.low = TighterLow(a.low, b.low);
    if (a.high && b.high) s.high = TighterHigh(a.high, b.high);
    return s;
  }

 private:
  // Of two lower bounds the lower one keeps more; at the same value an
  // inclusive one keeps more. And so on for the other three.
  std::optional<Bound> LooserLow(const std::optional<Bound>& a, const std::optional<Bound>& b) const {
    return Choose(a, b, true, true);
  }
  std::optional<Bound> LooserHigh(const std::optional<Bound>& a, const std::optional<Bound>& b) const {
    return Choose(a, b, false, true);
  }
  std::optional<Bound> TighterLow(const std::optional<Bound>& a, const std::optional<Bound>& b) const {
    return Choose(a, b, false, false);
  }
  std::optional<Bound> TighterHigh(const std::optional<Bound>& a, const std::optional<Bound>& b) const {
    return Choose(a, b, true, false);
  }
  std::optional<Bound> Choose(const std::optional<Bound>& a, const std::optional<Bound>& b, bool lower,
                              bool looser) const {
    std::weak_ordering c = Compare(a->value, b->value);
    if (c == 0) return Bound{a->value, looser ? a->inclusive || b->inclusive : a->inclusive && b->inclusive};
    return (c < 0) == lower ? a : b;
  }

  const TextOrder& order_;
  bool case_insensitive_;
};

SqlValue Number(double number) { return {SqlValue::kNumber, number, {}}; }
SqlValue Text(std::string text) { return {SqlValue::kText, 0, std::move(text)}; }

}  // namespace

void SqlCondition::Bind(sqlite3_stmt* stmt) const {
  for (size_t i = 0; i < params.size(); ++i) {
    const SqlValue& p = params[i];
    const int n = static_cast<int>(i) + 1;
    if (p.kind == SqlValue::kNumber)
      sqlite3_bind_double(stmt, n, p.number);
    else
      sqlite3_bind_text(stmt, n, p.text.data(), static_cast<int>(p.text.size()), SQLITE_TRANSIENT);
  }
}

SqlCondition& SqlCondition::Add(std::string_view text) {
  sql += text;
  return *this;
}

SqlCondition& SqlCondition::Add(const SqlCondition& part) {
  sql += part.sql;
  params.insert(params.end(), part.params.begin(), part.params.end());
  return *this;
}

CandidateCondition::CandidateCondition(const Catalogue& catalogue, const rr_candidate_term* terms, int32_t count,
                                       const rr_candidate_term* certain, int32_t certain_count)
    : catalogue_(catalogue), terms_(Parse(terms, count)), certain_(Parse(certain, certain_count)) {
  auto same = [](const Term& a, const Term& b) {
    return a.op == b.op && a.field == b.field && a.number == b.number && a.text == b.text;
  };
  exact_ = !terms_.empty() && std::ranges::equal(terms_, certain_, same);
}

CandidateCondition::Terms CandidateCondition::Parse(const rr_candidate_term* terms, int32_t count) const {
  if (count < 0 || (count > 0 && terms == nullptr)) throw EngineError("Candidate terms missing");
  Terms parsed;
  int32_t depth = 0;
  for (int32_t i = 0; i < count; ++i) {
    const rr_candidate_term& t = terms[i];
    Term term{t.op, t.field, t.number, {}};
    if (t.op == RR_CAND_TRUE || t.op == RR_CAND_FALSE) {
      ++depth;
    } else if (t.op == RR_CAND_AND || t.op == RR_CAND_OR) {
      if (depth < 2) throw EngineError("Candidate term " + std::to_string(i) + " lacks its operands");
      --depth;
    } else if (t.op == RR_CAND_NOT) {
      if (depth < 1) throw EngineError("Candidate term " + std::to_string(i) + " lacks its operand");
    } else if (IsComparison(t.op)) {
      const Field& field = catalogue_.FieldAt(t.field);
      const bool text_op = t.op == RR_CAND_EQ_NOCASE || t.op == RR_CAND_PREFIX || t.op == RR_CAND_PREFIX_NOCASE;
      if (t.op != RR_CAND_ABSENT) {
        if (field.IsText() ? t.text == nullptr : !IsNumeric(field) || text_op)
          throw EngineError("Field " + field.name + " cannot be compared so");
        if (field.IsText()) term.text = t.text;
      }
      ++depth;
    } else {
      throw EngineError("Unknown candidate term " + std::to_string(t.op));
    }
    parsed.push_back(std::move(term));
  }
  if (count > 0 && depth != 1) throw EngineError("Candidate terms do not form one condition");
  return parsed;
}

SqlCondition CandidateCondition::Certain() const {
  if (certain_.empty()) return {"0", {}};
  SqlCondition certain = Sql(certain_);
  certain.sql = "coalesce(" + certain.sql + ", 0)";
  return certain;
}

// A condition's SQL text twice: as it stands, where SQL's NULL of a
// comparison with an absent value may stand for false, as it does in a
// WHERE clause and in AND and OR below it; and guarded, false for an absent
// value, as NOT needs it. Both have the same parameters in the same order.
struct SqlText {
  std::string plain, guarded;
};

SqlCondition CandidateCondition::Sql(const Terms& terms) const {
  SqlCondition where;
  std::vector<SqlText> stack;
  for (const Term& t : terms) {
    SqlText sql;
    if (t.op == RR_CAND_TRUE || t.op == RR_CAND_FALSE) {
      sql.plain = sql.guarded = t.op == RR_CAND_TRUE ? "1" : "0";
    } else if (t.op == RR_CAND_AND || t.op == RR_CAND_OR) {
      SqlText right = std::move(stack.back());
      stack.pop_back();
      const char* join = t.op == RR_CAND_AND ? " AND " : " OR ";
      sql.plain = "(" + stack.back().plain + join + right.plain + ")";
      sql.guarded = "(" + stack.back().guarded + join + right.guarded + ")";
      stack.pop_back();
    } else if (t.op == RR_CAND_NOT) {
      sql.plain = sql.guarded = "(NOT " + stack.back().guarded + ")";
      stack.pop_back();
    } else {
      const Field& field = catalogue_.FieldAt(t.field);
      const std::string column = QuoteName(field.name);
      std::string compared;  // NULL for an absent value
      if (t.op == RR_CAND_ABSENT) {
        sql.plain = sql.guarded = column + " IS NULL";
      } else if ((t.op == RR_CAND_PREFIX || t.op == RR_CAND_PREFIX_NOCASE) && t.text.empty()) {
        sql.plain = sql.guarded = column + " IS NOT NULL";
      } else if (t.op == RR_CAND_PREFIX) {
        // Compared as bytes, the texts beginning with a prefix are those
        // from it up to the prefix with its last byte raised (0xFF bytes at
        // its end dropped first; none left: no upper end).
        std::string after = t.text;
        while (!after.empty() && static_cast<unsigned char>(after.back()) == 0xFF) after.pop_back();
        compared = column + " >= ?";
        where.params.push_back(Text(t.text));
        if (!after.empty()) {
          after.back() = static_cast<char>(static_cast<unsigned char>(after.back()) + 1);
          compared += " AND " + column + " < ?";
          where.params.push_back(Text(std::move(after)));
        }
      } else if (t.op == RR_CAND_PREFIX_NOCASE) {
        // The leading bytes, compared as ASCII text without regard to case;
        // substr gives NULL for an empty text, which no prefix begins.
        const std::string lead = "substr(CAST(" + column + " AS BLOB), 1, " + std::to_string(t.text.size()) + ")";
        sql.plain = sql.guarded = "coalesce(CAST(" + lead + " AS TEXT) = ? COLLATE NOCASE, 0)";
        where.params.push_back(Text(t.text));
      } else if (t.op == RR_CAND_EQ_NOCASE) {
        // SQLite's NOCASE folds the ASCII letters alone.
        compared = column + " = ? COLLATE NOCASE";
        where.params.push_back(Text(t.text));
      } else {
        // Texts without a collation of their own compare as bytes.
        compared = column + " " + SqlOperator(t.op) + " ?";
        where.params.push_back(field.IsText() ? Text(t.text) : Number(t.number));
      }
      if (!compared.empty()) {
        sql.plain = "(" + compared + ")";
        sql.guarded = "(" + column + " IS NOT NULL AND " + compared + ")";
      }
    }
    stack.push_back(std::move(sql));
  }
  where.sql = stack.empty() ? "1" : std::move(stack.back().plain);
  return where;
}

namespace {

// Where the records meeting terms lie along the leading field of index.
Span SpanAlong(const Catalogue& catalogue, const std::vector<CandidateCondition::Term>& terms, const Index& index) {
  const int32_t lead = index.fields.front();
  const Field& field = catalogue.FieldAt(lead);
  const TextOrder& text_order = *catalogue.text_order;
  const SpanOrder order(text_order, index.case_insensitive);
  std::vector<Span> stack;
  for (const CandidateCondition::Term& t : terms) {
    Span span;
    if (t.op == RR_CAND_FALSE) {
      span = {false, false, std::nullopt, std::nullopt, true};
    } else if (t.op == RR_CAND_AND || t.op == RR_CAND_OR) {
      Span right = stack.back();
      stack.pop_back();
      span = t.op == RR_CAND_AND ? order.Intersection(stack.back(), right) : order.Union(stack.back(), right);
      stack.pop_back();
    } else if (t.op == RR_CAND_NOT) {
      stack.pop_back();  // the complement of a range is no range
    } else if (IsComparison(t.op) && t.field == lead) {
      span.absent = t.op == RR_CAND_ABSENT;
      span.present = t.op != RR_CAND_ABSENT;
      const SqlValue value = field.IsText() ? Text(t.text) : Number(t.number);
      std::string high;
      span.whole = t.op == RR_CAND_ABSENT;
      if (t.op == RR_CAND_EQ) {
        // Equal bytes are equal in every order.
        span.low = span.high = Bound{value, true};
        span.whole = !field.IsText();
      } else if (!field.IsText() && IsOrdering(t.op) && t.op != RR_CAND_NE) {
        if (t.op != RR_CAND_LT && t.op != RR_CAND_LE) span.low = Bound{value, t.op != RR_CAND_GT};
        if (t.op != RR_CAND_GT && t.op != RR_CAND_GE) span.high = Bound{value, t.op != RR_CAND_LT};
        span.whole = true;  // numbers order the same in the index and in SQL
      } else if (t.op == RR_CAND_EQ_NOCASE && index.case_insensitive && text_order.PrefixRange(t.text, nullptr)) {
        span.low = span.high = Bound{value, true};
      } else if ((t.op == RR_CAND_PREFIX || (t.op == RR_CAND_PREFIX_NOCASE && index.case_insensitive)) &&
                 !t.text.empty() && text_order.PrefixRange(t.text, &high)) {
        span.low = Bound{value, true};
        if (!high.empty()) span.high = Bound{Text(high), false};
      }
    }
    stack.push_back(span);
  }
  return stack.back();
}

// The span as SQL over the index's leading field.
SqlCondition SpanSql(const Span& span, const Field& field, const Index& index) {
  SqlCondition range;
  const std::string column = QuoteName(field.name);
  const std::string key =
      column + (field.IsText() ? std::string(" COLLATE ") + (index.case_insensitive ? kCollationNoCase : kCollationCase)
                               : std::string());
  std::string values;
  if (!span.present) {
    values = "0";
  } else {
    for (const auto& [bound, strict, loose] : {std::tuple{&span.low, " > ?", " >= ?"}, {&span.high, " < ?", " <= ?"}}) {
      if (!*bound) continue;
      values += (values.empty() ? "" : " AND ") + key + ((*bound)->inclusive ? loose : strict);
      range.params.push_back((*bound)->value);
    }
    if (values.empty()) values = column + " IS NOT NULL";
  }
  range.sql = span.absent ? "(" + column + " IS NULL OR (" + values + "))" : "(" + values + ")";
  return range;
}

}  // namespace

SqlCondition CandidateCondition::IndexRange(int32_t index_number, bool* whole) const {
  *whole = false;
  if (index_number <= 0 || terms_.empty()) return {};
  const Index& index = catalogue_.indexes[static_cast<size_t>(index_number) - 1];
  const Span span = SpanAlong(catalogue_, terms_, index);
  if (span.Everything()) return {};
  *whole = span.whole;
  return SpanSql(span, catalogue_.FieldAt(index.fields.front()), index);
}

bool CandidateCondition::ExactBesideOddLeads(int32_t index_number) const {
  if (index_number <= 0 || !exact_) return false;
  const Index& index = catalogue_.indexes[static_cast<size_t>(index_number) - 1];
  const int32_t lead = index.fields.front();
  if (!catalogue_.KeepsOddLeads(index)) return false;
  // The condition takes every text beginning with one of some printable
  // characters, and no other text: prefixes of one such character, joined
  // with OR.
  std::bitset<128> taken;
  for (const Term& t : terms_) {
    if (t.op == RR_CAND_OR) continue;
    if ((t.op != RR_CAND_PREFIX && t.op != RR_CAND_PREFIX_NOCASE) || t.field != lead || t.text.size() != 1)
      return false;
    const unsigned char c = static_cast<unsigned char>(t.text[0]);
    if (c < 0x20 || c >= 0x7F) return false;
    taken.set(c);
    const unsigned char lower = c | 0x20;
    if (t.op == RR_CAND_PREFIX_NOCASE && lower >= 'a' && lower <= 'z') taken.set(c ^ 0x20);
  }
  // Of the printable characters the range may hold texts beginning with,
  // the condition must take each.
  const Span span = SpanAlong(catalogue_, terms_, index);
  if (span.absent || !span.present || !span.low || !span.low->inclusive || (span.high && span.high->inclusive))
    return false;
  std::bitset<128> leads;
  return catalogue_.text_order->LeadsWithin(span.low->value.text, span.high ? span.high->value.text : "", &leads) &&
         (leads & ~taken).none();
}

SqlCondition CandidateCondition::UncertainRanges(int32_t index_number) const {
  if (index_number <= 0 || terms_.empty() || certain_.empty()) return {};
  const Index& index = catalogue_.indexes[static_cast<size_t>(index_number) - 1];
  const Span candidates = SpanAlong(catalogue_, terms_, index);
  const Span certain = SpanAlong(catalogue_, certain_, index);
  if (!candidates.whole || !certain.whole || candidates.Everything()) return {};
  // The candidates below the certain span's lower end, above its upper
  // end, and the absent ones when those are not certain.
  std::vector<Span> pieces;
  if (candidates.absent && !certain.absent) pieces.push_back({true, false, std::nullopt, std::nullopt, true});
  if (candidates.present && certain.present) {
    if (certain.low)
      pieces.push_back({false, true, candidates.low, Bound{certain.low->value, !certain.low->inclusive}, true});
    if (certain.high)
      pieces.push_back({false, true, Bound{certain.high->value, !certain.high->inclusive}, candidates.high, true});
  } else if (candidates.present) {
    pieces.push_back({false, true, candidates.low, candidates.high, true});
  }
  const Field& field = catalogue_.FieldAt(index.fields.front());
  const SpanOrder order(*catalogue_.text_order, index.case_insensitive);
  SqlCondition ranges{pieces.empty() ? "0" : "", {}};
  for (const Span& piece : pieces)
    ranges.Add(ranges.sql.empty() ? "" : " OR ").Add(SpanSql(order.Intersection(piece, candidates), field, index));
  return ranges;
}

}  // namespace vesk::engine
