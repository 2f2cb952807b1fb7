// What the core asks of the editor views; the default does nothing, so the core runs without them.
#pragma once
#include <cstdint>

namespace zelor {

class ConfigViews {
 public:
  virtual ~ConfigViews() = default;
  virtual void RefreshNodesGrid() {}
  virtual void RefreshZoneGrid() {}
  // Rewrites the rule list and selects rule `selected`.
  virtual void RefreshAutoGrid(uint8_t /*selected*/) {}
  // Hides AutoNodeGrid, AutoZoneGrid and EventBox.
  virtual void HideRulePickers() {}
  // Hides GroupGrid and clears ZoneColumnHighlight.
  virtual void HideGroupChooser() {}
  // A node or zone changed: added, deleted, moved, renamed, readdressed or given another kind. The
  // automation tab's zone pickers show nodes and zones, and refresh on this.
  virtual void NodesChanged() {}
};

}  // namespace zelor
