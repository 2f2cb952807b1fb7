// The view state of the configuration editor: which cell was clicked last, what the next TimerX1
// tick does, what the spin editor edits, which name the name editor holds, and the flags of the
// refusal flash and of the open group chooser.
#pragma once
#include <cstdint>

namespace zelor {

// What the next TimerX1 tick does.
enum class EditorFocusAction : uint8_t {
  None = 0,
  NodeName = 1,   // focus NameEdit
  AddrEdit = 2,   // focus AddrEdit
  ZoneName = 3,   // focus NameEdit
  GroupName = 5,  // focus NameEdit
  EndFlash = 11,  // redraw the flashed ZoneGrid cell without its frame
};

// What AddrEdit edits; None while it is being prepared, so that its change events are ignored.
enum class SpinEditMode : uint8_t { None = 0, NodeAddress = 1, ConvNumber = 2 };

// Whose name NameEdit holds while it is shown. Kept apart from EditorFocusAction, which a refusal
// flash overwrites: an open name editor must still commit where it was opened for.
enum class NameEditTarget : uint8_t { None, Node, Zone, Group };

struct EditorState {
  int32_t ClickedColumn = 0;   // last selected column of NodesGrid, ZoneGrid or GroupGrid
  int32_t ClickedZoneRow = 0;  // last selected row of ZoneGrid
  zelor::EditorFocusAction EditorFocusAction = zelor::EditorFocusAction::None;
  zelor::SpinEditMode SpinEditMode = zelor::SpinEditMode::None;
  NameEditTarget NameTarget = NameEditTarget::None;
  bool FlashPending = false;         // the clicked ZoneGrid cell wears the refusal frame
  bool ZoneColumnHighlight = false;  // the group chooser is open
  int32_t ChosenGroup = -1;          // GroupGrid's clicked row - 2 (-1: the no-group row)
  int32_t EditedGroup = -1;          // the group whose name NameEdit holds
};

}  // namespace zelor
