// The commands of zelor-pui-cli: each drives one of the core's operations through its view
// interface on a Session and prints what it found. They throw CommandFailed with the one line
// to show when they do not succeed.
#pragma once
#include <string>
#include <vector>

#include "cli/cli_session.h"

namespace zelor::cli {

using Args = std::vector<std::string>;

void PortsCommand(const LineOptions& line, const Args& args);
void SearchCommand(const LineOptions& line, const Args& args);
void ParamsCommand(const LineOptions& line, const Args& args);
void ClockCommand(const LineOptions& line, const Args& args);
void ArchiveCommand(const LineOptions& line, const Args& args);
void UpgradeCommand(const LineOptions& line, const Args& args);
void MonitorCommand(const LineOptions& line, const Args& args);
void ConfigCommand(const LineOptions& line, const Args& args);

// A mistake in the arguments: the program says so and shows how the command is used.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A whole decimal number in [low, high], or nothing.
std::optional<long> WholeNumber(const std::string& text, long low, long high);

}  // namespace zelor::cli
