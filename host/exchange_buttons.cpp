#include "host/exchange_buttons.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>

#include "host/host_window.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "runtime/file_io.h"
#include "toolkit/button.h"
#include "tools/exchange/address_exchange.h"
#include "tools/exchange/appointment_exchange.h"
#include "tools/host_files.h"
#include "tools/settings/alarm_settings.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

constexpr const char* kVCardFilter = "Adressen als vCard (*.vcf *.vcard)";
constexpr const char* kCalendarFilter = "Termine als iCalendar (*.ics *.ical)";

bool IsCalendar(const std::string& text) {
  const size_t begin = text.find("BEGIN:");
  return begin != std::string::npos && text.compare(begin, 15, "BEGIN:VCALENDAR") == 0;
}

void OpenTable(TRadiRidir& table, bool calendar, bool readOnly) {
  if (calendar)
    CreateTableWhenMissing(TermineSchema());
  else
    CreateTableWhenMissing(AdressenSchema());
  table.SetTableName(calendar ? kTermineTable : kAdressenTable);
  table.SetReadOnly(readOnly);
  try {
    table.Open();
  } catch (const std::exception&) {
    if (readOnly) throw;
    // A table that opens for reading is being written elsewhere, as a rule
    // in its window: the user can do something about that. One that does
    // not open at all keeps its first reason.
    const std::exception_ptr writing = std::current_exception();
    table.SetReadOnly(true);
    try {
      table.Open();
    } catch (const std::exception&) {
      std::rethrow_exception(writing);
    }
    table.Close();
    throw Exception(std::string(calendar ? "Die Termine" : "Die Adressen") +
                    " werden gerade in ihrem Fenster oder einem anderen Programm bearbeitet. Schließen Sie es und "
                    "importieren Sie dann noch einmal.");
  }
}

// The progress of a long import, shown from kImportProgressFrom entries on.
class ImportProgressDialog {
 public:
  explicit ImportProgressDialog(QWidget* owner) : owner_(owner) {}
  bool operator()(size_t done, size_t total) {
    if (total <= kImportProgressFrom) return true;
    if (!dialog_) {
      dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("Einträge werden importiert…"),
                                                  QStringLiteral("Abbrechen"), 0, static_cast<int>(total), owner_);
      dialog_->setObjectName("DlgImport");
      dialog_->setWindowModality(Qt::WindowModal);
      dialog_->setMinimumDuration(0);
    }
    dialog_->setValue(static_cast<int>(done));
    return !dialog_->wasCanceled();
  }

 private:
  QWidget* owner_;
  std::unique_ptr<QProgressDialog> dialog_;
};

// The entries the status bar cannot name all, in one box.
void ShowSkipped(TFRVeskTools& window, const std::string& file, const ImportResult& result) {
  constexpr size_t kListed = 20;
  std::string text = "Aus der Datei " + file + (result.imported == 1 ? " wurde " : " wurden ") +
                     Counted(result.imported, "Eintrag", "Einträge") + " übernommen. Übersprungen, weil nicht lesbar:";
  for (size_t i = 0; i < result.skipped.size() && i < kListed; ++i) text += "\r" + result.skipped[i].Text();
  if (result.skipped.size() > kListed)
    text += "\r… und " + std::to_string(result.skipped.size() - kListed) + " weitere";
  ShowMessageBox({.text = text, .caption = "Tools", .icon = MbIcon::Warning, .owner = &window});
}

// One message box with the reason; the text for the status bar.
std::string Failed(TFRVeskTools& window, const std::string& file, const char* done, const char* kind,
                   const std::exception& error) {
  ShowMessageBox({.text = "Die Datei " + file + " wurde nicht " + done + ":\r" + error.what(),
                  .caption = "Tools",
                  .icon = MbIcon::Error,
                  .owner = &window});
  return std::string(kind) + " fehlgeschlagen";
}

}  // namespace

std::string ImportFile(TFRVeskTools& window, const std::string& file) {
  if (file.empty()) return window.StatusText();
  const std::optional<std::string> text = ReadFile(file);
  try {
    if (!text) throw Exception("Die Datei ist nicht lesbar.");
    const bool calendar = IsCalendar(*text);
    TRadiRidir table;
    OpenTable(table, calendar, false);
    ImportProgressDialog progress(&window);
    const ImportResult result = calendar ? ImportCalendar(table, *text, UserTimeZone(), Date(), std::ref(progress))
                                         : ImportVCards(table, *text, std::ref(progress));
    const std::string summary = result.Summary(calendar ? "Termin" : "Adresse", calendar ? "Termine" : "Adressen");
    if (!result.skipped.empty()) ShowSkipped(window, file, result);
    return summary;
  } catch (const EImportCancelled& error) {
    return error.what();
  } catch (const std::exception& error) {
    return Failed(window, file, "importiert", "Import", error) + ", nichts geändert";
  }
}

std::string ExportFile(TFRVeskTools& window, const std::string& file, const std::string& type) {
  if (file.empty()) return window.StatusText();
  try {
    const bool calendar = type == "ics";
    TRadiRidir table;
    OpenTable(table, calendar, true);
    if (calendar) table.SetIndexName(kTermineIndex);
    const size_t count = static_cast<size_t>(std::max(table.RecordCount(), 0));
    const std::string text = calendar
                                 ? ExportCalendar(table, UserTimeZone(), ReadAlarmSettings(HostIniFile()).leadMinutes)
                                 : ExportVCards(table);
    if (!WriteFileAtomically(file, text)) throw Exception("Die Datei kann nicht geschrieben werden.");
    return Counted(count, calendar ? "Termin" : "Adresse", calendar ? "Termine" : "Adressen") + " exportiert";
  } catch (const std::exception& error) {
    return Failed(window, file, "geschrieben", "Export", error);
  }
}

void AddExchangeButtons(QBoxLayout& buttons, TFRVeskTools& window) {
  const QString filters = QString(kVCardFilter) + ";;" + kCalendarFilter;
  auto* import = new TButton("Importieren…", &window);
  import->setObjectName("Importieren…");
  import->OnClick = [&window, filters ](TButton&) {
    const QString file =
        QFileDialog::getOpenFileName(&window, QStringLiteral("Importieren"), QString::fromStdString(ProgramFolder()),
                                     filters + QStringLiteral(";;Alle Dateien (*)"));
  window.SetStatusText(ImportFile(window, file.toStdString()));
};
auto* exportButton = new TButton("Exportieren…", &window);
exportButton->setObjectName("Exportieren…");
exportButton->OnClick = [&window, filters](TButton&) {
  QString filter;
  QString file = QFileDialog::getSaveFileName(&window, QStringLiteral("Exportieren"),
                                              QString::fromStdString(ProgramFile("adressen.vcf")), filters, &filter);
  const QString suffix = QFileInfo(file).suffix().toLower();
  const bool calendar = suffix == "ics" || suffix == "ical" || (suffix.isEmpty() && filter == kCalendarFilter);
  // A name typed without its ending gets the one of the chosen kind.
  if (!file.isEmpty() && suffix.isEmpty()) file += calendar ? ".ics" : ".vcf";
  window.SetStatusText(ExportFile(window, file.toStdString(), calendar ? "ics" : "vcf"));
};
buttons.addWidget(import);
buttons.addWidget(exportButton);
}  // namespace vesk

}  // namespace vesk
