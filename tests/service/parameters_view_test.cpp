// The "ПРОГ.-2" tab in the real window, on the virtual clock against the in-process panel.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/window_fixture.h"
#include "link/registers.h"
#include "service/parameters_tab.h"
#include "service/parameters_view.h"

namespace zelor::test {
namespace {

class ParametersViewTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    tab = form->TeTabSheet3;
  }
  void AwaitReply() {
    clock->RunUntil([this] { return !form->link().Timer_Rx->Enabled(); }, 5000);
  }
  uint16_t Sent(int at) const {
    const auto& r = line->requests.back();
    return static_cast<uint16_t>(r[at] << 8 | r[at + 1]);
  }
  ParametersTab* tab = nullptr;
};

TEST_F(ParametersViewTest, ShowingTheTabFillsItAndWritesNothingBack) {
  panel.SetRegister(reg::kLcdContrast, 120);
  panel.SetRegister(reg::kSounderVolume, 6);
  panel.SetRegister(reg::kFireOutputMode, 2);
  panel.SetRegister(reg::kInternalSpeed, 8);
  const auto writes = panel.writes();
  form->TePageControl1->setCurrentWidget(tab);
  ASSERT_EQ(line->requests.size(), 1U);
  AwaitReply();
  EXPECT_EQ(line->requests.size(), 1U);
  EXPECT_EQ(panel.writes(), writes);
  EXPECT_EQ(tab->TeScrollBar1->value(), 120);
  EXPECT_EQ(tab->TeGroupBox10->title().toStdString(), "  КОНТРАСТ ЖКИ = 120  ");
  EXPECT_EQ(tab->TeScrollBar2->value(), 0);
  EXPECT_EQ(tab->TeGroupBox3->title().toStdString(), "  ГРОМКОСТЬ ЗВУК. ОПОВ. = ОТКЛ.  ");
  EXPECT_TRUE(tab->FR_3_RButton->isChecked());
  EXPECT_EQ(tab->TeSComboBox8->currentText().toStdString(), "57600");
  EXPECT_FALSE(form->link().ControlsLocked);
}

TEST_F(ParametersViewTest, DraggingShowsTheValueAndReleaseSendsOneWrite) {
  QScrollBar* bar = tab->TeScrollBar1;
  bar->setSliderDown(true);
  for (int p : {50, 80, 100}) bar->setSliderPosition(p);
  EXPECT_EQ(tab->TeGroupBox10->title().toStdString(), "  КОНТРАСТ ЖКИ = 100  ");
  EXPECT_TRUE(line->requests.empty());
  bar->setSliderDown(false);
  ASSERT_EQ(line->requests.size(), 1U);
  EXPECT_EQ(Sent(2), reg::kLcdContrast);
  EXPECT_EQ(Sent(4), 0xA964);
  AwaitReply();
  EXPECT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.");

  tab->TeScrollBar3->triggerAction(QAbstractSlider::SliderSingleStepSub);  // a line step to -1
  EXPECT_EQ(Sent(4), 28798);
  AwaitReply();
  EXPECT_EQ(tab->Label1->text().toStdString(), "CLOCK TRIM -1");
}

TEST_F(ParametersViewTest, SpeedQuestionDecidesThePcPort) {
  for (bool yes : {false, true}) {
    form->parametersView().speedQuestion = [yes] { return yes; };
    form->BaudRateClick(7);
    QComboBox* box = tab->TeSComboBox1;
    box->setCurrentIndex(3);
    emit box->activated(3);  // the user picks "9600"
    EXPECT_EQ(Sent(2), reg::kExternalSpeed);
    EXPECT_EQ(Sent(4), 4);
    AwaitReply();
    EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 9600") << "the status bar names the panel's new speed";
    EXPECT_EQ(line->BaudRate(), yes ? 9600U : 57600U);
    EXPECT_EQ(Panel(1), yes ? "BaudRate = 9600" : "BaudRate = 57600");
    EXPECT_EQ(form->BR_[3]->isChecked(), yes);
    panel.SetRegister(reg::kExternalSpeed, 8);
  }
}

TEST_F(ParametersViewTest, ButtonsAndRadiosWrite) {
  struct Case {
    QAbstractButton* button;
    uint16_t reg, value;
  };
  const Case cases[] = {{form->Sound_Butt, 24, 0xFFFF}, {form->Light_Butt, 25, 3},
                        {tab->AL_2_RButton, 16, 1},       {tab->FR_4_RButton, 13, 1}};
  for (const auto& c : cases) {
    c.button->click();
    EXPECT_EQ(Sent(2), c.reg);
    EXPECT_EQ(Sent(4), c.value);
    AwaitReply();
  }
  const auto sent = line->requests.size();
  form->parametersView().SetRadioGroup(ParamRadioGroup::FireMode, 0);  // from code: clears, sends nothing
  EXPECT_FALSE(tab->FR_4_RButton->isChecked());
  EXPECT_EQ(line->requests.size(), sent);
}

// The internal interface is the panel's own network: its speed echo leaves the PC's port, the
// status bar's device line and the question alone, and the next request is answered.
TEST_F(ParametersViewTest, InternalSpeedEchoLeavesThePcPortAlone) {
  int asked = 0;
  form->parametersView().speedQuestion = [&asked] {
    ++asked;
    return true;
  };
  QComboBox* box = tab->TeSComboBox8;
  box->setCurrentIndex(3);
  emit box->activated(3);  // the user picks "9600"
  EXPECT_EQ(Sent(2), reg::kInternalSpeed);
  EXPECT_EQ(Sent(4), 4);
  AwaitReply();
  EXPECT_EQ(panel.Register(reg::kInternalSpeed), 4);
  EXPECT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.");
  EXPECT_EQ(asked, 0) << "no question";
  EXPECT_EQ(line->BaudRate(), 57600U);
  EXPECT_EQ(Panel(1), "BaudRate = 57600");
  EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 57600");
  tab->QueryA_Butt->click();
  AwaitReply();
  EXPECT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.") << "the next query is answered";
  EXPECT_EQ(box->currentText().toStdString(), "9600");
}

// The ten radio buttons of the alerting-output box, each with the register and value it writes.
TEST_F(ParametersViewTest, EveryAlertingOutputRadioWritesItsRegisterAndValue) {
  struct Case {
    QRadioButton* button;
    uint16_t reg, value;
  };
  const Case cases[] = {
      {tab->FR_5_RButton, reg::kFireOutputMode, 0},      {tab->FR_4_RButton, reg::kFireOutputMode, 1},
      {tab->FR_3_RButton, reg::kFireOutputMode, 2},      {tab->FR_1_RButton, reg::kFireOutputDuration, 0},
      {tab->FR_2_RButton, reg::kFireOutputDuration, 1},  {tab->AL_5_RButton, reg::kAlarmOutputMode, 0},
      {tab->AL_4_RButton, reg::kAlarmOutputMode, 1},     {tab->AL_3_RButton, reg::kAlarmOutputMode, 2},
      {tab->AL_1_RButton, reg::kAlarmOutputDuration, 0}, {tab->AL_2_RButton, reg::kAlarmOutputDuration, 1},
  };
  static_assert(reg::kFireOutputMode == 13 && reg::kFireOutputDuration == 14 && reg::kAlarmOutputMode == 15 &&
                reg::kAlarmOutputDuration == 16);
  // Every register starts away from the value a click must leave in it.
  for (uint16_t r : {reg::kFireOutputMode, reg::kFireOutputDuration, reg::kAlarmOutputMode, reg::kAlarmOutputDuration}) {
    panel.SetRegister(r, 7);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString());
    const auto sent = line->requests.size();
    c.button->click();
    ASSERT_EQ(line->requests.size(), sent + 1);
    EXPECT_EQ(line->requests.back()[1], 0x06);
    EXPECT_EQ(Sent(2), c.reg);
    EXPECT_EQ(Sent(4), c.value);
    AwaitReply();
    EXPECT_EQ(panel.Register(c.reg), c.value);
  }
}

// While an operation other than monitoring runs, scroll bars and radio buttons send nothing,
// as the combo boxes: the write would go to the address a search probes.
TEST_F(ParametersViewTest, ScrollBarsAndRadiosSendNothingWhileAnotherOperationRuns) {
  panel.set_address(40);
  form->CustomItem5->trigger();  // Search -> Start
  ASSERT_EQ(form->link().OperationMode, OperationMode::omSearch);
  clock->RunUntil([this] { return line->requests.size() >= 3; }, 5000);
  tab->FR_4_RButton->click();
  tab->AL_2_RButton->click();
  tab->TeScrollBar1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  tab->TeScrollBar2->triggerAction(QAbstractSlider::SliderPageStepSub);
  tab->TeScrollBar3->triggerAction(QAbstractSlider::SliderSingleStepSub);
  tab->TeScrollBar4->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  clock->RunUntil([this] { return form->link().OperationMode == OperationMode::omIdle; }, 60'000);
  ASSERT_EQ(form->link().DeviceAddress, 40) << "the search found the panel";
  for (const auto& r : line->requests) {
    EXPECT_EQ(r[1], 0x03) << "a write went to address " << int{r[0]};
  }
  // At rest the same controls write again.
  tab->FR_4_RButton->click();
  EXPECT_EQ(line->requests.back()[1], 0x06);
  EXPECT_EQ(Sent(2), reg::kFireOutputMode);
  AwaitReply();
  tab->TeScrollBar1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Sent(2), reg::kLcdContrast);
}

}  // namespace
}  // namespace zelor::test
