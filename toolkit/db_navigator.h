// TDBNavigator: the row of buttons that moves through a dataset and edits
// it (first, prior, next, last, insert, delete, edit, post, cancel,
// refresh). Each button is enabled as the dataset's state allows, carries
// its German hint, and runs BeforeAction, its operation (delete asks
// "Datensatz löschen?" first when ConfirmDelete) and OnClick, guarded.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "toolkit/data/data_link.h"

class QToolButton;

namespace vesk {

class TDataSource;

enum TNavigateBtn : uint8_t {
  nbFirst,
  nbPrior,
  nbNext,
  nbLast,
  nbInsert,
  nbDelete,
  nbEdit,
  nbPost,
  nbCancel,
  nbRefresh,
};
inline constexpr int kNavigateButtons = 10;

using TNavButtonSet = uint16_t;
constexpr TNavButtonSet NavButton(TNavigateBtn button) { return TNavButtonSet(1u << button); }
inline constexpr TNavButtonSet kAllNavButtons = (1u << kNavigateButtons) - 1;

class TDBNavigator : public QWidget {
 public:
  explicit TDBNavigator(QWidget* parent = nullptr);
  ~TDBNavigator() override;

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  TNavButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TNavButtonSet buttons);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool on);
  bool ConfirmDelete() const { return confirmDelete_; }
  void SetConfirmDelete(bool on) { confirmDelete_ = on; }

  QToolButton* Button(TNavigateBtn button) const { return buttons_[button]; }
  // What a press of the button does (when the button is enabled).
  void BtnClick(TNavigateBtn button);

  // Before the operation; an exception stops it.
  std::function<void(TDBNavigator&, TNavigateBtn)> BeforeAction;
  // After the operation.
  std::function<void(TDBNavigator&, TNavigateBtn)> OnClick;

 private:
  class Link : public TDataLink {
   public:
    explicit Link(TDBNavigator& navigator) : navigator_(navigator) {}

   protected:
    void ActiveChanged() override { navigator_.UpdateButtons(); }
    void DataSetChanged() override { navigator_.UpdateButtons(); }
    void EditingChanged() override { navigator_.UpdateButtons(); }

   private:
    TDBNavigator& navigator_;
  };

  void UpdateButtons();
  void Act(TNavigateBtn button);

  Link link_{*this};
  std::array<QToolButton*, kNavigateButtons> buttons_{};
  TNavButtonSet visible_ = kAllNavButtons;
  bool showHint_ = false;
  bool confirmDelete_ = true;
};

}  // namespace vesk
