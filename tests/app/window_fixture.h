// The real window on a virtual clock and a simulated line, with the port list and the
// "comports.txt" file supplied by the test.
#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "sim/panel.h"
#include "simulated_line.h"
#include "virtual_clock.h"

namespace zelor::test {

// Input events delivered straight to a widget (the tests link no Qt test library).
inline void MousePress(QWidget* w, QPoint at = QPoint(5, 5)) {
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}
inline void MouseClick(QWidget* w, QPoint at = QPoint(5, 5)) {
  MousePress(w, at);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}
inline void KeyClick(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

class WindowTest : public ::testing::Test {
 protected:
  void Create() {
    auto c = std::make_unique<VirtualClock>();
    clock = c.get();
    auto l = std::make_unique<SimulatedLine>(*clock, panel);
    line = l.get();
    line->SetPort("COM1");  // the adapter's name before the first enumeration
    PortSources sources;
    sources.systemPorts = [this] { return systemPorts; };
    sources.readPortFile = [this] { return portFile; };
    form = std::make_unique<TForm1>(std::move(c), std::move(l), std::move(sources));
  }
  void CreateAndShow() {
    Create();
    form->show();
  }

  template <class T = QWidget>
  T* Find(const char* name) {
    T* w = form->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QStringList PortCaptions() const {
    QStringList captions;
    for (QAction* a : form->PORT1->actions()) captions << a->text();
    return captions;
  }
  QString CheckedPort() const {
    for (QAction* a : form->PORT1->actions()) {
      if (a->isChecked()) return a->text();
    }
    return {};
  }
  QAction* PortEntry(const QString& caption) const {
    for (QAction* a : form->PORT1->actions()) {
      if (a->text() == caption) return a;
    }
    return nullptr;
  }
  std::string Panel(int i) const { return form->StatusBar1->PanelText(i).toStdString(); }

  sim::Panel panel;
  VirtualClock* clock = nullptr;
  SimulatedLine* line = nullptr;
  std::optional<std::vector<std::string>> systemPorts = std::vector<std::string>{"COM3", "COM1"};
  PortFileResult portFile{false, {}, "No such file or directory"};
  std::unique_ptr<TForm1> form;
};

}  // namespace zelor::test
