// What the port choice writes in the log, and the names it relies on.
#pragma once

namespace zelor::port_text {

// Port list: the system list could not be read, so the file is tried.
inline constexpr const char* kPortListAccessError = "   : РЕЕСТР - ОШИБКА ДОСТУПА К СПИСКУ COM-ПОРТОВ.";
inline constexpr const char* kPortListFromFile = "   : ЗАПРОС СПИСКА ИЗ ФАЙЛА \"COMPORTS.TXT\".....";
inline constexpr const char* kPortFileOk = "   : OK.";  // Latin O and K
// The first letter of СOMPORTS is the Cyrillic С here, unlike the line above.
inline constexpr const char* kPortFileErrorPrefix = "   : ФАЙЛ \"СOMPORTS.TXT\": - ";
inline constexpr const char* kPortFileName = "comports.txt";
inline constexpr int kPortFileMaxLines = 10;
inline constexpr const char* kDefaultPortName = "COM1";

}  // namespace zelor::port_text
