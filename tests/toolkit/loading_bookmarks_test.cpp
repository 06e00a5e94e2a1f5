// The loading phase of components, bookmarks, and the find operations.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "runtime/exceptions.h"
#include "test_support.h"
#include "toolkit/application.h"
#include "toolkit/data/field.h"
#include "toolkit/data/string_field.h"

namespace vesk {
namespace {

TEST(Components, OwnersFreeWhatTheyOwnWhateverGoesFirst) {
  auto* form = new TComponent;
  auto* table = new TMemoryDataSet(form);
  auto* other = new TComponent(form);
  table->SetName("MTbTest");
  FillNumbered(*table, 3);
  auto* persistent = new TStringField(table);
  persistent->SetFieldName("Name");
  EXPECT_EQ(form->Components().size(), 2u);
  delete other;
  EXPECT_EQ(form->Components().size(), 1u);
  delete persistent;  // leaves owner and field list
  EXPECT_EQ(table->FieldCount(), 0);
  table->Open();
  delete form;  // closes and frees the open table (checked by the sanitizer build)
}

TEST(Components, StoredPropertiesTakeEffectWhenLoaded) {
  TComponent form;
  auto* table = new TMemoryDataSet(&form);
  FillNumbered(*table, 6);
  bool loadedBeforeOpen = false;
  table->BeforeOpen = [&](TDataSet& dataset) { loadedBeforeOpen = !dataset.IsLoading(); };

  form.BeginLoading();
  EXPECT_TRUE(table->IsLoading());
  table->SetActive(true);
  table->SetFiltered(true);
  table->SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Nr")->AsInteger() > 3; });
  EXPECT_FALSE(table->Active()) << "opening waits for Loaded";
  form.EndLoading();
  EXPECT_FALSE(table->IsLoading());
  EXPECT_TRUE(table->Active());
  EXPECT_TRUE(loadedBeforeOpen);
  EXPECT_EQ(table->FieldByName("Nr")->AsInteger(), 4) << "filtered from the first fetch on";
}

class Bookmarks : public ::testing::Test {
 protected:
  void SetUp() override {
    FillNumbered(table, 25);
    table.Open();
  }
  int Nr() { return table.FieldByName("Nr")->AsInteger(); }
  TMemoryDataSet table;
};

TEST_F(Bookmarks, MarkReturnCompareAndOutliveTheirRecord) {
  table.MoveBy(6);
  TBookmark seven = table.GetBookmark();
  ASSERT_EQ(seven.size(), static_cast<size_t>(table.BookmarkSize()));
  TBookmark again = table.GetBookmark();
  table.Last();
  TBookmark last = table.GetBookmark();
  EXPECT_EQ(table.CompareBookmarks(seven, again), 0);
  EXPECT_NE(table.CompareBookmarks(seven, last), 0);
  EXPECT_NE(table.CompareBookmarks(last, seven), 0);

  table.GotoBookmark(seven);
  EXPECT_EQ(Nr(), 7);
  EXPECT_EQ(table.RecNo(), 7);
  EXPECT_TRUE(table.BookmarkValid(seven));

  table.Delete();
  EXPECT_FALSE(table.BookmarkValid(seven));
  EXPECT_THROW(table.GotoBookmark(seven), EDatabaseError);
  table.GotoBookmark(last);
  EXPECT_EQ(Nr(), 25);

  table.Insert();
  EXPECT_TRUE(table.GetBookmark().empty()) << "a new record has no bookmark yet";
  table.Cancel();
  table.FreeBookmark(last);
  EXPECT_TRUE(last.empty());
  table.GotoBookmark(last);  // no bookmark: stays
  EXPECT_EQ(Nr(), 25);
}

TEST_F(Bookmarks, FindWalksTheRecordsTheFilterEventAccepts) {
  table.SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Nr")->AsInteger() % 5 == 0; });
  EXPECT_TRUE(table.FindFirst());
  EXPECT_EQ(Nr(), 5);
  EXPECT_TRUE(table.Found());
  EXPECT_TRUE(table.FindNext());
  EXPECT_EQ(Nr(), 10);
  EXPECT_TRUE(table.FindPrior());
  EXPECT_EQ(Nr(), 5);
  EXPECT_TRUE(table.FindLast());
  EXPECT_EQ(Nr(), 25);
  EXPECT_FALSE(table.FindNext());
  EXPECT_FALSE(table.Found());
  EXPECT_EQ(Nr(), 25);
  EXPECT_EQ(table.RecordCount(), 25) << "the dataset still shows every record";
  table.First();
  table.Next();
  EXPECT_EQ(Nr(), 2);
}

TEST(Application, ShowsFailuresInAnErrorBoxOrHandsThemOn) {
  std::vector<MessageBoxRequest> shown;
  SetMessageBoxHook([&shown](const MessageBoxRequest& request) {
    shown.push_back(request);
    return MbResult::Ok;
  });
  Application().SetTitle("Vesk Tools");
  Application().HandleException(EDatabaseError("Etwas ging schief"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Etwas ging schief");
  EXPECT_EQ(shown[0].caption, "Vesk Tools");
  EXPECT_EQ(shown[0].icon, MbIcon::Error);
  EXPECT_EQ(shown[0].buttons, MbButtons::Ok);

  // A failing filter event is shown and the record still counts as tested.
  TMemoryDataSet table;
  FillNumbered(table, 3);
  table.SetOnFilterRecord([](TDataSet& dataset, bool& accept) {
    accept = dataset.FieldByName("Nr")->AsInteger() != 2;
    if (!accept) throw EDatabaseError("Filterfehler");
  });
  table.SetFiltered(true);
  table.Open();
  table.Next();
  EXPECT_EQ(table.FieldByName("Nr")->AsInteger(), 3);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "Filterfehler");

  std::string handed;
  Application().OnException = [&handed](const std::exception& error) { handed = error.what(); };
  table.InternalHandleException(EDatabaseError("anders gezeigt"));
  EXPECT_EQ(handed, "anders gezeigt");
  EXPECT_EQ(shown.size(), 2u);
  Application().OnException = nullptr;
  SetMessageBoxHook(nullptr);
}

}  // namespace
}  // namespace vesk
