#include "service/parameters_tab.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "link/format.h"
#include "link/line_rates.h"
#include "link/link_state.h"
#include "service/parameter_texts.h"
#include "service/service_tab_texts.h"

namespace zelor {

namespace {

QLabel* MakeLabel(const QString& text, int x, int y, QWidget* parent, const char* name = nullptr) {
  auto* label = new QLabel(text, parent);
  if (name != nullptr) label->setObjectName(name);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QComboBox* MakeCombo(const char* name, const QStringList& items, int current, QRect geometry, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItems(items);
  combo->setCurrentIndex(current);
  combo->setMaxVisibleItems(10);
  combo->setGeometry(geometry);
  return combo;
}

// Items from..to, each zero-padded to `width`.
QStringList Numbers(int from, int to, uint8_t width) {
  QStringList items;
  for (int v = from; v <= to; ++v) items << QString::fromStdString(FormatZeroPadded(static_cast<uint16_t>(v), width));
  return items;
}

QStringList Rates() {
  QStringList items;
  for (int i = 0; i < kBaudRateCount; ++i) items << QString::fromStdString(BaudRateText(i));
  return items;
}

QScrollBar* MakeScrollBar(const char* name, int minimum, int maximum, int value, QRect geometry, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(minimum, maximum);
  bar->setValue(value);
  bar->setPageStep(1);
  bar->setGeometry(geometry);
  return bar;
}

QSpinBox* MakeAddressSpin(const char* name, QRect geometry, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(1, kHighestSlaveAddress);  // three characters at most
  spin->setValue(kDefaultDeviceAddress);
  spin->setGeometry(geometry);
  return spin;
}

QString Initial(ParamText which) { return QString::fromStdString(param::InitialText(which)); }

QGroupBox* MakeBox(const char* name, const QString& caption, QRect geometry, QWidget* parent) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

}  // namespace

ParametersTab::ParametersTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet3");
  BuildInternalInterface();
  BuildExternalInterface();
  BuildDateTime();
  BuildOutputLogic();
  BuildContrastAndVolume();
  PlaceOutputColumns();
  QueryA_Butt = new QPushButton(service_text::kQueryParameters, this);
  QueryA_Butt->setObjectName("QueryA_Butt");
  QueryA_Butt->setGeometry(443, 360, 380, 30);
}

void ParametersTab::BuildInternalInterface() {
  TeGroupBox5 = MakeBox("TeGroupBox5", service_text::kInternalInterface, {16, 24, 409, 80}, this);
  MakeLabel(service_text::kInternalMark, 10, 40, TeGroupBox5);
  MakeLabel(service_text::kSpeed, 36, 22, TeGroupBox5);
  TeSComboBox8 = MakeCombo("TeSComboBox8", Rates(), service_text::kInternalSpeedInitialIndex, {36, 38, 121, 22},
                           TeGroupBox5);
  MakeLabel(service_text::kExtraTimeout, 172, 22, TeGroupBox5);
  TeScrollBar4 = MakeScrollBar("TeScrollBar4", 0, 300, param::kInitialTimeout, {172, 40, 180, 17}, TeGroupBox5);
  TeLabel9 = MakeLabel(Initial(ParamText::TeLabel9), 362, 41, TeGroupBox5, "TeLabel9");
  TeLabel9->setMinimumWidth(36);
}

void ParametersTab::BuildExternalInterface() {
  TeGroupBox2 = MakeBox("TeGroupBox2", service_text::kExternalInterface, {16, 112, 409, 80}, this);
  MakeLabel(service_text::kExternalMark, 10, 40, TeGroupBox2);
  MakeLabel(service_text::kSpeed, 36, 22, TeGroupBox2);
  TeSComboBox1 = MakeCombo("TeSComboBox1", Rates(), service_text::kExternalSpeedInitialIndex, {36, 38, 121, 22},
                           TeGroupBox2);
  TeLabel5 = MakeLabel(Initial(ParamText::TeLabel5), 172, 22, TeGroupBox2, "TeLabel5");
  TeSpinEdit1 = MakeAddressSpin("TeSpinEdit1", {172, 38, 64, 22}, TeGroupBox2);
  TeSpinEdit1->installEventFilter(this);
  AddrC_Butt = new QPushButton(service_text::kAddressCopy, TeGroupBox2);
  AddrC_Butt->setObjectName("AddrC_Butt");
  AddrC_Butt->setGeometry(256, 38, 44, 22);
  MakeLabel(service_text::kTo, 310, 42, TeGroupBox2);
  TeSpinEdit2 = MakeAddressSpin("TeSpinEdit2", {332, 38, 64, 22}, TeGroupBox2);
}

void ParametersTab::BuildDateTime() {
  TeGroupBox4 = MakeBox("TeGroupBox4", service_text::kDateTime, {16, 200, 409, 193}, this);
  const int dateX[3] = {16, 76, 136};
  const int timeX[3] = {224, 284, 344};
  for (int i = 0; i < 3; ++i) {
    MakeLabel(service_text::kDateColumns[static_cast<std::size_t>(i)], dateX[i], 24, TeGroupBox4);
    MakeLabel(service_text::kTimeColumns[static_cast<std::size_t>(i)], timeX[i], 24, TeGroupBox4);
  }
  TeSComboBox2 = MakeCombo("TeSComboBox2", Numbers(1, 31, 0), 0, {dateX[0], 40, 54, 22}, TeGroupBox4);
  TeSComboBox3 = MakeCombo("TeSComboBox3", Numbers(1, 12, 2), 0, {dateX[1], 40, 54, 22}, TeGroupBox4);
  TeSComboBox4 = MakeCombo("TeSComboBox4", Numbers(2014, 2030, 4), -1, {dateX[2], 40, 66, 22}, TeGroupBox4);
  TeSComboBox4->setPlaceholderText(service_text::kYearInitialText);
  TeSComboBox5 = MakeCombo("TeSComboBox5", Numbers(0, 23, 2), 0, {timeX[0], 40, 54, 22}, TeGroupBox4);
  TeSComboBox6 = MakeCombo("TeSComboBox6", Numbers(0, 59, 2), 0, {timeX[1], 40, 54, 22}, TeGroupBox4);
  TeSComboBox7 = MakeCombo("TeSComboBox7", Numbers(0, 59, 2), 0, {timeX[2], 40, 54, 22}, TeGroupBox4);
  Label2 = MakeLabel(Initial(ParamText::Label2), timeX[0], 70, TeGroupBox4, "Label2");
  Label2->setMinimumWidth(170);
  TimeSet_Butt = new QPushButton(service_text::kSetTime, TeGroupBox4);
  TimeSet_Butt->setObjectName("TimeSet_Butt");
  TimeSet_Butt->setGeometry(16, 100, 377, 28);
  TeScrollBar3 = MakeScrollBar("TeScrollBar3", -4, 4, param::kInitialTrim, {16, 152, 240, 17}, TeGroupBox4);
  Label1 = MakeLabel(Initial(ParamText::Label1), 270, 153, TeGroupBox4, "Label1");
  Label1->setMinimumWidth(120);
}

void ParametersTab::BuildOutputLogic() {
  TeGroupBox6 = MakeBox("TeGroupBox6", service_text::kOutputLogic, {440, 24, 385, 130}, this);
  const int rowY[5] = {22, 42, 62, 82, 102};
  MakeLabel(service_text::kDuration, 8, rowY[0], TeGroupBox6);
  MakeLabel(service_text::kMode, 8, rowY[2], TeGroupBox6);
  MakeLabel(service_text::kAlerting, 8, rowY[3], TeGroupBox6);
  QRadioButton** fire[5] = {&FR_1_RButton, &FR_2_RButton, &FR_3_RButton, &FR_4_RButton, &FR_5_RButton};
  QRadioButton** alarm[5] = {&AL_1_RButton, &AL_2_RButton, &AL_3_RButton, &AL_4_RButton, &AL_5_RButton};
  // Four independent groups: fire duration, fire mode, alarm duration, alarm mode.
  QButtonGroup* groups[4];
  for (auto& g : groups) {
    g = new QButtonGroup(TeGroupBox6);
    g->setExclusive(true);
  }
  for (int r = 0; r < 5; ++r) {
    MakeLabel(service_text::kOutputRows[static_cast<std::size_t>(r)], 112, rowY[r], TeGroupBox6);
    *fire[r] = new QRadioButton(TeGroupBox6);
    (*fire[r])->setObjectName(QStringLiteral("FR_%1_RButton").arg(r + 1));
    (*fire[r])->setGeometry(0, rowY[r], 16, 16);
    *alarm[r] = new QRadioButton(TeGroupBox6);
    (*alarm[r])->setObjectName(QStringLiteral("AL_%1_RButton").arg(r + 1));
    (*alarm[r])->setGeometry(0, rowY[r], 16, 16);
    groups[r < 2 ? 0 : 1]->addButton(*fire[r]);
    groups[r < 2 ? 2 : 3]->addButton(*alarm[r]);
  }
}

// The two button columns stand under the words ПОЖАР and ТРЕВОГА of the box's title, wherever
// the title's font puts them.
void ParametersTab::PlaceOutputColumns() {
  const QString title = service_text::kOutputLogic;
  const QFontMetrics fm(TeGroupBox6->font());
  auto leftOfButtonUnder = [&](const char* word) {
    const QString w = word;
    const auto at = title.indexOf(w);
    return 8 + fm.horizontalAdvance(title.left(at)) + fm.horizontalAdvance(w) / 2 - 8;
  };
  const int fireX = leftOfButtonUnder(service_text::kFireColumn);
  const int alarmX = leftOfButtonUnder(service_text::kAlarmColumn);
  for (QRadioButton* b : {FR_1_RButton, FR_2_RButton, FR_3_RButton, FR_4_RButton, FR_5_RButton}) b->move(fireX, b->y());
  for (QRadioButton* b : {AL_1_RButton, AL_2_RButton, AL_3_RButton, AL_4_RButton, AL_5_RButton}) b->move(alarmX, b->y());
}

void ParametersTab::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) PlaceOutputColumns();
  QWidget::changeEvent(event);
}

void ParametersTab::BuildContrastAndVolume() {
  TeGroupBox10 = MakeBox("TeGroupBox10", Initial(ParamText::TeGroupBox10), {442, 168, 383, 80}, this);
  TeScrollBar1 = MakeScrollBar("TeScrollBar1", 1, 255, param::kInitialContrast, {16, 36, 351, 17}, TeGroupBox10);
  TeGroupBox3 = MakeBox("TeGroupBox3", Initial(ParamText::TeGroupBox3), {442, 264, 383, 80}, this);
  TeScrollBar2 = MakeScrollBar("TeScrollBar2", 0, 5, param::kInitialVolume, {16, 36, 351, 17}, TeGroupBox3);
}

void ParametersTab::ShowDeviceAddress(uint8_t address) {
  TeLabel5->setText(QString::fromStdString(param::AddressLabel(address)));
  TeLabel5->adjustSize();
}

bool ParametersTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TeSpinEdit1 && event->type() == QEvent::KeyPress) {
    const auto key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      TeSpinEdit1->interpretText();
      if (onAddressEntered) onAddressEntered(TeSpinEdit1->value());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zelor
