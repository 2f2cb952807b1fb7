// Every text of the "СТАТУС", "АРХИВ" and "ПРОГ.-2" tabs as they stand before any operation; the
// captions of "ПРОГ.-2" that later show values come from param::InitialText (service/parameter_texts.h).
#pragma once

#include <array>

namespace zelor::service_text {

// "СТАТУС"
inline constexpr const char* kMonitorStart = "ЗАПУСК МОНИТОРА";

// "АРХИВ"
inline constexpr const char* kDownloadToFile = "АРХИВ : СКАЧАТЬ В ФАЙЛ";
inline constexpr const char* kLast15 = "АРХИВ : ПОСЛЕДНИЕ 15 ЗАПИСЕЙ";
inline constexpr const char* kRecordCount = "АРХИВ : КОЛИЧЕСТВО ЗАПИСЕЙ";
inline constexpr const char* kFileGridFont = "MS Sans Serif";
// FileGrid headings by column; the arrow column 3 has none.
inline constexpr std::array<const char*, 7> kFileGridHeadings = {"№", "ЗОНА", "СОСТОЯНИЕ ДО", "",
                                                                 "СОСТОЯНИЕ ПОСЛЕ", "ВРЕМЯ", "ДАТА"};
inline constexpr const char* kFileGridFirstCell = "x";

// "ПРОГ.-2"
inline constexpr const char* kInternalInterface = "  ПАРАМЕТРЫ ВНУТРЕННЕГО ИНТЕРФЕЙСА  ";
inline constexpr const char* kExternalInterface = "  ПАРАМЕТРЫ ВНЕШНЕГО ИНТЕРФЕЙСА  ";
inline constexpr const char* kDateTime = "  ДАТА И ВРЕМЯ  ";
inline constexpr const char* kOutputLogic = "  ЛОГИКА РАБОТЫ ВЫХОДОВ \"ОПОВЕЩЕНИЕ\":    ПОЖАР   ТРЕВОГА  ";
inline constexpr const char* kFireColumn = "ПОЖАР";
inline constexpr const char* kAlarmColumn = "ТРЕВОГА";
inline constexpr const char* kQueryParameters = "&ЗАПРОС ПАРАМЕТРОВ";
inline constexpr const char* kInternalMark = "0 :";
inline constexpr const char* kExternalMark = "1 :";
inline constexpr const char* kSpeed = "Скорость передачи";
inline constexpr const char* kExtraTimeout = "Доп. таймаут ответа от приборов, мс";
inline constexpr const char* kAddressCopy = "-->";
inline constexpr const char* kTo = "to";
inline constexpr std::array<const char*, 3> kDateColumns = {"ДЕНЬ", "МЕС.", "ГОД"};
inline constexpr std::array<const char*, 3> kTimeColumns = {"ЧАС", "МИН.", "СЕК."};
inline constexpr const char* kSetTime = "УСТАНОВИТЬ ВРЕМЯ";
// The year box before any query: no item chosen, this text shown.
inline constexpr const char* kYearInitialText = "2012";
// The program's only question, after the panel confirms a new speed.
inline constexpr const char* kSpeedQuestion = "Сменить скорость обмена COM-порта ПК?";
inline constexpr const char* kDuration = "ДЛИТЕЛЬНОСТЬ";
inline constexpr const char* kMode = "РЕЖИМ";
inline constexpr const char* kAlerting = "ОПОВЕЩЕНИЯ";
// Row labels of the alerting-output buttons 1..5.
inline constexpr std::array<const char*, 5> kOutputRows = {"ПОСТ.*", "5МИН.", "0,5 Гц", "1,0Гц", "ПОСТ.*"};
// The speed boxes list the line rates (link/line_rates.h).
inline constexpr int kInternalSpeedInitialIndex = 3;  // "9600"
inline constexpr int kExternalSpeedInitialIndex = 7;  // "57600"

}  // namespace zelor::service_text
