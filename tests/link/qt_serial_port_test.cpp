// The production adapter on a real pseudo-terminal: the test holds the master side as the panel.
// The inter-byte gap runs on the virtual clock; the test only waits (bounded) for I/O to arrive.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <vector>

#include "qtcore/qt_serial_port.h"
#include "virtual_clock.h"

namespace zelor::test {
namespace {

class QtSerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[256] = {};
    ASSERT_EQ(::openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    ::close(slave_);  // the adapter opens the slave itself
    slaveName_ = name;
    port.SetPort(slaveName_);
    port.SetReadSizeProvider([this] { return readSize; });
    port.SetReceiveHandler([this](const uint8_t* b, std::size_t n) { reads.emplace_back(b, b + n); });
  }
  void TearDown() override {
    port.Close();
    if (master_ >= 0) ::close(master_);
  }

  // Processes events until pred holds or two seconds of wall time pass.
  bool WaitFor(const std::function<bool()>& pred) {
    QDeadlineTimer deadline(2000);
    while (!pred() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pred();
  }
  void PanelSends(std::vector<uint8_t> bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::vector<uint8_t> PanelReceives(std::size_t n) {
    std::vector<uint8_t> got;
    QDeadlineTimer deadline(2000);
    ::fcntl(master_, F_SETFL, O_NONBLOCK);
    while (got.size() < n && !deadline.hasExpired()) {
      uint8_t buf[64];
      const ssize_t r = ::read(master_, buf, sizeof buf);
      if (r > 0) got.insert(got.end(), buf, buf + r);
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return got;
  }

  VirtualClock clock;
  QtSerialPort port{clock};
  std::size_t readSize = 7;
  std::vector<std::vector<uint8_t>> reads;
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
};

TEST_F(QtSerialPortTest, OpenCloseAreIdempotentAndRatesApplyWhileOpen) {
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  port.Open();
  port.Open();
  EXPECT_TRUE(port.IsOpen());
  for (uint32_t baud : {1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 38400u, 57600u, 115200u}) {
    port.SetBaudRate(baud);
    EXPECT_TRUE(port.IsOpen()) << baud;
    EXPECT_EQ(port.BaudRate(), baud);
  }
  const uint8_t request[] = {0xF7, 0x03, 0x00, 0x00, 0x00, 0x01, 0x90, 0x9C};
  EXPECT_EQ(port.Write(request, 8), 8U);
  EXPECT_EQ(PanelReceives(8), std::vector<uint8_t>(request, request + 8));
  port.Close();
  port.Close();
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(QtSerialPortTest, ReadEndsAtExpectedCountOrAfter150msOfSilence) {
  port.Open();
  // Chunks 16 ms apart (a USB adapter's latency timer) make one read.
  PanelSends({0xF7, 0x03, 0x02});
  ASSERT_TRUE(WaitFor([&] { return port.PendingBytes() == 3; }));
  clock.AdvanceMs(16);
  PanelSends({0x00, 0x0B, 0x31, 0x96});
  ASSERT_TRUE(WaitFor([&] { return reads.size() == 1; }));
  EXPECT_EQ(reads[0], (std::vector<uint8_t>{0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96}));

  // A reply split by 200 ms: the read returns 150 ms after the first part.
  reads.clear();
  PanelSends({0xF7, 0x03, 0x02});
  ASSERT_TRUE(WaitFor([&] { return port.PendingBytes() == 3; }));
  clock.AdvanceMs(149);
  EXPECT_TRUE(reads.empty());
  clock.AdvanceMs(51);
  ASSERT_EQ(reads.size(), 1U);
  EXPECT_EQ(reads[0].size(), 3U);
  PanelSends({0x00, 0x0B, 0x31, 0x96});
  ASSERT_TRUE(WaitFor([&] { return port.PendingBytes() == 4; }));
  clock.AdvanceMs(150);
  ASSERT_EQ(reads.size(), 2U);
  EXPECT_EQ(reads[1].size(), 4U);
}

TEST_F(QtSerialPortTest, DiscardDropsALateReply) {
  port.Open();
  PanelSends({0xF7, 0x03});
  ASSERT_TRUE(WaitFor([&] { return port.PendingBytes() == 2; }));
  port.DiscardInput();
  clock.AdvanceMs(500);
  EXPECT_TRUE(reads.empty());
}

TEST_F(QtSerialPortTest, VanishedPeerSilencesThePortUntilReopened) {
  port.Open();
  ::close(master_);
  master_ = -1;
  // The adapter releases the device instead of spinning on the repeated error.
  ASSERT_TRUE(WaitFor([&] { return !port.IsOpen(); }));
  EXPECT_TRUE(reads.empty());
  EXPECT_THROW(port.Open(), SerialPortError);  // the pseudo-terminal is gone
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(QtSerialPortTest, DrainDeadlineIsTheLineTimePlusTheMargin) {
  EXPECT_EQ(QtSerialPort::DrainDeadlineMs(8, 9600), 9 + QtSerialPort::kDrainMarginMs);  // 8.33 ms up
  EXPECT_EQ(QtSerialPort::DrainDeadlineMs(515, 115200), 45 + QtSerialPort::kDrainMarginMs);
  EXPECT_EQ(QtSerialPort::DrainDeadlineMs(515, 1200), 4292 + QtSerialPort::kDrainMarginMs);
}

// A peer that stops reading: the pseudo-terminal's buffer fills, Write still returns at once,
// and the bytes that cannot leave by their deadline are reported as a send failure.
TEST_F(QtSerialPortTest, AWriteThatDoesNotDrainIsASendFailureAndNeverBlocks) {
  std::vector<std::string> failures;
  port.SetSendFailureHandler([&](const std::string& why) { failures.push_back(why); });
  port.SetBaudRate(115200);
  port.Open();
  const std::vector<uint8_t> flood(1 << 20, 0x55);  // far more than the kernel's buffers hold
  const QDeadlineTimer returnedIn(1000);
  EXPECT_EQ(port.Write(flood.data(), flood.size()), flood.size());
  EXPECT_FALSE(returnedIn.hasExpired()) << "Write waited for the line";
  // Let the event loop push what the kernel takes; the rest stays queued.
  QDeadlineTimer settle(200);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(port.IsOpen());
  const uint32_t deadline = QtSerialPort::DrainDeadlineMs(flood.size(), 115200);
  clock.AdvanceMs(deadline - 1);
  EXPECT_TRUE(failures.empty()) << "not before the line time plus the margin";
  clock.AdvanceMs(1);
  ASSERT_EQ(failures.size(), 1U);
  EXPECT_NE(failures[0].find(slaveName_), std::string::npos) << failures[0];
  EXPECT_FALSE(port.IsOpen()) << "the unsent bytes are dropped with the port";
  clock.AdvanceMs(10 * deadline);
  EXPECT_EQ(failures.size(), 1U) << "reported once";

  // Reopened, with the peer reading again: a request that drains is no failure.
  std::vector<uint8_t> stale(1 << 16);
  ::fcntl(master_, F_SETFL, O_NONBLOCK);
  while (::read(master_, stale.data(), stale.size()) > 0) {
  }
  port.Open();
  const uint8_t request[] = {0xF7, 0x03, 0x00, 0x00, 0x00, 0x01, 0x90, 0x9C};
  EXPECT_EQ(port.Write(request, 8), 8U);
  const std::vector<uint8_t> got = PanelReceives(8);
  ASSERT_GE(got.size(), 8U);
  EXPECT_EQ(std::vector<uint8_t>(got.end() - 8, got.end()), std::vector<uint8_t>(request, request + 8));
  clock.AdvanceMs(QtSerialPort::DrainDeadlineMs(8, 115200) + 1000);
  EXPECT_EQ(failures.size(), 1U);
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(QtSerialPortTest, MissingDeviceRaisesAndPortChangeReopens) {
  port.Open();
  EXPECT_THROW(port.SetPort("/dev/zelor-no-such-port"), SerialPortError);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.PortName(), "/dev/zelor-no-such-port");
  port.SetPort(slaveName_);
  EXPECT_FALSE(port.IsOpen()) << "a closed port only records the name";
  port.Open();
  EXPECT_TRUE(port.IsOpen());
}

}  // namespace
}  // namespace zelor::test
