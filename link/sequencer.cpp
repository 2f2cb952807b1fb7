#include "link/sequencer.h"

#include "link/registers.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

Sequencer::Sequencer(Link& link) : link_(link) {
  link_.Timer_Programm->SetHandler([this] { Timer_ProgrammTimer(); });
}

void Sequencer::SetFrameSender(OperationMode mode, std::function<void()> sender) {
  frameSenders_[mode] = std::move(sender);
}

void Sequencer::Start(OperationMode mode, uint32_t intervalMs) {
  link_.OperationMode = mode;
  link_.Timer_Programm->SetInterval(intervalMs);
  link_.Timer_Programm->SetEnabled(true);
}

void Sequencer::Timer_ProgrammTimer() {
  Link& l = link_;
  l.Timer_Programm->SetEnabled(false);
  const auto archiveAddress = static_cast<uint16_t>(l.ArchiveAddress & 0xFFFF);
  // The archive range answers more than the register count says: `replyLength` overrides it.
  auto read = [&](uint16_t start, uint16_t count, ResponseKind kind, uint8_t replyLength = 0) {
    l.SendReadRequest(start, count);
    if (replyLength != 0) l.ExpectedLength = replyLength;
    l.ResponseKind = kind;
  };
  // The kind first: a sender that stops its operation on a failed send leaves none.
  auto frame = [&](OperationMode frameMode, ResponseKind kind) {
    l.ResponseKind = kind;
    if (frameSenders_[frameMode]) frameSenders_[frameMode]();
  };
  const OperationMode mode = l.OperationMode;
  switch (mode) {
    case omConfigRead:
      read(static_cast<uint16_t>(reg::kConfigPageBase + l.BlockIndex), reg::kConfigPageRegisters, rkConfigBlockRead);
      break;
    case omConfigWrite: frame(omConfigWrite, rkConfigBlockWrite); break;
    case omConfigApply:
      l.SendWriteRequest(reg::kConfigApply, reg::kConfigApplyValue);
      l.ResponseKind = rkConfigApply;
      break;
    case omLast15Count: read(reg::kRecordCount, 1, rkLast15Count); break;
    case omLast15Pointers: read(reg::kArchivePointers, 2, rkLast15Pointers); break;
    case omLast15Record: read(archiveAddress, 1, rkLast15Record, fn::kOneRecordReplyLength); break;
    case omDownloadPointers: read(reg::kArchivePointers, 2, rkDownloadPointers); break;
    case omDownloadRecords:
      read(archiveAddress, reg::kArchiveBatchRecords, rkDownloadRecords, fn::kRecordBatchReplyLength);
      break;
    case omMonitorStart: read(reg::kTypeCode, reg::kMonitorBlockCount, rkMonitorStart); break;
    case omMonitorPointer: read(reg::kArchiveNewest, 1, rkMonitorPointer); break;
    case omMonitorPoll: read(reg::kArchiveNewest, 1, rkMonitorPoll); break;
    case omMonitorRecord: read(l.MonitorAddress, 1, rkMonitorRecord, fn::kOneRecordReplyLength); break;
    case omUpgrade: frame(omUpgrade, rkUpgrade); break;
    case omSearch:
      // Past the highest slave address the byte would run on to 248..255 and wrap to the
      // broadcast address 0: once 247 has been probed the search is over without a find.
      if (l.DeviceAddress >= kHighestSlaveAddress) {
        l.ReportFailure(FailureCode::fcSearch);
        break;
      }
      ++l.DeviceAddress;
      l.surfaces().progress1.SetPosition(l.DeviceAddress);
      read(reg::kTypeCode, 1, rkSearchProbe);
      break;
    default: return;  // nothing to send; the timer stays stopped
  }
  // Every request that left arms Timer_Rx; one that could not be sent is answered by nothing.
  if (l.OperationMode == mode && mode != omIdle && !l.Timer_Rx->Enabled()) l.EndUnsentOperation();
}

}  // namespace zelor
