// TExprFilter: prepares the tree of a dataset's Filter text against its
// fields and judges each record with a walk over a value stack.
#include "tools/filter/MTFilt.h"

#include "tools/filter/constant_conversion.h"
#include "tools/filter/expr_tree.h"
#include "tools/filter/filter_messages.h"
#include "tools/filter/value_compare.h"
#include "toolkit/database_error.h"
#include "toolkit/dataset.h"
#include "toolkit/field.h"

namespace vesk {
namespace {

// Kinds of stack entries.
constexpr uint8_t kFieldName = 0;
constexpr uint8_t kConstant = 1;
constexpr uint8_t kCondition = 2;

bool IsOrdering(TNodeOperator op) {
  return op == noLess || op == noLessEqual || op == noGreaterEqual || op == noGreater;
}

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
      stack_.Push(node->Kind == nkField ? kFieldName : kConstant, node->Value);
    } else if (node->Operator == noNot) {
      const TStackNode& operand = stack_.Pop();
      if (operand.Kind != kCondition) DatabaseError(kSExprEvalError);
      stack_.Push(kCondition, Variant(!operand.Value.AsBoolean()));
    } else {
      VisitOperator(*node, preparing);
    }
  }
  if (stack_.Top() != 1) DatabaseError(kSExprEvalError);
  const TStackNode& result = stack_.Pop();
  if (result.Kind != kCondition) DatabaseError(kSExprEvalError);
  return result.Value.AsBoolean();
}

void TExprFilter::VisitOperator(TExprNode& node, bool preparing) {
  const TStackNode& right = stack_.Pop();
  const TStackNode& left = stack_.Pop();
  // Both slots stay as they are until the result is pushed.
  const Variant* rv = &right.Value;
  Variant converted;
  Variant lv;
  if (left.Kind == kFieldName) {
    TField* field = preparing ? FieldOf(left.Value) : dataset_->FieldByName(left.Value.AsString());
    lv = field->Value();
    if (preparing) {
      converted = right.Value;
      if (field->DataType() == ftString && options_ != 0 && !converted.IsNull()) ApplyWildcard(node, converted);
      if (node.Right) {
        node.Right->Value = ConvertConstant(converted, field->DataType());
        converted = node.Right->Value;
      }
      rv = &converted;
    }
  } else {
    lv = left.Value;
  }
  if (preparing) {
    const bool conditions = left.Kind == kCondition && right.Kind == kCondition;
    const bool comparison = left.Kind == kFieldName && right.Kind == kConstant;
    if (!conditions && !comparison) DatabaseError(kSExprEvalError);
  }
  const bool text_step = node.PartialLength != -1 && !lv.IsNull() && !rv->IsNull() &&
                         (node.PartialLength >= 0 || (options_ & kOptionCaseInsensitive));
  if (preparing && rv->IsNull() && IsOrdering(node.Operator)) DatabaseError(kSNullCompare);
  bool result;
  if (node.Operator == noAnd) {
    result = lv.AsBoolean() && rv->AsBoolean();
  } else if (node.Operator == noOr) {
    result = lv.AsBoolean() || rv->AsBoolean();
  } else if (text_step) {
    result = Holds(node.Operator, CompareStrings(lv.AsString(), rv->AsString(), node.PartialLength, options_) <=> 0);
  } else {
    result = Holds(node.Operator, CompareValues(lv, *rv));
  }
  stack_.Push(kCondition, Variant(result));
}

TField* TExprFilter::FieldOf(const Variant& name) const {
  TField* field = dataset_->FieldByName(name.AsString());
  if (field->FieldKind() != fkData) DatabaseError(field->FieldName() + std::string(kSNotFilterType));
  return field;
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
