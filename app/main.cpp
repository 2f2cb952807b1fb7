// The service tool's entry point.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window(QString::fromUtf8("ЗЕЛОР-ПУИ  (MODBUS-RTU)   V1.04 - 2018"));
  window.setWindowTitle(window.text());
  window.resize(873, 633);
  window.show();
  return app.exec();
}
