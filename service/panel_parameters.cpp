#include "service/panel_parameters.h"

#include "link/frames.h"
#include "link/line_rates.h"
#include "link/registers.h"
#include "service/parameter_texts.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

PanelParameters::PanelParameters(Link& link, ParameterView& view, LocalClock pcClock)
    : link_(link), view_(view), pcClock_(std::move(pcClock)) {
  link_.RegisterHandler(rkParameterBlock, [this] { DecodeParameterBlockHandler(); });
  link_.RegisterHandler(rkAddressWrite, [this] { AddressAcknowledged(); });
  link_.RegisterHandler(rkBaudWrite, [this] { BaudAcknowledged(); });
  link_.RegisterHandler(rkContrastWrite, [this] { ContrastAcknowledged(); });
  link_.RegisterHandler(rkVolumeWrite, [this] { VolumeAcknowledged(); });
  link_.RegisterHandler(rkReg23Write, [this] { TimeoutAcknowledged(); });
  link_.RegisterHandler(rkClockTrimWrite, [this] { TrimAcknowledged(); });
}

bool PanelParameters::ModeAllows() const {
  const OperationMode m = link_.OperationMode;
  return m == omIdle || (m >= omMonitorStart && m <= omMonitorRecord);
}

// ---- query ----

void PanelParameters::TeTabSheet3Show() {
  if (link_.DeferIfBusy([this] { TeTabSheet3Show(); })) return;
  SendQuery();
}

void PanelParameters::QueryA_ButtClick() {
  if (!ModeAllows()) return;
  if (link_.DeferIfBusy([this] { QueryA_ButtClick(); })) return;
  SendQuery();
}

void PanelParameters::SendQuery() {
  link_.ControlsLocked = 1;
  link_.SendReadRequest(reg::kTypeCode, reg::kParameterBlockCount);
  link_.ResponseKind = rkParameterBlock;
}

void PanelParameters::DecodeParameterBlockHandler() {
  const auto block = DecodeParameterBlock(link_.FrameBuffer.data(), link_.RxCount, pcClock_());
  if (block) Fill(*block);
}

void PanelParameters::Fill(const ParameterBlock& p) {
  view_.SetComboIndex(ParamCombo::TeSComboBox5, p.HourIndex);
  view_.SetComboIndex(ParamCombo::TeSComboBox6, p.MinuteIndex);
  view_.SetComboIndex(ParamCombo::TeSComboBox7, p.SecondIndex);
  view_.SetComboIndex(ParamCombo::TeSComboBox2, p.DayIndex);
  view_.SetComboIndex(ParamCombo::TeSComboBox3, p.MonthIndex);
  view_.SetComboIndex(ParamCombo::TeSComboBox4, p.YearIndex);
  view_.SetText(ParamText::Label2, p.ClockDifference);
  view_.SetRadioGroup(ParamRadioGroup::FireMode, p.FireMode);
  view_.SetRadioGroup(ParamRadioGroup::FireDuration, p.FireDuration);
  view_.SetRadioGroup(ParamRadioGroup::AlarmMode, p.AlarmMode);
  view_.SetRadioGroup(ParamRadioGroup::AlarmDuration, p.AlarmDuration);
  view_.SetScrollPosition(ParamScroll::TeScrollBar1, p.ContrastPosition);
  view_.SetText(ParamText::TeGroupBox10, param::ContrastCaption(p.ContrastPosition));
  view_.SetScrollPosition(ParamScroll::TeScrollBar3, p.TrimPosition);
  view_.SetText(ParamText::Label1, param::TrimLabel(p.TrimPosition));
  view_.SetScrollPosition(ParamScroll::TeScrollBar2, p.VolumePosition);
  view_.SetText(ParamText::TeGroupBox3, param::VolumeCaption(p.VolumePosition));
  view_.SetComboIndex(ParamCombo::TeSComboBox8, p.InternalSpeedIndex);
  view_.SetScrollPosition(ParamScroll::TeScrollBar4, p.TimeoutPosition);
  view_.SetText(ParamText::TeLabel9, p.TimeoutLabel);
}

// ---- writes ----

void PanelParameters::Write(uint16_t reg, uint16_t value, ResponseKind kind) {
  link_.SendWriteRequest(reg, value);
  link_.ResponseKind = kind;
}

void PanelParameters::ComboChanged(ParamCombo combo) {
  struct Target {
    uint16_t reg;
    int offset;  // value sent = item index + offset
    bool lockGate;
    ResponseKind kind;
  };
  Target t{};
  switch (combo) {
    case ParamCombo::TeSComboBox1: t = {reg::kExternalSpeed, 1, false, rkBaudWrite}; break;
    case ParamCombo::TeSComboBox8: t = {reg::kInternalSpeed, 1, true, rkBaudWrite}; break;
    case ParamCombo::TeSComboBox5: t = {reg::kClockHour, 0, true, rkParameterWrite}; break;
    case ParamCombo::TeSComboBox6: t = {reg::kClockMinute, 0, true, rkParameterWrite}; break;
    case ParamCombo::TeSComboBox7: t = {reg::kClockSecond, 0, true, rkParameterWrite}; break;
    case ParamCombo::TeSComboBox2: t = {reg::kClockDay, 1, true, rkParameterWrite}; break;
    case ParamCombo::TeSComboBox3: t = {reg::kClockMonth, 1, true, rkParameterWrite}; break;
    case ParamCombo::TeSComboBox4: t = {reg::kClockYear, 14, true, rkParameterWrite}; break;
  }
  if (!ModeAllows()) return;
  if (t.lockGate && link_.ControlsLocked == 1) return;
  if (link_.DeferIfBusy([this, combo] { ComboChanged(combo); })) return;
  const auto index = view_.ComboIndex(combo);
  if (!index) return;  // nothing chosen: nothing to send
  Write(t.reg, static_cast<uint16_t>(*index + t.offset), t.kind);
}

void PanelParameters::RadioClicked(ParamRadio radio) {
  uint16_t reg = 0;
  int value = -1;
  switch (radio.group) {
    case ParamRadioGroup::FireMode: reg = reg::kFireOutputMode; value = 5 - radio.number; break;
    case ParamRadioGroup::AlarmMode: reg = reg::kAlarmOutputMode; value = 5 - radio.number; break;
    case ParamRadioGroup::FireDuration: reg = reg::kFireOutputDuration; value = radio.number - 1; break;
    case ParamRadioGroup::AlarmDuration: reg = reg::kAlarmOutputDuration; value = radio.number - 1; break;
  }
  if (value < 0 || value > 2) return;
  // Gated like the combo boxes: during a search or an upgrade the write would go to the address
  // probed or to the boot loader.
  if (!ModeAllows()) return;
  if (link_.ControlsLocked == 1) return;
  if (link_.DeferIfBusy([this, radio] { RadioClicked(radio); })) return;
  Write(reg, static_cast<uint16_t>(value), rkParameterWrite);
}

void PanelParameters::Scroll(ParamScroll scroll, ScrollCode code, int position) {
  if (!ModeAllows()) return;  // as the radio buttons
  if (link_.ControlsLocked == 1) return;
  if (code == ScrollCode::Track) {
    switch (scroll) {
      case ParamScroll::TeScrollBar1: view_.SetText(ParamText::TeGroupBox10, param::ContrastCaption(position)); break;
      case ParamScroll::TeScrollBar2: view_.SetText(ParamText::TeGroupBox3, param::VolumeCaption(position)); break;
      case ParamScroll::TeScrollBar3: view_.SetText(ParamText::Label1, param::TrimLabel(position)); break;
      case ParamScroll::TeScrollBar4: view_.SetText(ParamText::TeLabel9, param::TimeoutTrackLabel(position)); break;
    }
    return;
  }
  if (code != ScrollCode::Step) return;  // top, bottom, end of scroll
  switch (scroll) {
    case ParamScroll::TeScrollBar1:
      pendingWrite_ = {reg::kLcdContrast, static_cast<uint16_t>(0xA900 + (position & 0xFF)), rkContrastWrite};
      break;
    case ParamScroll::TeScrollBar2:
      pendingWrite_ = {reg::kSounderVolume, static_cast<uint16_t>(6 - position), rkVolumeWrite};
      break;
    case ParamScroll::TeScrollBar3:
      pendingWrite_ = {reg::kClockTrim, static_cast<uint16_t>(reg::kClockTrimCentre + position), rkClockTrimWrite};
      break;
    case ParamScroll::TeScrollBar4:
      pendingWrite_ = {reg::kExtraTimeout, static_cast<uint16_t>(position * 16), rkReg23Write};
      break;
  }
  if (link_.DeferIfBusy([this] { ScrollButtClick(); })) return;
  link_.ControlsLocked = 1;
  Write(pendingWrite_.reg, pendingWrite_.value, pendingWrite_.kind);
}

void PanelParameters::ScrollButtClick() {
  link_.Timer_Wait->SetEnabled(false);
  link_.WaitPending = 0;
  // Parked behind a reply, the write may come due after a search or an upgrade has started.
  if (!ModeAllows()) return;
  link_.ControlsLocked = 1;
  Write(pendingWrite_.reg, pendingWrite_.value, pendingWrite_.kind);
}

void PanelParameters::AddrC_ButtClick() {
  if (!ModeAllows()) return;
  if (link_.DeferIfBusy([this] { AddrC_ButtClick(); })) return;
  link_.DeviceAddress = static_cast<uint8_t>(view_.SpinValue(ParamSpin::TeSpinEdit1));
  Write(reg::kPanelAddress, static_cast<uint16_t>(view_.SpinValue(ParamSpin::TeSpinEdit2)), rkAddressWrite);
}

void PanelParameters::TeSpinEdit1Change() {
  link_.DeviceAddress = static_cast<uint8_t>(view_.SpinValue(ParamSpin::TeSpinEdit1));
  link_.UpdateStatusBar();
  view_.SetText(ParamText::TeLabel5, param::AddressLabel(link_.DeviceAddress));
}

void PanelParameters::Sound_ButtClick() {
  if (!ModeAllows()) return;
  if (link_.DeferIfBusy([this] { Sound_ButtClick(); })) return;
  Write(reg::kSilenceSound, 0xFFFF, rkParameterWrite);
}

void PanelParameters::Light_ButtClick() {
  if (!ModeAllows()) return;
  if (link_.DeferIfBusy([this] { Light_ButtClick(); })) return;
  Write(reg::kSilenceLight, 3, rkParameterWrite);
}

// ---- clock ----

void PanelParameters::TimeSet_ButtClick() {
  if (!ModeAllows()) return;
  if (link_.DeferIfBusy([this] { TimeSet_ButtClick(); })) return;
  link_.ControlsLocked = 1;
  SetPanelClock();
  link_.ExpectedLength = fn::kWriteReplyLength;
  link_.ResponseKind = rkParameterWrite;
}

void PanelParameters::SetPanelClock() {
  const CivilTime now = pcClock_();
  const int year = ClockYear(now.year);
  const uint8_t length = BuildClockSetRequest(link_, now);

  view_.SetComboIndex(ParamCombo::TeSComboBox5, now.hour);
  view_.SetComboIndex(ParamCombo::TeSComboBox6, now.minute);
  view_.SetComboIndex(ParamCombo::TeSComboBox7, now.second);
  view_.SetComboIndex(ParamCombo::TeSComboBox2, now.day - 1);
  view_.SetComboIndex(ParamCombo::TeSComboBox3, now.month - 1);
  constexpr int first = kClockFirstYear - 2000, last = kClockLastYear - 2000;
  if (year >= first && year <= last) {
    view_.SetComboIndex(ParamCombo::TeSComboBox4, year - first);
  } else {
    view_.ShowComboText(ParamCombo::TeSComboBox4, std::to_string(now.year));  // off the list: no item
  }
  link_.SendFrame(length, 2000);
}

// ---- acknowledgements ----

uint16_t PanelParameters::EchoedRegister() const {
  return static_cast<uint16_t>(link_.FrameBuffer[2] << 8 | link_.FrameBuffer[3]);
}

uint16_t PanelParameters::EchoedValue() const {
  return static_cast<uint16_t>(link_.FrameBuffer[4] << 8 | link_.FrameBuffer[5]);
}

void PanelParameters::AddressAcknowledged() {
  link_.DeviceAddress = link_.FrameBuffer[5];
  view_.SetSpinValue(ParamSpin::TeSpinEdit1, link_.DeviceAddress);
  view_.SetText(ParamText::TeLabel5, param::AddressLabel(link_.DeviceAddress));
  link_.UpdateStatusBar();
}

void PanelParameters::BaudAcknowledged() {
  // The internal interface's speed (register 20) is the panel's own network's: the PC's line
  // keeps its rate, and so does the device line of the status bar.
  if (EchoedRegister() != reg::kExternalSpeed) return;
  link_.BaudIndex = static_cast<uint8_t>(link_.FrameBuffer[5] - 1);
  link_.UpdateStatusBar();
  if (view_.AskChangePcBaudRate() && IsBaudIndex(link_.BaudIndex)) view_.SwitchPcBaudRate(link_.BaudIndex);
}

void PanelParameters::ContrastAcknowledged() {
  view_.SetText(ParamText::TeGroupBox10, param::ContrastCaption(link_.FrameBuffer[5]));
}

void PanelParameters::VolumeAcknowledged() {
  view_.SetText(ParamText::TeGroupBox3, param::VolumeCaption(6 - link_.FrameBuffer[5]));
}

void PanelParameters::TimeoutAcknowledged() { view_.SetText(ParamText::TeLabel9, param::TimeoutLabel(EchoedValue())); }

void PanelParameters::TrimAcknowledged() {
  view_.SetText(ParamText::Label1, param::TrimLabel(static_cast<int>(EchoedValue()) - reg::kClockTrimCentre));
}

}  // namespace zelor
