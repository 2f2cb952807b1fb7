#include "sim/fault_script.h"

#include <cstdlib>

namespace zelor::sim {

namespace {
struct Named {
  Fault fault;
  const char* name;
};
constexpr Named kNames[] = {{Fault::None, "none"},       {Fault::NoReply, "noreply"}, {Fault::BadCrc, "badcrc"},
                            {Fault::Exception, "exception"}, {Fault::Delayed, "delayed"}, {Fault::Split, "split"},
                            {Fault::Garbage, "garbage"}, {Fault::Short, "short"}};

bool ParseUnsigned(const std::string& text, uint32_t max, uint32_t& value) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
  if (v > max) return false;
  value = static_cast<uint32_t>(v);
  return true;
}
}  // namespace

bool ParsePlainDecimal(const std::string& text, double& value) {
  const auto point = text.find('.');
  const bool digitsOnly = text.find_first_not_of("0123456789.") == std::string::npos;
  const bool onePoint = point == std::string::npos || text.find('.', point + 1) == std::string::npos;
  const bool someDigit = text.find_first_of("0123456789") != std::string::npos;
  if (text.size() > 20 || !digitsOnly || !onePoint || !someDigit) return false;
  value = std::strtod(text.c_str(), nullptr);
  return true;
}

const char* FaultName(Fault fault) {
  for (const auto& n : kNames) {
    if (n.fault == fault) return n.name;
  }
  return "?";
}

std::optional<Fault> FaultFromName(const std::string& name) {
  for (const auto& n : kNames) {
    if (name == n.name) return n.fault;
  }
  return std::nullopt;
}

std::optional<FaultRule> ParseFaultRule(const std::string& text, std::string& error) {
  const auto at = text.find('@');
  const std::string kind = text.substr(0, at);
  FaultRule rule;
  const auto fault = FaultFromName(kind);
  if (!fault) {
    error = "unknown fault '" + kind + "' (noreply, badcrc, exception, delayed, split, garbage, short)";
    return std::nullopt;
  }
  rule.fault = *fault;
  if (at == std::string::npos) return rule;
  const std::string trigger = text.substr(at + 1);
  const auto eq = trigger.find('=');
  const std::string key = trigger.substr(0, eq);
  const std::string value = eq == std::string::npos ? "" : trigger.substr(eq + 1);
  uint32_t n = 0;
  if (key == "rate") {
    double p = 0;
    if (!ParsePlainDecimal(value, p) || p > 1.0) {
      error = "fault rate must be a number from 0 to 1: '" + value + "'";
      return std::nullopt;
    }
    rule.trigger = FaultRule::Trigger::Rate;
    rule.rate = p;
  } else if (key == "every" && ParseUnsigned(value, 1'000'000, n) && n >= 1) {
    rule.trigger = FaultRule::Trigger::Every;
    rule.every = n;
  } else if (key == "reg" && ParseUnsigned(value, 0xFFFF, n)) {
    rule.trigger = FaultRule::Trigger::Register;
    rule.reg = static_cast<uint16_t>(n);
  } else if (key == "first" && ParseUnsigned(value, 1'000'000, n)) {
    rule.trigger = FaultRule::Trigger::First;
    rule.first = n;
  } else {
    error = "bad fault trigger '" + trigger + "' (rate=P, every=N, reg=R, first=N)";
    return std::nullopt;
  }
  return rule;
}

FaultSpec FaultScript::Next(const std::vector<uint8_t>& request) {
  const uint32_t number = ++requests_;
  FaultSpec shaped;
  for (const auto& rule : rules_) {
    bool fires = false;
    switch (rule.trigger) {
      case FaultRule::Trigger::Always: fires = true; break;
      case FaultRule::Trigger::Rate: fires = std::uniform_real_distribution<double>(0.0, 1.0)(random_) < rule.rate; break;
      case FaultRule::Trigger::Every: fires = number % rule.every == 0; break;
      case FaultRule::Trigger::Register:
        fires = request.size() >= 4 && static_cast<uint16_t>(request[2] << 8 | request[3]) == rule.reg;
        break;
      case FaultRule::Trigger::First: fires = number <= rule.first; break;
    }
    if (fires) {
      shaped.fault = rule.fault;
      break;
    }
  }
  shaped.delayMicros = delayMicros;
  shaped.gapMicros = gapMicros;
  return shaped;
}

}  // namespace zelor::sim
