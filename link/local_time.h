// The system's local time of a moment, on POSIX (localtime_r) and Windows (localtime_s) alike.
#pragma once
#include <ctime>
#include <optional>

namespace zelor {

// Nothing when the system cannot convert the moment.
std::optional<std::tm> LocalTimeOf(std::time_t moment);

}  // namespace zelor
