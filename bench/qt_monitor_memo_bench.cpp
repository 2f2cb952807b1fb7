// Prints the time to append one monitoring line to TeMemo3 when the memo is empty and when it
// already holds its bound of lines, each append followed by the repaint the event loop does.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "service/monitor_lines.h"
#include "service/monitor_view.h"
#include "service/status_tab.h"
#include "sim/event_archive.h"

namespace {

std::string Line(int i) {
  const auto record = zelor::sim::MakeRecord(static_cast<uint16_t>(i % 512), 4, static_cast<uint8_t>(i % 30), 150,
                                             {2018, 12, 13, 14, i % 60, i % 60});
  return zelor::MonitorRecordLine(record.data());
}

struct Figures {
  double meanMicros;
  double p99Micros;
};

// Appends `count` lines, each followed by a turn of the event loop, and times each append.
Figures TimeAppends(zelor::StatusTab& tab, int count, int from) {
  std::vector<double> micros;
  micros.reserve(static_cast<std::size_t>(count));
  QElapsedTimer t;
  for (int i = 0; i < count; ++i) {
    const std::string line = Line(from + i);
    t.start();
    tab.AddLine(line);
    QCoreApplication::processEvents();
    micros.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
  }
  double sum = 0;
  for (double m : micros) sum += m;
  std::sort(micros.begin(), micros.end());
  return {sum / count, micros[static_cast<std::size_t>(count * 99 / 100)]};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zelor::StatusTab tab;
  tab.resize(849, 411);
  tab.show();
  QCoreApplication::processEvents();
  constexpr int kSample = 2000;
  const auto limit = static_cast<int>(zelor::kMonitorMemoLineLimit);

  const Figures empty = TimeAppends(tab, kSample, 0);
  QElapsedTimer fill;
  fill.start();
  for (int i = kSample; i < limit; ++i) tab.AddLine(Line(i));
  QCoreApplication::processEvents();
  const double fillSeconds = static_cast<double>(fill.elapsed()) / 1000.0;
  const Figures full = TimeAppends(tab, kSample, limit);

  std::printf("TeMemo3 bound: %d lines; holds %d after %d appended\n", limit, tab.TeMemo3->blockCount(),
              limit + kSample);
  std::printf("append + repaint, memo nearly empty: mean %.1f us, p99 %.1f us (%d lines)\n", empty.meanMicros,
              empty.p99Micros, kSample);
  std::printf("append + repaint, memo full:         mean %.1f us, p99 %.1f us (%d lines)\n", full.meanMicros,
              full.p99Micros, kSample);
  std::printf("filling to the bound without repaints: %.2f s\n", fillSeconds);
  return 0;
}
