// The link engine joined to a simulated panel on the virtual clock, with helpers that send one
// request and say what came back.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/engine.h"
#include "link/frames.h"
#include "link/registers.h"
#include "recording_surfaces.h"
#include "sim/panel.h"
#include "simulated_line.h"
#include "virtual_clock.h"

namespace zelor::test {

// 09:05:07 on 3 February 2019, local time, when the virtual clock reads 0.
inline int64_t SimStartMicros() { return sim::MicrosFromCivil({2019, 2, 3, 9, 5, 7}); }

struct Exchange {
  std::vector<uint8_t> reply;  // what the handler saw (a valid, non-exception answer)
  std::vector<uint8_t> rx;     // the bytes of the RX log line, exceptions included
  std::string outcome;         // the last log line: "   : ОК.", "   : ОШИБКА.", "   : TIME OUT." ...
};

class SimRig {
 public:
  explicit SimRig(sim::PanelOptions options = {})
      : panel(WithVirtualTime(std::move(options), clock)), line(clock, panel) {
    auto capture = [this] {
      captured_.assign(link.FrameBuffer.begin(), link.FrameBuffer.begin() + link.RxCount);
    };
    link.RegisterHandler(ResponseKind::rkParameterBlock, capture);
    link.RegisterHandler(ResponseKind::rkContrastWrite, capture);
    link.RegisterHandler(ResponseKind::rkConfigBlockWrite, capture);
    link.SetUpgradeReceiveHook([this] {
      if (link.ResponseKind != ResponseKind::rkUpgrade) return false;
      captured_.assign(link.FrameBuffer.begin(), link.FrameBuffer.begin() + link.RxCount);
      link.ClosePort();
      link.Timer_Rx->SetEnabled(false);
      link.RxCount = 0;
      link.ResponseKind = ResponseKind::rkNone;
      return true;
    });
  }

  Exchange Read(uint16_t start, uint16_t count, uint8_t expectedLength = 0) {
    Begin();
    link.SendReadRequest(start, count);
    if (expectedLength != 0) link.ExpectedLength = expectedLength;
    link.ResponseKind = ResponseKind::rkParameterBlock;
    return Finish();
  }

  Exchange Write(uint16_t reg, uint16_t value) {
    Begin();
    link.SendWriteRequest(reg, value);
    link.ResponseKind = ResponseKind::rkContrastWrite;
    return Finish();
  }

  // A function-16 frame: start, quantity field, data (byte count = data size).
  Exchange WriteMultiple(uint16_t start, uint16_t quantity, const std::vector<uint8_t>& data) {
    Begin();
    std::vector<uint8_t> frame{link.DeviceAddress, fn::kWriteMultiple, static_cast<uint8_t>(start >> 8),
                               static_cast<uint8_t>(start & 0xFF), static_cast<uint8_t>(quantity >> 8),
                               static_cast<uint8_t>(quantity & 0xFF), static_cast<uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    return SendRaw(Sealed(frame), 8, ResponseKind::rkConfigBlockWrite);
  }

  // Any bytes as one request; `expected` is the read size for the answer.
  Exchange SendRaw(const std::vector<uint8_t>& frame, uint8_t expected, ResponseKind kind = ResponseKind::rkNone) {
    Begin();
    std::copy(frame.begin(), frame.end(), link.FrameBuffer.begin());
    link.SendFrame(static_cast<uint8_t>(frame.size()), 500);
    link.ExpectedLength = expected;
    link.ResponseKind = kind;
    return Finish();
  }

  // A boot-loader frame; the reply is the acknowledgement, if any.
  Exchange SendLoader(const std::vector<uint8_t>& frame) {
    Begin();
    std::copy(frame.begin(), frame.end(), link.FrameBuffer.begin());
    link.ExpectedLength = 2;
    link.SendLoaderFrame(static_cast<uint16_t>(frame.size()), 1000);
    link.ResponseKind = ResponseKind::rkUpgrade;
    return Finish();
  }

  static std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) {
    const std::size_t n = frame.size();
    frame.resize(n + 2);
    AppendCrc16(frame.data(), static_cast<uint16_t>(n));
    return frame;
  }

  static uint16_t WordAt(const std::vector<uint8_t>& reply, std::size_t offset) {
    return offset + 1 < reply.size() ? static_cast<uint16_t>(reply[offset] << 8 | reply[offset + 1]) : 0xDEAD;
  }
  // Register i of a function-03 reply.
  static uint16_t RegisterOf(const std::vector<uint8_t>& reply, std::size_t i) { return WordAt(reply, 3 + 2 * i); }

  VirtualClock clock;
  sim::Panel panel;
  SimulatedLine line;
  RecordingMemo memo1;
  RecordingMemo memo2;
  RecordingStatusBar status;
  RecordingProgressBar progress1;
  Link link{clock, line, LinkSurfaces{memo1, memo2, status, progress1}};

 private:
  static sim::PanelOptions WithVirtualTime(sim::PanelOptions o, VirtualClock& clock) {
    if (!o.now) o.now = [&clock] { return SimStartMicros() + clock.NowMicros(); };
    return o;
  }

  void Begin() { captured_.clear(); }

  Exchange Finish() {
    clock.RunUntil([this] { return !link.Timer_Rx->Enabled(); }, 5000);
    Exchange e;
    e.reply = captured_;
    e.outcome = memo1.lines.empty() ? "" : memo1.lines.back();
    bool inRx = false;
    for (const auto& l : memo1.lines) {
      if (l.rfind("RX : ", 0) == 0) {
        inRx = true;
      } else if (!(inRx && l.rfind("     ", 0) == 0)) {
        inRx = false;
        continue;
      }
      for (std::size_t i = 5; i + 1 < l.size(); i += 3) e.rx.push_back(static_cast<uint8_t>(std::stoi(l.substr(i, 2), nullptr, 16)));
    }
    return e;
  }

  std::vector<uint8_t> captured_;
};

}  // namespace zelor::test
