#include "tools/table/RadiRidirCandidates.h"

#include <utility>

#include "runtime/datetime.h"
#include "tools/filter/value_compare.h"

namespace vesk {
namespace {

// A condition in postfix order; its texts are kept with each term.
struct Term {
  int32_t op = RR_CAND_TRUE;
  int32_t field = -1;
  double number = 0;
  std::string text;
  bool text_valued = false;
};
using Condition = std::vector<Term>;

// Longer conditions are given up for one that bounds nothing: SQLite takes
// only so deep an expression, and a long one saves little.
constexpr size_t kMaxTerms = 256;

// Days of one millisecond, and the dates whose milliseconds the dataset
// shows within half of one (outside, the date it shows may be far off).
constexpr double kMillisecond = 1.0 / 86400000.0;
constexpr double kFirstShownDay = 0;
constexpr double kEndShownDay = 2958465;

Term Operator(int32_t op) { return Term{op, -1, 0, {}, false}; }
Condition Constant(bool value) { return {Operator(value ? RR_CAND_TRUE : RR_CAND_FALSE)}; }
bool Is(const Condition& c, int32_t op) { return c.size() == 1 && c[0].op == op; }

Condition Compare(int32_t op, const CandidateField& field, double number, std::string text = {}) {
  return {Term{op, field.number, number, std::move(text), field.kind == CandidateField::kText}};
}
Condition Absent(const CandidateField& field) { return Compare(RR_CAND_ABSENT, field, 0); }

Condition Not(Condition c) {
  if (Is(c, RR_CAND_TRUE) || Is(c, RR_CAND_FALSE)) return Constant(Is(c, RR_CAND_FALSE));
  c.push_back(Operator(RR_CAND_NOT));
  return c;
}

// AND and OR, simplified around constants. A result too long stands for
// `fallback`: TRUE where a wider condition will do, FALSE where a narrower.
Condition Join(int32_t op, Condition a, Condition b, bool fallback) {
  const int32_t absorbing = op == RR_CAND_AND ? RR_CAND_FALSE : RR_CAND_TRUE;
  const int32_t neutral = op == RR_CAND_AND ? RR_CAND_TRUE : RR_CAND_FALSE;
  if (Is(a, absorbing) || Is(b, absorbing)) return Constant(absorbing == RR_CAND_TRUE);
  if (Is(a, neutral)) return b;
  if (Is(b, neutral)) return a;
  if (a.size() + b.size() + 1 > kMaxTerms) return Constant(fallback);
  a.insert(a.end(), std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()));
  a.push_back(Operator(op));
  return a;
}
Condition And(Condition a, Condition b, bool wide) { return Join(RR_CAND_AND, std::move(a), std::move(b), wide); }
Condition Or(Condition a, Condition b, bool wide) { return Join(RR_CAND_OR, std::move(a), std::move(b), wide); }

// What the derivation knows of a node: for a condition, one that every
// record passing it meets (wide) and one that only records passing it meet
// (narrow); a leaf is kept for its comparison. A part the derivation does
// not know may fail to evaluate, which rejects the record whatever the rest
// says: then no record is certain to pass.
struct Bounds {
  Condition wide = Constant(true);
  Condition narrow = Constant(false);
  const TExprNode* leaf = nullptr;
  bool may_fail = true;
};

Bounds Exact(Condition c) { return {c, c, nullptr, false}; }
// A comparison that evaluates without fail but cannot be bounded.
Bounds Unbounded() { return {Constant(true), Constant(false), nullptr, false}; }

// A field's absent value passes <, <= and <> against any constant.
Condition WithAbsent(TNodeOperator op, const CandidateField& field, Condition c, bool wide) {
  if (op != noLess && op != noLessEqual && op != noNotEqual) return c;
  return Or(Absent(field), std::move(c), wide);
}

int32_t EngineOperator(TNodeOperator op) {
  switch (op) {
    case noLess: return RR_CAND_LT;
    case noLessEqual: return RR_CAND_LE;
    case noEqual: return RR_CAND_EQ;
    case noGreaterEqual: return RR_CAND_GE;
    case noGreater: return RR_CAND_GT;
    default: return RR_CAND_NE;
  }
}

Bounds CompareText(TNodeOperator op, const CandidateField& field, const std::string& text, int32_t partial,
                   uint32_t options) {
  const bool whole_no_case = partial == -2 || (partial >= 0 && !(options & kOptionPartial));
  if (partial == -1) return Exact(WithAbsent(op, field, Compare(EngineOperator(op), field, 0, text), true));
  if (whole_no_case || (options & kOptionCaseInsensitive)) {
    // Without regard to case the letters order as capitals, which SQLite's
    // NOCASE does not: only = and <> are bounded.
    if (op != noEqual && op != noNotEqual) return Unbounded();
    Condition equal = Compare(whole_no_case ? RR_CAND_EQ_NOCASE : RR_CAND_PREFIX_NOCASE, field, 0, text);
    return Exact(op == noEqual ? equal : Not(equal));
  }
  // The first n bytes against the n of the constant: before it exactly
  // when the whole text is before it.
  Condition prefix = Compare(RR_CAND_PREFIX, field, 0, text);
  switch (op) {
    case noEqual: return Exact(prefix);
    case noNotEqual: return Exact(Not(prefix));
    case noLess: return Exact(Or(Absent(field), Compare(RR_CAND_LT, field, 0, text), true));
    case noLessEqual: return Exact(Or(Absent(field), Or(Compare(RR_CAND_LT, field, 0, text), prefix, true), true));
    case noGreaterEqual: return Exact(Compare(RR_CAND_GE, field, 0, text));
    default: return Exact(And(Compare(RR_CAND_GT, field, 0, text), Not(prefix), true));
  }
}

// The date the dataset shows for a stored one: the field reads it as
// milliseconds and makes a date of those.
double ShownDate(double stored) {
  return TimeStampToDateTime(MSecsToTimeStamp(TimeStampToMSecs(DateTimeToTimeStamp(stored))));
}

// The dataset shows a date to the millisecond: a record's stored date may
// lie up to half a millisecond off the one compared, so the wide condition
// reaches a millisecond further and the narrow one stays a millisecond
// inside. Outside the shown days a date may show as any day before day 1,
// so the wide condition holds those too unless only later days pass. A
// constant that shows as itself (a whole day, a time to the millisecond)
// is met exactly by the stored date equal to it, and the showing keeps the
// order, so the narrow side of =, <= and >= is the comparison itself.
Bounds CompareDate(TNodeOperator op, const CandidateField& field, double day) {
  const Condition odd = Or(Compare(RR_CAND_LT, field, kFirstShownDay), Compare(RR_CAND_GE, field, kEndShownDay), true);
  const Condition equal =
      And(Compare(RR_CAND_GE, field, day - kMillisecond), Compare(RR_CAND_LE, field, day + kMillisecond), true);
  const bool shown_as_is = day >= kFirstShownDay && day < kEndShownDay && ShownDate(day) == day;
  auto side = [&](double shift) -> Condition {
    switch (op) {
      case noLess: return Compare(RR_CAND_LT, field, day + shift);
      case noLessEqual: return Compare(RR_CAND_LE, field, day + shift);
      case noGreaterEqual: return Compare(RR_CAND_GE, field, day - shift);
      default: return Compare(RR_CAND_GT, field, day - shift);  // noGreater
    }
  };
  // Present dates the dataset shows as they are stored: those of the
  // shown days, as far as the comparison does not bound them already.
  const bool later = op == noGreaterEqual || op == noGreater;
  auto shown = [&](Condition c, bool bounded_below, bool bounded_above) {
    if (!bounded_below) c = And(Compare(RR_CAND_GE, field, kFirstShownDay), std::move(c), false);
    if (!bounded_above) c = And(std::move(c), Compare(RR_CAND_LT, field, kEndShownDay), false);
    return c;
  };
  // The narrow side of <> is everything outside the wide side of =.
  if (op == noNotEqual) {
    Condition outside =
        Or(Compare(RR_CAND_LT, field, day - kMillisecond), Compare(RR_CAND_GT, field, day + kMillisecond), false);
    return {Constant(true), Or(Absent(field), shown(std::move(outside), false, false), false), nullptr, false};
  }
  Condition wide = op == noEqual ? equal : WithAbsent(op, field, side(kMillisecond), true);
  const bool later_only = op == noEqual || op == noGreaterEqual || op == noGreater;
  if (!later_only || day - kMillisecond < 1) wide = Or(odd, std::move(wide), true);
  const bool inclusive = op == noEqual || op == noLessEqual || op == noGreaterEqual;
  Condition narrow;
  if (op == noEqual)
    narrow = shown_as_is ? Compare(RR_CAND_EQ, field, day) : Constant(false);
  else
    narrow = WithAbsent(op, field,
                        shown(side(shown_as_is && inclusive ? 0 : -kMillisecond), later && day >= kFirstShownDay,
                              !later && day < kEndShownDay),
                        false);
  return {std::move(wide), std::move(narrow), nullptr, false};
}

Bounds CompareField(const TExprNode& node, const CandidateField& field, const Variant& constant, uint32_t options) {
  const TNodeOperator op = node.Operator;
  if (op < noLess || op > noNotEqual || field.kind == CandidateField::kNone) return {};
  if (constant.IsNull()) {
    if (op == noEqual) return Exact(Absent(field));
    if (op == noNotEqual) return Exact(Not(Absent(field)));
    return {};
  }
  switch (field.kind) {
    case CandidateField::kText:
      if (constant.Type() != VarType::String) return {};
      return CompareText(op, field, constant.AsString(), node.PartialLength, options);
    case CandidateField::kNumber:
      if (constant.Type() != VarType::Integer && constant.Type() != VarType::SmallInt &&
          constant.Type() != VarType::Double)
        return {};
      return Exact(WithAbsent(op, field, Compare(EngineOperator(op), field, constant.AsDouble()), true));
    default:  // kDate
      if (constant.Type() != VarType::Date) return {};
      return CompareDate(op, field, constant.AsDouble());
  }
}

}  // namespace

CandidateTerms DeriveCandidates(const TExprNode* root, uint32_t options,
                                const std::function<CandidateField(const std::string& name)>& field_of) {
  CandidateTerms result;
  if (root == nullptr) return result;
  std::vector<Bounds> stack;
  for (const TExprNode* node : PostOrder(const_cast<TExprNode*>(root))) {
    if (node->Kind != nkOperator) {
      stack.push_back(Bounds{Constant(true), Constant(false), node});
      continue;
    }
    Bounds right = std::move(stack.back());
    stack.pop_back();
    if (node->Operator == noNot) {
      stack.push_back(right.leaf
                          ? Bounds{}
                          : Bounds{Not(std::move(right.narrow)), Not(std::move(right.wide)), nullptr, right.may_fail});
      continue;
    }
    Bounds left = std::move(stack.back());
    stack.pop_back();
    Bounds joined;
    if (left.leaf && right.leaf) {
      if (left.leaf->Kind == nkField && right.leaf->Kind == nkConst)
        joined = CompareField(*node, field_of(left.leaf->Value.AsString()), right.leaf->Value, options);
    } else if (!left.leaf && !right.leaf && (node->Operator == noAnd || node->Operator == noOr)) {
      joined.wide =
          Join(node->Operator == noAnd ? RR_CAND_AND : RR_CAND_OR, std::move(left.wide), std::move(right.wide), true);
      joined.narrow = Join(node->Operator == noAnd ? RR_CAND_AND : RR_CAND_OR, std::move(left.narrow),
                           std::move(right.narrow), false);
      joined.may_fail = left.may_fail || right.may_fail;
    }
    stack.push_back(std::move(joined));
  }
  if (stack.size() != 1 || stack.back().leaf || Is(stack.back().wide, RR_CAND_TRUE)) return result;
  auto pass = [&result](Condition& condition, std::vector<rr_candidate_term>& terms) {
    for (Term& term : condition) {
      const char* text = nullptr;
      if (term.text_valued) text = result.texts.emplace_back(std::move(term.text)).c_str();
      terms.push_back({term.op, term.field, term.number, text});
    }
  };
  pass(stack.back().wide, result.terms);
  if (!stack.back().may_fail && !Is(stack.back().narrow, RR_CAND_FALSE)) pass(stack.back().narrow, result.certain);
  return result;
}

}  // namespace vesk
