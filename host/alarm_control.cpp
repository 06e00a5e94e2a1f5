#include "host/alarm_control.h"

#include <unistd.h>

#include <QThread>

#include <optional>

#include "host/alarm_status.h"
#include "platform/window_messages.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

constexpr int kWaitMilliseconds = 5000;
constexpr int kPollMilliseconds = 20;

std::optional<WindowHandle> AlarmWindow() { return FindWindow("Alarm", "Alarm"); }

// Polls until done() holds or the wait is over; the lookup is read from the
// runtime folder, so no events need to run meanwhile.
template <typename Done>
bool PollFor(Done done) {
  for (int waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
    if (done()) return true;
    QThread::msleep(kPollMilliseconds);
  }
  return done();
}

}  // namespace

AlarmControl::AlarmControl(std::string program, uint16_t alarmAusMessage)
    : program_(std::move(program)), alarmAusMessage_(alarmAusMessage) {}

AlarmControl::~AlarmControl() { Stop(); }

bool AlarmControl::ProgramExists() const { return access(program_.c_str(), X_OK) == 0; }

bool AlarmControl::Stop() {
  bool othersGone = true;
  if (alarmAusMessage_ != 0) {
    // One alarm after the other: each quits at its own pace.
    std::optional<WindowHandle> asked;
    while (std::optional<WindowHandle> window = AlarmWindow()) {
      if (asked == window) {
        othersGone = false;
        break;
      }
      PostMessage(*window, alarmAusMessage_, 0, 0);
      asked = window;
      PollFor([&] { return AlarmWindow() != window; });
    }
  }
  if (process_) {
    if (!process_->waitForFinished(kWaitMilliseconds)) {
      process_->kill();
      process_->waitForFinished(kWaitMilliseconds);
    }
    process_.reset();
    othersGone = othersGone || !AlarmWindow();
  }
  return othersGone;
}

std::string AlarmControl::Start(const AlarmSettings& settings) {
  startedWith_ = settings;
  if (!ProgramExists()) return "Das Programm alarm fehlt, es gibt keine Erinnerungen";
  if (alarmAusMessage_ == 0) return "Die Meldung AlarmAus ist nicht registriert, alarm wird nicht gestartet";
  if (!Stop()) return "Ein laufendes alarm lässt sich nicht beenden";
  process_ = std::make_unique<QProcess>();
  process_->setStandardInputFile(QProcess::nullDevice());
  process_->setProcessChannelMode(QProcess::ForwardedChannels);
  process_->start(QString::fromStdString(program_), {QStringLiteral("-v:%1").arg(settings.leadMinutes),
                                                     QStringLiteral("-w:%1").arg(settings.repeatMinutes)});
  if (!process_->waitForStarted(kWaitMilliseconds)) {
    const std::string error = process_->errorString().toStdString();
    process_.reset();
    return FormatMessage("alarm lässt sich nicht starten: %s", {error});
  }
  // Until its window is there, alarm could not be stopped.
  PollFor([&] { return AlarmWindow() || process_->waitForFinished(0); });
  if (process_->state() == QProcess::NotRunning) {
    const std::string code = std::to_string(process_->exitCode());
    process_.reset();
    return FormatMessage("alarm hat sich mit Code %s beendet", {code});
  }
  return AlarmRunningText(settings);
}

}  // namespace vesk
