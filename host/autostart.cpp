#include "host/autostart.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/message_box.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

// An argument of the entry's Exec key: quoted when it holds a character the
// key reserves, with ", `, $ and \ escaped inside the quotes, and then, as
// every string value, each \ doubled; a % is doubled so that it is no field
// code.
std::string ExecArgument(const std::string& argument) {
  const bool quoted = argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string text = quoted ? "\"" : "";
  for (char c : argument) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) text += "\\\\";
    if (c == '\\') {
      text += "\\\\";
    } else if (c == '%') {
      text += "%%";
    } else {
      text += c;
    }
  }
  return quoted ? text + "\"" : text;
}

}  // namespace

std::string AutostartEntryFile() {
  return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation).toStdString() +
         "/autostart/vesktools.desktop";
}

bool AutostartEntryExists() { return QFile::exists(QString::fromStdString(AutostartEntryFile())); }

void WriteAutostartEntry(const std::string& program) {
  const QString file = QString::fromStdString(AutostartEntryFile());
  QSaveFile entry(file);
  if (!QDir().mkpath(QFileInfo(file).path()) || !entry.open(QIODevice::WriteOnly)) {
    throw Exception(FormatMessage("Der Eintrag %s lässt sich nicht anlegen", {file.toStdString()}));
  }
  const std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Vesk Tools\n"
      "Comment=Erinnerungen an die Termine des Tages\n"
      "Exec=" +
      ExecArgument(program) +
      " --minimized\n"
      "TryExec=" +
      ExecArgument(program) +
      "\n"
      "Icon=vesktools\n"
      "Terminal=false\n"
      "X-GNOME-Autostart-enabled=true\n";
  entry.write(text.data(), static_cast<qint64>(text.size()));
  if (!entry.commit()) {
    throw Exception(FormatMessage("Der Eintrag %s lässt sich nicht schreiben", {file.toStdString()}));
  }
}

void RemoveAutostartEntry() {
  const std::string file = AutostartEntryFile();
  if (AutostartEntryExists() && !QFile::remove(QString::fromStdString(file))) {
    throw Exception(FormatMessage("Der Eintrag %s lässt sich nicht entfernen", {file}));
  }
}

QCheckBox* NewAutostartBox(QWidget* parent) {
  auto* box = new QCheckBox(QStringLiteral("Beim Anmelden starten"), parent);
  box->setObjectName("CBAutostart");
  box->setChecked(AutostartEntryExists());
  QObject::connect(box, &QCheckBox::clicked, box, [box](bool on) {
    try {
      if (on) {
        WriteAutostartEntry(QCoreApplication::applicationFilePath().toStdString());
      } else {
        RemoveAutostartEntry();
      }
    } catch (const std::exception& error) {
      ShowMessage(error.what(), "Tools", MbIcon::Error);
    }
    box->setChecked(AutostartEntryExists());
  });
  return box;
}

}  // namespace vesk
