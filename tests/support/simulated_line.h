// A serial line on the virtual clock joining the engine to an in-process panel: requests reach
// the panel, replies come back byte by byte at the line rate, bent by scripted faults.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/read_assembler.h"
#include "link/serial_port.h"
#include "sim/panel.h"
#include "sim/reply_shaping.h"
#include "virtual_clock.h"

namespace zelor::test {

class SimulatedLine : public SerialPort {
 public:
  SimulatedLine(VirtualClock& clock, sim::Panel& panel);
  ~SimulatedLine() override;

  void Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  std::size_t Write(const uint8_t* bytes, std::size_t count) override;
  void AbortAllAsync() override {}
  void DiscardInput() override { assembler_.Reset(); }
  void SetBaudRate(uint32_t baud) override { timing.baud = baud; }
  uint32_t BaudRate() const override { return timing.baud; }
  void SetPort(const std::string& name) override;
  std::string PortName() const override { return name_; }

  // The next requests get these faults, one each, in order; afterwards `defaultFault`.
  void QueueFault(sim::FaultSpec fault) { faults_.push_back(std::move(fault)); }
  void QueueFault(sim::Fault fault) { faults_.push_back(sim::MakeFault(fault)); }
  // Bytes appearing on the line `delayMicros` from now, as if sent by the panel.
  void Inject(int64_t delayMicros, std::vector<uint8_t> bytes);

  sim::FaultSpec defaultFault;
  // Chooses the fault of each request once the queued ones are used up; empty: `defaultFault`.
  std::function<sim::FaultSpec(const std::vector<uint8_t>& request)> faultFor;
  sim::LineTiming timing;
  bool failOpen = false;
  // Another program holds the line: Open refuses with this text (LineInUse).
  std::string heldBy;
  // The engine's hold on the line (kept while closed between an operation's steps).
  void HoldLine(bool hold) override { held = hold; }
  bool held = false;
  bool failWrite = false;
  // The adapter stalls: writes are accepted but never leave; `stallMicros` later the line
  // reports the send failure and closes, as the Qt adapter does.
  bool stallWrite = false;
  int64_t stallMicros = 100'000;
  std::vector<std::vector<uint8_t>> requests;
  std::vector<int64_t> requestMicros;   // when each request was written
  int64_t lastArrivalMicros = -1;       // when the last reply byte reached the port
  int opens = 0;
  int closes = 0;

 private:
  void Arrive(const std::vector<uint8_t>& bytes);

  VirtualClock& clock_;
  sim::Panel& panel_;
  ReadAssembler assembler_;
  std::deque<sim::FaultSpec> faults_;
  std::set<uint64_t> inFlight_;
  std::string name_ = "SIM1";
  bool open_ = false;
};

}  // namespace zelor::test
