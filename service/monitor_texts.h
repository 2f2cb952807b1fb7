// Every text the live monitor writes into TeMemo3, and the captions of its button TeButton2.
#pragma once
#include "service/service_tab_texts.h"

namespace zelor::monitor_text {

inline constexpr const char* kStart = service_text::kMonitorStart;  // "ЗАПУСК МОНИТОРА"
inline constexpr const char* kStop = "СТОП";

// The PC's and the panel's time: hour, minute, second, day, month, year; note the trailing blank.
inline constexpr const char* kStampFormat = "%.2d:%.2d:%.2d  %.2d.%.2d.%.4d ";
inline constexpr const char* kStarted = "  -ЗАПУСК МОНИТОРИНГА ПРИБОРА <ЗЕЛОР-ПУИ>";
inline constexpr const char* kPanelTime = "  -ВРЕМЯ В ПРИБОРЕ <ЗЕЛОР-ПУИ>";
inline constexpr const char* kIntegralState = "                       -ИНТЕГРАЛЬНОЕ СОСТОЯНИЕ ПРИБОРОВ В СЕТИ НА МОМЕНТ ЗАПУСКА:";
inline constexpr const char* kSecurityAlarm = "                         -ОХРАННАЯ ТРЕВОГА";
inline constexpr const char* kFireAlarm = "                         -ПОЖАРНАЯ ТРЕВОГА";
inline constexpr const char* kAttention = "                         -ВНИМАНИЕ";
inline constexpr const char* kNormal = "                         -НОРМА";
inline constexpr const char* kFault = "                         -НЕИСПРАВНОСТЬ";
inline constexpr const char* kRecordCount = "                       -ЗАПИСЕЙ В АРХИВЕ НА МОМЕНТ ЗАПУСКА - ";
inline constexpr const char* kPollingTime = "                       -ВРЕМЯ ОПРОСА ПРИБОРОВ - ";
inline constexpr const char* kSeconds = "с.";
// Written when polling begins: records already in the archive are not shown.
inline constexpr const char* kPointerTaken = "\\\\_";
inline constexpr const char* kAfterTime = "  ";
inline constexpr const char* kAfterDate = "   ";
inline constexpr const char* kArrow = "--> ";

}  // namespace zelor::monitor_text
