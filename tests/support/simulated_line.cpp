#include "simulated_line.h"

#include "link/line_lock.h"

namespace zelor::test {

SimulatedLine::SimulatedLine(VirtualClock& clock, sim::Panel& panel)
    : clock_(clock),
      panel_(panel),
      assembler_(
          clock, kInterByteGapMs, [this] { return readSize_ ? readSize_() : std::size_t{1}; },
          [this](const uint8_t* b, std::size_t n) {
            if (onReceive_) onReceive_(b, n);
          }) {}

SimulatedLine::~SimulatedLine() {
  for (uint64_t id : inFlight_) clock_.Cancel(id);
}

void SimulatedLine::Open() {
  if (open_) return;
  if (failOpen) throw SerialPortError("cannot open " + name_);
  if (!heldBy.empty()) throw LineInUse(heldBy);
  open_ = true;
  ++opens;
}

void SimulatedLine::Close() {
  if (!open_) return;
  open_ = false;
  ++closes;
  assembler_.Reset();
}

void SimulatedLine::SetPort(const std::string& name) {
  if (name == name_) return;
  const bool wasOpen = open_;
  Close();
  name_ = name;
  if (wasOpen) Open();
}

std::size_t SimulatedLine::Write(const uint8_t* bytes, std::size_t count) {
  if (!open_ || failWrite) throw SerialPortError("write failed on " + name_);
  if (stallWrite) {
    clock_.Schedule(stallMicros, [this] {
      if (!open_) return;
      Close();
      if (onSendFailure_) onSendFailure_("the line did not take the request on " + name_);
    });
    return count;
  }
  std::vector<uint8_t> request(bytes, bytes + count);
  requests.push_back(request);
  requestMicros.push_back(clock_.NowMicros());
  sim::FaultSpec fault = defaultFault;
  if (!faults_.empty()) {
    fault = std::move(faults_.front());
    faults_.pop_front();
  } else if (faultFor) {
    fault = faultFor(request);
  }
  auto reply = panel_.Handle(request.data(), request.size());
  const int64_t sendTime = timing.paced ? static_cast<int64_t>(count) * sim::ByteMicros(timing.baud) : 0;
  if (reply) {
    for (auto& chunk : sim::ShapeReply(request, std::move(*reply), fault, timing)) {
      Inject(sendTime + chunk.atMicros, std::move(chunk.bytes));
    }
  }
  return count;
}

void SimulatedLine::Inject(int64_t delayMicros, std::vector<uint8_t> bytes) {
  auto id = std::make_shared<uint64_t>(0);
  *id = clock_.Schedule(delayMicros, [this, id, bytes = std::move(bytes)] {
    inFlight_.erase(*id);
    Arrive(bytes);
  });
  inFlight_.insert(*id);
}

void SimulatedLine::Arrive(const std::vector<uint8_t>& bytes) {
  if (!open_) return;  // a closed port hears nothing
  lastArrivalMicros = clock_.NowMicros();
  assembler_.Feed(bytes.data(), bytes.size());
}

}  // namespace zelor::test
