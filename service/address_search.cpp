#include "service/address_search.h"

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

void AddressSearch::Start() {
  // The search takes over whatever runs; its log and the menu's line rate must be in force again
  // (a configuration transfer shows TeMemo2, the upgrade runs the port at the loader's rate).
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
  link_.surfaces().memo1.AddLine(search_text::kFoundAt + FormatZeroPadded(link_.DeviceAddress, 3));
  EndSteps();
}

void AddressSearch::NotFound() {
  link_.OperationMode = omIdle;
  link_.ClosePort();
  link_.surfaces().memo1.AddLine(search_text::kNotFound);
  EndSteps();
}

void AddressSearch::EndSteps() {
  link_.surfaces().progress1.SetVisible(false);
  view_.SetStartCaption(search_text::kStart);
  view_.ShowAddress(link_.DeviceAddress);
  view_.FocusMenuBar();
}

}  // namespace zelor
