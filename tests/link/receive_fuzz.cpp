// libFuzzer entry for the receive path: any bytes from the line, for any pending request kind and
// running operation, go through the read assembly, the receive cycle, the dispatch and the
// parameter decoder without leaving the frame buffer. A libFuzzer program with -DZELOR_FUZZERS=ON
// (clang); test_link replays the corpus beside it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/engine.h"
#include "link/sequencer.h"
#include "recording_surfaces.h"
#include "service/parameter_block.h"
#include "sim/panel.h"
#include "simulated_line.h"
#include "virtual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelor;
  if (size < 3) return 0;
  test::VirtualClock clock;
  sim::Panel panel;
  test::SimulatedLine line(clock, panel);
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  test::RecordingMemo memo1, memo2;
  test::RecordingProgressBar progress;
  test::RecordingStatusBar status;
  Link link(clock, line, LinkSurfaces{memo1, memo2, status, progress});
  link.RegisterHandler(ResponseKind::rkParameterBlock, [&link] {
    DecodeParameterBlock(link.FrameBuffer.data(), link.RxCount, CivilTime{});
  });
  link.SendReadRequest(0, data[2]);
  link.ResponseKind = static_cast<ResponseKind>(data[0]);
  link.OperationMode = static_cast<OperationMode>(data[1]);
  // The rest arrives in chunks: a zero byte marks a 200 ms gap, so reads end early too.
  int64_t at = 1000;
  std::vector<uint8_t> chunk;
  for (std::size_t i = 3; i < size; ++i) {
    if (data[i] == 0 && !chunk.empty()) {
      line.Inject(at, chunk);
      chunk.clear();
      at += 200'000;
    } else {
      chunk.push_back(data[i]);
    }
  }
  if (!chunk.empty()) line.Inject(at, chunk);
  clock.AdvanceMs(5000);
  return 0;
}
