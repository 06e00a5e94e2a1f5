// Starting and stopping the reminder program: at most one runs for the
// user. It is started from beside the host's executable with its settings
// on the command line and stopped with "AlarmAus" posted to its hidden
// window "Alarm".
#pragma once

#include <QProcess>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tools/settings/alarm_settings.h"

namespace vesk {

class AlarmControl {
 public:
  // alarmAusMessage: the identifier of "AlarmAus"; 0 when it could not be
  // registered, and then no alarm is started, since none could be stopped.
  AlarmControl(std::string program, uint16_t alarmAusMessage);
  ~AlarmControl();
  AlarmControl(const AlarmControl&) = delete;
  AlarmControl& operator=(const AlarmControl&) = delete;

  bool ProgramExists() const;
  // Stops the running alarm (this host's or an earlier one's) and starts it
  // with the settings. The status bar text for the result.
  std::string Start(const AlarmSettings& settings);
  // Stops every running alarm; this host's is ended by force when it does
  // not answer. False when an alarm of another host stays.
  bool Stop();
  // What the last Start was given; empty before.
  const std::optional<AlarmSettings>& StartedWith() const { return startedWith_; }

 private:
  std::string program_;
  uint16_t alarmAusMessage_;
  std::unique_ptr<QProcess> process_;
  std::optional<AlarmSettings> startedWith_;
};

}  // namespace vesk
