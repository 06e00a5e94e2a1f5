// TForm: a top-level window of the toolkit. Its window class (the C++ class
// name of the window, given explicitly) and caption are registered with the
// window lookup of platform/window_messages.h for as long as the window
// exists, shown or hidden, and messages posted to it reach OnMessage. It
// runs the form events (create, activate, close query, close with its close
// action, destroy, key down with key preview), shows itself modeless or
// modal, and places itself centred or at its design position. Every event
// handler runs guarded: an exception goes to the application's
// HandleException and the window stays open.
//
// A window builds its components between BeginLoading and EndLoading;
// EndLoading runs their Loaded, then that of its controls that are
// components, then OnCreate. Windows are destroyed with
// Free (or Release from inside one of their own events), which runs
// OnDestroy while the window is still whole; the application object owns
// every window and frees those still there when it goes.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/window_messages.h"
#include "toolkit/data/component.h"

class QEventLoop;

namespace vesk {

enum TCloseAction : uint8_t { caNone, caHide, caFree };
enum TModalResult : uint8_t { mrNone, mrOk, mrCancel };
enum TPosition : uint8_t { poDesigned, poScreenCenter };
enum TFormBorderStyle : uint8_t { bsSizeable, bsDialog };

// Modifier keys held with a key or mouse button.
using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);

class TForm;
using TNotifyEvent = std::function<void(TForm&)>;
using TCloseEvent = std::function<void(TForm&, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TForm&, bool& canClose)>;
// key is a Qt::Key (letters are their capitals, as 'A'); setting it to 0
// keeps the key from the focused control.
using TKeyEvent = std::function<void(TForm&, int& key, TShiftState shift)>;

class TForm : public QWidget, public TComponent {
 public:
  // Needs a QApplication. Raises vesk::Exception when the window cannot be
  // registered with the window lookup.
  TForm(std::string windowClass, std::string caption);
  ~TForm() override;

  const std::string& WindowClass() const { return windowClass_; }
  const std::string& Caption() const { return caption_; }
  // False, and the old caption kept, when the lookup entry cannot follow.
  bool SetCaption(std::string caption);
  WindowHandle Handle() const;

  // Client area in design pixels; a dialog border fixes the size and takes
  // away the maximise button.
  void SetClientSize(int designWidth, int designHeight);
  void SetBorderStyle(TFormBorderStyle style);
  void SetPosition(TPosition position) { position_ = position; }
  // Screen position in design pixels, used by poDesigned.
  void SetDesignPosition(int left, int top);

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on) { keyPreview_ = on; }

  // Modeless: shows the window (placed at its first showing; restored when
  // minimised), raises and activates it.
  void Show();
  // Runs until the window closes or ModalResult is set; mrCancel when it
  // was closed without a result.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  // A result other than mrNone closes a modal window.
  void SetModalResult(TModalResult result);
  // Asks the window to close (close query, close action).
  void Close() { QWidget::close(); }
  // Runs OnDestroy, then destroys the window.
  void Free();
  // Frees the window once the current event is done.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;
  TKeyEvent OnKeyDown;
  WindowMessageHandler OnMessage;

 protected:
  void Loaded() override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Runs OnKeyDown; true when the handler took the key.
  bool KeyDown(QKeyEvent& event);
  void PlaceOnScreen();
  void ApplySize();

  std::string windowClass_;
  std::string caption_;
  std::unique_ptr<TopLevelWindow> window_;
  QSize clientSize_;
  QPoint designPosition_;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  bool keyPreview_ = false;
  bool placed_ = false;
  bool freeing_ = false;
  TModalResult modalResult_ = mrNone;
  QEventLoop* modalLoop_ = nullptr;
};

}  // namespace vesk
