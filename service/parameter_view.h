// The controls of the "ПРОГ.-2" tab (and the two silencing buttons) as the parameter logic sees them.
#pragma once
#include <optional>
#include <string>

namespace zelor {

enum class ParamCombo {
  TeSComboBox1,  // external interface speed
  TeSComboBox2,  // day
  TeSComboBox3,  // month
  TeSComboBox4,  // year
  TeSComboBox5,  // hour
  TeSComboBox6,  // minute
  TeSComboBox7,  // second
  TeSComboBox8,  // internal interface speed
};

enum class ParamScroll {
  TeScrollBar1,  // LCD contrast, 1..255
  TeScrollBar2,  // sounder volume, 0..5
  TeScrollBar3,  // clock trim, -4..4
  TeScrollBar4,  // extra response time-out, 0..300
};

// The four independent radio groups of the alerting-output box.
enum class ParamRadioGroup { FireDuration, FireMode, AlarmDuration, AlarmMode };

// A radio button: its group and its number in the names FR_n_RButton / AL_n_RButton.
struct ParamRadio {
  ParamRadioGroup group;
  int number;  // 1..5
};

enum class ParamText {
  TeGroupBox10,  // contrast caption
  TeGroupBox3,   // volume caption
  TeLabel9,      // extra time-out in ms
  TeLabel5,      // "Адрес прибора - nnn"
  Label1,        // clock trim
  Label2,        // clock difference
};

enum class ParamSpin { TeSpinEdit1, TeSpinEdit2 };

// The conventional scroll notifications: track while dragging; top, bottom and end of scroll;
// every other code (line and page steps, the final thumb position) is a step.
enum class ScrollCode { Track, Top, Bottom, EndScroll, Step };

class ParameterView {
 public:
  virtual ~ParameterView() = default;
  virtual void SetComboIndex(ParamCombo combo, int index) = 0;
  // No item selected; the box shows `text` (the year box before a query, or a year off the list).
  virtual void ShowComboText(ParamCombo combo, const std::string& text) = 0;
  // The chosen item; none while no item is chosen.
  virtual std::optional<int> ComboIndex(ParamCombo combo) const = 0;
  // Checks button `number` of the group, or clears the group when number is 0.
  virtual void SetRadioGroup(ParamRadioGroup group, int number) = 0;
  virtual void SetScrollPosition(ParamScroll scroll, int position) = 0;
  virtual void SetText(ParamText which, const std::string& text) = 0;
  virtual int SpinValue(ParamSpin spin) const = 0;
  virtual void SetSpinValue(ParamSpin spin, int value) = 0;
  // The program's only question: "Сменить скорость обмена COM-порта ПК?", Yes or No.
  virtual bool AskChangePcBaudRate() = 0;
  // Switches the PC port as the baud-rate menu does.
  virtual void SwitchPcBaudRate(int baudIndex) = 0;
};

}  // namespace zelor
