// Every text the link writes into the log memos and the status bar.
#pragma once

namespace zelor::text {

inline constexpr const char* kRxPlaceholder = "RX :";
inline constexpr const char* kOk = "   : ОК.";
inline constexpr const char* kExceptionReply = "   : ОШИБКА.";
inline constexpr const char* kTimeOut = "   : TIME OUT.";
inline constexpr const char* kCrcError = "   : CRC ERROR.";
inline constexpr const char* kPortOpenError = "   : ОШИБКА ОТКРЫТИЯ ПОРТА ";
// An operation stopped because its request could not be sent; followed by the port name.
inline constexpr const char* kStoppedPortError = "   : ОСТАНОВЛЕНО - ОШИБКА ОТКРЫТИЯ ПОРТА ";
inline constexpr const char* kNoPanelAnswer = "   : ОШИБКА -> Нет ответа от пульта.";
// An operation given up because the panel refused its step; followed by the exception code in
// hexadecimal and a full stop.
inline constexpr const char* kPanelRefused = "   : ОШИБКА -> Пульт отклонил запрос, исключение ";

inline constexpr const char* kConfigReading = "   : чтение конфигурации пульта...";
inline constexpr const char* kConfigWriting = "   : запись конфигурации пульта...";
inline constexpr const char* kArchiveReading = "   : чтение архива событий...";

inline constexpr const char* kConfigReadErrors = "ЧТЕНИЕ КОНФИГА : ОШИБКИ -> ";
inline constexpr const char* kConfigWriteErrors = "ЗАПИСЬ КОНФИГА : ОШИБКИ -> ";
inline constexpr const char* kArchiveErrors = "ЧТЕНИЕ АРХИВА : ОШИБКИ -> ";
inline constexpr const char* kUpgradeErrors = "UPGRADE PROCESS : ОШИБКИ -> ";

inline constexpr const char* kUpgradeTitle = "   : firmware upgrade...";
inline constexpr const char* kUpgradeNoAnswer = "   : ERROR: Нет ответа от пульта.";
inline constexpr const char* kUpgradeHintRestart = "   : ? -> Перезапустить пульт в режиме загрузчика;";
inline constexpr const char* kUpgradeHintPort = "   :   -> Проверить настройки COM порта;";

}  // namespace zelor::text
