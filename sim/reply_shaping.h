// How a reply travels the line: paced at the line rate, and bent by a scripted fault.
#pragma once
#include <cstdint>
#include <vector>

namespace zelor::sim {

enum class Fault {
  None,
  NoReply,     // the panel stays silent
  BadCrc,      // the last byte is flipped
  Exception,   // function + 0x80 with exception code 4 instead of the reply
  Delayed,     // the reply starts late (FaultSpec::delayMicros)
  Split,       // the reply is cut in two with a silent gap (FaultSpec::gapMicros) in the middle
  Garbage,     // stray bytes come before the reply
  Short,       // the reply loses its tail
};

struct FaultSpec {
  Fault fault = Fault::None;
  int64_t delayMicros = 0;
  int64_t gapMicros = 0;
  std::vector<uint8_t> garbage;  // empty: the bytes 00 FF 55
  std::size_t shortBy = 3;
};

// One fault with its timing, for a one-line script: MakeFault(Fault::Split, 0, 200'000).
inline FaultSpec MakeFault(Fault fault, int64_t delayMicros = 0, int64_t gapMicros = 0) {
  FaultSpec shaped;
  shaped.fault = fault;
  shaped.delayMicros = delayMicros;
  shaped.gapMicros = gapMicros;
  return shaped;
}

struct LineTiming {
  uint32_t baud = 57600;
  bool paced = true;                 // 10 bits a byte at the baud rate
  int64_t turnaroundMicros = 1000;   // from the end of the request to the first reply byte
};

// One piece of the reply, to appear on the line `atMicros` after the request ended.
struct Chunk {
  int64_t atMicros;
  std::vector<uint8_t> bytes;
};

int64_t ByteMicros(uint32_t baud);

// Replaces `reply` with the exception reply for the request's address and function.
std::vector<uint8_t> ExceptionReply(uint8_t address, uint8_t function, uint8_t code);

std::vector<Chunk> ShapeReply(const std::vector<uint8_t>& request, std::vector<uint8_t> reply,
                              const FaultSpec& fault, const LineTiming& timing);

}  // namespace zelor::sim
