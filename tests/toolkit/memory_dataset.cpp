#include "memory_dataset.h"

#include <cstring>

#include "runtime/exceptions.h"
#include "runtime/utf8_text.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/data/stream.h"

namespace vesk {

namespace {

// A blob of the test store as a stream; tells the field when it wrote.
class TestBlobStream : public TStream {
 public:
  TestBlobStream(TDataSet& dataset, TField* field, std::string* bytes)
      : dataset_(dataset), field_(field), bytes_(bytes) {}
  ~TestBlobStream() override {
    if (!written_) return;
    try {
      if (auto* blob = dynamic_cast<TBlobField*>(field_)) blob->SetModified(true);
      dataset_.DataEvent(deFieldChange, field_);
    } catch (const std::exception& error) {
      dataset_.InternalHandleException(error);
    }
  }
  int32_t Read(void* buffer, int32_t count) override {
    if (bytes_ == nullptr || position_ >= static_cast<int32_t>(bytes_->size())) return 0;
    const int32_t got = std::min(count, static_cast<int32_t>(bytes_->size()) - position_);
    std::memcpy(buffer, bytes_->data() + position_, static_cast<size_t>(got));
    position_ += got;
    return got;
  }
  int32_t Write(const void* buffer, int32_t count) override {
    if (bytes_ == nullptr) return 0;
    if (static_cast<int32_t>(bytes_->size()) < position_ + count)
      bytes_->resize(static_cast<size_t>(position_ + count));
    std::memcpy(bytes_->data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    written_ = true;
    return count;
  }
  int32_t Seek(int32_t offset, TSeekOrigin origin) override {
    const int32_t size = bytes_ == nullptr ? 0 : static_cast<int32_t>(bytes_->size());
    if (origin == soBeginning) position_ = offset;
    if (origin == soCurrent) position_ += offset;
    if (origin == soEnd) position_ = size + offset;
    return position_;
  }
  void MarkWritten() { written_ = true; }

 private:
  TDataSet& dataset_;
  TField* field_;
  std::string* bytes_;
  int32_t position_ = 0;
  bool written_ = false;
};

}  // namespace

TMemoryDataSet::TMemoryDataSet(TComponent* owner) : TDataSet(owner) {}

TMemoryDataSet::~TMemoryDataSet() {
  Destroying();
  Close();
}

bool TMemoryDataSet::IsBlobType(TFieldType type) {
  return type == ftMemo || type == ftFmtMemo || type == ftGraphic || type == ftBlob;
}

int TMemoryDataSet::ValueSize(const Column& column) {
  switch (column.type) {
    case ftString: return 4 * column.size + 1;
    case ftInteger:
    case ftAutoInc: return 4;
    case ftBoolean: return 2;
    case ftFloat:
    case ftCurrency:
    case ftDate:
    case ftTime:
    case ftDateTime: return 8;
    default: return 0;
  }
}

void TMemoryDataSet::AddColumn(std::string name, TFieldType type, int size, bool required) {
  columns_.push_back({std::move(name), type, size, required});
  Layout();
}

void TMemoryDataSet::Layout() {
  offsets_.clear();
  recordSize_ = static_cast<int>(columns_.size());  // presence bytes first
  for (const Column& column : columns_) {
    offsets_.push_back(recordSize_);
    recordSize_ += ValueSize(column);
  }
}

void TMemoryDataSet::AddRow(const std::vector<Variant>& values) {
  Record record{nextId_++, std::vector<char>(static_cast<size_t>(recordSize_), '\0'), {}};
  for (size_t i = 0; i < columns_.size() && i < values.size(); ++i) {
    const Variant& value = values[i];
    if (value.IsNull()) continue;
    char* at = record.data.data() + offsets_[i];
    record.data[i] = 1;
    switch (columns_[i].type) {
      case ftString: {
        const std::string text(Utf8Prefix(value.AsString(), static_cast<size_t>(columns_[i].size)));
        std::memcpy(at, text.c_str(), text.size() + 1);
        break;
      }
      case ftInteger:
      case ftAutoInc: {
        const int32_t number = value.AsInteger();
        std::memcpy(at, &number, 4);
        break;
      }
      case ftBoolean: {
        const int16_t flag = value.AsBoolean() ? 1 : 0;
        std::memcpy(at, &flag, 2);
        break;
      }
      case ftFloat:
      case ftCurrency: {
        const double number = value.AsDouble();
        std::memcpy(at, &number, 8);
        break;
      }
      case ftDate:
      case ftTime:
      case ftDateTime: {
        const double msecs = TimeStampToMSecs(DateTimeToTimeStamp(value.AsDate()));
        std::memcpy(at, &msecs, 8);
        break;
      }
      default: record.blobs[static_cast<int>(i)] = value.AsString(); break;
    }
  }
  records_.push_back(std::move(record));
}

int32_t TMemoryDataSet::IdOf(const char* buffer) const {
  int32_t id = 0;
  std::memcpy(&id, buffer + infoOffset_, sizeof id);
  return id;
}

void TMemoryDataSet::SetId(char* buffer, int32_t id) const { std::memcpy(buffer + infoOffset_, &id, sizeof id); }

int TMemoryDataSet::IndexOf(int id) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].id == id) return static_cast<int>(i);
  return -1;
}

char* TMemoryDataSet::AllocRecordBuffer() {
  ++liveBuffers_;
  return new char[static_cast<size_t>(bufferSize_)]();
}

void TMemoryDataSet::FreeRecordBuffer(char*& buffer) {
  --liveBuffers_;
  delete[] buffer;
  buffer = nullptr;
}

void TMemoryDataSet::GetBookmarkData(const char* buffer, char* data) {
  const int32_t id = IdOf(buffer);
  std::memcpy(data, &id, sizeof id);
}

void TMemoryDataSet::SetBookmarkData(char* buffer, const char* data) {
  int32_t id = 0;
  std::memcpy(&id, data, sizeof id);
  SetId(buffer, id);
}

TBookmarkFlag TMemoryDataSet::GetBookmarkFlag(const char* buffer) {
  return static_cast<TBookmarkFlag>(buffer[infoOffset_ + 4]);
}

void TMemoryDataSet::SetBookmarkFlag(char* buffer, TBookmarkFlag flag) {
  buffer[infoOffset_ + 4] = static_cast<char>(flag);
}

void TMemoryDataSet::InternalInitFieldDefs() {
  FieldDefs().Clear();
  for (const Column& column : columns_) FieldDefs().Add(column.name, column.type, column.size, column.required);
}

void TMemoryDataSet::InternalOpen() {
  if (failOpen_) DatabaseError("Die Testtabelle kann nicht geöffnet werden");
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  SetBookmarkSize(sizeof(int32_t));
  infoOffset_ = recordSize_ + CalcFieldsSize();
  bufferSize_ = infoOffset_ + 5;
  filterBuffer_.assign(static_cast<size_t>(bufferSize_), '\0');
  cursor_ = -1;
  open_ = true;
}

void TMemoryDataSet::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  open_ = false;
  filterBuffer_.clear();
  pendingBlobs_.clear();
}

void TMemoryDataSet::InternalInitRecord(char* buffer) {
  std::memset(buffer, 0, static_cast<size_t>(bufferSize_));
  SetId(buffer, -1);
}

void TMemoryDataSet::ClearCalcFields(char* buffer) {
  std::memset(buffer + recordSize_, 0, static_cast<size_t>(CalcFieldsSize()));
}

bool TMemoryDataSet::Accepted(int index) {
  if (!Filtered() || !OnFilterRecord()) return true;
  std::memcpy(filterBuffer_.data(), records_[index].data.data(), static_cast<size_t>(recordSize_));
  SetId(filterBuffer_.data(), records_[index].id);
  const TDataSetState saved = SetTempState(dsFilter);
  bool accept = true;
  try {
    OnFilterRecord()(*this, accept);
  } catch (const std::exception& error) {
    InternalHandleException(error);
  }
  RestoreState(saved);
  return accept;
}

TGetResult TMemoryDataSet::GetRecord(char* buffer, TGetMode mode, bool /*doCheck*/) {
  const int size = static_cast<int>(records_.size());
  for (;;) {
    switch (mode) {
      case gmCurrent:
        if (cursor_ < 0 || cursor_ >= size) return grError;
        break;
      case gmNext:
        if (cursor_ < size) ++cursor_;
        if (cursor_ >= size) return grEOF;
        break;
      case gmPrior:
        if (cursor_ >= 0) --cursor_;
        if (cursor_ < 0) return grBOF;
        break;
    }
    if (Accepted(cursor_)) break;
    if (mode == gmCurrent) return grError;
  }
  ++fetches_;
  std::memcpy(buffer, records_[cursor_].data.data(), static_cast<size_t>(recordSize_));
  SetId(buffer, records_[cursor_].id);
  SetBookmarkFlag(buffer, bfCurrent);
  GetCalcFields(buffer);
  return grOK;
}

void TMemoryDataSet::InternalSetToRecord(char* buffer) {
  const int index = IndexOf(IdOf(buffer));
  if (index >= 0) cursor_ = index;
}

void TMemoryDataSet::InternalGotoBookmark(const char* bookmark) {
  int32_t id = 0;
  std::memcpy(&id, bookmark, sizeof id);
  const int index = IndexOf(id);
  if (index < 0) DatabaseError("Der Datensatz des Lesezeichens ist nicht mehr vorhanden");
  cursor_ = index;
}

bool TMemoryDataSet::BookmarkValid(const TBookmark& bookmark) {
  if (bookmark.size() != sizeof(int32_t)) return false;
  int32_t id = 0;
  std::memcpy(&id, bookmark.data(), sizeof id);
  return IndexOf(id) >= 0;
}

void TMemoryDataSet::InternalPost() {
  if (failingPosts_ > 0) {
    --failingPosts_;
    DatabaseError("Der Testspeicher ist voll");
  }
  char* buffer = ActiveBuffer();
  std::vector<char> data(buffer, buffer + recordSize_);
  if (State() == dsEdit) {
    Record& record = records_[IndexOf(IdOf(buffer))];
    record.data = std::move(data);
    for (auto& [column, bytes] : pendingBlobs_) record.blobs[column] = bytes;
    cursor_ = IndexOf(record.id);
  } else {
    int position = static_cast<int>(records_.size());
    if (GetBookmarkFlag(buffer) == bfBOF) position = 0;
    if (GetBookmarkFlag(buffer) == bfInserted && IndexOf(IdOf(buffer)) >= 0) position = IndexOf(IdOf(buffer));
    records_.insert(records_.begin() + position, Record{nextId_++, std::move(data), pendingBlobs_});
    cursor_ = position;
  }
  pendingBlobs_.clear();
}

void TMemoryDataSet::InternalDelete() { records_.erase(records_.begin() + cursor_); }

char* TMemoryDataSet::RecordBuffer() const {
  return StateBuffer(const_cast<char*>(filterBuffer_.data()), oldValueBuffer_);
}

std::string* TMemoryDataSet::BlobFor(int column, bool writing) {
  if (IsEditState(State())) {
    if (!pendingBlobs_.contains(column)) {
      const int index = State() == dsEdit ? IndexOf(IdOf(ActiveBuffer())) : -1;
      pendingBlobs_[column] = index >= 0 ? records_[index].blobs[column] : std::string();
    }
    return &pendingBlobs_[column];
  }
  if (writing) DatabaseError(kSNotEditing);
  char* buffer = RecordBuffer();
  const int index = buffer == nullptr ? -1 : IndexOf(IdOf(buffer));
  return index < 0 ? nullptr : &records_[index].blobs[column];
}

bool TMemoryDataSet::GetFieldData(TField* field, void* buffer) {
  char* record = RecordBuffer();
  if (record == nullptr) return false;
  if (field->FieldNo() > 0) {
    const int column = field->FieldNo() - 1;
    if (IsBlobType(columns_[column].type)) {
      const std::string* bytes = BlobFor(column, false);
      return bytes != nullptr && !bytes->empty();
    }
    if (record[column] == 0) return false;
    if (buffer != nullptr) {
      std::memset(buffer, 0, static_cast<size_t>(field->DataSize()));
      std::memcpy(buffer, record + offsets_[column],
                  static_cast<size_t>(std::min(field->DataSize(), ValueSize(columns_[column]))));
    }
    return true;
  }
  const char* calc = record + recordSize_ + field->Offset();
  if (calc[0] == 0) return false;
  if (buffer != nullptr) std::memcpy(buffer, calc + 1, static_cast<size_t>(field->DataSize()));
  return true;
}

void TMemoryDataSet::SetFieldData(TField* field, const void* buffer) {
  char* record = RecordBuffer();
  if (field->FieldNo() > 0) {
    if (State() == dsCalcFields) DatabaseError(kSNotEditing);
    field->Validate(buffer);
    if (record == nullptr) DatabaseError(kSNotEditing);
    const int column = field->FieldNo() - 1;
    const int size = ValueSize(columns_[column]);
    std::memset(record + offsets_[column], 0, static_cast<size_t>(size));
    record[column] = buffer != nullptr;
    if (buffer != nullptr)
      std::memcpy(record + offsets_[column], buffer, static_cast<size_t>(std::min(size, field->DataSize())));
    if (columns_[column].type == ftString) record[offsets_[column] + size - 1] = '\0';
  } else {
    char* calc = record + recordSize_ + field->Offset();
    calc[0] = buffer != nullptr;
    if (buffer != nullptr) std::memcpy(calc + 1, buffer, static_cast<size_t>(field->DataSize()));
  }
  if (State() != dsCalcFields) DataEvent(deFieldChange, field);
}

std::unique_ptr<TStream> TMemoryDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  std::string* bytes = BlobFor(field->FieldNo() - 1, mode != bmRead);
  auto stream = std::make_unique<TestBlobStream>(*this, field, bytes);
  if (mode == bmWrite && bytes != nullptr) {
    bytes->clear();
    stream->MarkWritten();
  }
  return stream;
}

Variant TMemoryDataSet::GetStateFieldValue(TDataSetState state, TField* field) {
  if (state == dsOldValue) {
    oldValueBuffer_ = TempBuffer();
    const int index = IsEmpty() ? -1 : IndexOf(IdOf(ActiveBuffer()));
    std::memset(oldValueBuffer_, 0, static_cast<size_t>(bufferSize_));
    if (index >= 0) std::memcpy(oldValueBuffer_, records_[index].data.data(), static_cast<size_t>(recordSize_));
  }
  return TDataSet::GetStateFieldValue(state, field);
}

int TMemoryDataSet::GetRecNo() const {
  if (IsEmpty() || State() == dsInsert) return -1;
  return IndexOf(IdOf(ActiveBuffer())) + 1;
}

void TMemoryDataSet::SetRecNo(int recNo) { MoveBy(recNo - GetRecNo()); }

int TMemoryDataSet::GetRecordCount() const { return static_cast<int>(records_.size()); }

bool TMemoryDataSet::FindRecord(bool restart, bool forward) {
  CheckBrowseMode();
  DoBeforeScroll();
  UpdateCursorPos();
  CursorPosChanged();
  const int size = static_cast<int>(records_.size());
  int index = restart ? (forward ? 0 : size - 1) : cursor_ + (forward ? 1 : -1);
  const bool saved = Filtered();
  // The search always runs the filter event, filtered or not.
  SetFiltered(true);
  while (index >= 0 && index < size && !Accepted(index)) index += forward ? 1 : -1;
  SetFiltered(saved);
  if (index < 0 || index >= size) return false;
  cursor_ = index;
  Resync(rmExact | rmCenter);
  DoAfterScroll();
  return true;
}

Variant TMemoryDataSet::Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields) {
  const std::vector<TField*> fields = GetFieldList(keyFields);
  const Variant& key = fields.size() == 1 ? keyValues : keyValues.AsArray().front();
  for (int i = 0; i < static_cast<int>(records_.size()); ++i) {
    std::memcpy(filterBuffer_.data(), records_[i].data.data(), static_cast<size_t>(recordSize_));
    const TDataSetState saved = SetTempState(dsFilter);
    const bool found = fields.front()->AsString() == key.AsString();
    const Variant result = found ? FieldValues(resultFields) : Variant::Null();
    RestoreState(saved);
    if (found) return result;
  }
  return Variant::Null();
}

}  // namespace vesk
