#include "service/status_tab.h"

#include "service/service_tab_texts.h"
#include "widgets/qt_fonts.h"

namespace zelor {

StatusTab::StatusTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet1");
  TeMemo3 = new QPlainTextEdit(this);
  TeMemo3->setObjectName("TeMemo3");
  TeMemo3->setReadOnly(true);
  TeMemo3->setLineWrapMode(QPlainTextEdit::NoWrap);
  TeMemo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TeMemo3->setFont(fonts::Face(fonts::kLogFontFamily, 13));
  QPalette p = TeMemo3->palette();
  p.setColor(QPalette::Text, QColor(0, 0, 128));
  TeMemo3->setPalette(p);
  TeMemo3->setGeometry(9, 8, 825, 361);

  TeButton2 = new QPushButton(service_text::kMonitorStart, this);
  TeButton2->setObjectName("TeButton2");
  TeButton2->setGeometry(9, 376, 209, 29);
}

}  // namespace zelor
