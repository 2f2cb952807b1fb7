// A link wired to an in-process panel over a simulated line, with recording surfaces.
#pragma once
#include <gtest/gtest.h>

#include "link/engine.h"
#include "link/sequencer.h"
#include "recording_surfaces.h"
#include "sim/panel.h"
#include "simulated_line.h"
#include "virtual_clock.h"

namespace zelor::test {

class LinkFixture : public ::testing::Test {
 protected:
  VirtualClock clock;
  sim::Panel panel;
  SimulatedLine line{clock, panel};
  RecordingMemo memo1;
  RecordingMemo memo2;
  RecordingStatusBar status;
  RecordingProgressBar progress1;
  Link link{clock, line, LinkSurfaces{memo1, memo2, status, progress1}};
  Sequencer sequencer{link};

  // Runs the clock until no response is pending (or maxMs passes).
  void AwaitReceiveCycle(int64_t maxMs = 5000) {
    clock.RunUntil([this] { return !link.Timer_Rx->Enabled(); }, maxMs);
  }
};

}  // namespace zelor::test
