// Every text the application shell shows: caption, menus, status bar, port-list messages.
#pragma once

#include <array>

namespace zelor::app_text {

inline constexpr const char* kCaption = "ЗЕЛОР-ПУИ  (MODBUS-RTU)   V1.04 - 2018";

inline constexpr const char* kTx = "TX :";
inline constexpr const char* kRx = "RX :";

inline constexpr const char* kMenuConnection = "Connection";
inline constexpr const char* kMenuPort = "Port";
inline constexpr const char* kMenuBaudRate = "BaudRate";
inline constexpr const char* kMenuSearch = "Search";
inline constexpr const char* kMenuStart = "Start";
inline constexpr const char* kMenuDelay = "Delay";
inline constexpr std::array<const char*, 6> kDelayCaptions = {"100ms", "150ms", "200ms", "250ms", "300ms", "350ms"};
inline constexpr const char* kMenuTools = "Tools";
inline constexpr const char* kMenuFirmwareUpgrade = "Firmware Upgrade...";

// After the name of a chosen port that the system does not list now.
inline constexpr const char* kAbsentPortSuffix = "  (absent)";

inline constexpr const char* kBaudRatePrefix = "BaudRate = ";

inline constexpr const char* kSoundHint = "Отключение звук. сигнализации";
inline constexpr const char* kLightHint = "Отключение свет. сигнализации";

}  // namespace zelor::app_text
