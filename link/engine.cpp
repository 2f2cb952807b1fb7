#include "link/engine.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "link/format.h"
#include "link/frames.h"
#include "link/line_lock.h"
#include "link/line_rates.h"
#include "link/link_texts.h"
#include "link/registers.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;
using enum FailureCode;

void Restart(Timer& timer) {
  timer.SetEnabled(false);
  timer.SetEnabled(true);
}

Link::Link(Clock& clock, SerialPort& port, LinkSurfaces surfaces)
    : Timer_Rx(clock.CreateTimer()),
      Timer_Wait(clock.CreateTimer()),
      Timer_Programm(clock.CreateTimer()),
      clock_(clock),
      port_(port),
      surfaces_(surfaces) {
  Timer_Rx->SetInterval(kQuietMs);
  Timer_Rx->SetHandler([this] { Timer_RxTimer(); });
  Timer_Wait->SetInterval(kWaitIntervalMs);
  Timer_Wait->SetHandler([this] {
    // The parked action runs once, between the running operation's steps; it passes DeferIfBusy
    // again before sending.
    Timer_Wait->SetEnabled(false);
    resumeAfterSend_ = true;
    if (auto action = parkedAction_) action();
    // An action that sent nothing (its own gate refused) leaves the operation to go on.
    if (std::exchange(resumeAfterSend_, false) && OperationMode != omIdle && !Timer_Rx->Enabled()) {
      Timer_Programm->SetEnabled(true);
    }
  });
  Timer_Programm->SetInterval(kProgrammIntervalMs);
  port_.SetReadSizeProvider([this] { return static_cast<std::size_t>(ExpectedLength); });
  port_.SetReceiveHandler([this](const uint8_t* bytes, std::size_t count) { ComPort1RxChar(bytes, count); });
  // A request that never left the PC: reported like a write that failed at once; the request
  // then ends by its time-out, as one that found no panel.
  port_.SetSendFailureHandler([this](const std::string&) { ReportSendFailure(true); });
}

Link::~Link() {
  port_.SetReceiveHandler(nullptr);
  port_.SetReadSizeProvider(nullptr);
  port_.SetSendFailureHandler(nullptr);
}

uint32_t Link::ReadTimeoutMs() const {
  if (OperationMode == omSearch) return SearchDelay;
  return ReadTimeoutMsFor(BaudIndex);
}

bool Link::Transmit(uint16_t length, bool logged, bool closeOnFailure) {
  LogMemo& memo = surfaces_.memo1;
  if (logged) {
    memo.SetColor(MemoColor::Red);
    memo.Clear();
    for (const auto& line : FormatTxLines(FrameBuffer.data(), length)) memo.AddLine(line);
    memo.AddLine(text::kRxPlaceholder);
  }
  // Only MODBUS requests are matched with their replies; loader frames are logged neither.
  awaited_.reset();
  if (logged) awaited_ = RequestHead{FrameBuffer[0], FrameBuffer[1]};
  // Whatever was received belongs to an earlier request: the new request overwrote it, and
  // bytes of a late reply still waiting in the port must not be taken for this one's answer.
  RxCount = 0;
  const bool resume = std::exchange(resumeAfterSend_, false);
  lineHeldBy_.clear();
  try {
    // A running operation keeps the line between its steps; a single request only while open.
    port_.HoldLine(OperationMode != omIdle);
    port_.Open();
    port_.DiscardInput();
    if (port_.Write(FrameBuffer.data(), length) != length) throw SerialPortError("short write");
  } catch (const SerialPortError& e) {
    lineHeldBy_ = dynamic_cast<const LineInUse*>(&e) != nullptr ? e.what() : "";
    ReportSendFailure(closeOnFailure);
    // No receive cycle follows to unlock the parameter controls: left locked, every scroll bar
    // and radio button would do nothing, silently, until some later request was answered.
    ControlsLocked = 0;
    // No receive cycle follows: the operation the request came between goes on from here.
    if (resume && OperationMode != omIdle) Timer_Programm->SetEnabled(true);
    return false;
  }
  return true;
}

void Link::ReportSendFailure(bool closePort) {
  if (closePort && port_.IsOpen()) {
    port_.AbortAllAsync();
    port_.Close();
  }
  surfaces_.memo1.SetColor(MemoColor::Blue);
  surfaces_.memo1.AddLine(PortErrorLine(text::kPortOpenError));
}

void Link::ArmResponseTimer(uint32_t timeoutMs, std::size_t frameBytes) {
  if (timeoutMs != kKeepTimeout) responseTimeoutMs_ = timeoutMs;
  Timer_Rx->SetInterval(responseTimeoutMs_ + LineTimeMs(frameBytes, port_.BaudRate()));
  responseDeadlineMicros_ = clock_.NowMicros() + int64_t{Timer_Rx->Interval()} * 1000;
  Restart(*Timer_Rx);
}

bool Link::SendReadRequest(uint16_t start, uint16_t count) {
  BuildReadRequest(*this, start, count);
  if (!Transmit(fn::kRequestLength, true, true)) return false;
  ArmResponseTimer(ReadTimeoutMs(), fn::kRequestLength);
  return true;
}

bool Link::SendWriteRequest(uint16_t reg, uint16_t value) {
  BuildWriteRequest(*this, reg, value);
  if (!Transmit(fn::kRequestLength, true, false)) return false;
  ExpectedLength = fn::kWriteReplyLength;
  ArmResponseTimer(kWriteTimeoutMs, fn::kRequestLength);
  return true;
}

bool Link::SendFrame(uint8_t length, uint32_t timeoutMs) {
  if (!Transmit(length, true, false)) return false;
  ArmResponseTimer(timeoutMs, length);
  return true;
}

bool Link::SendLoaderFrame(uint16_t length, uint32_t timeoutMs) {
  length = std::min<uint16_t>(length, kFrameBufferSize);
  if (!Transmit(length, false, false)) return false;
  ArmResponseTimer(timeoutMs, length);
  return true;
}

void Link::ComPort1RxChar(const uint8_t* bytes, std::size_t count) {
  // Bytes that arrive when no response is awaited (a reply after its time-out) answer nothing.
  if (!Timer_Rx->Enabled()) return;
  const std::size_t limit = ExpectedLength == 0 ? kMaxResponseLength : ExpectedLength;
  const std::size_t n = std::min(count, limit);
  std::memcpy(FrameBuffer.data(), bytes, n);
  RxCount = static_cast<int32_t>(n);
  Timer_Rx->SetInterval(kQuietMs);
  Restart(*Timer_Rx);
}

namespace {
bool KeepsPortOpen(OperationMode mode) {
  switch (mode) {
    case omConfigRead: case omConfigWrite: case omLast15Count: case omLast15Pointers:
    case omLast15Record: case omDownloadPointers: case omUpgrade: case omSearch:
      return true;
    default:
      return false;
  }
}
}  // namespace

std::optional<FailureCode> FailureCodeFor(OperationMode mode, bool timeout) {
  switch (mode) {
    case omConfigRead: return fcConfigRead;
    case omConfigWrite: case omConfigApply: return fcConfigWrite;
    case omLast15Count: case omLast15Pointers: case omLast15Record: return fcArchiveLast15;
    case omDownloadPointers: case omDownloadRecords: return fcArchiveDownload;
    case omMonitorStart: case omMonitorPointer: case omMonitorPoll: case omMonitorRecord:
      return timeout ? fcMonitorTimeout : fcMonitorCrc;
    case omUpgrade: return fcUpgrade;
    case omSearch: return fcSearch;
    default: return std::nullopt;
  }
}

// A frame with a good CRC that is not the answer (another slave, another function: a reply that
// came too late for its own request, or another master's traffic) is dropped, and the request
// waits on for its own answer until its time-out. True when the cycle must stop here.
bool Link::DropStrayReply() {
  if (RxCount <= 0 || !awaited_ || !CheckResponseCrc(*this)) return false;
  if (AnswersRequest(*awaited_, FrameBuffer.data(), static_cast<std::size_t>(RxCount))) return false;
  RxCount = 0;
  const int64_t leftMicros = responseDeadlineMicros_ - clock_.NowMicros();
  if (leftMicros <= 0) return false;  // its time is up: the cycle reports the time-out
  Timer_Rx->SetInterval(static_cast<uint32_t>((leftMicros + 999) / 1000));
  Restart(*Timer_Rx);
  return true;
}

void Link::Timer_RxTimer() {
  Timer_Rx->SetEnabled(false);
  if (DropStrayReply()) return;
  // Closed between steps, the line stays held for the operation (see ReceiveTail).
  if (!KeepsPortOpen(OperationMode)) port_.Close();
  surfaces_.memo1.SetColor(MemoColor::Blue);
  if (RxCount > 0) {
    if (upgradeHook_ && upgradeHook_()) return;
    if (CheckResponseCrc(*this)) {
      LogResponse();
      DispatchResponse();
    } else {
      ReportLinkFailure(false);
    }
  } else {
    ReportLinkFailure(true);
  }
  ReceiveTail();
}

void Link::ReportLinkFailure(bool timeout) {
  if (const auto code = FailureCodeFor(OperationMode, timeout)) {
    ReportFailure(*code);
    return;
  }
  OperationMode = omIdle;
  ClosePort();
  surfaces_.memo1.AddLine(timeout ? text::kTimeOut : text::kCrcError);
}

void Link::ReceiveTail() {
  if (OperationMode == omIdle) port_.HoldLine(false);
  RxCount = 0;
  ResponseKind = rkNone;
  ControlsLocked = 0;
  if (WaitPending == 1) {
    WaitPending = 0;
    Restart(*Timer_Wait);
  } else if (OperationMode != omIdle) {
    Timer_Programm->SetEnabled(true);
  }
}

void Link::LogResponse() {
  LogMemo& memo = surfaces_.memo1;
  memo.DeleteLastLine();
  const auto n = static_cast<std::size_t>(std::clamp<int32_t>(RxCount, 0, static_cast<int32_t>(kMaxResponseLength)));
  for (const auto& line : FormatRxLines(FrameBuffer.data(), n)) memo.AddLine(line);
}

void Link::DispatchResponse() {
  const uint8_t function = FrameBuffer[1];
  const zelor::ResponseKind kind = ResponseKind;
  auto run = [&](std::initializer_list<zelor::ResponseKind> kinds) {
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) return;
    if (function == fn::kWriteSingle && kind == rkConfigApply) {
      ApplyCompleted();
      if (handlers_[kind]) handlers_[kind]();  // the transfer's own lines follow the title
    } else if (handlers_[kind]) {
      handlers_[kind]();
    }
  };
  switch (function) {
    case fn::kReadHolding:
      run({rkParameterBlock, rkConfigBlockRead, rkLast15Count, rkLast15Pointers, rkLast15Record,
           rkDownloadPointers, rkDownloadRecords, rkRecordCount, rkMonitorStart, rkMonitorPointer,
           rkMonitorPoll, rkMonitorRecord, rkSearchProbe});
      surfaces_.memo1.AddLine(text::kOk);
      break;
    case fn::kWriteSingle:
      run({rkAddressWrite, rkBaudWrite, rkConfigApply, rkContrastWrite, rkClockTrimWrite, rkVolumeWrite,
           rkReg23Write});
      surfaces_.memo1.AddLine(text::kOk);
      break;
    case fn::kWriteMultiple:
      run({rkConfigBlockWrite});
      surfaces_.memo1.AddLine(text::kOk);
      break;
    case fn::kReadHolding | fn::kExceptionFlag:
    case fn::kWriteSingle | fn::kExceptionFlag:
    case fn::kWriteMultiple | fn::kExceptionFlag:
      surfaces_.memo1.AddLine(text::kExceptionReply);
      ReportRefusal();
      break;
    default:
      break;
  }
}

void Link::ReportRefusal() {
  // Only the operation's own step counts: a user's request let in between its steps is a single
  // request, and the search and the monitor go on as they do after any reply.
  switch (ResponseKind) {
    case rkConfigBlockRead: case rkConfigBlockWrite: case rkConfigApply: case rkLast15Count:
    case rkLast15Pointers: case rkLast15Record: case rkDownloadPointers: case rkDownloadRecords:
      break;
    default:
      return;
  }
  const auto code = FailureCodeFor(OperationMode, true);
  if (!code) return;
  const std::string why = text::kPanelRefused + ByteToHex(RxCount >= 3 ? FrameBuffer[2] : 0) + ".";
  switch (*code) {
    case fcConfigRead:
      CountFailure(*code, text::kConfigReadErrors, kConfigTransferErrorLimit, {text::kConfigReading, why});
      break;
    case fcConfigWrite:
      CountFailure(*code, text::kConfigWriteErrors, kConfigTransferErrorLimit, {text::kConfigWriting, why});
      break;
    case fcArchiveLast15:
    case fcArchiveDownload:
      CountFailure(*code, text::kArchiveErrors, kArchiveErrorLimit, {text::kArchiveReading, why});
      break;
    default:
      break;
  }
}

void Link::ApplyCompleted() {
  OperationMode = omIdle;
  UpdateStatusBar();
  surfaces_.progress1.SetVisible(false);
  surfaces_.memo1.Clear();
  surfaces_.memo1.AddLine(text::kConfigWriting);
  surfaces_.memo2.SetVisible(false);
  surfaces_.memo1.SetVisible(true);
}

void Link::CountFailure(FailureCode code, const char* panelPrefix, int32_t limit,
                        std::initializer_list<std::string> lines) {
  ++ErrorCount;
  surfaces_.status.SetPanelText(2, panelPrefix + FormatZeroPadded(static_cast<uint16_t>(ErrorCount), 2));
  if (ErrorCount > limit) GiveUp(code, lines);
}

void Link::GiveUp(FailureCode code, std::initializer_list<std::string> lines) {
  UpdateStatusBar();
  surfaces_.progress1.SetVisible(false);
  LogMemo& memo = surfaces_.memo1;
  memo.SetColor(MemoColor::Blue);
  memo.Clear();
  for (const std::string& line : lines) memo.AddLine(line);
  memo.SetVisible(true);
  surfaces_.memo2.SetVisible(false);
  if (abandonSteps_[code]) abandonSteps_[code]();
  OperationMode = omIdle;
  ClosePort();
}

void Link::ReportFailure(FailureCode code) {
  switch (code) {
    case fcConfigRead:
      CountFailure(code, text::kConfigReadErrors, kConfigTransferErrorLimit,
                   {text::kConfigReading, text::kNoPanelAnswer});
      break;
    case fcConfigWrite:
      CountFailure(code, text::kConfigWriteErrors, kConfigTransferErrorLimit,
                   {text::kConfigWriting, text::kNoPanelAnswer});
      break;
    case fcArchiveLast15:
    case fcArchiveDownload:
      CountFailure(code, text::kArchiveErrors, kArchiveErrorLimit, {text::kArchiveReading, text::kNoPanelAnswer});
      break;
    case fcMonitorCrc:
    case fcMonitorTimeout:
      surfaces_.memo1.SetColor(MemoColor::Blue);
      surfaces_.memo1.AddLine(code == fcMonitorCrc ? text::kCrcError : text::kTimeOut);
      break;
    case fcUpgrade:
      CountFailure(code, text::kUpgradeErrors, kUpgradeErrorLimit,
                   {text::kUpgradeTitle, text::kUpgradeNoAnswer, text::kUpgradeHintRestart, text::kUpgradeHintPort});
      break;
    case fcSearch:
      // The last address has been probed: the search ends without a find.
      if (DeviceAddress >= kHighestSlaveAddress && abandonSteps_[code]) abandonSteps_[code]();
      break;
  }
}

// Without this, no receive cycle would follow the unsent step and the sequence would halt with
// the operation still running: its buttons stuck and every starter refused, even after the port
// comes back. A port that cannot be opened now will not open in 5 ms either, so the operation ends
// at once, as when the panel stops answering, with the port's error in place of "no answer".
void Link::EndUnsentOperation() {
  const auto code = FailureCodeFor(OperationMode, true);
  if (!code) return;
  const std::string portError = PortErrorLine(text::kStoppedPortError);
  switch (*code) {
    case fcConfigRead: GiveUp(*code, {text::kConfigReading, portError}); break;
    case fcConfigWrite: GiveUp(*code, {text::kConfigWriting, portError}); break;
    case fcArchiveLast15:
    case fcArchiveDownload: GiveUp(*code, {text::kArchiveReading, portError}); break;
    case fcUpgrade: GiveUp(*code, {text::kUpgradeTitle, portError}); break;
    case fcSearch:
      // The search ends without a find below the port's error line.
      if (abandonSteps_[*code]) abandonSteps_[*code]();
      OperationMode = omIdle;
      ClosePort();
      break;
    case fcMonitorCrc:
    case fcMonitorTimeout: return;  // the monitor sends the step again by itself
  }
  ResponseKind = rkNone;
}

std::string Link::PortErrorLine(const char* prefix) const {
  return prefix + port_.PortName() + (lineHeldBy_.empty() ? "" : " (" + lineHeldBy_ + ")");
}

void Link::StopOnSendFailure(const char* title) {
  UpdateStatusBar();  // also puts the menu's rate back on the port
  surfaces_.progress1.SetVisible(false);
  LogMemo& memo = surfaces_.memo1;
  memo.SetColor(MemoColor::Blue);
  memo.Clear();
  memo.AddLine(title);
  memo.AddLine(PortErrorLine(text::kStoppedPortError));
  memo.SetVisible(true);
  surfaces_.memo2.SetVisible(false);
  OperationMode = omIdle;
  ResponseKind = rkNone;
  // A failed write can leave the port open; the next request opens it afresh.
  ClosePort();
}

bool Link::DeferIfBusy(std::function<void()> action) {
  if (OperationMode == omIdle) {
    Timer_Wait->SetEnabled(false);
    WaitPending = 0;
    Timer_Programm->SetInterval(kResumeIntervalMs);
    return false;
  }
  Timer_Programm->SetEnabled(false);
  Timer_Programm->SetInterval(kWaitIntervalMs);
  if (Timer_Rx->Enabled()) {
    parkedAction_ = std::move(action);
    WaitPending = 1;
    return true;
  }
  Timer_Wait->SetEnabled(false);
  WaitPending = 0;
  Timer_Programm->SetInterval(kResumeIntervalMs);
  resumeAfterSend_ = true;
  return false;
}

void Link::RegisterHandler(zelor::ResponseKind kind, Handler handler) { handlers_[kind] = std::move(handler); }
void Link::SetAbandonSteps(FailureCode code, Handler steps) { abandonSteps_[code] = std::move(steps); }
void Link::SetUpgradeReceiveHook(UpgradeHook hook) { upgradeHook_ = std::move(hook); }

void Link::SetPcBaudIndex(uint8_t baudIndex) {
  const auto rate = BaudRateOf(baudIndex);
  if (!rate) return;
  PcBaudIndex = baudIndex;
  port_.SetBaudRate(*rate);
}

void Link::UpdateStatusBar() {
  if (const auto rate = BaudRateOf(PcBaudIndex)) port_.SetBaudRate(*rate);
  ClampBaudIndex(*this);
  surfaces_.status.SetPanelText(2, DeviceStatusLine(*this));
}

void Link::ClosePort() {
  port_.HoldLine(false);
  port_.Close();
}

}  // namespace zelor
