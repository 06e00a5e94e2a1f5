// TStatusBar: the status bar at the bottom of a window. With SimplePanel it
// shows one panel with SimpleText across its width.
#pragma once

#include <QStatusBar>
#include <functional>
#include <string>

class QLabel;

namespace vesk {

class TStatusBar : public QStatusBar {
 public:
  explicit TStatusBar(QWidget* parent = nullptr);
  void SetDesignHeight(int designHeight);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool on);
  std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(std::string text);
  // Called after each SetSimpleText, with the new text.
  std::function<void(const std::string&)> OnSimpleTextChange;

 private:
  QLabel* panel_;
  bool simplePanel_ = false;
  std::string simpleText_;
};

}  // namespace vesk
