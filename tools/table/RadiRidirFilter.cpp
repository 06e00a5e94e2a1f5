// TRadiRidir filtering: the two record tests the engine calls while it moves
// (OnFilterRecord and the Filter expression), the switches that tell the
// engine which tests to use, and FindRecord over them.
#include <cstring>

#include "engine/radiridir.h"
#include "toolkit/data/field.h"
#include "toolkit/data/notices.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void TRadiRidir::LoadFilterBuffer(const uint8_t* record) {
  std::memset(filterBuffer_.data(), 0, filterBuffer_.size());
  std::memcpy(filterBuffer_.data(), record, static_cast<size_t>(recordSize_));
}

uint8_t TRadiRidir::EventTest(void* data, const uint8_t* record) {
  auto* self = static_cast<TRadiRidir*>(data);
  bool accept = true;
  const TempState filtering(*self, dsFilter);
  self->LoadFilterBuffer(record);
  if (self->useEventTest_ && self->OnFilterRecord()) {
    try {
      self->OnFilterRecord()(*self, accept);
    } catch (const std::exception& error) {
      self->ReportTestFailure(error);
    }
  }
  return accept ? 1 : 0;
}

uint8_t TRadiRidir::ExpressionTest(void* data, const uint8_t* record) {
  auto* self = static_cast<TRadiRidir*>(data);
  bool accept = false;
  const TempState filtering(*self, dsFilter);
  self->LoadFilterBuffer(record);
  if (self->useExpressionTest_ && self->exprFilter_.Active()) {
    try {
      accept = self->exprFilter_.Evaluate();
    } catch (const std::exception& error) {
      self->ReportTestFailure(error);
    }
  }
  return accept ? 1 : 0;
}

// A test that fails for one record mostly fails for the next too: one
// message, not one per candidate of a move or count over the whole table.
void TRadiRidir::ReportTestFailure(const std::exception& error) {
  if (testFailureShown_) return;
  testFailureShown_ = true;
  NotifyError(error);
}

void TRadiRidir::FilterChanged() {
  filteredCount_ = -1;
  testFailureShown_ = false;
}

CandidateField TRadiRidir::CandidateFieldOf(const std::string& name) const {
  TField* field = FindField(name);
  if (field == nullptr || field->FieldKind() != fkData || field->FieldNo() <= 0) return {};
  const int32_t number = field->FieldNo() - 1;
  const EngineField& info = FieldAt(number);
  const TFieldType type = field->DataType();
  switch (info.letter) {
    case 'S':
      // A persistent field shorter than its column shows a cut text.
      if (type != ftString || field->Size() < RR_TEXT_CHARS(info.size)) return {};
      return {CandidateField::kText, number};
    case 'I': return type == ftInteger ? CandidateField{CandidateField::kNumber, number} : CandidateField{};
    case 'F':
    case 'R': return type == ftFloat ? CandidateField{CandidateField::kNumber, number} : CandidateField{};
    case 'D': return type == ftDateTime ? CandidateField{CandidateField::kDate, number} : CandidateField{};
    default: return {};
  }
}

// The engine looks only at the records that can pass the expression; the
// expression test judges each of them but those certain to pass. A
// condition the engine does not take leaves every record to the test, as
// without one.
void TRadiRidir::PassCandidates() {
  CandidateTerms candidates;
  if (useExpressionTest_)
    candidates = DeriveCandidates(exprFilter_.Tree(), exprFilter_.Options(),
                                  [this](const std::string& name) { return CandidateFieldOf(name); });
  rr_set_candidates(handle_, candidates.terms.data(), static_cast<int32_t>(candidates.terms.size()),
                    candidates.certain.data(), static_cast<int32_t>(candidates.certain.size()));
}

// At the first fetch after opening: a dataset stored as filtered filters
// from its first record on.
void TRadiRidir::SetupFilter() {
  FilterChanged();
  if (Filtered()) {
    exprFilter_.SetActive(true);
    useExpressionTest_ = exprFilter_.Active();
    rr_enable_tests(handle_, useEventTest_, useExpressionTest_);
    rr_tests_on(handle_, 1);
    CheckLastCall();
    PassCandidates();
    Check(rr_first(handle_));
    lastMove_ = 1;
  }
  setupPending_ = false;
}

void TRadiRidir::RefreshEngineFilter() {
  FilterChanged();
  useExpressionTest_ = exprFilter_.Active();
  if (Filtered()) rr_tests_on(handle_, 0);
  rr_enable_tests(handle_, useEventTest_, useExpressionTest_);
  if (useEventTest_ || useExpressionTest_) rr_tests_on(handle_, 1);
  CheckLastCall();
  PassCandidates();
}

void TRadiRidir::SetFiltered(bool filtered) {
  if (!Active()) return TDataSet::SetFiltered(filtered);
  CheckBrowseMode();
  if (filtered != Filtered()) {
    FilterChanged();
    exprFilter_.SetActive(filtered);
    useExpressionTest_ = exprFilter_.Active();
    rr_enable_tests(handle_, useEventTest_, useExpressionTest_);
    rr_tests_on(handle_, filtered);
    CheckLastCall();
    PassCandidates();
    TDataSet::SetFiltered(filtered);
  }
  First();
}

void TRadiRidir::SetFilterOptions(TFilterOptions options) {
  if (!Active() || !Filtered()) return TDataSet::SetFilterOptions(options);
  CheckBrowseMode();
  if (options == FilterOptions()) return;
  TDataSet::SetFilterOptions(options);
  exprFilter_.SetActive(true);
  RefreshEngineFilter();
  First();
}

void TRadiRidir::SetFilterText(std::string text) {
  if (!Active() || !Filtered()) return TDataSet::SetFilterText(std::move(text));
  CheckBrowseMode();
  if (text == Filter()) return;
  std::string previous = Filter();
  TDataSet::SetFilterText(std::move(text));
  try {
    exprFilter_.SetActive(true);
  } catch (const std::exception&) {
    // The text in force stays in force.
    TDataSet::SetFilterText(std::move(previous));
    exprFilter_.SetActive(true);
    throw;
  }
  RefreshEngineFilter();
  First();
}

void TRadiRidir::SetOnFilterRecord(TFilterRecordEvent handler) {
  useEventTest_ = static_cast<bool>(handler);
  if (!Active()) return TDataSet::SetOnFilterRecord(std::move(handler));
  CheckBrowseMode();
  TDataSet::SetOnFilterRecord(std::move(handler));
  FilterChanged();
  if (Filtered()) {
    rr_tests_on(handle_, 0);
    rr_enable_tests(handle_, useEventTest_, useExpressionTest_);
    rr_tests_on(handle_, 1);
    CheckLastCall();
    First();
  }
}

bool TRadiRidir::FindRecord(bool restart, bool forward) {
  CheckBrowseMode();
  DoBeforeScroll();
  UpdateCursorPos();
  CursorPosChanged();
  // An unfiltered dataset searches with its filter text and event all the
  // same, and shows all records again afterwards.
  const bool unfiltered = !Filtered();
  auto unprepare = [this, unfiltered] {
    if (!unfiltered) return;
    rr_tests_on(handle_, 0);
    exprFilter_.SetActive(false);
    PassCandidates();
  };
  try {
    if (unfiltered) {
      exprFilter_.SetActive(true);
      RefreshEngineFilter();
    }
    if (forward)
      Check(restart ? rr_first(handle_) : rr_next(handle_));
    else
      Check(restart ? rr_last(handle_) : rr_prior(handle_));
  } catch (...) {
    unprepare();
    throw;
  }
  unprepare();
  const bool found = rr_test_found(handle_);
  if (found) {
    Resync(rmExact | rmCenter);
    DoAfterScroll();
  }
  return found;
}

}  // namespace vesk
