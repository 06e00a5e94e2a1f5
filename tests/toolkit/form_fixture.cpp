#include "form_fixture.h"

#include <QTest>

#include "toolkit/data/field.h"

namespace vesk {

void FormFixture::SetUp() {
  form = new TForm("TFRTest", "Test");
  form->SetClientSize(480, 400);
  dataset = new TMemoryDataSet(form);
  source = new TDataSource(form);
  source->SetDataSet(dataset);
}

void FormFixture::TearDown() {
  if (form != nullptr) form->Free();
}

void FormFixture::Open(int count) {
  dataset->AddColumn("Nr", ftInteger);
  dataset->AddColumn("Name", ftString, 20);
  dataset->AddColumn("Plz", ftString, 10);
  dataset->AddColumn("Text", ftMemo);
  for (int i = 1; i <= count; ++i)
    dataset->AddRow({Variant(i), Variant("Name" + std::to_string(i)), Variant(), Variant("Text" + std::to_string(i))});
  dataset->Open();
}

void FormFixture::ShowForm() {
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
}

std::string FormFixture::Stored(int nr, const char* field) {
  if (IsEditState(dataset->State())) ADD_FAILURE() << "still editing";
  for (dataset->First(); !dataset->Eof(); dataset->Next())
    if (dataset->FieldByName("Nr")->AsInteger() == nr) return dataset->FieldByName(field)->AsString();
  return "<missing>";
}

}  // namespace vesk
