// The simulated panel: a MODBUS-RTU slave with the panel's registers, clock, event archive,
// configuration memory and boot loader, answering one whole request frame at a time.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "sim/boot_loader.h"
#include "sim/config_memory.h"
#include "sim/event_archive.h"
#include "sim/event_generator.h"
#include "sim/panel_clock.h"

namespace zelor::sim {

// MODBUS exception codes the panel answers with.
enum : uint8_t {
  kIllegalFunction = 1,
  kIllegalAddress = 2,
  kIllegalValue = 3,
  kDeviceFailure = 4,
};

struct PanelOptions {
  uint8_t address = 247;
  TimeSource now;                  // empty: the host's local time
  uint32_t records = 100;          // generated archive records
  bool wrapped = false;            // fill the ring first, so that it has wrapped
  uint32_t seed = 1;               // where the event cycle starts
  std::vector<uint8_t> image;      // empty: the built-in sample configuration
  int64_t eventEveryMicros = 0;    // 0: no events of its own
  uint8_t externalSpeedCode = 8;   // 57600 baud
};

class Panel {
 public:
  Panel();
  explicit Panel(PanelOptions options);

  // Answers one request frame; nothing for a bad CRC or another address. In boot-loader mode
  // the frame is a loader frame, answered with 07 A5 when good.
  std::optional<std::vector<uint8_t>> Handle(const uint8_t* request, std::size_t length);

  uint8_t address() const { return address_; }
  void set_address(uint8_t a);
  // What a one-register read returns, for the plain registers (0..25, 9692, 9693 and any set
  // by SetRegister); nothing for the archive ring and the configuration pages.
  std::optional<uint16_t> Register(uint16_t reg) const;
  // Sets what a register reads, without the checks or side effects of a write: a valid clock
  // field moves the clock (any other value pins the field until the clock is next set), a stored
  // parameter takes the value, and any other register (the address and the type code included)
  // is pinned to it as a plain read/write register. The address in force is set_address's.
  void SetRegister(uint16_t reg, uint16_t value);
  std::size_t writes() const { return writes_; }

  // Writes the generated events that are due by now; call it often.
  void Service();
  // Host time (of the time source) at which the next generated event is due; nothing when off.
  std::optional<int64_t> NextEventMicros() const;
  void SetEventEvery(int64_t micros);
  // A generated event, written now (the "event on command").
  EventRecord GenerateEvent();
  void AddEvent(const EventRecord& record);

  void EnterBootLoader();
  bool inBootLoader() const { return inBootLoader_; }
  // Speed in force on the external interface (from register 2), and what the line runs at now.
  uint32_t externalBaud() const;
  uint32_t lineBaud() const { return inBootLoader_ ? BootLoader::kBaud : externalBaud(); }

  PanelClock& clock() { return clock_; }
  const PanelClock& clock() const { return clock_; }
  EventArchive& archive() { return archive_; }
  const EventArchive& archive() const { return archive_; }
  ConfigMemory& config() { return config_; }
  const ConfigMemory& config() const { return config_; }
  BootLoader& loader() { return loader_; }
  const BootLoader& loader() const { return loader_; }
  std::size_t upgradesFinished() const { return upgradesFinished_; }
  std::size_t soundSilenced() const { return soundSilenced_; }
  std::size_t lightSilenced() const { return lightSilenced_; }

  // Why the last frame got the answer it got, for the traffic log.
  enum class Outcome { Answered, Malformed, BadCrc, OtherAddress, LoaderRefused };
  Outcome lastOutcome() const { return lastOutcome_; }

 private:
  std::vector<uint8_t> Read(uint16_t start, uint16_t count);
  std::vector<uint8_t> ReadRegisters(uint16_t start, uint16_t count);
  std::vector<uint8_t> WriteSingle(const uint8_t* request);
  std::vector<uint8_t> WriteMultiple(const uint8_t* request, std::size_t length);
  std::optional<uint16_t> ReadOne(uint16_t reg) const;
  // The value a write would store, or the exception code refusing it.
  uint8_t CheckWrite(uint16_t reg, uint16_t value) const;
  void Store(uint16_t reg, uint16_t value);
  std::vector<uint8_t> Exception(uint8_t function, uint8_t code) const;
  std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) const;

  uint8_t address_;
  PanelClock clock_;
  EventArchive archive_;
  EventGenerator generator_;
  ConfigMemory config_;
  BootLoader loader_;
  std::map<uint16_t, uint16_t> registers_;      // the panel's plain parameters
  std::map<uint16_t, uint16_t> extra_;          // registers a test added
  std::map<int, uint16_t> pinnedClock_;         // clock fields a test pinned to odd values
  int64_t eventEvery_ = 0;
  int64_t nextEventAt_ = 0;
  bool inBootLoader_ = false;
  std::size_t writes_ = 0;
  std::size_t upgradesFinished_ = 0;
  std::size_t soundSilenced_ = 0;
  std::size_t lightSilenced_ = 0;
  Outcome lastOutcome_ = Outcome::Answered;
};

// 1..8 = 1200 .. 57600 baud; 0 for any other code.
uint32_t BaudOfSpeedCode(uint16_t code);
uint16_t SpeedCodeOfBaud(uint32_t baud);

}  // namespace zelor::sim
