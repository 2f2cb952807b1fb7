// The serving core of the simulator program, free of I/O: line bytes go in, requests are framed
// and answered by the panel, and the replies come out as timed pieces at the line rate, bent by
// the fault script; everything is written to the traffic log.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "sim/fault_script.h"
#include "sim/panel.h"
#include "sim/reply_shaping.h"
#include "sim/request_framer.h"
#include "sim/traffic_log.h"

namespace zelor::sim {

class Session {
 public:
  Session(Panel& panel, FaultScript& faults, TrafficLog& log);

  // Pacing: `paced` spaces reply bytes by 10 bits at the panel's line rate; the turnaround is
  // the pause between a request and its reply. 0 for `baudOverride` takes the panel's rate.
  bool paced = false;
  int64_t turnaroundMicros = 1000;
  uint32_t baudOverride = 0;
  // On a pseudo-terminal a request arrives all at once; with this the reply also waits for the
  // time the request's own bytes would have taken on a line at that rate.
  bool pacedRequests = false;
  // Silence after which a partial frame is given up (garbage, a broken request).
  int64_t quietMicros = 20'000;

  // Bytes read from the line at monotonic time `now` (microseconds).
  void OnBytes(const uint8_t* bytes, std::size_t count, int64_t now);
  // What has to be written to the line by `now`; also gives up partial frames after quiet.
  std::vector<uint8_t> TakeDue(int64_t now);
  // When TakeDue next has something to do.
  std::optional<int64_t> NextDeadline() const;

  uint32_t lineBaud() const { return baudOverride != 0 && !panel_.inBootLoader() ? baudOverride : panel_.lineBaud(); }
  std::size_t framesHandled() const { return frames_; }
  std::size_t bytesDiscarded() const { return discarded_; }

 private:
  void Handle(const RequestFramer::Output& out, int64_t now);
  void Answer(const std::vector<uint8_t>& request, int64_t now);

  Panel& panel_;
  FaultScript& faults_;
  TrafficLog& log_;
  RequestFramer framer_;
  std::multimap<int64_t, std::vector<uint8_t>> outgoing_;
  std::optional<int64_t> quietAt_;
  std::size_t frames_ = 0;
  std::size_t discarded_ = 0;
};

}  // namespace zelor::sim
