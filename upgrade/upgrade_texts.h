// Every text the firmware upgrade shows: the open dialog, the log lines of its start and its ends.
// The title line "   : firmware upgrade..." and the give-up lines are the link's (link/link_texts.h).
#pragma once
#include "link/link_texts.h"

namespace zelor::upgrade_text {

inline constexpr const char* kDialogTitle = "    OPEN";
inline constexpr const char* kDialogFileName = " -> ВЫБЕРИТЕ ФАЙЛ С ПРОШИВКОЙ...";
inline constexpr const char* kDialogFilter = "hex файлы|*.hex";  // description|pattern, as the open dialog offers it
inline constexpr const char* kDownloadFirmware = "   : download firmware...";
inline constexpr const char* kWrongSize = "   : ОШИБКА: НЕВЕРНЫЙ РАЗМЕР ФАЙЛА.";
inline constexpr const char* kFileErrorPrefix = "   : ERROR - ";  // followed by the error's text and "."
inline constexpr const char* kFileErrorSuffix = ".";
inline constexpr const char* kUpgradeOk = "   : OK.";  // Latin O and K
inline constexpr const char* kActiveInterface = "   : Активный интерфейс -> RS-485(1).";
inline constexpr const char* kPortPrefix = "   : Порт ";  // followed by the port name and kPortGone
inline constexpr const char* kPortGone = " больше недоступен.";
inline constexpr const char* kStoppedPortError = text::kStoppedPortError;  // followed by the port name

}  // namespace zelor::upgrade_text
