// The automation editor's view state and every rule of its three grids and its choice list that
// needs no widget: row texts, scrolling, the double-click's meaning, the choice, fills and alignment.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/config_model.h"

namespace zelor {

// PickMode: the AutoGrid column of the zone being picked.
constexpr uint8_t kPickNone = 0;
constexpr uint8_t kPickActivator = 1;
constexpr uint8_t kPickExecutor = 5;

// AutoGrid columns that mean something to a double-click.
constexpr uint8_t kActivatorZoneColumn = 1;
constexpr uint8_t kEventColumn = 3;
constexpr uint8_t kExecutorZoneColumn = 5;
constexpr uint8_t kActionColumn = 7;

constexpr std::size_t kAutoGridColumnCount = 8;
constexpr std::size_t kNodePickerColumnCount = 4;
constexpr std::size_t kZonePickerColumnCount = 3;
constexpr int kAutoGridRowHeight = 18;
constexpr int kGridLine = 1;
// From this many rules the rule list needs its vertical scroll bar.
constexpr uint8_t kRulesNeedingScrollBar = 20;
// From this many nodes the device picker needs its vertical scroll bar.
constexpr uint8_t kNodesNeedingScrollBar = 17;
constexpr int kNodePickerTypeWidth = 175;

struct RuleEditorState {
  uint8_t AutoColumn = 0;
  uint8_t PickMode = kPickNone;
  int32_t PickerNode = 0;
  int32_t PickerZone = 0;
  std::vector<uint8_t> ChoiceCodes;  // item i of EventBox stands for ChoiceCodes[i]
};

using AutoGridRow = std::array<std::string, kAutoGridColumnCount>;
using NodePickerRow = std::array<std::string, kNodePickerColumnCount>;
using ZonePickerRow = std::array<std::string, kZonePickerColumnCount>;

// The eight cells (UTF-8) of rule `rule`'s row: number, activator text, kind, event, "-->",
// executor text, kind, action.
AutoGridRow AutoGridRowTexts(const ConfigModel& model, uint8_t rule);

// The first visible data row (1-based) after RefreshAutoGrid(s) from `topRow`: one row up when
// rule s sits just above the view, one row down when it sits just below the 18th.
int AutoGridTopRow(int topRow, uint8_t s);

// Node `position` as the device picker shows it: number, type name, two blanks and the name, address.
NodePickerRow NodePickerRowTexts(const ConfigModel& model, uint8_t position);
// The type column's width: narrower by the scroll bar when the nodes do not fit.
int NodePickerTypeWidth(uint8_t nodeCount, int scrollBarWidth);
// The first visible row of the device picker after FillNodePicker(p), from `topRow`.
int NodePickerTopRow(int topRow, int p, uint8_t nodeCount);

// The zone picker's rows for a node: the row count (with the heading row) and the data rows.
// A node without zones of the indication-module type keeps one empty data row; a type without
// entry shows the heading alone.
struct ZonePickerContents {
  int RowCount = 1;
  std::vector<ZonePickerRow> Rows;
};
ZonePickerContents ZonePickerFor(const ConfigModel& model, uint8_t node);

// Devices with a single zone: a double-click on them in the device picker assigns that zone.
bool AssignsOnNodeDoubleClick(uint8_t nodeType);

enum class DblClickStep : uint8_t { Nothing, PickActivator, PickExecutor, ChooseEvent, ChooseAction, OtherColumn };
// What a double-click in AutoGrid does with AutoColumn `column`.
DblClickStep AutoGridDblClickStep(const ConfigModel& model, uint8_t column, bool zonePickerShown);

// The codes offered for a side, with their item texts, in listing order, and the item of the
// side's present code (-1 when it is not among them).
struct Choice {
  std::vector<uint8_t> Codes;
  std::vector<std::string> Texts;
  int Selected = -1;
};
Choice ChoiceFor(const RuleSide& side, Side which);

// Where EventBox goes over the event (column 3) or action (column 7) cell of the selected rule.
struct BoxPlace {
  int Left = 0;
  int Top = 0;
  int Width = 0;
};
BoxPlace EventBoxPlace(int gridLeft, int gridTop, int32_t selectedRule, int topRow, bool action);

// EventBoxCloseUp with item `item` (-1: none chosen) of the list opened from `column`: stores the
// chosen code into the selected rule's side; true when a code was stored.
bool ApplyChoice(ConfigModel& model, const RuleEditorState& state, int item);

// How a cell is filled and where its text goes.
enum class CellFill : uint8_t { Normal, Heading, Selected, Picked };
enum class CellAlign : uint8_t { Left, Centre };
constexpr uint32_t kSelectedFill = 0xB6BDD2;  // a selected cell of AutoGrid and AutoNodeGrid
constexpr uint32_t kPickedFill = 0xBCE19C;    // a selected zone-picker cell; the zone being picked
constexpr uint32_t kNormalFill = 0xFFFFFF;

CellFill AutoGridFill(uint8_t pickMode, int column, int row, bool selected);
CellFill PickerFill(int row, bool selected);  // both pickers; the zone picker's Selected is light green
CellAlign AutoGridAlign(int column, int row);
CellAlign NodePickerAlign(int column, int row);
CellAlign ZonePickerAlign(int column, int row);

}  // namespace zelor
