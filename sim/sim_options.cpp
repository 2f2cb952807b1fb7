#include "sim/sim_options.h"

#include <cstdlib>

#include "link/line_rates.h"

namespace zelor::sim {

namespace {
bool ParseInt(const std::string& text, int64_t lo, int64_t hi, int64_t& value) {
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::strtoll(text.c_str(), nullptr, 10);
  return value >= lo && value <= hi;
}

bool ParseSeconds(const std::string& text, double lo, double hi, double& value) {
  return ParsePlainDecimal(text, value) && value >= lo && value <= hi;
}

// The rates the simulator serves: the panel's, and the boot loader's.
bool IsSimRate(int64_t rate) {
  return rate == kLoaderBaudRate || (rate >= 0 && rate <= UINT32_MAX && BaudIndexOf(static_cast<uint32_t>(rate)));
}

std::string SimRatesText() {
  std::string text;
  for (uint32_t r : kLineRates) text += std::to_string(r) + " ";
  return text + std::to_string(kLoaderBaudRate);
}
}  // namespace

const char* SimUsage() {
  return R"(Usage: zelor-pui-sim [OPTIONS]
A simulated ZELOR-PUI panel: a MODBUS-RTU slave (and its boot loader) on a pseudo-terminal or
a serial device. It prints the port it serves on and registers it (SIM1, SIM2, ...) where the
tool's port list looks for virtual ports. Stop it with Ctrl+C (SIGINT) or SIGTERM.

Where it serves:
  --link PATH          also make PATH a symbolic link to the pseudo-terminal (removed on exit)
  --device PATH        serve on an existing serial device instead of a pseudo-terminal
  --no-register        do not register the pseudo-terminal in the tool's port list
The panel:
  --address N          MODBUS address, 1..247 (default 247)
  --image FILE.bin     start from this 45952-byte configuration (default: a built-in sample)
  --records N          generated archive records, 0..100000 (default 100)
  --wrapped            fill the 1500-record ring first, so the archive has wrapped
  --event-every SEC    write a new archive event every SEC seconds, 0.01..86400 (default: never)
  --seed N             where the generated events and fault rates start (default 1)
  --bootloader         start in boot-loader mode (115200 baud) instead of as a panel
  --firmware-out FILE  after each finished upgrade write the received firmware there
  --config-out FILE    after each applied configuration write it there as a .bin file
The line:
  --baud RATE          rate to pace replies at: 1200 .. 57600 or 115200 (default 57600);
                       a pseudo-terminal ignores the rate, so pacing is simulated
  --pace               send replies byte by byte at the line rate (10 bits a byte)
  --turnaround MS      pause between a request and its reply (default 1)
  --fault KIND[@WHEN]  a scripted fault, repeatable; KIND: noreply, badcrc, exception,
                       delayed, split, garbage, short; WHEN: rate=P (0..1), every=N,
                       reg=R (start register of the request), first=N; default: every request
  --fault-delay MS     how late a delayed reply starts (default 400)
  --fault-gap MS       the silent gap inside a split reply (default 200)
  --log FILE           traffic log, every request and reply in hex with a timestamp; - = stdout
  --no-commands        do not read commands from standard input
  --help               this text

Commands on standard input (one a line): event, fire ZONE, bootloader, status, quit.
SIGUSR1 writes one new event, like the command "event".
)";
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error) {
  SimOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      // An empty path would quietly mean "none": `--image ""` from an unset shell variable.
      if (out.empty()) {
        error = a + " needs a value, not an empty one";
        return false;
      }
      return true;
    };
    std::string v;
    int64_t n = 0;
    double seconds = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--link") {
      if (!value(o.link)) return std::nullopt;
    } else if (a == "--device") {
      if (!value(o.device)) return std::nullopt;
    } else if (a == "--no-register") {
      o.registerPort = false;
    } else if (a == "--no-commands") {
      o.commands = false;
    } else if (a == "--address") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 1, 247, n)) {
        error = "--address must be 1..247, not '" + v + "'";
        return std::nullopt;
      }
      o.address = static_cast<uint8_t>(n);
    } else if (a == "--baud") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 1, 1'000'000, n) || !IsSimRate(n)) {
        error = "--baud must be one of " + SimRatesText() + ", not '" + v + "'";
        return std::nullopt;
      }
      o.baud = static_cast<uint32_t>(n);
    } else if (a == "--pace") {
      o.pace = true;
    } else if (a == "--turnaround") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 0, 10'000, n)) {
        error = "--turnaround must be 0..10000 ms, not '" + v + "'";
        return std::nullopt;
      }
      o.turnaroundMicros = n * 1000;
    } else if (a == "--image") {
      if (!value(o.image)) return std::nullopt;
    } else if (a == "--records") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 0, 100'000, n)) {
        error = "--records must be 0..100000, not '" + v + "'";
        return std::nullopt;
      }
      o.records = static_cast<uint32_t>(n);
    } else if (a == "--wrapped") {
      o.wrapped = true;
    } else if (a == "--event-every") {
      if (!value(v)) return std::nullopt;
      if (!ParseSeconds(v, 0.01, 86'400, seconds)) {
        error = "--event-every must be 0.01..86400 seconds, not '" + v + "'";
        return std::nullopt;
      }
      o.eventEveryMicros = static_cast<int64_t>(seconds * 1e6);
    } else if (a == "--seed") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 0, 0xFFFFFFFFLL, n)) {
        error = "--seed must be a whole number, not '" + v + "'";
        return std::nullopt;
      }
      o.seed = static_cast<uint32_t>(n);
    } else if (a == "--bootloader") {
      o.bootLoader = true;
    } else if (a == "--firmware-out") {
      if (!value(o.firmwareOut)) return std::nullopt;
    } else if (a == "--config-out") {
      if (!value(o.configOut)) return std::nullopt;
    } else if (a == "--fault") {
      if (!value(v)) return std::nullopt;
      auto rule = ParseFaultRule(v, error);
      if (!rule) return std::nullopt;
      o.faults.push_back(*rule);
    } else if (a == "--fault-delay" || a == "--fault-gap") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 0, 60'000, n)) {
        error = a + " must be 0..60000 ms, not '" + v + "'";
        return std::nullopt;
      }
      (a == "--fault-delay" ? o.faultDelayMicros : o.faultGapMicros) = n * 1000;
    } else if (a == "--log") {
      if (!value(o.log)) return std::nullopt;
    } else {
      error = "unknown option '" + a + "'";
      return std::nullopt;
    }
  }
  if (!o.link.empty() && !o.device.empty()) {
    error = "--link and --device exclude each other: --link names the pseudo-terminal it creates";
    return std::nullopt;
  }
  return o;
}

}  // namespace zelor::sim
