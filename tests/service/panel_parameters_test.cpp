#include <gtest/gtest.h>

#include <map>

#include "link/crc16.h"
#include "link/registers.h"
#include "link_fixture.h"
#include "service/panel_parameters.h"
#include "service/parameter_texts.h"

namespace zelor::test {
namespace {

// Records what the logic does to the controls; a control set from code fires its change
// handler like the real widgets may, so a write-back would show up on the line.
class FakeParameterView : public ParameterView {
 public:
  void SetComboIndex(ParamCombo c, int index) override {
    combos[c] = index;
    comboTexts.erase(c);
    if (onComboSet) onComboSet(c);
  }
  void ShowComboText(ParamCombo c, const std::string& text) override {
    combos[c] = -1;
    comboTexts[c] = text;
  }
  std::optional<int> ComboIndex(ParamCombo c) const override {
    auto it = combos.find(c);
    if (it == combos.end()) return 0;
    if (it->second < 0) return std::nullopt;
    return it->second;
  }
  void SetRadioGroup(ParamRadioGroup g, int number) override { radios[g] = number; }
  void SetScrollPosition(ParamScroll s, int position) override { scrolls[s] = position; }
  void SetText(ParamText t, const std::string& text) override { texts[t] = text; }
  int SpinValue(ParamSpin s) const override { return spins.at(s); }
  void SetSpinValue(ParamSpin s, int v) override { spins[s] = v; }
  bool AskChangePcBaudRate() override {
    ++questions;
    return answer;
  }
  void SwitchPcBaudRate(int baudIndex) override { switchedTo = baudIndex; }

  std::map<ParamCombo, int> combos;
  std::map<ParamCombo, std::string> comboTexts;
  std::map<ParamRadioGroup, int> radios;
  std::map<ParamScroll, int> scrolls;
  std::map<ParamText, std::string> texts;
  std::map<ParamSpin, int> spins{{ParamSpin::TeSpinEdit1, 247}, {ParamSpin::TeSpinEdit2, 247}};
  std::function<void(ParamCombo)> onComboSet;
  bool answer = false;
  int questions = 0;
  int switchedTo = -1;
};

class PanelParametersTest : public LinkFixture {
 protected:
  PanelParametersTest() {
    view.onComboSet = [this](ParamCombo c) { params.ComboChanged(c); };
  }
  uint16_t Reg(const std::vector<uint8_t>& request, int at) { return static_cast<uint16_t>(request[at] << 8 | request[at + 1]); }

  FakeParameterView view;
  CivilTime pcNow{2019, 2, 3, 9, 5, 7};
  PanelParameters params{link, view, [this] { return pcNow; }};
};

TEST_F(PanelParametersTest, QueryFillsEveryControlAndWritesNothingBack) {
  const std::map<uint16_t, uint16_t> values = {
      {7, 9}, {8, 5}, {9, 10}, {10, 0}, {11, 13}, {12, 45}, {13, 1}, {14, 0}, {15, 2}, {16, 7},
      {17, 0}, {18, 28797}, {19, 0}, {20, 5}, {23, 8}};
  for (auto [r, v] : values) panel.SetRegister(r, v);
  const auto writesBefore = panel.writes();
  params.TeTabSheet3Show();
  EXPECT_EQ(link.ControlsLocked, 1);
  AwaitReceiveCycle();
  EXPECT_EQ(link.ControlsLocked, 0);
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  EXPECT_EQ(line.requests.size(), 1U) << "filling the controls sent nothing";
  EXPECT_EQ(panel.writes(), writesBefore);

  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox5], 9);
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox6], 5);
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox7], 10);
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox2], 0) << "day 0 selects \"1\"";
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox3], 11) << "month 13 selects \"12\"";
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox4], 16) << "year 45 selects \"2030\"";
  EXPECT_EQ(view.texts[ParamText::Label2], "dT =     -3 сек.");  // panel 09:05:10, PC 09:05:07
  EXPECT_EQ(view.radios[ParamRadioGroup::FireMode], 4);
  EXPECT_EQ(view.radios[ParamRadioGroup::FireDuration], 1);
  EXPECT_EQ(view.radios[ParamRadioGroup::AlarmMode], 3);
  EXPECT_EQ(view.radios[ParamRadioGroup::AlarmDuration], 0) << "an unknown code clears the group";
  EXPECT_EQ(view.scrolls[ParamScroll::TeScrollBar1], 1);
  EXPECT_EQ(view.texts[ParamText::TeGroupBox10], "  КОНТРАСТ ЖКИ =   1  ");
  EXPECT_EQ(view.scrolls[ParamScroll::TeScrollBar3], -2);
  EXPECT_EQ(view.texts[ParamText::Label1], "CLOCK TRIM -2");
  EXPECT_EQ(view.scrolls[ParamScroll::TeScrollBar2], 5);
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox8], 4);
  EXPECT_EQ(view.scrolls[ParamScroll::TeScrollBar4], 0);
  EXPECT_EQ(view.texts[ParamText::TeLabel9], "   5");
}

TEST(ParameterBlockDecode, FieldLimits) {
  // One register changed from a valid block; the field the case looks at.
  struct Case {
    uint16_t reg, value;
    std::function<std::string(const ParameterBlock&)> field;
    std::string expected;
  };
  auto idx = [](int ParameterBlock::*m) { return [m](const ParameterBlock& p) { return std::to_string(p.*m); }; };
  const Case cases[] = {
      {7, 24, idx(&ParameterBlock::HourIndex), "0"},       {8, 60, idx(&ParameterBlock::MinuteIndex), "0"},
      {10, 31, idx(&ParameterBlock::DayIndex), "30"},      {10, 99, idx(&ParameterBlock::DayIndex), "30"},
      {12, 9, idx(&ParameterBlock::YearIndex), "0"},       {12, 19, idx(&ParameterBlock::YearIndex), "5"},
      {18, 28799, idx(&ParameterBlock::TrimPosition), "0"}, {18, 0, idx(&ParameterBlock::TrimPosition), "-4"},
      {18, 40000, idx(&ParameterBlock::TrimPosition), "4"}, {19, 6, idx(&ParameterBlock::VolumePosition), "0"},
      {19, 1, idx(&ParameterBlock::VolumePosition), "5"},  {20, 0, idx(&ParameterBlock::InternalSpeedIndex), "3"},
      {20, 9, idx(&ParameterBlock::InternalSpeedIndex), "3"}, {23, 4800, idx(&ParameterBlock::TimeoutPosition), "300"},
      {23, 4801, idx(&ParameterBlock::TimeoutPosition), "0"}, {23, 24, idx(&ParameterBlock::TimeoutPosition), "2"},
      {23, 4800, [](const ParameterBlock& p) { return p.TimeoutLabel; }, "3000"},
      {23, 4801, [](const ParameterBlock& p) { return p.TimeoutLabel; }, "??"},
      {23, 4, [](const ParameterBlock& p) { return p.TimeoutLabel; }, "   2"},  // 2.5 goes to 2
      {23, 12, [](const ParameterBlock& p) { return p.TimeoutLabel; }, "   8"},  // 7.5 goes to 8
      {17, 200, idx(&ParameterBlock::ContrastPosition), "200"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> frame{247, 3, 48};
    for (uint16_t r = 0; r < 24; ++r) {
      uint16_t v = r == 0 ? 11 : r == c.reg ? c.value : 0;
      frame.push_back(static_cast<uint8_t>(v >> 8));
      frame.push_back(static_cast<uint8_t>(v & 0xFF));
    }
    frame.push_back(0);
    frame.push_back(0);
    const auto block = DecodeParameterBlock(frame.data(), 53, CivilTime{});
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(c.field(*block), c.expected) << "register " << c.reg << " = " << c.value;
  }
}

TEST_F(PanelParametersTest, WrongPanelOrByteCountChangesNothingButLogsOk) {
  for (uint16_t typeCode : {uint16_t{10}, uint16_t{0x0A0B} /* high byte is ignored: valid */}) {
    panel.SetRegister(0, typeCode);
    view.texts.clear();
    params.QueryA_ButtClick();
    AwaitReceiveCycle();
    EXPECT_EQ(memo1.lines.back(), "   : ОК.");
    EXPECT_EQ(view.texts.empty(), typeCode == 10) << typeCode;
  }
  // A frame whose byte count promises more than arrived is not decoded from stale bytes.
  std::vector<uint8_t> shortFrame{247, 3, 48, 0, 11, 0, 0};
  EXPECT_FALSE(DecodeParameterBlock(shortFrame.data(), 7, CivilTime{}).has_value());
}

TEST_F(PanelParametersTest, ScrollWritesAndAcknowledgements) {
  struct Case {
    ParamScroll scroll;
    int position;
    uint16_t reg, value;
    ParamText text;
    std::string shown;
  };
  const Case cases[] = {
      {ParamScroll::TeScrollBar1, 200, 17, 0xA9C8, ParamText::TeGroupBox10, "  КОНТРАСТ ЖКИ = 200  "},
      {ParamScroll::TeScrollBar2, 0, 19, 6, ParamText::TeGroupBox3, "  ГРОМКОСТЬ ЗВУК. ОПОВ. = ОТКЛ.  "},
      {ParamScroll::TeScrollBar2, 5, 19, 1, ParamText::TeGroupBox3, "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   5  "},
      {ParamScroll::TeScrollBar4, 300, 23, 4800, ParamText::TeLabel9, "3000"},
      {ParamScroll::TeScrollBar3, -4, 18, 28795, ParamText::Label1, "CLOCK TRIM -4"},
      {ParamScroll::TeScrollBar3, 0, 18, 28799, ParamText::Label1, "CLOCK TRIM +0"},
  };
  for (const auto& c : cases) {
    line.requests.clear();
    view.texts.clear();
    params.Scroll(c.scroll, ScrollCode::Step, c.position);
    EXPECT_EQ(link.ControlsLocked, 1);
    ASSERT_EQ(line.requests.size(), 1U);
    EXPECT_EQ(line.requests[0][1], 0x06);
    EXPECT_EQ(Reg(line.requests[0], 2), c.reg);
    EXPECT_EQ(Reg(line.requests[0], 4), c.value);
    params.Scroll(c.scroll, ScrollCode::Step, c.position == 0 ? 1 : 0);  // dropped while locked
    EXPECT_EQ(line.requests.size(), 1U);
    AwaitReceiveCycle();
    EXPECT_EQ(view.texts[c.text], c.shown) << c.reg << " = " << c.value;
    EXPECT_EQ(panel.Register(c.reg).value_or(0) & 0xFF, c.value & 0xFF);  // the panel keeps contrast's low byte
  }
}

TEST_F(PanelParametersTest, DraggingUpdatesTheCaptionOnlyAndReleaseSendsOnce) {
  for (int p : {40, 80, 120}) params.Scroll(ParamScroll::TeScrollBar1, ScrollCode::Track, p);
  params.Scroll(ParamScroll::TeScrollBar4, ScrollCode::Track, 30);
  EXPECT_EQ(view.texts[ParamText::TeGroupBox10], "  КОНТРАСТ ЖКИ = 120  ");
  EXPECT_EQ(view.texts[ParamText::TeLabel9], " 300");
  for (auto code : {ScrollCode::Top, ScrollCode::Bottom, ScrollCode::EndScroll})
    params.Scroll(ParamScroll::TeScrollBar1, code, 120);
  EXPECT_TRUE(line.requests.empty());
  params.Scroll(ParamScroll::TeScrollBar1, ScrollCode::Step, 120);
  EXPECT_EQ(line.requests.size(), 1U);
}

TEST_F(PanelParametersTest, RadioAndButtonWrites) {
  struct Case {
    std::function<void()> act;
    uint16_t reg, value;
  };
  const Case cases[] = {
      {[&] { params.RadioClicked({ParamRadioGroup::FireMode, 5}); }, 13, 0},
      {[&] { params.RadioClicked({ParamRadioGroup::FireMode, 3}); }, 13, 2},
      {[&] { params.RadioClicked({ParamRadioGroup::FireDuration, 2}); }, 14, 1},
      {[&] { params.RadioClicked({ParamRadioGroup::AlarmMode, 4}); }, 15, 1},
      {[&] { params.RadioClicked({ParamRadioGroup::AlarmDuration, 1}); }, 16, 0},
      {[&] { params.Sound_ButtClick(); }, 24, 0xFFFF},
      {[&] { params.Light_ButtClick(); }, 25, 3},
      {[&] { view.combos[ParamCombo::TeSComboBox4] = 16; params.ComboChanged(ParamCombo::TeSComboBox4); }, 12, 30},
      {[&] { view.combos[ParamCombo::TeSComboBox2] = 30; params.ComboChanged(ParamCombo::TeSComboBox2); }, 10, 31},
      {[&] { view.combos[ParamCombo::TeSComboBox5] = 0; params.ComboChanged(ParamCombo::TeSComboBox5); }, 7, 0},
  };
  for (const auto& c : cases) {
    line.requests.clear();
    c.act();
    ASSERT_EQ(line.requests.size(), 1U) << c.reg;
    EXPECT_EQ(Reg(line.requests[0], 2), c.reg);
    EXPECT_EQ(Reg(line.requests[0], 4), c.value);
    EXPECT_EQ(link.ResponseKind, ResponseKind::rkParameterWrite);
    AwaitReceiveCycle();
    EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  }
}

TEST_F(PanelParametersTest, TimeSetFrameAndCombos) {
  params.TimeSet_ButtClick();
  ASSERT_EQ(line.requests.size(), 1U);
  std::vector<uint8_t> expected{247, 0x10, 0, 7, 0, 6, 12, 0, 9, 0, 5, 0, 7, 0, 3, 0, 2, 0, 19, 0, 0};
  AppendCrc16(expected.data(), 19);
  EXPECT_EQ(line.requests[0], expected);
  EXPECT_EQ(memo1.lines[0].substr(0, 8), "TX : F7 ");
  EXPECT_EQ(link.ExpectedLength, 8);
  EXPECT_EQ(link.Timer_Rx->Interval(), 2000U + 4U) << "2 s after the 21 bytes' 4 ms on the line at 57600 baud";
  const std::map<ParamCombo, int> shown = {{ParamCombo::TeSComboBox5, 9}, {ParamCombo::TeSComboBox6, 5},
                                           {ParamCombo::TeSComboBox7, 7}, {ParamCombo::TeSComboBox2, 2},
                                           {ParamCombo::TeSComboBox3, 1}, {ParamCombo::TeSComboBox4, 5}};
  for (auto [c, i] : shown) EXPECT_EQ(view.combos[c], i);
  AwaitReceiveCycle();
  EXPECT_EQ(line.requests.size(), 1U) << "setting the combo boxes wrote nothing";
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  EXPECT_EQ(panel.Register(reg::kClockYear), 19);

  // A PC year off the list selects no item and shows the year.
  pcNow.year = 2031;
  params.TimeSet_ButtClick();
  EXPECT_EQ(view.combos[ParamCombo::TeSComboBox4], -1);
  EXPECT_EQ(view.comboTexts[ParamCombo::TeSComboBox4], "2031");
  EXPECT_EQ(line.requests.back()[18], 31);
}

TEST_F(PanelParametersTest, ABoxWithNoItemChosenSendsNothing) {
  view.ShowComboText(ParamCombo::TeSComboBox4, "2012");  // the year box before any query
  params.ComboChanged(ParamCombo::TeSComboBox4);
  EXPECT_TRUE(line.requests.empty());
  view.combos[ParamCombo::TeSComboBox4] = 0;
  params.ComboChanged(ParamCombo::TeSComboBox4);
  EXPECT_EQ(line.requests.size(), 1U);
}

TEST_F(PanelParametersTest, GatesAndDeferral) {
  // Mode gate: an archive download is running.
  link.OperationMode = OperationMode::omDownloadRecords;
  params.ComboChanged(ParamCombo::TeSComboBox1);
  params.Sound_ButtClick();
  params.QueryA_ButtClick();
  EXPECT_TRUE(line.requests.empty());
  link.OperationMode = OperationMode::omIdle;

  // Lock gate: the query is outstanding.
  params.QueryA_ButtClick();
  params.ComboChanged(ParamCombo::TeSComboBox8);
  params.RadioClicked({ParamRadioGroup::FireMode, 5});
  EXPECT_EQ(line.requests.size(), 1U);
  params.ComboChanged(ParamCombo::TeSComboBox1);  // no lock gate: replaces the query
  EXPECT_EQ(line.requests.size(), 2U);
  AwaitReceiveCycle();

  // Deferral: a change while the monitor waits for its poll goes right after it, for the same control.
  panel.SetRegister(reg::kArchiveNewest, 8200);
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  clock.AdvanceMs(251);
  ASSERT_TRUE(link.Timer_Rx->Enabled());
  const auto before = line.requests.size();
  view.combos[ParamCombo::TeSComboBox6] = 33;
  params.ComboChanged(ParamCombo::TeSComboBox6);
  EXPECT_EQ(line.requests.size(), before);
  AwaitReceiveCycle();
  clock.AdvanceMs(20);
  ASSERT_EQ(line.requests.size(), before + 1);
  EXPECT_EQ(Reg(line.requests.back(), 2), reg::kClockMinute);
  EXPECT_EQ(Reg(line.requests.back(), 4), 33);

  // A scroll write deferred the same way is sent once from PendingWrite.
  AwaitReceiveCycle();
  clock.RunUntil([&] { return link.Timer_Rx->Enabled(); }, 2000);
  params.Scroll(ParamScroll::TeScrollBar2, ScrollCode::Step, 2);
  params.Scroll(ParamScroll::TeScrollBar2, ScrollCode::Step, 3);  // the latest one wins
  AwaitReceiveCycle();
  clock.AdvanceMs(20);
  EXPECT_EQ(Reg(line.requests.back(), 2), reg::kSounderVolume);
  EXPECT_EQ(Reg(line.requests.back(), 4), 3);
  EXPECT_EQ(link.WaitPending, 0);
}

TEST_F(PanelParametersTest, AddressChangeMovesEveryRequestToTheNewAddress) {
  view.spins[ParamSpin::TeSpinEdit2] = 12;
  params.AddrC_ButtClick();
  EXPECT_EQ(line.requests[0][0], 247);
  AwaitReceiveCycle();
  EXPECT_EQ(link.DeviceAddress, 12);
  EXPECT_EQ(view.spins[ParamSpin::TeSpinEdit1], 12);
  EXPECT_EQ(view.texts[ParamText::TeLabel5], "Адрес прибора - 012");
  EXPECT_EQ(status.panels[2], "DEVICE : А = 012; Baud = 57600");
  params.QueryA_ButtClick();
  AwaitReceiveCycle();
  EXPECT_EQ(line.requests.back()[0], 12);
  EXPECT_EQ(memo1.lines.back(), "   : ОК.") << "the panel answers at its new address";
}

TEST_F(PanelParametersTest, SpeedChangeAsksBeforeSwitchingThePcPort) {
  for (bool yes : {false, true}) {
    view.answer = yes;
    view.switchedTo = -1;
    link.BaudIndex = 7;
    view.combos[ParamCombo::TeSComboBox1] = 3;  // 9600
    params.ComboChanged(ParamCombo::TeSComboBox1);
    AwaitReceiveCycle();
    EXPECT_EQ(link.BaudIndex, 3);
    EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 9600");
    EXPECT_EQ(view.switchedTo, yes ? 3 : -1);
  }
  EXPECT_EQ(view.questions, 2);
}

}  // namespace
}  // namespace zelor::test
