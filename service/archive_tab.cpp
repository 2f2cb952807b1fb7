#include "service/archive_tab.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <array>

#include "service/archive_lines.h"
#include "service/service_tab_texts.h"
#include "widgets/qt_fonts.h"

namespace zelor {

namespace {
constexpr std::array<int, 7> kFileGridWidths = {48, 68, 138, 24, 138, 71, 76};
constexpr int kFileGridRows = 16;
constexpr int kRowHeight = 20;

// FileGridDrawCell for the data rows: the fill by selection and fixed column, the text drawn
// over it, single line, vertically centred, 2 pixels short of the cell's right edge.
class FileGridCellPainter : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int column = index.column();
    const int row = index.row() + 1;  // row 0 is the heading row, held by the header
    const CellLook look = FileGridCellLook(column, row, option.state.testFlag(QStyle::State_Selected));
    const QPalette& palette = option.widget != nullptr ? option.widget->palette() : option.palette;
    QColor fill = palette.color(QPalette::Base);
    if (look.fill == CellFill::Fixed) fill = palette.color(QPalette::Button);
    if (look.fill == CellFill::Selected) fill = QColor(kSelectedCellFill.r, kSelectedCellFill.g, kSelectedCellFill.b);
    painter->save();
    painter->fillRect(option.rect, fill);
    painter->setPen(palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect text = option.rect.adjusted(0, 0, -kCellTextRightMargin, 0);
    const Qt::Alignment align = (look.align == CellAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
    painter->drawText(text, static_cast<int>(align) | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
};

// "MS Sans Serif" is a Windows face. Where it is missing the system puts in any sans face, often a
// wider one (in DejaVu Sans an erased record's date and state overflow their columns); the system's
// proportional face ("Arial", Liberation Sans here) keeps every cell within the designed widths.
QFont FileGridFont() {
  constexpr int kPixels = 11;
  const QFont designed = fonts::Face(service_text::kFileGridFont, kPixels);
  if (QFontInfo(designed).family() == QLatin1String(service_text::kFileGridFont)) return designed;
  return fonts::Face(fonts::kSystemFontFamily, kPixels);
}

QPushButton* MakeButton(const char* name, const char* caption, int y, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setGeometry(624, y, 201, 25);
  return b;
}
}  // namespace

ArchiveTab::ArchiveTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet2");
  FileGrid = new StringGrid("FileGrid", static_cast<int>(kFileGridWidths.size()), kFileGridRows, kRowHeight, this);
  for (std::size_t c = 0; c < kFileGridWidths.size(); ++c) FileGrid->SetColWidth(static_cast<int>(c), kFileGridWidths[c]);
  FileGrid->setFont(FileGridFont());
  FileGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FileGrid->setGeometry(24, 24, 573, 339);
  FileGrid->setItemDelegate(new FileGridCellPainter(FileGrid));
  FileGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

  TeProgressBar2 = new QProgressBar(this);
  TeProgressBar2->setObjectName("TeProgressBar2");
  TeProgressBar2->setTextVisible(false);
  TeProgressBar2->setGeometry(24, 376, 573, 16);
  TeProgressBar2->hide();

  File_ButtA = MakeButton("File_ButtA", service_text::kDownloadToFile, 24, this);
  File_ButtB = MakeButton("File_ButtB", service_text::kLast15, 48, this);
  File_ButtC = MakeButton("File_ButtC", service_text::kRecordCount, 72, this);
}

void ArchiveTab::SetFileGridHeadings() {
  for (std::size_t c = 0; c < service_text::kFileGridHeadings.size(); ++c) {
    FileGrid->SetCell(static_cast<int>(c), 0, service_text::kFileGridHeadings[c]);
  }
  FileGrid->SetCell(0, 1, service_text::kFileGridFirstCell);
}

}  // namespace zelor
