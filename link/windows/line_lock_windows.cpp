// The line lock on Windows: a COM port opens for one program at a time, so nothing is locked here.
#include <utility>

#include "link/line_lock.h"

namespace zelor {

LineLock::LineLock(std::string dir) : dir_(std::move(dir)) {}
LineLock::~LineLock() = default;
void LineLock::Acquire(const std::string&, const std::string&) {}
void LineLock::Release() {}
bool LineLock::Held() const { return false; }

}  // namespace zelor
