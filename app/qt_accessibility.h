// What assistive technology is told about the window: that it is an application window, and a
// name for every control, from its caption, its hint, its purpose or the label beside it.
#pragma once
#include <QString>
#include <QWidget>

namespace zelor {

// Applied once, after the window and its tabs are built.
void MakeAccessible(QWidget& window);

// The name the window gives a control that has no caption of its own (empty when there is none).
QString AccessiblePurpose(const QWidget& control);

}  // namespace zelor
