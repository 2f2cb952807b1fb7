// The controls of the "Search" menu and the few others the address search touches, as its logic sees them.
#pragma once
#include <cstdint>
#include <string>

namespace zelor {

class SearchView {
 public:
  virtual ~SearchView() = default;
  // The caption of CustomItem5: "Start", or "Stop" while searching.
  virtual void SetStartCaption(const std::string& caption) = 0;
  // Checks "Delay" entry `entry` (0 = CustomItem7 "100ms" .. 5 = CustomItem12 "350ms"), clears the others.
  virtual void CheckDelay(int entry) = 0;
  // The configuration editor's device panel Add_Box hidden, its button Add_Butt_00 shown.
  virtual void CloseAddBox() = 0;
  // TeSpinEdit1 := address, applied as any change of that field (status bar, TeLabel5).
  virtual void ShowAddress(uint8_t address) = 0;
  // Keyboard focus to TeMenuBar1.
  virtual void FocusMenuBar() = 0;
};

}  // namespace zelor
