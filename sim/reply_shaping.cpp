#include "sim/reply_shaping.h"

#include <iterator>

#include "link/crc16.h"
#include "link/registers.h"

namespace zelor::sim {

int64_t ByteMicros(uint32_t baud) { return baud == 0 ? 0 : 10'000'000LL / baud; }

std::vector<uint8_t> ExceptionReply(uint8_t address, uint8_t function, uint8_t code) {
  std::vector<uint8_t> r{address, static_cast<uint8_t>(function | fn::kExceptionFlag), code, 0, 0};
  AppendCrc16(r.data(), 3);
  return r;
}

std::vector<Chunk> ShapeReply(const std::vector<uint8_t>& request, std::vector<uint8_t> reply,
                              const FaultSpec& fault, const LineTiming& timing) {
  if (reply.empty() || fault.fault == Fault::NoReply) return {};
  int64_t start = timing.turnaroundMicros;
  std::size_t splitAt = reply.size();  // index of the first byte after the gap
  switch (fault.fault) {
    case Fault::BadCrc: reply.back() ^= 0xFF; break;
    case Fault::Exception:
      reply = ExceptionReply(request.empty() ? 0 : request[0], request.size() > 1 ? request[1] : 0, 4);
      break;
    case Fault::Delayed: start += fault.delayMicros; break;
    case Fault::Split: splitAt = reply.size() / 2; break;
    case Fault::Garbage:
      if (fault.garbage.empty()) {
        static constexpr uint8_t kStray[] = {0x00, 0xFF, 0x55};
        reply.insert(reply.begin(), std::begin(kStray), std::end(kStray));
      } else {
        reply.insert(reply.begin(), fault.garbage.begin(), fault.garbage.end());
      }
      break;
    case Fault::Short: reply.resize(reply.size() > fault.shortBy ? reply.size() - fault.shortBy : 1); break;
    default: break;
  }
  const int64_t perByte = timing.paced ? ByteMicros(timing.baud) : 0;
  std::vector<Chunk> chunks;
  int64_t t = start;
  for (std::size_t i = 0; i < reply.size(); ++i) {
    if (i == splitAt) t += fault.gapMicros;
    t += perByte;  // a byte is on the wire for its 10 bits before the receiver has it
    if (perByte == 0 && !chunks.empty() && i != splitAt) {
      chunks.back().bytes.push_back(reply[i]);
    } else {
      chunks.push_back({t, {reply[i]}});
    }
  }
  return chunks;
}

}  // namespace zelor::sim
