// The transaction engine: one request in flight, its response assembled, checked, logged and
// handed to the handler that ResponseKind names; failures reported in the running operation's words.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/clock.h"
#include "link/code_table.h"
#include "link/link_state.h"
#include "link/reply_match.h"
#include "link/serial_port.h"
#include "link/surfaces.h"

namespace zelor {

// Failure report codes, chosen from the running OperationMode.
enum class FailureCode : uint8_t {
  fcConfigRead = 0,
  fcConfigWrite = 1,
  fcArchiveLast15 = 4,
  fcArchiveDownload = 7,
  fcMonitorCrc = 16,
  fcMonitorTimeout = 17,
  fcUpgrade = 250,
  fcSearch = 254,
};

// The failure code of a running operation; none for a single request (idle or an unlisted mode).
std::optional<FailureCode> FailureCodeFor(OperationMode mode, bool timeout);

// An operation gives up when ErrorCount exceeds its limit (the 11th, 21st or 6th failure in a row).
constexpr int32_t kConfigTransferErrorLimit = 10;
constexpr int32_t kArchiveErrorLimit = 20;
constexpr int32_t kUpgradeErrorLimit = 5;

class Link : public LinkState {
 public:
  static constexpr uint32_t kQuietMs = 5;
  static constexpr uint32_t kWriteTimeoutMs = 350;
  static constexpr uint32_t kWaitIntervalMs = 20;
  static constexpr uint32_t kResumeIntervalMs = 500;
  static constexpr uint32_t kProgrammIntervalMs = 5;  // Timer_Programm's interval before any starter
  // SendFrame's time-out that keeps the previous request's time-out.
  static constexpr uint32_t kKeepTimeout = 0;

  using Handler = std::function<void()>;
  // True when it consumed the response (no log, no dispatch, no receive tail).
  using UpgradeHook = std::function<bool()>;

  Link(Clock& clock, SerialPort& port, LinkSurfaces surfaces);
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;
  ~Link();

  // Requests. They return false when the port could not be opened or written (already logged).
  bool SendReadRequest(uint16_t start, uint16_t count);
  bool SendWriteRequest(uint16_t reg, uint16_t value);
  // Sends the first `length` bytes of the function-16 frame already built in FrameBuffer;
  // timeoutMs kKeepTimeout keeps the previous request's time-out. Every time-out is counted from
  // the end of the frame on the line: its line time at the port's rate is added.
  bool SendFrame(uint8_t length, uint32_t timeoutMs);
  // Boot-loader frames: the same open-write-arm steps with no log line. Their replies are not
  // matched with the request: the loader's acknowledgement carries no address.
  bool SendLoaderFrame(uint16_t length, uint32_t timeoutMs);

  // A completed port read: the port's bytes-received notification.
  void ComPort1RxChar(const uint8_t* bytes, std::size_t count);
  // The receive cycle, run when Timer_Rx expires.
  void Timer_RxTimer();
  void DispatchResponse();
  void ReportFailure(FailureCode code);
  // A step of the running operation could not be sent (the port cannot be opened or written):
  // the operation ends by its give-up with the port's error line. Monitoring goes on.
  void EndUnsentOperation();
  // An operation whose request could not be sent stops here, with `title` and the port's error in
  // the log: nothing is armed after such a send, so it would neither go on nor end.
  void StopOnSendFailure(const char* title);
  // The gate of user actions: true = parked, the action will be run again later by Timer_Wait.
  bool DeferIfBusy(std::function<void()> action);

  // Features name their handlers, their extra give-up steps and the upgrade receive hook.
  void RegisterHandler(zelor::ResponseKind kind, Handler handler);
  void SetAbandonSteps(FailureCode code, Handler steps);
  void SetUpgradeReceiveHook(UpgradeHook hook);

  // The rate chosen in the "BaudRate" menu: held here and put on the PC port at once. An index
  // outside the table changes nothing.
  void SetPcBaudIndex(uint8_t baudIndex);
  // Puts the chosen rate back on the port (an upgrade switches it to the loader's), resets a
  // BaudIndex outside the table and rewrites status panel 2 with the device line.
  void UpdateStatusBar();

  // Closes the port and lets the line go: the ends and stops of operations, and single requests.
  void ClosePort();
  uint32_t ReadTimeoutMs() const;

  Clock& clock() { return clock_; }
  SerialPort& port() { return port_; }
  LinkSurfaces& surfaces() { return surfaces_; }

  std::unique_ptr<Timer> Timer_Rx;
  std::unique_ptr<Timer> Timer_Wait;
  std::unique_ptr<Timer> Timer_Programm;

 private:
  // A failed read request also closes the port; the other requests leave it as it was.
  bool Transmit(uint16_t length, bool logged, bool closeOnFailure);
  // The send-failure line in the log, after closing the port when asked.
  void ReportSendFailure(bool closePort);
  // `prefix` and the port's name, with the other program that holds the line when that is why the
  // last send failed: the send-failure line, or the line an operation stops with.
  std::string PortErrorLine(const char* prefix) const;
  // Every time-out counts from the moment the request has left the line: a frame queued at a low
  // rate takes its own line time before the panel can start to answer.
  void ArmResponseTimer(uint32_t timeoutMs, std::size_t frameBytes);
  bool DropStrayReply();
  void ReportLinkFailure(bool timeout);
  // An exception reply to a step of a transfer or an archive reading: counted like a missing
  // answer, since a panel that refused a step refuses it again.
  void ReportRefusal();
  void LogResponse();
  void GiveUp(FailureCode code, std::initializer_list<std::string> lines);
  void CountFailure(FailureCode code, const char* panelPrefix, int32_t limit,
                    std::initializer_list<std::string> lines);
  void ApplyCompleted();
  void ReceiveTail();

  Clock& clock_;
  SerialPort& port_;
  LinkSurfaces surfaces_;
  CodeTable<zelor::ResponseKind, Handler> handlers_;
  CodeTable<FailureCode, Handler> abandonSteps_;
  UpgradeHook upgradeHook_;
  std::function<void()> parkedAction_;
  // The request that waits for its answer; none for a loader frame.
  std::optional<RequestHead> awaited_;
  int64_t responseDeadlineMicros_ = 0;
  // Why the last send failed when another program holds the line (its refusal), else empty.
  std::string lineHeldBy_;
  // The last time-out asked for, before the request's line time is added (kept by kKeepTimeout).
  uint32_t responseTimeoutMs_ = kQuietMs;
  // A user's request comes between a running operation's steps (let through by DeferIfBusy, or
  // a parked action): its receive cycle resumes the operation, or, when it cannot be sent or the
  // action sends nothing, the send failure or the end of the parked action does.
  bool resumeAfterSend_ = false;
};

// Restarts a timer's count-down whether or not it was running.
void Restart(Timer& timer);

}  // namespace zelor
