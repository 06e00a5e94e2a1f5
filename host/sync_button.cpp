#include "host/sync_button.h"

#include <QBoxLayout>
#include <QTimer>
#include <memory>

#include "host/host_window.h"
#include "platform/ini_file.h"
#include "platform/message_box.h"
#include "runtime/datetime.h"
#include "sync/address_book_discovery.h"
#include "sync/address_sync.h"
#include "sync/sync_settings.h"
#include "toolkit/button.h"
#include "tools/host_files.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// One sync at a time: the table and the connection live while it runs.
class SyncRun {
 public:
  SyncRun(TFRVeskTools& window, TButton& button) : window_(window), button_(button) {}

  void Start() {
    if (running_) return;
    const std::string ini = HostIniFile();
    const SyncSettings settings = ReadSyncSettings(ini);
    if (settings.account.server.isEmpty())
      return Tell("Der Abgleich ist noch nicht eingerichtet: tragen Sie im Abschnitt " + std::string(kSyncSection) +
                  " von " + ini + " Server, Benutzer und Passwort ein.");
    try {
      CreateTableWhenMissing(AdressenSchema());
      table_ = std::make_unique<TRadiRidir>();
      table_->SetTableName(kAdressenTable);
      table_->Open();
    } catch (const std::exception&) {
      table_.reset();
      return window_.SetStatusText(
          "Abgleich nicht möglich, solange die Adressen in ihrem Fenster bearbeitet werden; schließen Sie es und "
          "gleichen Sie dann ab");
    }
    client_ = std::make_unique<DavClient>(settings.account);
    running_ = true;
    button_.setEnabled(false);
    window_.SetStatusText("Abgleich läuft…");
    if (!settings.book.empty()) return Sync(QUrl(QString::fromStdString(settings.book)));
    DiscoverAddressBooks(*client_, [this, ini](Discovery found) {
      if (found.books.size() != 1)
        return Done(found.books.empty()
                        ? found.message
                        : "Auf dem Server sind mehrere Adressbücher; tragen Sie eines als " +
                              std::string(kAddressBookKey) + " im Abschnitt " + kSyncSection + " von " + ini + " ein.");
      ProfileWriteString(ini, kSyncSection, kAddressBookKey, found.books.front().url.toString().toStdString());
      Sync(found.books.front().url);
    });
  }

 private:
  void Sync(const QUrl& book) {
    SyncAddresses(*table_, *client_, book, Date(), [this](SyncOutcome outcome) {
      Done(outcome.failure == DavFailure::None ? std::string() : outcome.message, outcome.summary.Text());
    });
  }

  void Done(const std::string& failure, const std::string& summary = "") {
    table_.reset();
    // The connection goes once its answer has been handled.
    QTimer::singleShot(0, &button_, [done = std::shared_ptr<DavClient>(client_.release())] {});
    running_ = false;
    button_.setEnabled(true);
    if (failure.empty()) return window_.SetStatusText(summary);
    window_.SetStatusText("Abgleich fehlgeschlagen");
    Tell("Der Abgleich der Adressen ist fehlgeschlagen:\r" + failure);
  }

  void Tell(const std::string& text) {
    ShowMessageBox({.text = text, .caption = "Tools", .icon = MbIcon::Warning, .owner = &window_});
  }

  TFRVeskTools& window_;
  TButton& button_;
  std::unique_ptr<TRadiRidir> table_;
  std::unique_ptr<DavClient> client_;
  bool running_ = false;
};

}  // namespace

void AddSyncButton(QBoxLayout& buttons, TFRVeskTools& window) {
  auto* button = new TButton("Jetzt abgleichen", &window);
  button->setObjectName("Jetzt abgleichen");
  auto run = std::make_shared<SyncRun>(window, *button);
  button->OnClick = [run](TButton&) { run->Start(); };
  buttons.addWidget(button);
}

}  // namespace vesk
