#include "host/host_program.h"

#include <unistd.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "host/address_sync_schedule.h"
#include "host/alarm_control.h"
#include "host/host_ending.h"
#include "host/host_tray.h"
#include "host/host_window.h"
#include "host/program_icon.h"
#include "host/running_host.h"
#include "host/screenshots.h"
#include "host/telephone_link.h"
#include "host/termination_signal.h"
#include "host/tools_library.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/registered_messages.h"
#include "platform/shared_data.h"
#include "runtime/exceptions.h"
#include "tools/VeskMsg.h"
#include "tools/host_files.h"
#include "tools/host_notification.h"
#include "tools/settings/alarm_settings.h"
#include "tools/tarife/tariff_tables.h"

namespace vesk {
namespace {

constexpr int kFailed = 1;

// The tables are named relative to the current directory (Data/...).
void EnterProgramFolder() {
  const std::string folder = ProgramFolder();
  if (chdir(folder.c_str()) != 0) {
    throw Exception(FormatMessage("Der Ordner %s lässt sich nicht öffnen", {folder}));
  }
  std::error_code error;
  std::filesystem::create_directories("Data", error);
  if (error) throw Exception(FormatMessage("Der Ordner %s/Data lässt sich nicht anlegen", {folder}));
}

// The tariff tables come with the program; without them the address book
// still dials, without a network prefix.
void CreateTariffTables() {
  try {
    CreateTariffTablesWhenMissing(SharedDataFolder());
  } catch (const std::exception& error) {
    ShowMessage(std::string("Die Tariftabellen lassen sich nicht anlegen:\r") + error.what(), "Tools", MbIcon::Warning);
  }
}

// The argument after option; nothing when the option is not there or is the
// last argument (as a desktop entry's "--dial %u" started without a link).
std::optional<std::string> ValueOf(const std::vector<std::string>& arguments, const std::string& option) {
  for (size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == option) return arguments[i + 1];
  }
  return std::nullopt;
}

bool HasArgument(const std::vector<std::string>& arguments, const std::string& argument) {
  return std::find(arguments.begin(), arguments.end(), argument) != arguments.end();
}

// The reminder program follows the notifications: a rewritten list, or
// settings other than those it runs with.
void FollowNotification(TFRVeskTools& window, AlarmControl& alarm, uintptr_t wParam) {
  if (!alarm.ProgramExists()) return;
  const AlarmSettings settings = ReadAlarmSettings(HostIniFile());
  if (wParam != kReminderListWritten && alarm.StartedWith() == settings) return;
  window.SetStatusText(window.StatusText() + "; " + alarm.Start(settings));
}

// The address window's dial; a library without it says so in the status bar.
std::function<void(const std::string&)> DialOf(TFRVeskTools& window, ToolsLibrary& library) {
  const ToolsLibrary::DialEntryPoint dial = library.ResolveDial();
  return [&window, dial](const std::string& callee) {
    if (dial != nullptr) {
      dial(callee.c_str());
    } else {
      window.SetStatusText("Wählen von außen kommt in einer späteren Version");
    }
  };
}

// Minimised, the host lives in the notification area: its window stays
// hidden until the tray menu opens it, and closing it hides it again. Where
// there is no notification area it starts minimised in the task bar. A
// callee from the command line is dialled once the event loop runs.
int RunWindow(TFRVeskTools& window, ToolsLibrary& library, const std::string& folder, uint16_t alarmAusMessage,
              bool minimized, const std::optional<std::string>& callee) {
  AlarmControl alarm(folder + "/alarm", alarmAusMessage);
  window.SetStatusText(alarm.Start(ReadAlarmSettings(HostIniFile())));
  window.OnVeskTools = [&](uintptr_t wParam) { FollowNotification(window, alarm, wParam); };
  const std::function<void(const std::string&)> dial = DialOf(window, library);
  OpenOnRequest(window, dial);
  std::unique_ptr<HostTray> tray;
  // Without a notification area a hidden host could only be reached by
  // starting it again: it waits minimised in the task bar instead.
  if (minimized && QSystemTrayIcon::isSystemTrayAvailable()) {
    tray = std::make_unique<HostTray>([&window] { window.Show(); }, [&window] { EndHost(window); });
    window.OnClose = [](TForm&, TCloseAction& action) { action = caHide; };
  } else {
    window.OnClose = [](TForm& form, TCloseAction&) { EndHost(form); };
    if (minimized) {
      window.showMinimized();
    } else {
      window.Show();
    }
  }
  if (callee) QTimer::singleShot(0, &window, [&dial, &callee] { dial(*callee); });
  QTimer::singleShot(0, &window, [&window] { window.AddressSync().Begin(); });
  QApplication::exec();
  window.OnVeskTools = nullptr;
  alarm.Stop();
  return 0;
}

}  // namespace

int RunHost(const std::vector<std::string>& arguments) {
  const std::string folder = QCoreApplication::applicationDirPath().toStdString();
  const bool minimized = HasArgument(arguments, "--minimized");
  // A malformed link starts nothing and dials nothing.
  const std::optional<std::string> link = ValueOf(arguments, "--dial");
  const std::optional<std::string> callee = link ? CalleeOfLink(*link) : std::nullopt;
  if (link && !callee) {
    ShowMessage("Fehler in der Eingabe", "Tools", MbIcon::Error);
    return kFailed;
  }
  try {
    EnterProgramFolder();
  } catch (const std::exception& error) {
    ShowMessage(error.what(), "Tools", MbIcon::Error);
    return kFailed;
  }
  if (callee ? HandDialOverToRunningHost(*callee) : HandOverToRunningHost(minimized)) return 0;
  if (SharedDataFolder().empty()) {
    std::fprintf(stderr, "vesktools: die mitgelieferten Daten (share/vesktools) fehlen neben %s\n", folder.c_str());
  }
  QApplication::setWindowIcon(ProgramIcon());
  CreateTariffTables();
  ToolsLibrary library(folder + "/libTools.so");
  if (!library.Load()) {
    ShowMessage("Die Bibliothek libTools.so lässt sich nicht laden:\r" + library.ErrorText(), "Tools", MbIcon::Error);
    return kFailed;
  }
  const uint16_t veskToolsMessage = RegisterWindowMessage(kVeskToolsMessageName);
  const uint16_t alarmAusMessage = RegisterWindowMessage(kAlarmAusMessageName);
  TFRVeskTools* window = nullptr;
  try {
    // Caught before the window can be found: whoever finds it may end the host.
    TerminationSignal signal([&window] {
      if (window != nullptr) EndHost(*window);
    });
    window = new TFRVeskTools(library, veskToolsMessage);
    const std::optional<std::string> screenshots = ValueOf(arguments, "--screenshots");
    const int code = screenshots ? SaveScreenshots(*screenshots, *window, library)
                                 : RunWindow(*window, library, folder, alarmAusMessage, minimized, callee);
    window->Free();
    return code;
  } catch (const std::exception& error) {
    ShowMessage(error.what(), "Tools", MbIcon::Error);
    if (window != nullptr) window->Free();
    return kFailed;
  }
}

}  // namespace vesk
