// "Firmware Upgrade...": loads a firmware file and carries it to the panel's boot loader frame
// by frame (120 pages, the auxiliary blocks, block 127, finish), each awaiting 07 A5.
#pragma once
#include <cstdint>

#include "link/engine.h"
#include "link/sequencer.h"
#include "upgrade/firmware_file.h"
#include "upgrade/loader_frames.h"
#include "upgrade/upgrade_view.h"

namespace zelor {

class FirmwareUpgrade {
 public:
  FirmwareUpgrade(Link& link, Sequencer& sequencer, UpgradeView& view);
  FirmwareUpgrade(const FirmwareUpgrade&) = delete;
  FirmwareUpgrade& operator=(const FirmwareUpgrade&) = delete;

  void CustomItem13Click();

  // Senders of the three frames; false when the port could not be opened or written, in which
  // case the upgrade has been stopped.
  bool SendFirmwarePage();
  bool SendAuxBlock(uint8_t n);
  bool SendFinish();
  // Called first in every receive cycle with bytes: true when it consumed an acknowledgement.
  bool UpgradeReceiveHook();

  const FirmwareImages& images() const { return images_; }

 private:
  // Sends the frame due for BlockIndex (the hook after an acknowledgement, the sequencer's repeat).
  bool SendDueFrame();
  bool SendLoaderFrame(uint16_t length, uint32_t timeoutMs);
  void Completed();
  void StoppedByPortError();
  void ShowFileProblem(const std::string& line);

  Link& link_;
  Sequencer& sequencer_;
  UpgradeView& view_;
  FirmwareImages images_;
};

}  // namespace zelor
