// Blob fields: TBlobField and its kinds TMemoField (text), TFmtMemoField
// (formatted text), TGraphicField. Their bytes are read and written through
// the dataset's CreateBlobStream for the active record, not via the record
// buffer (DataSize 0).
#pragma once

#include <string>

#include "toolkit/data/field.h"

namespace vesk {

class TBlobField : public TField {
 public:
  explicit TBlobField(TComponent* owner);

  int DataSize() const override { return 0; }
  bool IsBlob() const override { return true; }
  // Written since the record was last posted or cancelled (set by the blob
  // stream that wrote).
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  int32_t BlobSize() const;

  bool IsNull() const override;
  // Writes nothing: cuts the blob to zero bytes.
  void Clear() override;
  // The whole blob as bytes / replaces it.
  std::string AsString() const override;
  void SetAsString(std::string_view bytes) override;
  void FreeBuffers() override { modified_ = false; }

 protected:
  TBlobField(TComponent* owner, TFieldType type);
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  // Memos show their text; other blobs "(BLOB)" or "(GRAPHIC)". The bytes
  // for editing.
  std::string GetText(bool displayText) const override;

 private:
  bool modified_ = false;
};

class TMemoField : public TBlobField {
 public:
  explicit TMemoField(TComponent* owner);
};

class TFmtMemoField : public TBlobField {
 public:
  explicit TFmtMemoField(TComponent* owner);
};

class TGraphicField : public TBlobField {
 public:
  explicit TGraphicField(TComponent* owner);
};

}  // namespace vesk
