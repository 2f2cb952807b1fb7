// The window's type faces, shared by the shell and the tabs: the monospaced faces of the window and
// the log memos, and the system's proportional face of the menus, the status bar and Add_Box.
#pragma once
#include <QFont>

namespace zelor::fonts {

inline constexpr const char* kLogFontFamily = "Courier New";
inline constexpr const char* kDefaultFontFamily = "Courier";
// The menus and the status bar use the system's proportional font, not the window's.
inline constexpr const char* kSystemFontFamily = "Arial";

// `family` at a size in pixels, so that the designed layout does not follow the screen's DPI.
inline QFont Face(const char* family, int pixels) {
  QFont font(family);
  font.setPixelSize(pixels);
  return font;
}

}  // namespace zelor::fonts
