// The tool's two informational options (--help, --version); every other start opens the window.
#pragma once
#include <string>

namespace zelor {

enum class InfoOption { None, Help, Version };

// Only a lone --help (-h) or --version counts: any other command line, including the options Qt
// itself reads (-platform ...), starts the window exactly as before.
InfoOption InfoOptionOf(int argc, const char* const* argv);

std::string ToolHelpText();
std::string ToolVersionText(const std::string& version);

}  // namespace zelor
