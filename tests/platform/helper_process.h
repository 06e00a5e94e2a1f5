// The window message tests' second process (window_message_helper), its
// output read line by line, killed if still running at the end; and the
// event loop run until a condition holds.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

#include <string>

namespace vesk {

class HelperProcess {
 public:
  explicit HelperProcess(const QStringList& arguments) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(VESK_WINDOW_HELPER), arguments);
    process_.waitForStarted();
  }
  ~HelperProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  // The next line without its line break; "" when none comes in time.
  std::string ReadLine() {
    while (!process_.canReadLine()) {
      if (!process_.waitForReadyRead(10000)) return "";
    }
    return process_.readLine().trimmed().toStdString();
  }
  // Nothing more is written for a while.
  bool Silent() { return !process_.canReadLine() && !process_.waitForReadyRead(300); }
  // The exit code, or -1 when it does not end in time or crashes.
  int ExitCode() {
    if (!process_.waitForFinished(10000) || process_.exitStatus() != QProcess::NormalExit) return -1;
    return process_.exitCode();
  }
  bool Running() const { return process_.state() == QProcess::Running; }
  uint32_t Pid() const { return static_cast<uint32_t>(process_.processId()); }
  void Kill() {
    process_.kill();
    process_.waitForFinished();
  }

 private:
  QProcess process_;
};

// Runs the event loop until done() or 10 seconds pass.
template <typename Done>
bool WaitFor(Done done) {
  return QTest::qWaitFor(done, 10000);
}

}  // namespace vesk
