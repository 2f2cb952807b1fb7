#include "config/editor_cells.h"

#include "link/format.h"
#include "model/cp1251.h"

namespace zelor {

std::array<std::string, 4> NodeRowCells(const NodeRecord& node, int position) {
  return {FormatZeroPadded(static_cast<uint16_t>(position), 2), DeviceTypeText(node.Type), "  " + Utf8FromCp1251(node.Name),
          FormatZeroPadded(node.Address, 3)};
}

std::string ConvNumberCell(uint16_t convNumber) {
  if (convNumber < kExplicitNumberBase) return FormatZeroPadded(convNumber, 4);
  return FormatZeroPadded(static_cast<uint16_t>(convNumber - kExplicitNumberBase), 4) + kExplicitMarker;
}

std::array<std::string, 5> ZoneRowCells(const ZoneRecord& zone) {
  return {FormatZeroPadded(zone.Index, 4), "  " + Utf8FromCp1251(zone.Name), ZoneKindText(zone.Kind),
          IsGroupMember(zone.Group) ? FormatZeroPadded(zone.Group, 2) : std::string(), ConvNumberCell(zone.ConvNumber)};
}

std::array<std::string, 2> GroupRowCells(const ConfigModel& m, int row) {
  if (row == 1) return {"<не в группе>", ""};
  const int group = row - 2;
  if (group < 0 || group >= kGroupCount) return {"", ""};
  return {FormatZeroPadded(static_cast<uint16_t>(group), 2),
          std::string(15, ' ') + Utf8FromCp1251(m.GroupNames[static_cast<std::size_t>(group)])};
}

int ZoneGridRows(const ConfigModel& m) {
  if (m.NodeCount == 0 || m.SelectedNode < 0 || m.SelectedNode >= m.NodeCount) return 2;
  const NodeRecord& node = m.Nodes[static_cast<std::size_t>(m.SelectedNode)];
  if (node.Type == kTypeIndicationModule) return 2;
  return node.ZoneCount + 1;
}

bool ZoneGridEmpty(const ConfigModel& m) {
  if (m.NodeCount == 0 || m.SelectedNode < 0 || m.SelectedNode >= m.NodeCount) return true;
  return m.Nodes[static_cast<std::size_t>(m.SelectedNode)].Type == kTypeIndicationModule;
}

int NodesGridTopAfter(int topRow, int selectedRow) {
  if (selectedRow == topRow - 1) return topRow - 1;
  if (selectedRow - topRow > kNodesVisibleRows - 1) return topRow + 1;
  return topRow;
}

int GroupRowOf(uint8_t group) { return IsGroupMember(group) ? group + 2 : 1; }

CellLook NodesCellLook(int column, int row, bool selected) {
  CellLook look;
  look.Fill = row == 0 ? CellFill::Fixed : selected ? CellFill::Selected : CellFill::Normal;
  look.Align = row == 0 || column == 0 || column == 3 ? CellAlign::Centre : CellAlign::Left;
  return look;
}

CellLook ZoneCellLook(int column, int row, const std::string& text, bool selected, bool groupColumnHighlight,
                      bool flashed) {
  CellLook look;
  if (row == 0) {
    look.Fill = CellFill::Fixed;
  } else if (column == 3 && groupColumnHighlight) {
    look.Fill = CellFill::GroupColumn;  // wins over the selection while the chooser is open
  } else if (selected) {
    look.Fill = CellFill::Selected;
  }
  look.Align = row == 0 || column == 0 || column == 3 || column == 4 ? CellAlign::Centre : CellAlign::Left;
  look.BoldBlue = row > 0 && column == 4 && text.size() > 4;
  look.RefusalFrame = row > 0 && flashed;
  return look;
}

CellLook GroupCellLook(int column, int row, bool selected) {
  CellLook look;
  if (row == 0) {
    look.Fill = CellFill::Fixed;
  } else if (selected) {
    look.Fill = column == 0 ? CellFill::GroupColumn : CellFill::Selected;
  }
  look.Align = row == 0 || column == 0 ? CellAlign::Centre : CellAlign::Left;
  return look;
}

}  // namespace zelor
