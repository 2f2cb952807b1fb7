// The texts, row counts, scrolling and looks of the configuration tab's grids.
#include <gtest/gtest.h>

#include "config/editor_cells.h"
#include "config_test_support.h"

namespace zelor {
namespace {

using testing::AddNodes;
using testing::Cp;

TEST(EditorCells, NodeAndZoneRows) {
  ConfigModel m;
  AddNodes(m, {1, 13});
  m.Nodes[0].Zones[3].Group = 4;
  m.Nodes[0].Zones[5].ConvNumber = 1007;
  EXPECT_EQ(NodeRowCells(m.Nodes[1], 1), (std::array<std::string, 4>{"01", "  АДРЕС. МЕТКА    ", "  АДРЕС. МЕТКА   ", "002"}));
  EXPECT_EQ(ZoneRowCells(m.Nodes[0].Zones[3]),
            (std::array<std::string, 5>{"0003", "  ЗЕЛОР-16: ШС-04", "  ПОЖ.", "04", "0003"}));
  const auto explicitRow = ZoneRowCells(m.Nodes[0].Zones[5]);
  EXPECT_EQ(explicitRow[3], "");
  EXPECT_EQ(explicitRow[4], std::string("0007") + kExplicitMarker);
  EXPECT_EQ(explicitRow[4].size(), 5u);
  EXPECT_EQ(ZoneRowCells(m.Nodes[1].Zones[0])[1], "  МЕТКА-002:     ");
  EXPECT_EQ(ConvNumberCell(999), "0999");
  EXPECT_EQ(ConvNumberCell(1999), std::string("0999") + kExplicitMarker);
}

TEST(EditorCells, ZoneGridRowsFollowTheSelectedNode) {
  struct Case {
    uint8_t type;
    int rows;
    bool empty;
  };
  for (const auto& c : std::vector<Case>{{1, 17, false}, {2, 9, false}, {8, 5, false}, {21, 4, false}, {3, 3, false},
                                         {5, 2, false}, {12, 2, true}}) {
    ConfigModel m;
    AddNodes(m, {c.type});
    EXPECT_EQ(ZoneGridRows(m), c.rows) << int(c.type);
    EXPECT_EQ(ZoneGridEmpty(m), c.empty) << int(c.type);
  }
  ConfigModel none;
  EXPECT_EQ(ZoneGridRows(none), 2);
  EXPECT_TRUE(ZoneGridEmpty(none));
  ConfigModel unknown;
  AddNodes(unknown, {1});
  unknown.Nodes[0].Type = 11;
  unknown.Nodes[0].ZoneCount = 0;
  EXPECT_EQ(ZoneGridRows(unknown), 1);
}

TEST(EditorCells, GroupRows) {
  ConfigModel m;
  m.GroupNames[7] = Cp("СКЛАД           ");
  EXPECT_EQ(GroupRowCells(m, 1), (std::array<std::string, 2>{"<не в группе>", ""}));
  EXPECT_EQ(GroupRowCells(m, 2), (std::array<std::string, 2>{"00", std::string(15, ' ') + "<НАЗВАНИЕ> : 0  "}));
  EXPECT_EQ(GroupRowCells(m, 9), (std::array<std::string, 2>{"07", std::string(15, ' ') + "СКЛАД           "}));
  for (uint8_t g : {0, 3, 9}) EXPECT_EQ(GroupRowOf(g), g + 2);
  for (uint8_t g : {10, 0xFD, 0xFF}) EXPECT_EQ(GroupRowOf(g), 1);
}

TEST(EditorCells, NodesGridKeepsTheSelectionInView) {
  struct Case {
    int top, selected, after;
  };
  for (const auto& c : std::vector<Case>{{1, 16, 1}, {1, 17, 2}, {2, 1, 1}, {2, 2, 2}, {5, 20, 5}, {5, 21, 6}, {5, 4, 4}}) {
    EXPECT_EQ(NodesGridTopAfter(c.top, c.selected), c.after) << c.top << " " << c.selected;
  }
}

TEST(EditorCells, Looks) {
  EXPECT_EQ(NodesCellLook(1, 0, false).Fill, CellFill::Fixed);
  EXPECT_EQ(NodesCellLook(1, 0, false).Align, CellAlign::Centre);
  for (int col : {0, 3}) EXPECT_EQ(NodesCellLook(col, 2, true).Align, CellAlign::Centre);
  for (int col : {1, 2}) EXPECT_EQ(NodesCellLook(col, 2, false).Align, CellAlign::Left);
  EXPECT_EQ(NodesCellLook(2, 2, true).Fill, CellFill::Selected);

  for (int col : {0, 3, 4}) EXPECT_EQ(ZoneCellLook(col, 1, "x", false, false, false).Align, CellAlign::Centre);
  for (int col : {1, 2}) EXPECT_EQ(ZoneCellLook(col, 1, "x", false, false, false).Align, CellAlign::Left);
  EXPECT_TRUE(ZoneCellLook(4, 1, std::string("0005") + kExplicitMarker, false, false, false).BoldBlue);
  EXPECT_FALSE(ZoneCellLook(4, 1, "0005", false, false, false).BoldBlue);
  EXPECT_FALSE(ZoneCellLook(1, 1, "  ЗЕЛОР-16: ШС-01", false, false, false).BoldBlue);
  EXPECT_EQ(ZoneCellLook(3, 1, "", true, true, false).Fill, CellFill::GroupColumn);
  EXPECT_EQ(ZoneCellLook(3, 0, "ГРУППА", false, true, false).Fill, CellFill::Fixed);
  EXPECT_EQ(ZoneCellLook(2, 1, "", true, true, false).Fill, CellFill::Selected);
  EXPECT_TRUE(ZoneCellLook(2, 1, "", true, false, true).RefusalFrame);

  EXPECT_EQ(GroupCellLook(0, 3, true).Fill, CellFill::GroupColumn);
  EXPECT_EQ(GroupCellLook(1, 3, true).Fill, CellFill::Selected);
  EXPECT_EQ(GroupCellLook(1, 3, false).Fill, CellFill::Normal);
  EXPECT_EQ(GroupCellLook(0, 3, false).Align, CellAlign::Centre);
  EXPECT_EQ(GroupCellLook(1, 3, false).Align, CellAlign::Left);
}

}  // namespace
}  // namespace zelor
