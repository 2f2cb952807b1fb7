#include "link/local_time.h"

namespace zelor {

std::optional<std::tm> LocalTimeOf(std::time_t moment) {
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &moment) != 0) return std::nullopt;
#else
  if (localtime_r(&moment, &local) == nullptr) return std::nullopt;
#endif
  return local;
}

}  // namespace zelor
