#include "service/parameters_view.h"

#include <QComboBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "service/panel_parameters.h"
#include "service/parameters_tab.h"
#include "service/service_tab_texts.h"

namespace zelor {

ParametersView::ParametersView(ParametersTab& tab, QWidget* dialogParent)
    : QObject(&tab), tab_(tab), dialogParent_(dialogParent) {}

QComboBox* ParametersView::Combo(ParamCombo combo) const {
  switch (combo) {
    case ParamCombo::TeSComboBox1: return tab_.TeSComboBox1;
    case ParamCombo::TeSComboBox2: return tab_.TeSComboBox2;
    case ParamCombo::TeSComboBox3: return tab_.TeSComboBox3;
    case ParamCombo::TeSComboBox4: return tab_.TeSComboBox4;
    case ParamCombo::TeSComboBox5: return tab_.TeSComboBox5;
    case ParamCombo::TeSComboBox6: return tab_.TeSComboBox6;
    case ParamCombo::TeSComboBox7: return tab_.TeSComboBox7;
    case ParamCombo::TeSComboBox8: return tab_.TeSComboBox8;
  }
  return nullptr;
}

QScrollBar* ParametersView::Bar(ParamScroll scroll) const {
  switch (scroll) {
    case ParamScroll::TeScrollBar1: return tab_.TeScrollBar1;
    case ParamScroll::TeScrollBar2: return tab_.TeScrollBar2;
    case ParamScroll::TeScrollBar3: return tab_.TeScrollBar3;
    case ParamScroll::TeScrollBar4: return tab_.TeScrollBar4;
  }
  return nullptr;
}

void ParametersView::Connect(PanelParameters& logic) {
  for (auto c : {ParamCombo::TeSComboBox1, ParamCombo::TeSComboBox2, ParamCombo::TeSComboBox3,
                 ParamCombo::TeSComboBox4, ParamCombo::TeSComboBox5, ParamCombo::TeSComboBox6,
                 ParamCombo::TeSComboBox7, ParamCombo::TeSComboBox8}) {
    connect(Combo(c), &QComboBox::activated, this, [&logic, c] { logic.ComboChanged(c); });
  }
  const std::pair<QRadioButton*, ParamRadio> radios[] = {
      {tab_.FR_1_RButton, {ParamRadioGroup::FireDuration, 1}}, {tab_.FR_2_RButton, {ParamRadioGroup::FireDuration, 2}},
      {tab_.FR_3_RButton, {ParamRadioGroup::FireMode, 3}},     {tab_.FR_4_RButton, {ParamRadioGroup::FireMode, 4}},
      {tab_.FR_5_RButton, {ParamRadioGroup::FireMode, 5}},     {tab_.AL_1_RButton, {ParamRadioGroup::AlarmDuration, 1}},
      {tab_.AL_2_RButton, {ParamRadioGroup::AlarmDuration, 2}}, {tab_.AL_3_RButton, {ParamRadioGroup::AlarmMode, 3}},
      {tab_.AL_4_RButton, {ParamRadioGroup::AlarmMode, 4}},    {tab_.AL_5_RButton, {ParamRadioGroup::AlarmMode, 5}},
  };
  for (const auto& [button, radio] : radios) {
    connect(button, &QRadioButton::clicked, this, [&logic, radio = radio] { logic.RadioClicked(radio); });
  }
  for (auto s : {ParamScroll::TeScrollBar1, ParamScroll::TeScrollBar2, ParamScroll::TeScrollBar3,
                 ParamScroll::TeScrollBar4}) {
    ConnectScroll(logic, s);
  }
  connect(tab_.AddrC_Butt, &QPushButton::clicked, this, [&logic] { logic.AddrC_ButtClick(); });
  connect(tab_.TimeSet_Butt, &QPushButton::clicked, this, [&logic] { logic.TimeSet_ButtClick(); });
  connect(tab_.QueryA_Butt, &QPushButton::clicked, this, [&logic] { logic.QueryA_ButtClick(); });
  connect(tab_.TeSpinEdit1, &QSpinBox::valueChanged, this, [&logic] { logic.TeSpinEdit1Change(); });
}

// Qt's slider actions mapped to the conventional scroll codes: dragging is track, its release
// is the final thumb position (a step), line and page moves are steps, the ends do nothing.
void ParametersView::ConnectScroll(PanelParameters& logic, ParamScroll scroll) {
  QScrollBar* bar = Bar(scroll);
  connect(bar, &QScrollBar::actionTriggered, this, [&logic, scroll, bar](int action) {
    switch (action) {
      case QAbstractSlider::SliderMove:
        logic.Scroll(scroll, bar->isSliderDown() ? ScrollCode::Track : ScrollCode::Step, bar->sliderPosition());
        break;
      case QAbstractSlider::SliderToMinimum: logic.Scroll(scroll, ScrollCode::Top, bar->sliderPosition()); break;
      case QAbstractSlider::SliderToMaximum: logic.Scroll(scroll, ScrollCode::Bottom, bar->sliderPosition()); break;
      case QAbstractSlider::SliderNoAction: break;
      default: logic.Scroll(scroll, ScrollCode::Step, bar->sliderPosition()); break;
    }
  });
  connect(bar, &QScrollBar::sliderReleased, this, [&logic, scroll, bar] {
    logic.Scroll(scroll, ScrollCode::Step, bar->sliderPosition());
    logic.Scroll(scroll, ScrollCode::EndScroll, bar->sliderPosition());
  });
}

void ParametersView::SetComboIndex(ParamCombo combo, int index) {
  QComboBox* box = Combo(combo);
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

void ParametersView::ShowComboText(ParamCombo combo, const std::string& text) {
  QComboBox* box = Combo(combo);
  box->setPlaceholderText(QString::fromStdString(text));
  box->setCurrentIndex(-1);
}

std::optional<int> ParametersView::ComboIndex(ParamCombo combo) const {
  const int index = Combo(combo)->currentIndex();
  if (index < 0) return std::nullopt;
  return index;
}

void ParametersView::SetRadioGroup(ParamRadioGroup group, int number) {
  QRadioButton* fire[] = {tab_.FR_1_RButton, tab_.FR_2_RButton, tab_.FR_3_RButton, tab_.FR_4_RButton, tab_.FR_5_RButton};
  QRadioButton* alarm[] = {tab_.AL_1_RButton, tab_.AL_2_RButton, tab_.AL_3_RButton, tab_.AL_4_RButton, tab_.AL_5_RButton};
  const bool isFire = group == ParamRadioGroup::FireDuration || group == ParamRadioGroup::FireMode;
  const bool isDuration = group == ParamRadioGroup::FireDuration || group == ParamRadioGroup::AlarmDuration;
  QRadioButton** column = isFire ? fire : alarm;
  const int first = isDuration ? 1 : 3;
  const int last = isDuration ? 2 : 5;
  QButtonGroup* buttons = column[first - 1]->group();
  // An exclusive group cannot show "none checked"; lift the rule while clearing.
  if (buttons != nullptr) buttons->setExclusive(false);
  for (int n = first; n <= last; ++n) column[n - 1]->setChecked(n == number);
  if (buttons != nullptr) buttons->setExclusive(true);
}

void ParametersView::SetScrollPosition(ParamScroll scroll, int position) { Bar(scroll)->setValue(position); }

void ParametersView::SetText(ParamText which, const std::string& text) {
  const QString t = QString::fromStdString(text);
  switch (which) {
    case ParamText::TeGroupBox10: tab_.TeGroupBox10->setTitle(t); break;
    case ParamText::TeGroupBox3: tab_.TeGroupBox3->setTitle(t); break;
    case ParamText::TeLabel9: tab_.TeLabel9->setText(t); break;
    case ParamText::TeLabel5: tab_.TeLabel5->setText(t); tab_.TeLabel5->adjustSize(); break;
    case ParamText::Label1: tab_.Label1->setText(t); break;
    case ParamText::Label2: tab_.Label2->setText(t); break;
  }
}

int ParametersView::SpinValue(ParamSpin spin) const {
  return (spin == ParamSpin::TeSpinEdit1 ? tab_.TeSpinEdit1 : tab_.TeSpinEdit2)->value();
}

void ParametersView::SetSpinValue(ParamSpin spin, int value) {
  (spin == ParamSpin::TeSpinEdit1 ? tab_.TeSpinEdit1 : tab_.TeSpinEdit2)->setValue(value);
}

bool ParametersView::AskChangePcBaudRate() {
  if (speedQuestion) return speedQuestion();
  return QMessageBox::warning(dialogParent_, QString(), service_text::kSpeedQuestion,
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void ParametersView::SwitchPcBaudRate(int baudIndex) {
  if (switchPcBaudRate) switchPcBaudRate(baudIndex);
}

}  // namespace zelor
