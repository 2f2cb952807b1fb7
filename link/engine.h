// The transaction engine: one request in flight, its response assembled, checked, logged and
// handed to the handler that ResponseKind names; failures reported in the running operation's words.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/clock.h"
#include "link/link_state.h"
#include "link/serial_port.h"
#include "link/surfaces.h"

namespace zelor {

// Failure report codes, chosen from the running OperationMode.
enum : uint8_t {
  fcConfigRead = 0,
  fcConfigWrite = 1,
  fcArchiveLast15 = 4,
  fcArchiveDownload = 7,
  fcMonitorCrc = 16,
  fcMonitorTimeout = 17,
  fcUpgrade = 250,
  fcSearch = 254,
};

class Link : public LinkState {
 public:
  static constexpr uint32_t kQuietMs = 5;
  static constexpr uint32_t kWriteTimeoutMs = 350;
  static constexpr uint32_t kWaitIntervalMs = 20;
  static constexpr uint32_t kResumeIntervalMs = 500;

  using Handler = std::function<void()>;
  // Returns 0xFF when it consumed the response.
  using UpgradeHook = std::function<uint8_t()>;

  Link(Clock& clock, SerialPort& port, LinkSurfaces surfaces);
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;
  ~Link();

  // Requests. They return false when the port could not be opened or written (already logged).
  bool SendReadRequest(uint16_t start, uint16_t count);
  bool SendWriteRequest(uint16_t reg, uint16_t value);
  // Sends the first `length` bytes of the function-16 frame already built in FrameBuffer;
  // timeoutMs 0 keeps Timer_Rx's previous interval.
  bool SendFrame(uint8_t length, uint32_t timeoutMs);
  // Boot-loader frames: the same open-write-arm steps with no log line.
  bool SendLoaderFrame(uint16_t length, uint32_t timeoutMs);

  // A completed port read: the port's bytes-received notification.
  void ComPort1RxChar(const uint8_t* bytes, std::size_t count);
  // The receive cycle, run when Timer_Rx expires.
  void Timer_RxTimer();
  void DispatchResponse();
  void ReportFailure(uint8_t code);
  // The gate of user actions: true = parked, the action will be run again later by Timer_Wait.
  bool DeferIfBusy(std::function<void()> action);

  // Features name their handlers, their extra give-up steps and the upgrade receive hook.
  void RegisterHandler(uint8_t responseKind, Handler handler);
  void SetAbandonSteps(uint8_t failureCode, Handler steps);
  void SetUpgradeReceiveHook(UpgradeHook hook);

  void ClosePort();
  void UpdateStatusBar() { surfaces_.status.UpdateStatusBar(); }
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
  void ArmResponseTimer(uint32_t timeoutMs);
  void LogResponse();
  void GiveUp(uint8_t code, std::initializer_list<const char*> lines);
  void CountFailure(uint8_t code, const char* panelPrefix, int32_t limit, std::initializer_list<const char*> lines);
  void ApplyCompleted();
  void ReceiveTail();

  Clock& clock_;
  SerialPort& port_;
  LinkSurfaces surfaces_;
  std::array<Handler, 256> handlers_{};
  std::array<Handler, 256> abandonSteps_{};
  UpgradeHook upgradeHook_;
  std::function<void()> parkedAction_;
};

// Restarts a timer's count-down whether or not it was running.
void Restart(Timer& timer);

}  // namespace zelor
