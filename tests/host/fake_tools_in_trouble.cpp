// A stand-in for libTools.so that holds the host the way a window in trouble
// does: soon after loading it shows a window that refuses to close and an
// error box over it, which comes back after every answer, as an error of a
// window's activation does.
#include <QCloseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/message_box.h"

namespace {

class StubbornWindow : public QWidget {
 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Freed before the library's code goes, and with it any pending question.
struct Trouble {
  QPointer<StubbornWindow> window;
  ~Trouble() { delete window; }
};
Trouble trouble;

void AskAgain() {
  vesk::MessageBoxRequest request;
  request.text = "kaputt";
  request.caption = "Stur";
  request.icon = vesk::MbIcon::Error;
  request.owner = trouble.window;
  vesk::ShowMessageBox(request);
  QTimer::singleShot(0, trouble.window, AskAgain);
}

const bool started = [] {
  trouble.window = new StubbornWindow;
  trouble.window->setWindowTitle("Stur");
  QTimer::singleShot(0, trouble.window, [] {
    trouble.window->show();
    AskAgain();
  });
  return true;
}();

}  // namespace

extern "C" __attribute__((visibility("default"))) void AdrExecute() {}
