// The command line of zelor-pui-sim: what it serves on, how the panel starts, pacing and faults.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/fault_script.h"

namespace zelor::sim {

struct SimOptions {
  std::string link;          // --link PATH: a symbolic link to the pseudo-terminal
  std::string device;        // --device PATH: serve on this serial device instead
  uint8_t address = 247;
  uint32_t baud = 57600;
  bool pace = false;
  int64_t turnaroundMicros = 1000;
  std::string image;         // --image FILE.bin
  uint32_t records = 100;
  bool wrapped = false;
  int64_t eventEveryMicros = 0;
  bool bootLoader = false;
  std::string firmwareOut;   // --firmware-out FILE
  std::string configOut;     // --config-out FILE.bin
  std::vector<FaultRule> faults;
  int64_t faultDelayMicros = 400'000;
  int64_t faultGapMicros = 200'000;
  uint32_t seed = 1;
  std::string log;           // --log FILE, "-" for standard output
  bool registerPort = true;
  bool commands = true;      // read commands from standard input
  bool help = false;
};

// Parses the arguments after the program name; on failure returns nothing and says why.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);
const char* SimUsage();

}  // namespace zelor::sim
