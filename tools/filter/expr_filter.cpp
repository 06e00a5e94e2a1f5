// TExprFilter: prepares the tree of a dataset's Filter text against its
// fields and judges each record with a walk over a value stack.
#include "tools/filter/expr_filter.h"

#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "tools/filter/constant_conversion.h"
#include "tools/filter/expr_tree.h"
#include "tools/filter/filter_messages.h"
#include "tools/filter/value_compare.h"

namespace vesk {
namespace {

// Kinds of stack entries.
constexpr uint8_t kFieldName = 0;
constexpr uint8_t kConstant = 1;
constexpr uint8_t kCondition = 2;

bool IsOrdering(TNodeOperator op) {
  return op == noLess || op == noLessEqual || op == noGreaterEqual || op == noGreater;
}

// The value of an entry: a condition's result, or the node's value.
Variant ValueOf(const TStackNode& entry) { return entry.Kind == kCondition ? Variant(entry.Condition) : *entry.Value; }

bool Holds(TNodeOperator op, std::partial_ordering order) {
  switch (op) {
    case noLess: return order < 0;
    case noLessEqual: return order <= 0;
    case noEqual: return order == 0;
    case noGreaterEqual: return order >= 0;
    case noGreater: return order > 0;
    default: return order != 0;  // noNotEqual
  }
}

}  // namespace

TExprFilter::TExprFilter(TDataSet* dataset) : dataset_(dataset), parser_(dataset) {}

TExprFilter::~TExprFilter() { Unprepare(); }

void TExprFilter::SetActive(bool active) {
  if (active_) {
    Unprepare();
    active_ = false;
  }
  if (!active || dataset_->Filter().empty()) return;
  try {
    Prepare();
  } catch (...) {
    // A failed preparation keeps no tree.
    Unprepare();
    throw;
  }
  active_ = true;
}

bool TExprFilter::Evaluate() { return !active_ || Walk(false); }

void TExprFilter::Prepare() {
  const TFilterOptions options = dataset_->FilterOptions();
  options_ = 0;
  if (options & foCaseInsensitive) options_ |= kOptionCaseInsensitive;
  if (!(options & foNoPartialCompare)) options_ |= kOptionPartial;
  parser_.Parse();
  order_ = PostOrder(parser_.Root.get());
  Walk(true);
}

void TExprFilter::Unprepare() {
  stack_.Clear();
  order_.clear();
  parser_.Root.reset();
}

bool TExprFilter::Walk(bool preparing) {
  // Each walk starts empty: a walk that failed half-way leaves entries behind.
  stack_.Reset();
  for (TExprNode* node : order_) {
    if (node->Kind != nkOperator) {
      stack_.Push(node->Kind == nkField ? kFieldName : kConstant, &node->Value);
    } else if (node->Operator == noNot) {
      const TStackNode& operand = stack_.Pop();
      if (operand.Kind != kCondition) DatabaseError(kSExprEvalError);
      stack_.PushCondition(!operand.Condition);
    } else if (preparing) {
      PrepareOperator(*node);
    } else {
      EvaluateOperator(*node);
    }
  }
  if (stack_.Top() != 1) DatabaseError(kSExprEvalError);
  const TStackNode& result = stack_.Pop();
  if (result.Kind != kCondition) DatabaseError(kSExprEvalError);
  return result.Condition;
}

void TExprFilter::PrepareOperator(TExprNode& node) {
  const TStackNode right = stack_.Pop();
  const TStackNode left = stack_.Pop();
  TField* field = nullptr;
  if (left.Kind == kFieldName) {
    field = dataset_->FieldByName(left.Value->AsString());
    if (field->FieldKind() != fkData) DatabaseError(field->FieldName() + std::string(kSNotFilterType));
    Variant constant = ValueOf(right);
    if (field->DataType() == ftString && options_ != 0 && !constant.IsNull()) ApplyWildcard(node, constant);
    // A constant's entry points at this value: it is converted in place.
    node.Right->Value = ConvertConstant(constant, field->DataType());
  }
  const bool conditions = left.Kind == kCondition && right.Kind == kCondition;
  const bool comparison = left.Kind == kFieldName && right.Kind == kConstant;
  if (!conditions && !comparison) DatabaseError(kSExprEvalError);
  const Variant rv = ValueOf(right);
  if (rv.IsNull() && IsOrdering(node.Operator)) DatabaseError(kSNullCompare);
  stack_.PushCondition(field != nullptr ? Compare(node, field, rv) : Result(node, ValueOf(left), rv));
}

void TExprFilter::EvaluateOperator(const TExprNode& node) {
  // Preparation has made sure of the operand kinds.
  const TStackNode& right = stack_.Pop();
  const TStackNode& left = stack_.Pop();
  bool result;
  if (left.Kind == kFieldName) {
    result = Compare(node, dataset_->FieldByName(left.Value->AsString()), *right.Value);
  } else if (node.Operator == noAnd) {
    result = left.Condition && right.Condition;
  } else if (node.Operator == noOr) {
    result = left.Condition || right.Condition;
  } else {
    result = Result(node, ValueOf(left), ValueOf(right));
  }
  stack_.PushCondition(result);
}

bool TExprFilter::Compare(const TExprNode& node, TField* field, const Variant& right) {
  // Only comparisons of text fields with a constant other than NULL are
  // marked for the text step; the field's data is its zero-terminated text,
  // read without copies.
  if (node.PartialLength == -1) return Result(node, field->Value(), right);
  const auto size = static_cast<size_t>(field->DataSize());
  if (text_.size() <= size) text_.resize(size + 1);
  if (!field->GetData(text_.data())) return Result(node, Variant::Null(), right);
  text_[size] = '\0';
  // The text step: the comparison's result stands against 0.
  const int order = CompareStrings(text_.data(), right.TextView(scratch_), node.PartialLength, options_);
  if (node.Operator == noAnd || node.Operator == noOr) return Result(node, Variant(order), Variant(0));
  return Holds(node.Operator, order <=> 0);
}

bool TExprFilter::Result(const TExprNode& node, const Variant& left, const Variant& right) const {
  if (node.Operator == noAnd) return left.AsBoolean() && right.AsBoolean();
  if (node.Operator == noOr) return left.AsBoolean() || right.AsBoolean();
  return Holds(node.Operator, CompareValues(left, right));
}

void TExprFilter::ApplyWildcard(TExprNode& node, Variant& constant) const {
  std::string text = constant.AsString();
  if (!text.empty() && text.back() == '*') {
    text.pop_back();
    node.PartialLength = static_cast<int32_t>(text.size());
    constant = Variant(std::move(text));
  } else if (options_ & kOptionCaseInsensitive) {
    node.PartialLength = -2;
  }
}

}  // namespace vesk
