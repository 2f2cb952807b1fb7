// What the grids of the configuration tab show and how each cell is drawn, without widgets: the
// row texts of NodesGrid, ZoneGrid and GroupGrid, the row counts, the scrolling and the colours.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "model/config_model.h"

namespace zelor {

inline constexpr int kNodesVisibleRows = 16;  // data rows NodesGrid shows without scrolling
inline constexpr int kGroupGridRows = 12;     // heading, the no-group row, groups 0..9

// Follows a conventional number typed or stored as explicit: tells the drawing to use bold blue.
inline constexpr char kExplicitMarker = '\0';

// Row k + 1 of NodesGrid: "00".., the type name, two blanks and the name, the address as three digits.
std::array<std::string, 4> NodeRowCells(const NodeRecord& node, int position);
// Row z + 1 of ZoneGrid: the index as four digits, two blanks and the name, the kind text, the group
// as two digits (empty for no group), the number as four digits (explicit: less 1000, then the marker).
std::array<std::string, 5> ZoneRowCells(const ZoneRecord& zone);
// The number cell alone.
std::string ConvNumberCell(uint16_t convNumber);
// Rows of GroupGrid 1..11: "<не в группе>" and an empty cell; then "00".."09" and fifteen blanks and the name.
std::array<std::string, 2> GroupRowCells(const ConfigModel& model, int row);

// Rows of ZoneGrid, heading included, for the selected node: zones + 1; two (one empty data row)
// without nodes or for a type-12 node; the heading alone for a type without an entry.
int ZoneGridRows(const ConfigModel& model);
// Whether ZoneGrid's data row 1 is the empty row (no nodes, type 12).
bool ZoneGridEmpty(const ConfigModel& model);

// The first visible data row of NodesGrid after the selection moved to `selectedRow`: one row up
// when it is the row just above the view, one row down when it is more than 15 rows below its top.
int NodesGridTopAfter(int topRow, int selectedRow);

// The group chooser's row for a zone's group: group + 2, or 1 (no group).
int GroupRowOf(uint8_t group);

// Colours as 0xRRGGBB.
inline constexpr uint32_t kSelectedFill = 0xB6BDD2;
inline constexpr uint32_t kRefusalFrame = 0xEA3A00;
inline constexpr uint32_t kGroupColumnFill = 0xBCE19C;
inline constexpr uint32_t kExplicitNumberColour = 0x0000FF;
inline constexpr uint32_t kTextColour = 0x000000;

enum class CellFill : uint8_t { Normal, Fixed, Selected, GroupColumn };
enum class CellAlign : uint8_t { Left, Centre };

struct CellLook {
  CellFill Fill = CellFill::Normal;
  CellAlign Align = CellAlign::Left;
  bool BoldBlue = false;
  bool RefusalFrame = false;  // a 2-pixel frame of kRefusalFrame around a kSelectedFill inside
};

// NodesGridDrawCell: centred in the heading and in columns 0 and 3.
CellLook NodesCellLook(int column, int row, bool selected);
// ZoneGridDrawCell: centred in the heading and in columns 0, 3 and 4; the group column light green
// while the chooser is open; a number cell longer than 4 characters in bold blue; the refusal frame
// on the flashed cell.
CellLook ZoneCellLook(int column, int row, const std::string& text, bool selected, bool groupColumnHighlight,
                      bool flashed);
// GroupGridDrawCell: a selected cell light green in column 0, #B6BDD2 in column 1; centred in the
// heading and in column 0.
CellLook GroupCellLook(int column, int row, bool selected);

}  // namespace zelor
