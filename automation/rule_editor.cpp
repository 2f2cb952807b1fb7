#include "automation/rule_editor.h"

#include <algorithm>

#include "automation/rule_vocabulary.h"
#include "automation/rules.h"
#include "link/format.h"
#include "model/cp1251.h"
#include "model/device_types.h"

namespace zelor {
namespace {

constexpr const char* kArrow = "-->";
// The rule list shows rows TopRow .. TopRow + 18; the device picker 16 rows.
constexpr int kRulesBelowTop = 17;
constexpr int kNodePickerReach = 15;
constexpr int kNodePickerBackStep = 8;
constexpr int kNodePickerVisible = 16;

// Column widths of AutoGrid before the event and the action cell, and the code cell's width.
constexpr int kWidthBeforeEvent = 30 + 175 + 60;
constexpr int kWidthBeforeAction = kWidthBeforeEvent + 130 + 30 + 175 + 60;
constexpr int kCodeCellWidth = 130;
constexpr int kEventBoxShift = 5;   // the three grid lines before column 3, and the frame
constexpr int kActionBoxShift = 9;  // the seven grid lines before column 7, and the frame

}  // namespace

AutoGridRow AutoGridRowTexts(const ConfigModel& m, uint8_t rule) {
  AutoGridRow row;
  if (rule >= kMaxRules) return row;
  const RuleSide& a = m.Activators[rule];
  const RuleSide& e = m.Executors[rule];
  row[0] = FormatZeroPadded(rule, 2);
  row[1] = Utf8FromCp1251(a.Text);
  row[2] = ZoneKindText(a.Kind);
  row[3] = RuleEventText(a.Code);
  row[4] = kArrow;
  row[5] = Utf8FromCp1251(e.Text);
  row[6] = ZoneKindText(e.Kind);
  row[7] = RuleActionText(e.Code);
  return row;
}

int AutoGridTopRow(int topRow, uint8_t s) {
  if (topRow - s == 2) --topRow;
  if (s - topRow > kRulesBelowTop) ++topRow;
  return topRow;
}

NodePickerRow NodePickerRowTexts(const ConfigModel& m, uint8_t position) {
  NodePickerRow row;
  if (position >= kMaxNodes) return row;
  const NodeRecord& n = m.Nodes[position];
  row[0] = FormatZeroPadded(position, 2);
  row[1] = DeviceTypeText(n.Type);
  row[2] = "  " + Utf8FromCp1251(n.Name);
  row[3] = FormatZeroPadded(n.Address, 3);
  return row;
}

int NodePickerTypeWidth(uint8_t nodeCount, int scrollBarWidth) {
  return nodeCount >= kNodesNeedingScrollBar ? kNodePickerTypeWidth - scrollBarWidth : kNodePickerTypeWidth;
}

int NodePickerTopRow(int topRow, int p, uint8_t nodeCount) {
  if (p + 2 - topRow > kNodePickerReach) {
    topRow = p - kNodePickerBackStep;
    if (nodeCount - topRow + 1 < kNodePickerVisible + 1) topRow = nodeCount - kNodePickerReach;
  }
  return std::max(topRow, 1);
}

ZonePickerContents ZonePickerFor(const ConfigModel& m, uint8_t node) {
  ZonePickerContents c;
  if (node >= m.NodeCount || node >= kMaxNodes) return c;
  const NodeRecord& n = m.Nodes[node];
  if (n.Type == kTypeIndicationModule) {
    c.RowCount = 2;
    c.Rows.push_back({});
    return c;
  }
  // The node's own zones: for every listed type as many as the type has; a type without entry has none.
  const uint8_t zones = std::min(n.ZoneCount, kMaxZonesPerNode);
  c.RowCount = zones + 1;
  for (uint8_t z = 0; z < zones; ++z) {
    const ZoneRecord& zone = n.Zones[z];
    c.Rows.push_back({FormatZeroPadded(zone.Index, 4), "  " + Utf8FromCp1251(zone.Name), "   " + ZoneKindText(zone.Kind)});
  }
  return c;
}

bool AssignsOnNodeDoubleClick(uint8_t t) {
  return t == 4 || t == kTypePpu || t == 6 || t == kTypePpuPk || t == kTypeAddressTag || t == kTypeDrola ||
         t == kTypeDrolaSound;
}

DblClickStep AutoGridDblClickStep(const ConfigModel& m, uint8_t column, bool zonePickerShown) {
  if (m.RuleCount == 0 || m.NodeCount == 0 || zonePickerShown) return DblClickStep::Nothing;
  switch (column) {
    case kActivatorZoneColumn: return DblClickStep::PickActivator;
    case kExecutorZoneColumn: return DblClickStep::PickExecutor;
    case kEventColumn: return DblClickStep::ChooseEvent;
    case kActionColumn: return DblClickStep::ChooseAction;
    default: return DblClickStep::OtherColumn;
  }
}

Choice ChoiceFor(const RuleSide& side, Side which) {
  Choice c;
  const auto codes = which == Side::Activator ? EventsOffered(side.Kind) : ActionsOffered(side.Kind);
  for (uint8_t code : codes) {
    if (code == side.Code) c.Selected = static_cast<int>(c.Codes.size());
    c.Codes.push_back(code);
    c.Texts.push_back(which == Side::Activator ? RuleEventText(code) : RuleActionText(code));
  }
  return c;
}

BoxPlace EventBoxPlace(int gridLeft, int gridTop, int32_t selectedRule, int topRow, bool action) {
  BoxPlace p;
  p.Top = gridTop + (selectedRule + 2 - topRow) * (kAutoGridRowHeight + kGridLine);
  p.Left = gridLeft + (action ? kWidthBeforeAction + kActionBoxShift : kWidthBeforeEvent + kEventBoxShift);
  p.Width = kCodeCellWidth;
  return p;
}

bool ApplyChoice(ConfigModel& m, const RuleEditorState& state, int item) {
  if (item < 0 || item >= static_cast<int>(state.ChoiceCodes.size())) return false;
  if (m.SelectedRule < 0 || m.SelectedRule >= m.RuleCount) return false;
  const auto rule = static_cast<uint8_t>(m.SelectedRule);
  if (state.AutoColumn == kEventColumn) {
    m.Activators[rule].Code = state.ChoiceCodes[static_cast<std::size_t>(item)];
    return true;
  }
  if (state.AutoColumn == kActionColumn) {
    m.Executors[rule].Code = state.ChoiceCodes[static_cast<std::size_t>(item)];
    return true;
  }
  return false;
}

CellFill AutoGridFill(uint8_t pickMode, int column, int row, bool selected) {
  if (row == 0) return CellFill::Heading;
  if (row == 1 && pickMode != kPickNone && column == pickMode) return CellFill::Picked;
  return selected ? CellFill::Selected : CellFill::Normal;
}

CellFill PickerFill(int row, bool selected) {
  if (row == 0) return CellFill::Heading;
  return selected ? CellFill::Selected : CellFill::Normal;
}

CellAlign AutoGridAlign(int column, int row) {
  return row == 0 || column == 0 || column == 4 ? CellAlign::Centre : CellAlign::Left;
}

CellAlign NodePickerAlign(int column, int row) {
  return row == 0 || column == 0 || column == 3 ? CellAlign::Centre : CellAlign::Left;
}

CellAlign ZonePickerAlign(int column, int row) { return row == 0 || column == 0 ? CellAlign::Centre : CellAlign::Left; }

}  // namespace zelor
