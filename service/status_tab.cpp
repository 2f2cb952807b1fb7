// The "СТАТУС" tab's controls, and the live monitor's view over them.
#include "service/status_tab.h"

#include "service/monitor.h"
#include "service/monitor_texts.h"
#include "widgets/qt_fonts.h"

namespace zelor {

namespace {
void SetTextColour(QPlainTextEdit* memo, const QColor& colour) {
  QPalette p = memo->palette();
  p.setColor(QPalette::Text, colour);
  memo->setPalette(p);
}
}  // namespace

StatusTab::StatusTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet1");
  TeMemo3 = new QPlainTextEdit(this);
  TeMemo3->setObjectName("TeMemo3");
  TeMemo3->setReadOnly(true);
  TeMemo3->setLineWrapMode(QPlainTextEdit::NoWrap);
  TeMemo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TeMemo3->setFont(fonts::Face(fonts::kLogFontFamily, 13));
  TeMemo3->setMaximumBlockCount(static_cast<int>(kMonitorMemoLineLimit));
  SetTextColour(TeMemo3, QColor(0, 0, 128));
  TeMemo3->setGeometry(9, 8, 825, 361);

  TeButton2 = new QPushButton(monitor_text::kStart, this);
  TeButton2->setObjectName("TeButton2");
  TeButton2->setGeometry(9, 376, 209, 29);
}

void StatusTab::Connect(LiveMonitor& monitor) {
  connect(TeButton2, &QPushButton::clicked, this, [&monitor] { monitor.TeButton2Click(); });
}

void StatusTab::ClearMemo() { TeMemo3->clear(); }
void StatusTab::SetMemoBlue() { SetTextColour(TeMemo3, QColor(0, 0, 255)); }
void StatusTab::AddLine(const std::string& line) { TeMemo3->appendPlainText(QString::fromStdString(line)); }
std::string StatusTab::ButtonCaption() const { return TeButton2->text().toStdString(); }
void StatusTab::SetButtonCaption(const std::string& caption) { TeButton2->setText(QString::fromStdString(caption)); }

}  // namespace zelor
