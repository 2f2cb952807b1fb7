// The zelor-pui program: the window on the Qt clock and the QSerialPort adapter.
#include <QApplication>

#include "app/main_window.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  auto clock = std::make_unique<zelor::QtClock>();
  auto port = std::make_unique<zelor::QtSerialPort>(*clock);
  zelor::TForm1 Form1(std::move(clock), std::move(port), zelor::ProductionPortSources());
  Form1.show();
  return QApplication::exec();
}
