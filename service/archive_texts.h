// Every text the archive operations write: button captions while running, log lines, the
// archive file's header, and the save dialog's proposals.
#pragma once

namespace zelor::archive_text {

inline constexpr const char* kStopDownload = "ОСТАНОВИТЬ ЗАКАЧКУ АРХИВА";
inline constexpr const char* kStopped = "   : ОК. ЗАКАЧКА АРХИВА ОСТАНОВЛЕНА.";
inline constexpr const char* kRecordCountLine = "   : ЗАПИСЕЙ - ";
// The download could not write its file (disk full, file removed, folder gone).
inline constexpr const char* kFileWriteError = "   : ОШИБКА ЗАПИСИ ФАЙЛА ";
// Followed by the working file that holds the lines read when they could not take the chosen name.
inline constexpr const char* kRecordsKeptIn = "   : ПРОЧИТАННЫЕ ЗАПИСИ СОХРАНЕНЫ В ФАЙЛЕ ";

inline constexpr const char* kArrow = "-->";
inline constexpr const char* kLineArrow = "--> ";

inline constexpr const char* kFileTitle = "АРХИВ ПРИБОРА <ЗЕЛОР-ПУИ>; ДАТА СНЯТИЯ ДАННЫХ -> ";
inline constexpr const char* kFileBlankLine = " ";
inline constexpr const char* kFileColumns =
    "  №      ЗОНА                                             ВРЕМЯ      ДАТА";

inline constexpr const char* kFileNamePrefix = "file_";
inline constexpr const char* kFileNameSuffix = ".txt";
// The save dialog's filter as "description|pattern".
inline constexpr const char* kFileFilterName = "txt файлы";
inline constexpr const char* kFileFilterPattern = "*.txt";

}  // namespace zelor::archive_text
