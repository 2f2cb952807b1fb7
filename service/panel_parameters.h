// The "ПРОГ.-2" tab's logic: the parameter query, the single-register writes with their gates
// and acknowledgements, the clock set and trim, and the two alarm-silencing buttons.
#pragma once
#include <cstdint>
#include <functional>

#include "link/engine.h"
#include "service/parameter_block.h"
#include "service/parameter_view.h"

namespace zelor {

class PanelParameters {
 public:
  using LocalClock = std::function<CivilTime()>;

  struct PendingWriteT {
    uint16_t reg = 0;
    uint16_t value = 0;
    ResponseKind kind = ResponseKind::rkNone;
  };

  PanelParameters(Link& link, ParameterView& view, LocalClock pcClock);
  PanelParameters(const PanelParameters&) = delete;
  PanelParameters& operator=(const PanelParameters&) = delete;

  void TeTabSheet3Show();
  void QueryA_ButtClick();

  void ComboChanged(ParamCombo combo);          // TeSComboBox1..8Change
  void RadioClicked(ParamRadio radio);          // FR_n_RButtonClick, AL_n_RButtonClick
  void Scroll(ParamScroll scroll, ScrollCode code, int position);
  void ScrollButtClick();
  void AddrC_ButtClick();
  void TeSpinEdit1Change();
  void TimeSet_ButtClick();
  void Sound_ButtClick();
  void Light_ButtClick();

  const PendingWriteT& PendingWrite() const { return pendingWrite_; }

 private:
  bool ModeAllows() const;
  void SendQuery();
  void SetPanelClock();
  void Write(uint16_t reg, uint16_t value, ResponseKind kind);
  void Fill(const ParameterBlock& p);

  void DecodeParameterBlockHandler();
  void AddressAcknowledged();
  void BaudAcknowledged();
  void ContrastAcknowledged();
  void VolumeAcknowledged();
  void TimeoutAcknowledged();
  void TrimAcknowledged();
  uint16_t EchoedRegister() const;  // the register a function-06 echo names
  uint16_t EchoedValue() const;

  Link& link_;
  ParameterView& view_;
  LocalClock pcClock_;
  PendingWriteT pendingWrite_;
};

}  // namespace zelor
