// Every text the address search shows: the menu captions and its log lines.
#pragma once

namespace zelor::search_text {

inline constexpr const char* kStart = "Start";
inline constexpr const char* kStop = "Stop";
inline constexpr const char* kFoundAt = "   : ОБНАРУЖЕН ПРИБОР <ЗЕЛОР-ПУИ> ПО АДРЕСУ ";
inline constexpr const char* kNotFound = "   : ПРИБОР <ЗЕЛОР-ПУИ> НЕ ОБНАРУЖЕН...";

// "Start" refused: a write to the panel that a take-over would leave half done.
inline constexpr const char* kRefusedConfigWrite = "   : ПОИСК НЕ ЗАПУЩЕН - ИДЕТ ЗАПИСЬ КОНФИГУРАЦИИ.";
inline constexpr const char* kRefusedUpgrade = "   : ПОИСК НЕ ЗАПУЩЕН - ИДЕТ ЗАМЕНА ПРОШИВКИ.";
// The operation a search took over, named before the search's own lines.
inline constexpr const char* kStoppedConfigRead = "   : ЧТЕНИЕ КОНФИГУРАЦИИ ОСТАНОВЛЕНО.";
inline constexpr const char* kStoppedArchive = "   : ЗАКАЧКА АРХИВА ОСТАНОВЛЕНА.";
inline constexpr const char* kStoppedMonitor = "   : МОНИТОРИНГ ОСТАНОВЛЕН.";

}  // namespace zelor::search_text
