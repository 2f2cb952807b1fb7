// Every text of the "КОНФИГ.-3" tab and of the device panel Add_Box as they stand at start.
#pragma once

#include <array>

namespace zelor::config_text {

inline constexpr const char* kAddBoxTitle = "  ДОБАВИТЬ  ";

struct ToolButtonText {
  const char* name;
  const char* hint;
};
inline constexpr ToolButtonText kLoadFromPanel = {"Load_ButtA", "Считать конфиг из пульта"};
inline constexpr ToolButtonText kLoadFromFile = {"Load_ButtB", "Считать конфиг из файла"};
inline constexpr ToolButtonText kMoveUp = {"Up_Butt", "Сдвинуть вверх"};
inline constexpr ToolButtonText kMoveDown = {"Down_Butt", "Сдвинуть вниз"};
inline constexpr ToolButtonText kDelete = {"Del_Butt", "Удалить"};
inline constexpr ToolButtonText kShowAddBox = {"Add_Butt_00", "Добавить"};
inline constexpr ToolButtonText kSaveToPanel = {"Save_ButtA", "Сохранить конфиг в пульт"};
inline constexpr ToolButtonText kSaveToFile = {"Save_ButtB", "Сохранить конфиг в файл"};

struct AddButtonText {
  const char* name;
  const char* caption;
  const char* hint;
  int typeCode;
};
// Add_Box, row by row, left to right.
inline constexpr std::array<AddButtonText, 21> kAddButtons = {{
    {"ADD_Butt_01", "ЗЕЛОР-16И:/16", "ID прибора = 0x01", 1},
    {"ADD_Butt_03", "ЗЕЛОР-4И:/4", "ID прибора = 0x08", 8},
    {"ADD_Butt_05", "ЗЕЛОР-ППУ", "ID прибора = 0x05", 5},
    {"ADD_Butt_07", "ЧЭМ-1И", "ID модуля = 0x04", 4},
    {"ADD_Butt_09", "ДРОЛА-А", "ID оповещателя = 0x0E", 14},
    {"ADD_Butt_17", "ЧЭМ-1И V.2", "ID модуля = 0x13", 19},
    {"ADD_Butt_16", "ЗЕЛОР-1И V.2", "ID устройства = 0x12", 18},
    {"ADD_Butt_02", "ЗЕЛОР-16И:/8", "ID прибора = 0x02", 2},
    {"ADD_Butt_04", "ЗЕЛОР-4И:/2", "ID прибора = 0x09", 9},
    {"ADD_Butt_06", "ЗЕЛОР-ППУ-ПК", "ID прибора = 0x07", 7},
    {"ADD_Butt_08", "ЧЭМ-2И", "ID модуля = 0x03", 3},
    {"ADD_Butt_10", "ДРОЛА-З-А", "ID оповещателя = 0x0F", 15},
    {"ADD_Butt_18", "ЧЭМ-2И V.2", "ID модуля = 0x14", 20},
    {"ADD_Butt_20", "ЗЕЛОР-16И:/16 V.2", "ID прибора = 0x01", 22},
    {"ADD_Butt_11", "ЗЕЛОР-1И", "ID прибора = 0x06", 6},
    {"ADD_Butt_14", "ТАЛИС-Exd", "ID извещателя = 0x10", 16},
    {"ADD_Butt_15", "ЗЕЛОР-ППУ(-ПК) V.2", "ID прибора = 0x11", 17},
    {"ADD_Butt_12", "ЗЕЛОР - МА", "ID модуля = 0x0D", 13},
    {"ADD_Butt_13", "ЗЕЛОР - МИ", "ID модуля = 0x0C", 12},
    {"ADD_Butt_19", "ЧЭМ-3И V.2", "ID модуля = 0x15", 21},
    {"ADD_Butt_21", "ЗЕЛОР-16И:/8 V.2", "ID прибора = 0x01", 23},
}};

// Grid headings and widths, set when the window is first activated.
struct Column {
  int width;
  const char* heading;
};
inline constexpr std::array<Column, 4> kNodesGridColumns = {
    {{30, ""}, {130, "ТИП ПРИБОРА"}, {130, "НАЗВАНИЕ"}, {60, "АДРЕС"}}};
inline constexpr std::array<Column, 5> kZoneGridColumns = {
    {{45, "№"}, {130, "НАЗВАНИЕ"}, {60, "ТИП"}, {80, "ГРУППА"}, {110, "УСЛ. № ЗОНЫ"}}};

// The kind chooser TypeBox: kinds 1 and 2.
inline constexpr std::array<const char*, 2> kKindChoices = {"ОХР.", "ПОЖ."};
// The group chooser GroupGrid.
inline constexpr std::array<const char*, 2> kGroupGridHeadings = {"№ ГРУППЫ", "НАЗВАНИЕ ГРУППЫ"};

}  // namespace zelor::config_text
