// The texts of the configuration file dialogs.
#pragma once

namespace zelor::transfer_text {

inline constexpr const char* kFileFilter = "bin файлы (*.bin)";
inline constexpr const char* kInitialFileName = "*.bin";

}  // namespace zelor::transfer_text
