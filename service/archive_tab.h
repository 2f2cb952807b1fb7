// The "АРХИВ" tab (TeTabSheet2): FileGrid, TeProgressBar2 and the three archive buttons.
#pragma once
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "widgets/qt_string_grid.h"

namespace zelor {

class ArchiveTab : public QWidget {
  Q_OBJECT
 public:
  explicit ArchiveTab(QWidget* parent = nullptr);

  // FormCreate: the headings of FileGrid and the "x" in its first data cell.
  void SetFileGridHeadings();

  StringGrid* FileGrid;
  QProgressBar* TeProgressBar2;
  QPushButton* File_ButtA;
  QPushButton* File_ButtB;
  QPushButton* File_ButtC;
};

}  // namespace zelor
