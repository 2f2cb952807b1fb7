#include "upgrade/firmware_upgrade.h"

#include "link/line_rates.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "upgrade/upgrade_texts.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

FirmwareUpgrade::FirmwareUpgrade(Link& link, Sequencer& sequencer, UpgradeView& view)
    : link_(link), sequencer_(sequencer), view_(view) {
  link_.SetUpgradeReceiveHook([this] { return UpgradeReceiveHook(); });
  sequencer_.SetFrameSender(omUpgrade, [this] { SendDueFrame(); });
}

void FirmwareUpgrade::CustomItem13Click() {
  if (link_.OperationMode != omIdle) return;
  images_.Erase();
  const auto path = view_.ChooseFirmwareFile(
      {upgrade_text::kDialogTitle, upgrade_text::kDialogFileName, upgrade_text::kDialogFilter});
  if (!path) return;

  const FirmwareLoadResult loaded = LoadFirmwareFile(*path, images_);
  switch (loaded.status) {
    case FirmwareLoad::WrongSize:
      view_.CloseAddBox();
      link_.surfaces().memo1.Clear();
      link_.surfaces().memo1.SetColor(MemoColor::Blue);
      link_.surfaces().memo1.AddLine(upgrade_text::kDownloadFirmware);
      link_.surfaces().memo1.AddLine(upgrade_text::kWrongSize);
      return;
    case FirmwareLoad::FileError:
      ShowFileProblem(upgrade_text::kFileErrorPrefix + loaded.error + upgrade_text::kFileErrorSuffix);
      return;
    case FirmwareLoad::Loaded: break;
  }

  link_.port().SetBaudRate(kLoaderBaudRate);
  link_.BlockIndex = 0;
  ProgressBar& bar = link_.surfaces().progress1;
  bar.SetRange(0, images_.AuxBlockCount + kFramesBeyondAux - 1);
  bar.SetPosition(1);
  bar.SetVisible(true);
  link_.ErrorCount = 0;
  link_.OperationMode = omUpgrade;
  link_.ResponseKind = rkUpgrade;
  view_.HideAddBox();
  ShowOperationLog(link_.surfaces(), MemoColor::Blue, upgrade_text::kDownloadFirmware);
  SendFirmwarePage();
}

void FirmwareUpgrade::ShowFileProblem(const std::string& line) {
  view_.CloseAddBox();
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.Clear();
  memo1.SetColor(MemoColor::Blue);
  memo1.AddLine(line);
  link_.surfaces().memo2.SetVisible(false);
}

bool FirmwareUpgrade::SendLoaderFrame(uint16_t length, uint32_t timeoutMs) {
  link_.ExpectedLength = kLoaderAckLength;
  if (link_.SendLoaderFrame(length, timeoutMs)) return true;
  // Nothing is armed after a failed send: without this stop the upgrade would neither go on nor end.
  StoppedByPortError();
  return false;
}

bool FirmwareUpgrade::SendFirmwarePage() {
  const uint16_t length = BuildFirmwarePageFrame(images_, link_.BlockIndex, link_.FrameBuffer.data());
  return SendLoaderFrame(length, kPageTimeoutMs);
}

bool FirmwareUpgrade::SendAuxBlock(uint8_t n) {
  const uint16_t length = BuildAuxBlockFrame(images_, n, link_.FrameBuffer.data());
  return SendLoaderFrame(length, kAuxTimeoutMs);
}

bool FirmwareUpgrade::SendFinish() {
  const uint16_t length = BuildFinishFrame(link_.FrameBuffer.data());
  return SendLoaderFrame(length, kFinishTimeoutMs);
}

bool FirmwareUpgrade::SendDueFrame() {
  const FrameDue due = DueFrame(link_.BlockIndex, images_.AuxBlockCount);
  switch (due.kind) {
    case LoaderFrame::Page: return SendFirmwarePage();
    case LoaderFrame::AuxBlock: return SendAuxBlock(due.number);
    case LoaderFrame::Finish: return SendFinish();
    case LoaderFrame::None: break;
  }
  return false;
}

bool FirmwareUpgrade::UpgradeReceiveHook() {
  // Only while the upgrade runs: an operation that took over the sequencer is not the loader's.
  if (link_.ResponseKind != rkUpgrade || link_.OperationMode != omUpgrade) return false;
  if (link_.RxCount != link_.ExpectedLength || link_.FrameBuffer[0] != reg::kLoaderAck0 ||
      link_.FrameBuffer[1] != reg::kLoaderAck1) {
    return false;
  }
  ++link_.BlockIndex;
  link_.ErrorCount = 0;
  const int b = link_.BlockIndex;
  const int complete = images_.AuxBlockCount + kFramesBeyondAux;
  if (b < complete) {
    link_.surfaces().progress1.SetPosition(b);
    link_.RxCount = 0;
    if (SendDueFrame()) link_.ResponseKind = rkUpgrade;
  } else {
    Completed();
  }
  return true;
}

void FirmwareUpgrade::Completed() {
  link_.UpdateStatusBar();
  link_.surfaces().progress1.SetVisible(false);
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.SetColor(MemoColor::Blue);
  memo1.Clear();
  memo1.AddLine(text::kUpgradeTitle);
  memo1.AddLine(upgrade_text::kUpgradeOk);
  memo1.AddLine(upgrade_text::kActiveInterface);
  memo1.AddLine(upgrade_text::kPortPrefix + link_.port().PortName() + upgrade_text::kPortGone);
  memo1.SetVisible(true);
  link_.surfaces().memo2.SetVisible(false);
  link_.RxCount = 0;
  link_.OperationMode = omIdle;
  link_.ResponseKind = rkNone;
  link_.ClosePort();
}

void FirmwareUpgrade::StoppedByPortError() { link_.StopOnSendFailure(text::kUpgradeTitle); }

}  // namespace zelor
