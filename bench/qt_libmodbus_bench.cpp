// The configuration read by an independent MODBUS master, libmodbus, on the same paced line as
// qt_operations_bench: 68 reads of 96 registers at the configuration's addresses (0x0F00 + 3 b),
// timed against zelor-pui-sim --pace at 57600 and 1200 baud, beside its own floor. libmodbus
// keeps no pauses between its requests, so its floor is the bytes on the wire (68 x (8 + 197) at
// 10 bits a byte) and the simulator's 1 ms turnaround before each reply, nothing else.
//
//   qt_libmodbus_bench [runs] [runs at 1200 baud]
#include <QCoreApplication>
#include <QElapsedTimer>

#include <modbus.h>

#include "link/registers.h"
#include "qt_bench_support.h"

namespace {

using namespace zelor;
using namespace zelor::bench;

constexpr int kBlocks = 68;
constexpr int kPagesPerBlock = 3;
constexpr int kPanelAddress = 247;

struct ModbusContext {
  explicit ModbusContext(modbus_t* c) : ctx(c) {}
  ~ModbusContext() {
    if (ctx == nullptr) return;
    modbus_close(ctx);
    modbus_free(ctx);
  }
  ModbusContext(const ModbusContext&) = delete;
  ModbusContext& operator=(const ModbusContext&) = delete;
  modbus_t* ctx;
};

// One configuration read; false when a block did not come back whole.
bool ReadConfiguration(modbus_t* ctx) {
  uint16_t registers[reg::kConfigPageRegisters];
  for (int b = 0; b < kBlocks; ++b) {
    const int start = reg::kConfigPageBase + b * kPagesPerBlock;
    if (modbus_read_registers(ctx, start, reg::kConfigPageRegisters, registers) != reg::kConfigPageRegisters) {
      std::fprintf(stderr, "libmodbus: block %d: %s\n", b, modbus_strerror(errno));
      return false;
    }
  }
  return true;
}

bool Measure(long baud, int runs) {
  Simulator sim;
  const QString link = sim.Folder() + "/panel";
  if (!sim.Start({"--pace", "--baud", QString::number(baud), "--turnaround", QString::number(kTurnaroundMs),
                  "--no-commands"})) {
    return false;
  }
  ModbusContext m(modbus_new_rtu(link.toLocal8Bit().constData(), static_cast<int>(baud), 'N', 8, 1));
  if (m.ctx == nullptr || modbus_set_slave(m.ctx, kPanelAddress) != 0 || modbus_connect(m.ctx) != 0) {
    std::fprintf(stderr, "libmodbus: cannot open %s: %s\n", link.toLocal8Bit().constData(), modbus_strerror(errno));
    return false;
  }
  // A 197-byte reply takes 1.6 s at 1200 baud; libmodbus waits 0.5 s by default.
  modbus_set_response_timeout(m.ctx, 3, 0);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer t;
    t.start();
    if (!ReadConfiguration(m.ctx)) return false;
    times.push_back(MillisSince(t));
  }
  const long wireBytes = long{kBlocks} * (fn::kRequestLength + fn::kReadReplyOverhead + reg::kConfigBlockBytes);
  const double floorMs = double(wireBytes) * ByteMs(double(baud)) + kBlocks * double(kTurnaroundMs);
  PrintRow("configuration read, libmodbus", baud, times.size(), Median(times), floorMs);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int slowRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : std::min(runs, 3);
  if (!QFileInfo(Simulator::Program()).isExecutable()) {
    std::fprintf(stderr, "no simulator at %s\n", Simulator::Program().toLocal8Bit().constData());
    return 2;
  }
  std::printf("An independent master (libmodbus %s) on the same paced line: no mandated pauses\n",
              LIBMODBUS_VERSION_STRING);
  PrintHeading();
  const bool ok = Measure(57600, runs) & Measure(1200, slowRuns);
  return ok ? 0 : 1;
}
