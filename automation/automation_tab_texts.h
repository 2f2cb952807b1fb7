// Every text of the "КОНФИГ.-4" tab as it stands at start: grid headings and button hints.
#pragma once

#include <array>

namespace zelor::automation_text {

inline constexpr const char* kAddHint = "Добавить";
inline constexpr const char* kDeleteHint = "Удалить";

struct Column {
  int width;
  const char* heading;
};
// Set when the window is first activated.
inline constexpr std::array<Column, 8> kAutoGridColumns = {{{30, ""},
                                                            {175, "ЗОНА - АКТИВАТОР"},
                                                            {60, "ТИП"},
                                                            {130, "СОБЫТИЕ"},
                                                            {30, ""},
                                                            {175, "ЗОНА - ИСПОЛНИТЕЛЬ"},
                                                            {60, "ТИП"},
                                                            {130, "ДЕЙСТВИЕ"}}};
inline constexpr std::array<Column, 4> kAutoNodeGridColumns = {
    {{30, ""}, {175, "ТИП ПРИБОРА"}, {130, "НАЗВАНИЕ"}, {58, "АДРЕС"}}};
inline constexpr std::array<Column, 3> kAutoZoneGridColumns = {{{45, "ЗОНА"}, {189, "НАЗВАНИЕ"}, {130, "ТИП"}}};

}  // namespace zelor::automation_text
