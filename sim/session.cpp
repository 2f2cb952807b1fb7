#include "sim/session.h"

#include <string>

namespace zelor::sim {

namespace {
const char* OutcomeNote(Panel::Outcome outcome) {
  switch (outcome) {
    case Panel::Outcome::Malformed: return "malformed, no reply";
    case Panel::Outcome::BadCrc: return "bad CRC, no reply";
    case Panel::Outcome::OtherAddress: return "for another address, no reply";
    case Panel::Outcome::LoaderRefused: return "not a good loader frame, no reply";
    case Panel::Outcome::Answered: break;
  }
  return "";
}
}  // namespace

Session::Session(Panel& panel, FaultScript& faults, TrafficLog& log) : panel_(panel), faults_(faults), log_(log) {}

void Session::OnBytes(const uint8_t* bytes, std::size_t count, int64_t now) {
  if (count == 0) return;
  framer_.SetMode(panel_.inBootLoader() ? RequestFramer::Mode::Loader : RequestFramer::Mode::Panel);
  RequestFramer::Output out;
  framer_.Feed(bytes, count, out);
  Handle(out, now);
  quietAt_ = framer_.pending() > 0 ? std::optional<int64_t>(now + quietMicros) : std::nullopt;
}

void Session::Handle(const RequestFramer::Output& out, int64_t now) {
  for (const auto& junk : out.discarded) {
    discarded_ += junk.size();
    log_.Bytes("??", junk, "not a request, dropped");
  }
  for (const auto& frame : out.frames) Answer(frame, now);
}

void Session::Answer(const std::vector<uint8_t>& request, int64_t now) {
  ++frames_;
  const bool wasLoader = panel_.inBootLoader();
  LineTiming timing;
  timing.baud = lineBaud();  // the reply leaves at the rate the request came in
  timing.paced = paced;
  timing.turnaroundMicros = turnaroundMicros;
  if (paced && pacedRequests) timing.turnaroundMicros += static_cast<int64_t>(request.size()) * ByteMicros(timing.baud);
  auto reply = panel_.Handle(request.data(), request.size());
  if (!reply) {
    log_.Bytes("RX", request, OutcomeNote(panel_.lastOutcome()));
    return;
  }
  log_.Bytes("RX", request);
  const FaultSpec fault = faults_.Next(request);
  const auto chunks = ShapeReply(request, *reply, fault, timing);
  std::vector<uint8_t> sent;
  for (const auto& c : chunks) sent.insert(sent.end(), c.bytes.begin(), c.bytes.end());
  std::string note = fault.fault == Fault::None ? "" : std::string("fault ") + FaultName(fault.fault);
  if (fault.fault == Fault::NoReply) {
    log_.Bytes("--", *reply, note + ": withheld");
  } else {
    log_.Bytes("TX", sent, note);
  }
  for (const auto& c : chunks) outgoing_.emplace(now + c.atMicros, c.bytes);
  if (wasLoader && !panel_.inBootLoader()) log_.Note("firmware upgrade finished, a panel again");
  if (lineBaud() != timing.baud) log_.Note("line rate now " + std::to_string(lineBaud()) + " baud");
}

std::vector<uint8_t> Session::TakeDue(int64_t now) {
  if (quietAt_ && now >= *quietAt_) {
    quietAt_.reset();
    RequestFramer::Output out;
    framer_.Flush(out);
    Handle(out, now);
  }
  std::vector<uint8_t> due;
  while (!outgoing_.empty() && outgoing_.begin()->first <= now) {
    const auto& bytes = outgoing_.begin()->second;
    due.insert(due.end(), bytes.begin(), bytes.end());
    outgoing_.erase(outgoing_.begin());
  }
  return due;
}

std::optional<int64_t> Session::NextDeadline() const {
  std::optional<int64_t> next = quietAt_;
  if (!outgoing_.empty() && (!next || outgoing_.begin()->first < *next)) next = outgoing_.begin()->first;
  return next;
}

}  // namespace zelor::sim
