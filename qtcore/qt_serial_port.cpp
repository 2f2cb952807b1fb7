#include "qtcore/qt_serial_port.h"

#include <QMetaObject>

#include "link/line_rates.h"
#include "link/port_registry.h"

namespace zelor {

QtSerialPort::QtSerialPort(Clock& clock, QObject* parent)
    : QObject(parent),
      assembler_(
          clock, kInterByteGapMs, [this] { return readSize_ ? readSize_() : std::size_t{1}; },
          [this](const uint8_t* b, std::size_t n) {
            if (onReceive_) onReceive_(b, n);
          }) {
  drainTimer_ = clock.CreateTimer();
  drainTimer_->SetHandler([this] { OnDrainDeadline(); });
  connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::OnReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::OnError);
  connect(&port_, &QSerialPort::bytesWritten, this, &QtSerialPort::OnBytesWritten);
}

uint32_t QtSerialPort::DrainDeadlineMs(std::size_t bytes, uint32_t baud) {
  return LineTimeMs(bytes, baud) + kDrainMarginMs;
}

QtSerialPort::~QtSerialPort() { Close(); }

std::string QtSerialPort::DevicePathFor(const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  for (const auto& registered : ListRegisteredPorts()) {
    if (registered.name == name) return registered.path;
  }
  return name;  // a system device name such as ttyUSB0; QSerialPort finds it under /dev
}

void QtSerialPort::AcquireLine(const std::string& device) {
  // QSerialPort's own lock goes by the name as typed; this one by the device behind every name.
  // A bare name is a device under /dev, as QSerialPort takes it (COM ports are not locked here).
  lineLock_.Acquire(device.find('/') == std::string::npos ? "/dev/" + device : device, name_);
}

void QtSerialPort::LetGoOfLineIfFree() {
  if (!port_.isOpen() && !holdLine_ && !claimed_) lineLock_.Release();
}

void QtSerialPort::HoldLine(bool hold) {
  holdLine_ = hold;
  LetGoOfLineIfFree();
}

void QtSerialPort::ClaimLine() {
  AcquireLine(DevicePathFor(name_));
  claimed_ = true;
}

void QtSerialPort::Open() {
  if (port_.isOpen()) return;
  const std::string device = DevicePathFor(name_);
  AcquireLine(device);
  port_.setPortName(QString::fromStdString(device));
  if (!port_.open(QIODevice::ReadWrite)) {
    const std::string why = port_.errorString().toStdString();
    port_.clearError();
    LetGoOfLineIfFree();
    throw SerialPortError("cannot open " + name_ + ": " + why);
  }
  const bool settingsOk = port_.setBaudRate(static_cast<qint32>(baud_)) && port_.setDataBits(QSerialPort::Data8) &&
                          port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                          port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!settingsOk) {
    const std::string why = port_.errorString().toStdString();
    port_.close();
    port_.clearError();
    LetGoOfLineIfFree();
    throw SerialPortError("settings refused on " + name_ + ": " + why);
  }
  // A pseudo-terminal has no modem lines; the adapter does, and both must stay inactive.
  port_.setDataTerminalReady(false);
  port_.setRequestToSend(false);
  port_.clearError();
  failed_ = false;
  assembler_.Reset();
}

void QtSerialPort::Close() {
  drainTimer_->SetEnabled(false);
  if (port_.isOpen()) port_.close();
  port_.clearError();
  assembler_.Reset();
  failed_ = false;
  LetGoOfLineIfFree();
}

bool QtSerialPort::IsOpen() const { return port_.isOpen(); }

std::size_t QtSerialPort::Write(const uint8_t* bytes, std::size_t count) {
  if (!port_.isOpen()) throw SerialPortError("port " + name_ + " is not open");
  const qint64 written = port_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count));
  if (written < 0) throw SerialPortError("write failed on " + name_);
  // The event loop sends the bytes; the deadline covers all of them still queued.
  if (port_.bytesToWrite() > 0) {
    drainTimer_->SetEnabled(false);
    drainTimer_->SetInterval(DrainDeadlineMs(static_cast<std::size_t>(port_.bytesToWrite()), baud_));
    drainTimer_->SetEnabled(true);
  }
  return static_cast<std::size_t>(written);
}

void QtSerialPort::OnBytesWritten() {
  if (port_.bytesToWrite() == 0) drainTimer_->SetEnabled(false);
}

void QtSerialPort::OnDrainDeadline() {
  drainTimer_->SetEnabled(false);
  if (!port_.isOpen() || port_.bytesToWrite() == 0) return;
  const std::string why = "the line did not take " + std::to_string(port_.bytesToWrite()) + " bytes on " + name_;
  // Bytes that leave later would be a request nobody waits for: drop them with the port.
  port_.clear(QSerialPort::Output);
  Close();
  if (onSendFailure_) onSendFailure_(why);
}

void QtSerialPort::AbortAllAsync() {
  drainTimer_->SetEnabled(false);
  if (port_.isOpen()) port_.clear(QSerialPort::AllDirections);
}

void QtSerialPort::DiscardInput() {
  if (port_.isOpen()) {
    port_.readAll();
    port_.clear(QSerialPort::Input);
  }
  assembler_.Reset();
}

void QtSerialPort::SetBaudRate(uint32_t baud) {
  baud_ = baud;
  if (port_.isOpen()) port_.setBaudRate(static_cast<qint32>(baud));
}

void QtSerialPort::SetPort(const std::string& name) {
  if (name == name_) return;
  const bool wasOpen = port_.isOpen();
  Close();
  // Another name may be another device: the next open takes that one's lock.
  if (!claimed_) lineLock_.Release();
  name_ = name;
  if (wasOpen) Open();
}

void QtSerialPort::OnReadyRead() {
  const QByteArray bytes = port_.readAll();
  if (failed_ || bytes.isEmpty()) return;
  assembler_.Feed(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
  if (failed_) return;
  // The device is gone (unplugged, simulator ended): QSerialPort would repeat this signal in a
  // busy loop, so stop listening and let the pending request end by its time-out. The device
  // is released later, outside this signal; the next request opens it afresh.
  failed_ = true;
  assembler_.Reset();
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (failed_ && port_.isOpen()) port_.close();
        port_.clearError();
        LetGoOfLineIfFree();
      },
      Qt::QueuedConnection);
}

}  // namespace zelor
