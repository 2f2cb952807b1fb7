// Binds the "ПРОГ.-2" tab's Qt controls to the parameter logic: user events go in, values come out.
#pragma once
#include <QObject>
#include <functional>

#include "service/parameter_block.h"
#include "service/parameter_view.h"

class QComboBox;
class QScrollBar;
class QWidget;

namespace zelor {

class ParametersTab;
class PanelParameters;

class ParametersView : public QObject, public ParameterView {
  Q_OBJECT
 public:
  ParametersView(ParametersTab& tab, QWidget* dialogParent);

  // Routes the controls' user events to the logic (values set from code raise none).
  void Connect(PanelParameters& logic);

  // The speed question; a modal Yes/No warning unless a test answers it.
  std::function<bool()> speedQuestion;
  // The PC port switch of the baud-rate menu.
  std::function<void(int)> switchPcBaudRate;

  void SetComboIndex(ParamCombo combo, int index) override;
  void ShowComboText(ParamCombo combo, const std::string& text) override;
  std::optional<int> ComboIndex(ParamCombo combo) const override;
  void SetRadioGroup(ParamRadioGroup group, int number) override;
  void SetScrollPosition(ParamScroll scroll, int position) override;
  void SetText(ParamText which, const std::string& text) override;
  int SpinValue(ParamSpin spin) const override;
  void SetSpinValue(ParamSpin spin, int value) override;
  bool AskChangePcBaudRate() override;
  void SwitchPcBaudRate(int baudIndex) override;

 private:
  QComboBox* Combo(ParamCombo combo) const;
  QScrollBar* Bar(ParamScroll scroll) const;
  void ConnectScroll(PanelParameters& logic, ParamScroll scroll);

  ParametersTab& tab_;
  QWidget* dialogParent_;
};

}  // namespace zelor
