#include "service/address_search.h"

#include <utility>

#include "link/format.h"
#include "link/registers.h"
#include "service/search_texts.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

AddressSearch::AddressSearch(Link& link, Sequencer& sequencer, SearchView& view)
    : link_(link), sequencer_(sequencer), view_(view) {
  link_.RegisterHandler(rkSearchProbe, [this] { SearchProbeHandler(); });
  link_.SetAbandonSteps(FailureCode::fcSearch, [this] { NotFound(); });
}

void AddressSearch::CustomItem5Click() {
  if (link_.OperationMode == omSearch) {
    Stop();
  } else {
    Start();
  }
}

void AddressSearch::DelayClick(int entry) {
  if (entry < 0 || entry >= static_cast<int>(kDelays.size())) return;
  view_.CheckDelay(entry);
  link_.SearchDelay = kDelays[static_cast<std::size_t>(entry)];
}

namespace {
// The line that says why "Start" is refused, or nothing when the search may take over.
const char* RefusalFor(OperationMode mode) {
  switch (mode) {
    // Stopped half way the panel would keep a configuration without its apply command, or sit in
    // its boot loader with part of a firmware.
    case omConfigWrite:
    case omConfigApply: return search_text::kRefusedConfigWrite;
    case omUpgrade: return search_text::kRefusedUpgrade;
    default: return nullptr;
  }
}

const char* StopLineFor(OperationMode mode) {
  switch (mode) {
    case omConfigRead: return search_text::kStoppedConfigRead;
    case omLast15Count:
    case omLast15Pointers:
    case omLast15Record:
    case omDownloadPointers:
    case omDownloadRecords: return search_text::kStoppedArchive;
    case omMonitorStart:
    case omMonitorPointer:
    case omMonitorPoll:
    case omMonitorRecord: return search_text::kStoppedMonitor;
    default: return "";
  }
}
}  // namespace

void AddressSearch::Start() {
  if (const char* refusal = RefusalFor(link_.OperationMode)) {
    // The running operation shows its own log (TeMemo2), which its requests do not clear.
    link_.surfaces().memo2.AddLine(refusal);
    return;
  }
  takenOver_ = StopLineFor(link_.OperationMode);
  // The search takes over whatever else runs; its log and the menu's line rate must be in force
  // again (a configuration read shows TeMemo2).
  if (link_.OperationMode != omIdle) {
    link_.UpdateStatusBar();
    link_.surfaces().memo2.SetVisible(false);
    link_.surfaces().memo1.SetVisible(true);
  }
  view_.CloseAddBox();
  link_.DeviceAddress = 0;
  ProgressBar& bar = link_.surfaces().progress1;
  bar.SetRange(0, kHighestSlaveAddress);
  bar.SetPosition(0);
  bar.SetVisible(true);
  view_.SetStartCaption(search_text::kStop);
  sequencer_.Start(omSearch, kProbeIntervalMs);
}

void AddressSearch::Stop() {
  link_.OperationMode = omIdle;
  TellTakenOver();
  EndSteps();
  // A probe in flight is still received and handled (its receive cycle closes the port);
  // with none in flight nothing else will close it.
  if (!link_.Timer_Rx->Enabled()) link_.ClosePort();
}

void AddressSearch::SearchProbeHandler() {
  // Register 0 is bytes 3 and 4; a shorter reply cannot be the panel's.
  constexpr int32_t kProbeReplyLength = 7;
  if (link_.RxCount < kProbeReplyLength) return;
  const uint16_t value = static_cast<uint16_t>(link_.FrameBuffer[3] << 8 | link_.FrameBuffer[4]);
  if (value != reg::kPanelTypeValue) return;  // another device: the search goes on
  link_.OperationMode = omIdle;
  link_.ClosePort();
  TellTakenOver();
  link_.surfaces().memo1.AddLine(search_text::kFoundAt + FormatZeroPadded(link_.DeviceAddress, 3));
  EndSteps();
}

void AddressSearch::NotFound() {
  link_.OperationMode = omIdle;
  link_.ClosePort();
  TellTakenOver();
  link_.surfaces().memo1.AddLine(search_text::kNotFound);
  EndSteps();
}

void AddressSearch::TellTakenOver() {
  if (!takenOver_.empty()) link_.surfaces().memo1.AddLine(std::exchange(takenOver_, {}));
}

void AddressSearch::EndSteps() {
  link_.surfaces().progress1.SetVisible(false);
  view_.SetStartCaption(search_text::kStart);
  view_.ShowAddress(link_.DeviceAddress);
  view_.FocusMenuBar();
}

}  // namespace zelor
