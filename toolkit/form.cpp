#include "toolkit/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>

#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "toolkit/event_guard.h"

namespace vesk {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  return shift;
}

TForm::TForm(std::string windowClass, std::string caption)
    : QWidget(nullptr), windowClass_(std::move(windowClass)), caption_(std::move(caption)) {
  setWindowTitle(QString::fromStdString(caption_));
  window_ = std::make_unique<TopLevelWindow>(windowClass_, caption_,
                                             [this](uint16_t message, uintptr_t wParam, intptr_t lParam) {
                                               if (OnMessage) Guarded([&] { OnMessage(message, wParam, lParam); });
                                             });
  qApp->installEventFilter(this);
  Application().AddWindow(this);
}

TForm::~TForm() {
  Application().RemoveWindow(this);
  qApp->removeEventFilter(this);
  // Controls go before the datasets and sources they show.
  qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

bool TForm::SetCaption(std::string caption) {
  if (!window_->SetCaption(caption)) return false;
  caption_ = std::move(caption);
  setWindowTitle(QString::fromStdString(caption_));
  return true;
}

WindowHandle TForm::Handle() const { return window_->Handle(); }

void TForm::SetClientSize(int designWidth, int designHeight) {
  clientSize_ = QSize(Scale(designWidth), Scale(designHeight));
  ApplySize();
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  borderStyle_ = style;
  ApplySize();
}

void TForm::SetDesignPosition(int left, int top) { designPosition_ = QPoint(Scale(left), Scale(top)); }

void TForm::ApplySize() {
  const QSize size = clientSize_.isValid() ? clientSize_ : this->size();
  if (borderStyle_ == bsDialog) {
    setFixedSize(size);
    // A window of fixed size offers no maximise button; the rest of the title bar stays.
    const Qt::WindowFlags flags = (windowFlags() & ~Qt::WindowMaximizeButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                                  Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (flags != windowFlags()) {
      // New flags hide a shown window.
      const bool shown = isVisible();
      setWindowFlags(flags);
      if (shown) show();
    }
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(size);
  }
}

void TForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (position_ == poScreenCenter && screen != nullptr) {
    QRect frame(QPoint(), frameGeometry().size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  } else {
    move(designPosition_);
  }
}

void TForm::Show() {
  PlaceOnScreen();
  // A minimised window comes back as it was before.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

TModalResult TForm::ShowModal() {
  QEventLoop loop;
  modalResult_ = mrNone;
  modalLoop_ = &loop;
  setWindowModality(Qt::ApplicationModal);
  Show();
  loop.exec();
  modalLoop_ = nullptr;
  setWindowModality(Qt::NonModal);
  return modalResult_;
}

void TForm::SetModalResult(TModalResult result) {
  modalResult_ = result;
  if (result == mrNone || modalLoop_ == nullptr) return;
  if (!QWidget::close()) modalResult_ = mrNone;
}

void TForm::Free() {
  if (freeing_) return;
  freeing_ = true;
  if (OnDestroy) Guarded([&] { OnDestroy(*this); });
  delete this;
}

void TForm::Release() {
  QMetaObject::invokeMethod(
      this, [this] { Free(); }, Qt::QueuedConnection);
}

void TForm::Loaded() {
  TComponent::Loaded();
  for (QWidget* control : findChildren<QWidget*>())
    if (auto* component = dynamic_cast<TComponent*>(control)) {
      component->BeginLoading();
      component->EndLoading();
    }
  if (OnCreate) Guarded([&] { OnCreate(*this); });
}

bool TForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && OnActivate) Guarded([&] { OnActivate(*this); });
  return QWidget::event(event);
}

bool TForm::eventFilter(QObject* watched, QEvent* event) {
  // Key preview: the key's first delivery, to the focused control of this
  // window (or the window itself), goes through OnKeyDown first.
  if (keyPreview_ && event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    QWidget* target = static_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    const bool first = target == focus || (target == this && (focus == nullptr || focus->window() != this));
    if (first && target->window() == this) return KeyDown(*static_cast<QKeyEvent*>(event));
  }
  return QWidget::eventFilter(watched, event);
}

void TForm::keyPressEvent(QKeyEvent* event) {
  // Without key preview the window sees only the keys no control of it has.
  QWidget* focus = QApplication::focusWidget();
  if (!keyPreview_ && (focus == nullptr || focus == this) && KeyDown(*event)) return;
  QWidget::keyPressEvent(event);
}

bool TForm::KeyDown(QKeyEvent& event) {
  if (!OnKeyDown) return false;
  int key = event.key();
  Guarded([&] { OnKeyDown(*this, key, ShiftStateOf(event.modifiers())); });
  if (key != 0) return false;
  event.accept();
  return true;
}

void TForm::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  if (OnCloseQuery && !Guarded([&] { OnCloseQuery(*this, canClose); })) canClose = false;
  TCloseAction action = caHide;
  if (canClose && OnClose && !Guarded([&] { OnClose(*this, action); })) action = caNone;
  if (!canClose || action == caNone) {
    event->ignore();
    return;
  }
  event->accept();
  if (action == caFree) Release();
}

void TForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (modalLoop_ == nullptr) return;
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  modalLoop_->quit();
}

}  // namespace vesk
