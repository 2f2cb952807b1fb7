// The address search of the "Search" menu: probes addresses 1..247 with a read of register 0,
// each waiting SearchDelay for an answer, until the panel's type code answers.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "link/engine.h"
#include "link/sequencer.h"
#include "service/search_view.h"

namespace zelor {

class AddressSearch {
 public:
  // SearchDelay of the "Delay" entries CustomItem7 .. CustomItem12.
  static constexpr std::array<uint16_t, 6> kDelays = {100, 150, 200, 250, 300, 350};
  static constexpr uint32_t kProbeIntervalMs = 5;

  AddressSearch(Link& link, Sequencer& sequencer, SearchView& view);
  AddressSearch(const AddressSearch&) = delete;
  AddressSearch& operator=(const AddressSearch&) = delete;

  void CustomItem5Click();     // "Start", or "Stop" while searching
  void DelayClick(int entry);  // CustomItem7Click .. CustomItem12Click: entry 0..5

 private:
  void Start();
  void Stop();
  void SearchProbeHandler();
  void NotFound();
  // What every end of the search shows: bar hidden, "Start", the address taken, focus to the menu.
  void EndSteps();
  // Names the operation the search took over, before the search's own line (each probe clears
  // the log, so it is told at the end).
  void TellTakenOver();

  Link& link_;
  Sequencer& sequencer_;
  SearchView& view_;
  std::string takenOver_;  // the stop line of the operation this search took over, if any
};

}  // namespace zelor
