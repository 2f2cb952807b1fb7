// Scripted faults for the simulator program: which requests get which fault, chosen by a rate,
// by a period, by the first register of the request, or for the first few requests.
#pragma once
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/reply_shaping.h"

namespace zelor::sim {

struct FaultRule {
  enum class Trigger { Always, Rate, Every, Register, First };
  Fault fault = Fault::None;
  Trigger trigger = Trigger::Always;
  double rate = 1.0;       // Rate: probability for each request
  uint32_t every = 1;      // Every: each n-th request (n, 2n, ...)
  uint16_t reg = 0;        // Register: requests whose start register is this one
  uint32_t first = 0;      // First: the first n requests
};

const char* FaultName(Fault fault);
std::optional<Fault> FaultFromName(const std::string& name);

// A number as a person writes it: decimal digits with at most one point ("5", "0.25", ".5");
// no sign, exponent, hexadecimal, blanks or words such as "inf", so "0x10" is not taken as 16.
bool ParsePlainDecimal(const std::string& text, double& value);

// "KIND" or "KIND@TRIGGER" with TRIGGER one of rate=P, every=N, reg=R, first=N;
// on failure returns nothing and says why in `error`.
std::optional<FaultRule> ParseFaultRule(const std::string& text, std::string& error);

class FaultScript {
 public:
  explicit FaultScript(uint32_t seed = 1) : random_(seed) {}

  void Add(const FaultRule& rule) { rules_.push_back(rule); }
  bool empty() const { return rules_.empty(); }
  int64_t delayMicros = 400'000;  // for Fault::Delayed
  int64_t gapMicros = 200'000;    // for Fault::Split

  // The fault for the next request (every request counts, the first rule that fires wins).
  FaultSpec Next(const std::vector<uint8_t>& request);

 private:
  std::vector<FaultRule> rules_;
  std::mt19937 random_;
  uint32_t requests_ = 0;
};

}  // namespace zelor::sim
