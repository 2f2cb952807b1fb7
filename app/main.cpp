// The zelor-pui program: the window on the Qt clock and the QSerialPort adapter.
#include <QApplication>
#include <iostream>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"

#ifndef ZELOR_VERSION
#define ZELOR_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  // Answered before Qt starts, so they need no display (the manual pages are made from them).
  switch (zelor::InfoOptionOf(argc, argv)) {
    case zelor::InfoOption::Help: std::cout << zelor::ToolHelpText(); return 0;
    case zelor::InfoOption::Version: std::cout << zelor::ToolVersionText(ZELOR_VERSION); return 0;
    case zelor::InfoOption::None: break;
  }
  QApplication app(argc, argv);
  // Desktops match the window to zelor-pui.desktop (and so to its icon) by this name.
  QGuiApplication::setDesktopFileName("zelor-pui");
  zelor::InstallQtRussianTexts(app);
  auto clock = std::make_unique<zelor::QtClock>();
  auto port = std::make_unique<zelor::QtSerialPort>(*clock);
  zelor::TForm1 Form1(std::move(clock), std::move(port), zelor::ProductionPortSources());
  Form1.show();
  return QApplication::exec();
}
