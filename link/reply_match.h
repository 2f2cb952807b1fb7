// Whether a received frame answers the request that waits: it comes from the slave the request
// was sent to and carries the request's function code, or that code's exception form.
#pragma once
#include <cstddef>
#include <cstdint>

#include "link/registers.h"

namespace zelor {

// What a reply is matched on: bytes 0 and 1 of the request.
struct RequestHead {
  uint8_t address = 0;
  uint8_t function = 0;
};

constexpr bool AnswersRequest(const RequestHead& request, const uint8_t* reply, std::size_t count) {
  if (count < 2 || reply[0] != request.address) return false;
  return reply[1] == request.function || reply[1] == (request.function | fn::kExceptionFlag);
}

}  // namespace zelor
