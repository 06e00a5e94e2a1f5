// The address window's telephone: the line opened at creation, a double
// click on a number dials it, Ctrl+A hangs up, closing drops the call and
// shuts the line down; what the line reports shows in the status bar, and
// why it is unusable, or what else there is to know of it, in the bar's
// tooltip.
#include <QString>
#include <memory>

#include "platform/telephony/dialable_address.h"
#include "platform/telephony/sip_account.h"
#include "runtime/utf8_text.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/label.h"
#include "toolkit/status_bar.h"
#include "tools/adressen/adressenmn.h"
#include "tools/adressen/tariff_lookup.h"
#include "tools/controls/HistCB.h"
#include "tools/host_files.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

QPointer<TFRAdressen> FRAdressen;

namespace {

// Prefix and number together; a longer one is refused, since a cut one
// would call a wrong number.
constexpr size_t kMaxDialString = 40;
// How long the program waits for a dropped call to end.
constexpr uint32_t kDialDropWait = 400;
constexpr uint32_t kCloseDropWait = 350;
// How long the note that no tariff is in force stands before the dial.
constexpr uint32_t kNoTariffNoteWait = 1000;

constexpr char kError[] = "Fehler";
constexpr char kInputError[] = "Fehler in der Eingabe";
constexpr char kSigningOn[] = "Anmelden …";

// What the line tells of the connected call, for the whole library.
LineCallInfo callInfo;

void LineCallbackProc(uint32_t device, uint32_t message, uintptr_t, intptr_t param1, intptr_t param2, intptr_t) {
  if (TFRAdressen* window = FRAdressen.data()) window->LineNotification(device, message, param1, param2);
}

std::string DisconnectText(intptr_t mode) {
  if (mode == LINEDISCONNECTMODE_NORMAL) return "Normal";
  if (mode == LINEDISCONNECTMODE_BUSY) return "Besetzt";
  return {};
}

// Why the open line is unusable, and below what else there is to know of
// it: a missing sound device counts whether the line works or not.
std::string OpenLineTip(const std::string& problem) {
  const std::string notice = lineNotice();
  return problem.empty() || notice.empty() ? problem + notice : problem + "\n" + notice;
}

}  // namespace

void TFRAdressen::SetUpLine() {
  FRAdressen = this;
  callParams_ = LineCallParams{};
  std::string problem;
  auto giveUp = [&] {
    problem = lineProblem();
    lineShutdown(lineApp_);
    lineApp_ = 0;
    line_ = 0;
  };
  uint32_t devices = 0;
  if (lineInitialize(&lineApp_, nullptr, LineCallbackProc, nullptr, &devices) < 0) {
    problem = lineProblem();
    lineApp_ = 0;
  } else if (devices == 0) {
    giveUp();
  } else {
    uint32_t version = 0;
    LineExtensionId extension;
    if (lineNegotiateAPIVersion(lineApp_, 0, 0x00010000, 0x10000000, &version, &extension) < 0 ||
        lineOpen(lineApp_, LINEMAPPER, &line_, version, 0, 0, LINECALLPRIVILEGE_NONE, 0, &callParams_) < 0) {
      giveUp();
    }
  }
  if (line_ != 0) {
    LineDevStatus status;
    signingOn_ =
        lineGetLineDevStatus(line_, &status) == 0 && (status.dwDevStatusFlags & LINEDEVSTATUSFLAGS_CONNECTED) == 0;
    if (signingOn_) SBAdressen->SetSimpleText(kSigningOn);
    SBAdressen->setToolTip(QString::fromStdString(lineNotice()));
    return;
  }
  ShowLineProblem(problem);
}

void TFRAdressen::ShowLineProblem(const std::string& problem) {
  lineTrouble_ = true;
  SBAdressen->SetSimpleText(kError);
  SBAdressen->setToolTip(QString::fromStdString(problem));
}

void TFRAdressen::LineStateChanged(intptr_t state) {
  const bool wasSigningOn = signingOn_;
  signingOn_ = false;
  if (state == LINEDEVSTATE_CONNECTED) {
    // What was said of the line's trouble goes; a running call's text stays.
    if (wasSigningOn || lineTrouble_) SBAdressen->SetSimpleText("");
    lineTrouble_ = false;
    SBAdressen->setToolTip(QString::fromStdString(lineNotice()));
  } else if (state == LINEDEVSTATE_DISCONNECTED) {
    ShowLineProblem(OpenLineTip(lineProblem()));
  }
  // A dial asked for while the line signed on goes now; a line that could
  // not sign on refuses it as any dial.
  if (!pendingDial_) return;
  const PendingDial dial = *pendingDial_;
  pendingDial_.reset();
  Dial(dial.number, dial.zone);
}

void TFRAdressen::HangUp() {
  if (lineDrop(call_, nullptr, 0) < 0) SBAdressen->SetSimpleText(kError);
}

void TFRAdressen::DropCallAtClose() {
  if (lineDrop(call_, nullptr, 0) > 0) LineWait(kCloseDropWait);
}

std::string TFRAdressen::GetNetzvorwahl(int index) {
  TDBHistComboBox* box = index == 1 ? DBHCTarifzone1 : index == 2 ? DBHCTarifzone2 : nullptr;
  return LookupNetworkPrefix(box != nullptr ? box->Text() : std::string(),
                             [this](TDataSet& dataSet, bool& accept) { FilterRecord(dataSet, accept); });
}

void TFRAdressen::FilterRecord(TDataSet& dataSet, bool& accept) { accept = TariffBandAccepts(dataSet); }

void TFRAdressen::EdTelefonDblClick(TDBEdit& sender) {
  const std::string number = sender.Text();
  if (number.empty()) return;
  Dial(number, sender.Tag());
}

void TFRAdressen::DialNumber(const std::string& number) {
  Dial(number, IsSipAddress(number) ? 0 : ShowAddressOf(number));
}

int TFRAdressen::ShowAddressOf(const std::string& number) {
  const std::optional<std::string> dialable = DialableAddress(number);
  // An address being edited stays as it is, and so does the page.
  if (!dialable || !MTbAdressen->Active() || MTbAdressen->State() != dsBrowse) return 0;
  const std::string countryCode = ReadCountryCode(HostIniFile());
  const std::string wanted = NationalForm(*dialable, countryCode);
  // Looked for in a table of its own, so that the window shows nothing of
  // the search; then the window goes to the address found, on "Alle".
  const auto search = std::make_unique<TRadiRidir>();
  search->SetTableName(MTbAdressen->TableName());
  search->SetReadOnly(true);
  search->Open();
  for (search->First(); !search->Eof(); search->Next()) {
    for (int field : {1, 2}) {
      const std::string fieldName = "Telefon" + std::to_string(field);
      const std::string stored = search->FieldByName(fieldName)->AsString();
      const std::optional<std::string> storedDialable = DialableAddress(stored);
      if (!storedDialable || NationalForm(*storedDialable, countryCode) != wanted) continue;
      const std::string name = search->FieldByName(adressen::kName)->AsString();
      search->Close();
      if (TCAdressen->TabIndex() != 0) {
        TCAdressen->SetTabIndex(0);
        TCAdressenChange(*TCAdressen);
      }
      const bool shown =
          MTbAdressen->Locate("Name;" + fieldName, Variant::FromArray({Variant(name), Variant(stored)}), 0);
      return shown ? field : 0;
    }
  }
  return 0;
}

void TFRAdressen::Dial(const std::string& number, int zone) {
  if (signingOn_) {
    // Dialled once the registrar has answered, or told it did not.
    pendingDial_ = PendingDial{number, zone};
    SBAdressen->SetSimpleText(kSigningOn);
    return;
  }
  // A number that cannot be dialled leaves a running call alone.
  const std::optional<std::string> dialable = DialableAddress(number);
  if (!dialable) {
    SBAdressen->SetSimpleText(kInputError);
    return;
  }
  if (lineDrop(call_, nullptr, 0) > 0) {
    LineWait(kDialDropWait);
    lineDeallocateCall(call_);
  }
  std::string prefix;
  // The zone boxes are shown when tariffs are set up; the window need not
  // be on the screen for that.
  if (!lbTarifzone1->isHidden() && !IsSipAddress(*dialable)) {
    try {
      prefix = GetNetzvorwahl(zone);
    } catch (const ENoTariff& none) {
      // The call still goes through, over the line's own carrier, and the
      // user learns that it is not the cheapest.
      SBAdressen->SetSimpleText(none.Message() + " – Wahl ohne Vorwahl");
      LineWait(kNoTariffNoteWait);
    }
  }
  // A call-by-call prefix goes before a national number only.
  const std::string dial =
      prefix.empty() ? *dialable : prefix + NationalForm(*dialable, ReadCountryCode(HostIniFile()));
  HCall call = 0;
  if (Utf8Length(dial) > kMaxDialString || lineMakeCall(line_, &call, dial.c_str(), 0, &callParams_) < 0) {
    SBAdressen->SetSimpleText(kInputError);
    return;
  }
  call_ = call;
}

void TFRAdressen::LineNotification(uint32_t device, uint32_t message, intptr_t param1, intptr_t param2) {
  if (message == LINE_REPLY) {
    SBAdressen->SetSimpleText(param2 < 0 ? "Keine Antwort" : "OK");
    return;
  }
  if (message == LINE_LINEDEVSTATE) return LineStateChanged(param1);
  if (message != LINE_CALLSTATE) return;
  // An earlier call the window has let go of is only released.
  if (device != call_) {
    if (param1 == LINECALLSTATE_IDLE && device != 0) lineDeallocateCall(device);
    return;
  }
  switch (param1) {
    case LINECALLSTATE_IDLE:
      if (device != 0) lineDeallocateCall(device);
      SBAdressen->SetSimpleText("Verbindung unterbrechen");
      break;
    case LINECALLSTATE_DIALING: SBAdressen->SetSimpleText("Wähle"); break;
    case LINECALLSTATE_BUSY: SBAdressen->SetSimpleText("Besetzt"); break;
    case LINECALLSTATE_CONNECTED: {
      std::string text = "Verbunden: ";
      callInfo = LineCallInfo{};
      if (device != 0 && lineGetCallInfo(device, &callInfo) == 0) text += callInfo.appName;
      SBAdressen->SetSimpleText(text);
      break;
    }
    case LINECALLSTATE_PROCEEDING: SBAdressen->SetSimpleText("Proceeding"); break;
    case LINECALLSTATE_DISCONNECTED:
      SBAdressen->SetSimpleText("Unterbrochen: " + DisconnectText(param2));
      if (lineDrop(call_, nullptr, 0) < 0) SBAdressen->SetSimpleText(kError);
      break;
    default: break;
  }
}

}  // namespace vesk
