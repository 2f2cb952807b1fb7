// The simulated panel: a MODBUS-RTU slave that answers the tool's register reads and writes.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace zelor::sim {

class Panel {
 public:
  Panel();

  // Answers one request frame; nothing for a bad CRC or another address.
  std::optional<std::vector<uint8_t>> Handle(const uint8_t* request, std::size_t length);

  uint8_t address() const { return address_; }
  void set_address(uint8_t a) { address_ = a; }
  std::optional<uint16_t> Register(uint16_t reg) const;
  void SetRegister(uint16_t reg, uint16_t value) { registers_[reg] = value; }
  std::size_t writes() const { return writes_; }

 private:
  std::vector<uint8_t> Read(uint16_t start, uint16_t count);
  std::optional<std::vector<uint8_t>> WriteSingle(const uint8_t* request);
  std::vector<uint8_t> WriteMultiple(const uint8_t* request, std::size_t length);
  std::vector<uint8_t> Exception(uint8_t function, uint8_t code) const;
  std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) const;

  uint8_t address_ = 247;
  std::map<uint16_t, uint16_t> registers_;
  std::size_t writes_ = 0;
};

}  // namespace zelor::sim
