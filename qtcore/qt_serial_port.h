// The production serial port: QSerialPort on the user-interface thread, 8N1, no flow control,
// DTR/RTS off, with the read contract (expected bytes, or 150 ms of silence after a byte).
// Writes never wait: bytes still unsent after their line time plus a margin are a send failure.
#pragma once
#include <QObject>
#include <QSerialPort>
#include <memory>

#include "link/clock.h"
#include "link/line_lock.h"
#include "link/read_assembler.h"
#include "link/serial_port.h"

namespace zelor {

class QtSerialPort : public QObject, public SerialPort {
  Q_OBJECT
 public:
  explicit QtSerialPort(Clock& clock, QObject* parent = nullptr);
  ~QtSerialPort() override;

  void Open() override;
  void Close() override;
  bool IsOpen() const override;
  std::size_t Write(const uint8_t* bytes, std::size_t count) override;
  void AbortAllAsync() override;
  void DiscardInput() override;
  void SetBaudRate(uint32_t baud) override;
  uint32_t BaudRate() const override { return baud_; }
  void SetPort(const std::string& name) override;
  std::string PortName() const override { return name_; }
  void HoldLine(bool hold) override;

  // Makes the line this program's now and keeps it until the port is destroyed, open or closed:
  // a command-line run is one master from start to end. Throws LineInUse (with the holder's
  // process id) when another program holds the device under any name.
  void ClaimLine();

  // Bytes received but not yet handed over as a completed read.
  std::size_t PendingBytes() const { return assembler_.Pending(); }

  // The device path opened for a port name: registered simulator ports resolve to their link.
  static std::string DevicePathFor(const std::string& name);

  // Beyond the line time, what a USB adapter's latency may add before the bytes are out.
  static constexpr uint32_t kDrainMarginMs = 100;
  // How long `bytes` may take to leave at `baud` (10 bits a byte), margin included.
  static uint32_t DrainDeadlineMs(std::size_t bytes, uint32_t baud);

 private:
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);
  void OnBytesWritten();
  void OnDrainDeadline();
  void AcquireLine(const std::string& device);
  void LetGoOfLineIfFree();

  QSerialPort port_;
  ReadAssembler assembler_;
  std::unique_ptr<Timer> drainTimer_;
  std::string name_ = "COM1";
  uint32_t baud_ = 9600;
  bool failed_ = false;  // a read or resource error: silent until closed and reopened
  // The device's lock, taken at Open; kept while closed when an operation holds the line or the
  // program claimed it.
  LineLock lineLock_;
  bool holdLine_ = false;
  bool claimed_ = false;
};

}  // namespace zelor
