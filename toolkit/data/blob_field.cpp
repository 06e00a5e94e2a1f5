#include "toolkit/data/blob_field.h"

#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/stream.h"

namespace vesk {

TBlobField::TBlobField(TComponent* owner) : TBlobField(owner, ftBlob) {}

TBlobField::TBlobField(TComponent* owner, TFieldType type) : TField(owner, type) {}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner, ftMemo) {}

TFmtMemoField::TFmtMemoField(TComponent* owner) : TBlobField(owner, ftFmtMemo) {}

TGraphicField::TGraphicField(TComponent* owner) : TBlobField(owner, ftGraphic) {}

namespace {

std::unique_ptr<TStream> OpenBlob(const TBlobField& field, TBlobStreamMode mode) {
  if (field.DataSet() == nullptr) DatabaseErrorFmt(kSNoDataSet, {field.DisplayName()});
  return field.DataSet()->CreateBlobStream(const_cast<TBlobField*>(&field), mode);
}

}  // namespace

int32_t TBlobField::BlobSize() const { return OpenBlob(*this, bmRead)->Size(); }

// Once written, the stream knows better than the stored presence flag.
bool TBlobField::IsNull() const { return modified_ ? BlobSize() == 0 : TField::IsNull(); }

void TBlobField::Clear() { OpenBlob(*this, bmWrite); }

std::string TBlobField::AsString() const { return OpenBlob(*this, bmRead)->ReadRest(); }

void TBlobField::SetAsString(std::string_view bytes) {
  if (!OpenBlob(*this, bmWrite)->WriteAll(bytes)) DatabaseErrorFmt(kSBlobWriteFailed, {DisplayName()});
}

Variant TBlobField::GetAsVariant() const { return Variant(AsString()); }

void TBlobField::SetAsVariant(const Variant& value) { SetAsString(value.AsString()); }

std::string TBlobField::GetText(bool displayText) const {
  if (!displayText || DataType() == ftMemo || DataType() == ftFmtMemo) return AsString();
  return DataType() == ftGraphic ? "(GRAPHIC)" : "(BLOB)";
}

}  // namespace vesk
