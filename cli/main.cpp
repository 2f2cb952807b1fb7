// zelor-pui-cli: the service tool's operations from a terminal, for scripts and many panels.
// It parses the command line, runs one command on the Qt event loop and exits.
#include <QCoreApplication>
#include <cstring>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "link/line_rates.h"

namespace {

using namespace zelor::cli;

struct Parsed {
  LineOptions line;
  std::string command;
  Args args;
  bool help = false;
};

Parsed Parse(int argc, char** argv) {
  Parsed p;
  int i = 1;
  auto value = [&](const char* option) -> std::string {
    if (i + 1 >= argc) throw UsageError(std::string(option) + " needs a value");
    return argv[++i];
  };
  for (; i < argc && p.command.empty(); ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      p.help = true;
    } else if (a == "--port") {
      p.line.port = value("--port");
    } else if (a == "--baud") {
      const std::string v = value("--baud");
      const auto rate = WholeNumber(v, 0, 1000000);
      const auto index = rate ? zelor::BaudIndexOf(static_cast<uint32_t>(*rate)) : std::nullopt;
      if (!index) throw UsageError("--baud takes 1200, 2400, 4800, 9600, 14400, 19200, 38400 or 57600");
      p.line.baudIndex = *index;
    } else if (a == "--address") {
      const auto n = WholeNumber(value("--address"), 1, zelor::kHighestSlaveAddress);
      if (!n) throw UsageError("--address takes 1..247");
      p.line.address = static_cast<uint8_t>(*n);
    } else if (a == "--log") {
      p.line.log = true;
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError("unknown option " + a);
    } else {
      p.command = a;
    }
  }
  for (; i < argc; ++i) p.args.emplace_back(argv[i]);
  return p;
}

const char* HelpFor(const std::string& command) {
  for (const auto& h : text::kCommandHelp) {
    if (command == h.name) return h.text;
  }
  return nullptr;
}

bool AsksHelp(const Args& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int Run(const Parsed& p) {
  using Command = void (*)(const LineOptions&, const Args&);
  struct Entry {
    const char* name;
    Command run;
  };
  static constexpr Entry kCommands[] = {
      {"ports", PortsCommand},     {"search", SearchCommand},   {"params", ParamsCommand},
      {"clock", ClockCommand},     {"archive", ArchiveCommand}, {"upgrade", UpgradeCommand},
      {"monitor", MonitorCommand}, {"config", ConfigCommand},
  };
  for (const auto& c : kCommands) {
    if (p.command == c.name) {
      c.run(p.line, p.args);
      return 0;
    }
  }
  throw UsageError("unknown command " + p.command);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Parsed parsed;
  try {
    parsed = Parse(argc, argv);
    if (parsed.command.empty()) {
      if (parsed.help) {
        std::cout << text::kUsage;
        return 0;
      }
      throw UsageError("no command given");
    }
    if (AsksHelp(parsed.args)) {
      const char* help = HelpFor(parsed.command);
      if (!help) throw UsageError("unknown command " + parsed.command);
      std::cout << help;
      return 0;
    }
    return Run(parsed);
  } catch (const UsageError& e) {
    std::cerr << text::kProgram << ": " << e.what() << " (see " << text::kProgram << " --help)\n";
    return 2;
  } catch (const CommandFailed& e) {
    std::cerr << text::kProgram << ": " << e.what() << "\n";
    return 1;
  } catch (const zelor::SerialPortError& e) {
    std::cerr << text::kProgram << ": " << e.what() << "\n";
    return 1;
  }
}
