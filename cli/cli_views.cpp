#include "cli/cli_views.h"

#include <iostream>

namespace zelor::cli {

void KeptParameters::SetComboIndex(ParamCombo combo, int index) { combos[combo] = index; }

void KeptParameters::ShowComboText(ParamCombo combo, const std::string&) { combos.erase(combo); }

std::optional<int> KeptParameters::ComboIndex(ParamCombo combo) const {
  const auto it = combos.find(combo);
  if (it == combos.end()) return std::nullopt;
  return it->second;
}

int KeptParameters::SpinValue(ParamSpin spin) const {
  const auto it = spins.find(spin);
  return it == spins.end() ? 0 : it->second;
}

}  // namespace zelor::cli

namespace zelor::cli {

void PrintedMonitor::AddLine(const std::string& line) {
  ++printed;
  if (json_) {
    std::cout << "{\"line\": " << JsonString(line) << "}" << std::endl;
  } else {
    std::cout << line << std::endl;
  }
}

}  // namespace zelor::cli
