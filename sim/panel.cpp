#include "sim/panel.h"

#include <algorithm>

#include "link/crc16.h"
#include "link/line_rates.h"
#include "link/registers.h"
#include "sim/sample_image.h"

namespace zelor::sim {

namespace {
uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

constexpr uint16_t kReserved4 = 4;
constexpr uint16_t kReserved5 = 5;
constexpr uint16_t kReserved21 = 21;
constexpr uint16_t kLastPlainRegister = reg::kSilenceLight;  // 25
constexpr uint16_t kMaxReadRegisters = 125;
// An RTU frame holds at most 256 bytes (and the tool reads at most 255), so 20 records of 12
// bytes are the most one reply carries.
constexpr uint16_t kMaxReadRecords = 20;
constexpr uint16_t kClockTrimSpan = 4;
constexpr uint16_t kMaxExtraTimeout = 4800;
constexpr uint16_t kVolumeOff = 6;

bool IsClockRegister(uint16_t r) { return r >= reg::kClockHour && r <= reg::kClockYear; }
bool IsConfigRegister(uint32_t r) {
  return r >= reg::kConfigPageBase && r < reg::kConfigPageBase + kPageCount;
}
}  // namespace

uint32_t BaudOfSpeedCode(uint16_t code) { return BaudRateOf(code - 1).value_or(0); }

uint16_t SpeedCodeOfBaud(uint32_t baud) {
  const auto index = BaudIndexOf(baud);
  return index ? static_cast<uint16_t>(*index + 1) : 0;
}

Panel::Panel() : Panel(PanelOptions{}) {}

Panel::Panel(PanelOptions options)
    : address_(options.address >= 1 && options.address <= 247 ? options.address : 247),
      clock_(std::move(options.now)),
      generator_(options.seed),
      config_(options.image.empty() ? SampleImage() : options.image) {
  registers_[reg::kExternalSpeed] = BaudOfSpeedCode(options.externalSpeedCode) ? options.externalSpeedCode : 8;
  registers_[reg::kIntegralState] = 0x01;  // normal, no alarm
  registers_[kReserved4] = 0;
  registers_[kReserved5] = 0;
  registers_[reg::kFireOutputMode] = 0;
  registers_[reg::kFireOutputDuration] = 0;
  registers_[reg::kAlarmOutputMode] = 1;
  registers_[reg::kAlarmOutputDuration] = 1;
  registers_[reg::kLcdContrast] = 35;
  registers_[reg::kClockTrim] = reg::kClockTrimCentre;
  registers_[reg::kSounderVolume] = 1;  // loudest
  registers_[reg::kInternalSpeed] = 4;  // 9600
  registers_[kReserved21] = 0;
  registers_[reg::kPollingTime] = 200;  // 0.125 s
  registers_[reg::kExtraTimeout] = 16;  // 10 ms
  registers_[reg::kSilenceSound] = 0;
  registers_[reg::kSilenceLight] = 0;
  FillArchive(archive_, generator_, options.records, options.wrapped, clock_.Now());
  SetEventEvery(options.eventEveryMicros);
}

void Panel::set_address(uint8_t a) {
  if (a >= 1 && a <= 247) address_ = a;
}

uint32_t Panel::externalBaud() const { return BaudOfSpeedCode(registers_.at(reg::kExternalSpeed)); }

std::optional<uint16_t> Panel::ReadOne(uint16_t r) const {
  if (auto it = extra_.find(r); it != extra_.end()) return it->second;
  if (r == reg::kTypeCode) return reg::kPanelTypeValue;
  if (r == reg::kPanelAddress) return address_;
  if (r == reg::kRecordCount) return archive_.Count();
  if (IsClockRegister(r)) {
    const int field = r - reg::kClockHour;
    if (auto it = pinnedClock_.find(field); it != pinnedClock_.end()) return it->second;
    return clock_.Field(field);
  }
  if (r == reg::kArchiveNewest) return archive_.Newest();
  if (r == reg::kArchiveOldest) return archive_.Oldest();
  if (auto it = registers_.find(r); it != registers_.end()) {
    // Commands read back as 0: they act, they are not stored.
    return r == reg::kSilenceSound || r == reg::kSilenceLight ? uint16_t{0} : it->second;
  }
  return std::nullopt;
}

std::optional<uint16_t> Panel::Register(uint16_t r) const { return ReadOne(r); }

void Panel::SetRegister(uint16_t r, uint16_t value) {
  if (IsClockRegister(r)) {
    const int field = r - reg::kClockHour;
    if (PanelClock::FieldInRange(field, value) && clock_.SetField(field, value)) {
      pinnedClock_.erase(field);
    } else {
      pinnedClock_[field] = value;
    }
  } else if (r <= kLastPlainRegister && registers_.count(r) != 0) {
    registers_[r] = value;
  } else {
    extra_[r] = value;
  }
}

std::vector<uint8_t> Panel::Sealed(std::vector<uint8_t> frame) const {
  const std::size_t n = frame.size();
  frame.resize(n + 2);
  AppendCrc16(frame.data(), static_cast<uint16_t>(n));
  return frame;
}

std::vector<uint8_t> Panel::Exception(uint8_t function, uint8_t code) const {
  return Sealed({address_, static_cast<uint8_t>(function | fn::kExceptionFlag), code});
}

std::optional<std::vector<uint8_t>> Panel::Handle(const uint8_t* request, std::size_t length) {
  lastOutcome_ = Outcome::Malformed;
  if (request == nullptr || length == 0 || length > 1024) return std::nullopt;
  if (inBootLoader_) {
    auto ack = loader_.Handle(request, length);
    lastOutcome_ = ack ? Outcome::Answered : Outcome::LoaderRefused;
    if (loader_.finished()) {
      inBootLoader_ = false;  // back to being a panel
      ++upgradesFinished_;
    }
    return ack;
  }
  if (length < 4) return std::nullopt;
  if (!Crc16Matches(request, length)) {
    lastOutcome_ = Outcome::BadCrc;
    return std::nullopt;
  }
  if (request[0] != address_) {
    lastOutcome_ = Outcome::OtherAddress;
    return std::nullopt;
  }
  lastOutcome_ = Outcome::Answered;
  const uint8_t function = request[1];
  switch (function) {
    case fn::kReadHolding:
      if (length != 8) return Exception(function, kIllegalValue);
      return Read(Word(request + 2), Word(request + 4));
    case fn::kWriteSingle:
      if (length != 8) return Exception(function, kIllegalValue);
      return WriteSingle(request);
    case fn::kWriteMultiple: return WriteMultiple(request, length);
    default: return Exception(function, kIllegalFunction);
  }
}

std::vector<uint8_t> Panel::Read(uint16_t start, uint16_t count) {
  if (EventArchive::InRing(start) && extra_.count(start) == 0) {
    // The ring is read in records: the count field counts 12-byte records, and a read never
    // runs past the last ring address.
    if (count == 0 || count > kMaxReadRecords) return Exception(fn::kReadHolding, kIllegalValue);
    auto records = archive_.ReadRecords(start, count);
    std::vector<uint8_t> frame{address_, fn::kReadHolding, static_cast<uint8_t>(records.size())};
    frame.insert(frame.end(), records.begin(), records.end());
    return Sealed(std::move(frame));
  }
  if (IsConfigRegister(start) && extra_.count(start) == 0) {
    if (count == 0 || count > kMaxReadRegisters) return Exception(fn::kReadHolding, kIllegalValue);
    auto bytes = config_.Read(start - reg::kConfigPageBase, 2U * count);
    if (!bytes) return Exception(fn::kReadHolding, kIllegalAddress);
    std::vector<uint8_t> frame{address_, fn::kReadHolding, static_cast<uint8_t>(bytes->size())};
    frame.insert(frame.end(), bytes->begin(), bytes->end());
    return Sealed(std::move(frame));
  }
  return ReadRegisters(start, count);
}

std::vector<uint8_t> Panel::ReadRegisters(uint16_t start, uint16_t count) {
  if (count == 0 || count > kMaxReadRegisters) return Exception(fn::kReadHolding, kIllegalValue);
  std::vector<uint8_t> frame{address_, fn::kReadHolding, static_cast<uint8_t>(2 * count)};
  for (uint32_t r = start; r < static_cast<uint32_t>(start) + count; ++r) {
    const auto value = r <= 0xFFFF ? ReadOne(static_cast<uint16_t>(r)) : std::nullopt;
    if (!value) return Exception(fn::kReadHolding, kIllegalAddress);
    frame.push_back(static_cast<uint8_t>(*value >> 8));
    frame.push_back(static_cast<uint8_t>(*value & 0xFF));
  }
  return Sealed(std::move(frame));
}

uint8_t Panel::CheckWrite(uint16_t r, uint16_t v) const {
  if (extra_.count(r) != 0) return 0;
  if (IsClockRegister(r)) return PanelClock::FieldInRange(r - reg::kClockHour, v) ? 0 : kIllegalValue;
  switch (r) {
    case reg::kPanelAddress: return v >= 1 && v <= 247 ? 0 : kIllegalValue;
    case reg::kExternalSpeed:
    case reg::kInternalSpeed: return BaudOfSpeedCode(v) != 0 ? 0 : kIllegalValue;
    case reg::kFireOutputMode:
    case reg::kAlarmOutputMode: return v <= 2 ? 0 : kIllegalValue;
    case reg::kFireOutputDuration:
    case reg::kAlarmOutputDuration: return v <= 1 ? 0 : kIllegalValue;
    case reg::kLcdContrast: return (v & 0xFF) != 0 ? 0 : kIllegalValue;
    case reg::kClockTrim:
      return v >= reg::kClockTrimCentre - kClockTrimSpan && v <= reg::kClockTrimCentre + kClockTrimSpan
                 ? 0
                 : kIllegalValue;
    case reg::kSounderVolume: return v >= 1 && v <= kVolumeOff ? 0 : kIllegalValue;
    case reg::kPollingTime: return v != 0 ? 0 : kIllegalValue;
    case reg::kExtraTimeout: return v <= kMaxExtraTimeout ? 0 : kIllegalValue;
    case reg::kSilenceSound:
    case reg::kSilenceLight: return 0;
    default: return kIllegalAddress;  // read-only (type, state, count, pointers) or not there
  }
}

void Panel::Store(uint16_t r, uint16_t v) {
  if (extra_.count(r) != 0) {
    extra_[r] = v;
  } else if (r == reg::kSilenceSound) {
    ++soundSilenced_;
  } else if (r == reg::kSilenceLight) {
    ++lightSilenced_;
  } else if (r == reg::kLcdContrast) {
    registers_[r] = v & 0xFF;  // the high byte (0xA9) only marks the write
  } else {
    registers_[r] = v;
  }
}

std::vector<uint8_t> Panel::WriteSingle(const uint8_t* request) {
  const uint16_t r = Word(request + 2);
  const uint16_t value = Word(request + 4);
  std::vector<uint8_t> echo(request, request + 8);
  if (r == reg::kConfigApply && extra_.count(r) == 0) {
    if (value != reg::kConfigApplyValue) return Exception(fn::kWriteSingle, kIllegalValue);
    // A configuration whose image CRC is wrong is refused and the old one stays in force.
    if (!config_.Apply()) return Exception(fn::kWriteSingle, kDeviceFailure);
    ++writes_;
    return echo;
  }
  if (const uint8_t refusal = CheckWrite(r, value); refusal != 0) return Exception(fn::kWriteSingle, refusal);
  ++writes_;
  if (IsClockRegister(r)) {
    clock_.SetField(r - reg::kClockHour, value);
    pinnedClock_.clear();
  } else if (r == reg::kPanelAddress) {
    address_ = static_cast<uint8_t>(value);  // the echo was built first: it leaves from the old address
  } else {
    Store(r, value);
  }
  return echo;
}

std::vector<uint8_t> Panel::WriteMultiple(const uint8_t* request, std::size_t length) {
  if (length < 9) return Exception(fn::kWriteMultiple, kIllegalValue);
  const uint16_t start = Word(request + 2);
  const uint16_t quantity = Word(request + 4);
  const uint8_t byteCount = request[6];
  if (length != 9U + byteCount) return Exception(fn::kWriteMultiple, kIllegalValue);
  const uint8_t* data = request + 7;
  auto ack = [&] { return Sealed({address_, fn::kWriteMultiple, request[2], request[3], request[4], request[5]}); };

  if (IsConfigRegister(start) && extra_.count(start) == 0) {
    // The tool's block write says quantity 1 for its 192 bytes; a standard one says 96.
    const bool toolBlock = quantity == reg::kConfigBlockQuantity && byteCount == reg::kConfigBlockBytes;
    if (byteCount == 0 || (!toolBlock && byteCount != 2U * quantity)) return Exception(fn::kWriteMultiple, kIllegalValue);
    if (!config_.Write(start - reg::kConfigPageBase, data, byteCount)) return Exception(fn::kWriteMultiple, kIllegalAddress);
    ++writes_;
    return ack();
  }

  if (quantity == 0 || byteCount != 2U * quantity) return Exception(fn::kWriteMultiple, kIllegalValue);
  if (static_cast<uint32_t>(start) + quantity > 0x10000U) return Exception(fn::kWriteMultiple, kIllegalAddress);
  for (uint16_t i = 0; i < quantity; ++i) {
    const auto r = static_cast<uint16_t>(start + i);
    if (r == reg::kConfigApply) return Exception(fn::kWriteMultiple, kIllegalAddress);
    if (const uint8_t refusal = CheckWrite(r, Word(data + 2 * i)); refusal != 0)
      return Exception(fn::kWriteMultiple, refusal);
  }
  // Clock fields are taken together, so that the time-set frame sets the clock in one step.
  uint16_t fields[PanelClock::kFieldCount];
  bool clockWritten = false;
  for (int f = 0; f < PanelClock::kFieldCount; ++f) fields[f] = clock_.Field(f);
  for (uint16_t i = 0; i < quantity; ++i) {
    const auto r = static_cast<uint16_t>(start + i);
    const uint16_t v = Word(data + 2 * i);
    if (IsClockRegister(r) && extra_.count(r) == 0) {
      fields[r - reg::kClockHour] = v;
      clockWritten = true;
    } else if (r == reg::kPanelAddress && extra_.count(r) == 0) {
      address_ = static_cast<uint8_t>(v);
    } else {
      Store(r, v);
    }
  }
  if (clockWritten) {
    clock_.SetFields(fields);
    pinnedClock_.clear();
  }
  ++writes_;
  // The acknowledgement leaves from the address the request was sent to.
  return Sealed({request[0], fn::kWriteMultiple, request[2], request[3], request[4], request[5]});
}

void Panel::SetEventEvery(int64_t micros) {
  eventEvery_ = std::max<int64_t>(micros, 0);
  nextEventAt_ = clock_.HostMicros() + eventEvery_;
}

std::optional<int64_t> Panel::NextEventMicros() const {
  if (eventEvery_ <= 0) return std::nullopt;
  return nextEventAt_;
}

void Panel::Service() {
  if (eventEvery_ <= 0) return;
  const int64_t now = clock_.HostMicros();
  for (int n = 0; n < reg::kArchiveCapacity && now >= nextEventAt_; ++n) {
    GenerateEvent();
    nextEventAt_ += eventEvery_;
  }
  if (now >= nextEventAt_) nextEventAt_ = now + eventEvery_;  // far behind: start afresh
}

EventRecord Panel::GenerateEvent() {
  const EventRecord record = generator_.Next(clock_.Now(), false);
  AddEvent(record);
  return record;
}

void Panel::AddEvent(const EventRecord& record) {
  archive_.Append(record);
  registers_[reg::kIntegralState] =
      IntegralStateAfter(static_cast<uint8_t>(registers_[reg::kIntegralState]), record);
}

void Panel::EnterBootLoader() {
  loader_.Reset();
  inBootLoader_ = true;
}

}  // namespace zelor::sim
