// The address window's telephone: the line opened at creation, a double
// click on a number dials it, Ctrl+A hangs up, closing drops the call and
// shuts the line down; what the line reports shows in the status bar.
#include <QString>

#include "runtime/utf8_text.h"
#include "toolkit/db_edit.h"
#include "toolkit/label.h"
#include "toolkit/status_bar.h"
#include "tools/adressen/adressenmn.h"
#include "tools/adressen/tariff_lookup.h"
#include "tools/controls/HistCB.h"

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
  if (line_ != 0) return;
  SBAdressen->SetSimpleText(kError);
  SBAdressen->setToolTip(QString::fromStdString(problem));
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
  if (lineDrop(call_, nullptr, 0) > 0) {
    LineWait(kDialDropWait);
    lineDeallocateCall(call_);
  }
  std::string dial;
  // The zone boxes are shown when tariffs are set up; the window need not
  // be on the screen for that.
  if (!lbTarifzone1->isHidden()) {
    try {
      dial = GetNetzvorwahl(sender.Tag());
    } catch (const ENoTariff& none) {
      // The call still goes through, over the line's own carrier, and the
      // user learns that it is not the cheapest.
      SBAdressen->SetSimpleText(none.Message() + " – Wahl ohne Vorwahl");
      LineWait(kNoTariffNoteWait);
    }
  }
  dial += number;
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
  if (message != LINE_CALLSTATE) return;
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
