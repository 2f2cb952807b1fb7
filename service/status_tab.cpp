#include "service/status_tab.h"

#include "app/app_texts.h"
#include "service/service_tab_texts.h"

namespace zelor {

StatusTab::StatusTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet1");
  TeMemo3 = new QPlainTextEdit(this);
  TeMemo3->setObjectName("TeMemo3");
  TeMemo3->setReadOnly(true);
  TeMemo3->setLineWrapMode(QPlainTextEdit::NoWrap);
  TeMemo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font(app_text::kLogFontFamily);
  font.setPixelSize(13);
  TeMemo3->setFont(font);
  QPalette p = TeMemo3->palette();
  p.setColor(QPalette::Text, QColor(0, 0, 128));
  TeMemo3->setPalette(p);
  TeMemo3->setGeometry(9, 8, 825, 361);

  TeButton2 = new QPushButton(service_text::kMonitorStart, this);
  TeButton2->setObjectName("TeButton2");
  TeButton2->setGeometry(9, 376, 209, 29);
}

}  // namespace zelor
