// The serial-port contract the engine relies on; the Qt adapter and the simulated line meet it.
#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace zelor {

struct SerialPortError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Line settings are fixed: 8 data bits, no parity, 1 stop bit, no flow control, DTR/RTS off.
// A read completes when the requested number of bytes has arrived, or when the line has been
// silent for kInterByteGapMs after a byte; each completed read is handed to the receive handler.
class SerialPort {
 public:
  static constexpr uint32_t kInterByteGapMs = 150;

  // Delivers one completed read; the bytes are valid only during the call.
  using ReceiveHandler = std::function<void(const uint8_t* bytes, std::size_t count)>;
  // Asked when a read starts: how many bytes the read waits for (at most 255).
  using ReadSizeProvider = std::function<std::size_t()>;

  virtual ~SerialPort() = default;

  virtual void Open() = 0;   // no-op when open; throws SerialPortError and stays closed on failure
  virtual void Close() = 0;  // no-op when closed
  virtual bool IsOpen() const = 0;
  // Queues the bytes without waiting for the line; throws SerialPortError when it cannot.
  virtual std::size_t Write(const uint8_t* bytes, std::size_t count) = 0;
  virtual void AbortAllAsync() = 0;
  // Drops bytes already received but not yet handed over (a late reply to an earlier request).
  virtual void DiscardInput() = 0;
  virtual void SetBaudRate(uint32_t baud) = 0;  // at once on an open port
  virtual uint32_t BaudRate() const = 0;
  // Reopens an open port under the new name; throws if that fails, leaving the port closed.
  virtual void SetPort(const std::string& name) = 0;
  virtual std::string PortName() const = 0;
  // While held, the line stays this program's even when the port is closed between the steps of
  // an operation; it is let go when the hold ends with the port closed, or at the close after.
  // A port no other program can reach ignores it.
  virtual void HoldLine(bool /*hold*/) {}

  // Told, later and on the same thread, when bytes that Write accepted could not be sent in
  // time (a stalled adapter); the port has dropped them and closed itself.
  using SendFailureHandler = std::function<void(const std::string& why)>;

  void SetReceiveHandler(ReceiveHandler handler) { onReceive_ = std::move(handler); }
  void SetReadSizeProvider(ReadSizeProvider provider) { readSize_ = std::move(provider); }
  void SetSendFailureHandler(SendFailureHandler handler) { onSendFailure_ = std::move(handler); }

 protected:
  ReceiveHandler onReceive_;
  ReadSizeProvider readSize_;
  SendFailureHandler onSendFailure_;
};

}  // namespace zelor
