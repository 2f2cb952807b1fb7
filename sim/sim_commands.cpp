#include "sim/sim_commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zelor::sim {

SimCommands::SimCommands(Panel& panel, Session& session, TrafficLog& log, std::ostream& say)
    : panel_(panel), session_(session), log_(log), say_(say), upgradesSeen_(panel.upgradesFinished()),
      appliesSeen_(panel.config().applied()) {}

void SimCommands::ReportConfigApplied() {
  if (panel_.config().applied() == appliesSeen_) return;
  appliesSeen_ = panel_.config().applied();
  say_ << "configuration applied" << std::endl;
  if (configOut.empty()) return;
  // Written whole under a temporary name and then renamed, so a reader never sees half a file.
  const std::string temporary = configOut + ".part";
  const std::vector<uint8_t> image = panel_.config().ImageFile();
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  out.close();
  const std::string why = std::strerror(errno != 0 ? errno : EIO);
  std::error_code failed;
  if (out) std::filesystem::rename(temporary, configOut, failed);  // replaces an older file
  if (!out || failed) {
    const std::string reason = failed ? failed.message() : why;
    std::filesystem::remove(temporary, failed);
    say_ << "error: cannot write " << configOut << ": " << reason << std::endl;
    return;
  }
  say_ << "configuration written to " << configOut << std::endl;
}

void SimCommands::ReportUpgrade() {
  if (panel_.upgradesFinished() == upgradesSeen_) return;
  upgradesSeen_ = panel_.upgradesFinished();
  say_ << "firmware upgrade finished: " << panel_.loader().pagesReceived() << " pages, "
       << panel_.loader().auxBlocksReceived() << " auxiliary blocks" << std::endl;
  if (!firmwareOut.empty()) {
    std::string error;
    if (panel_.loader().WriteFirmwareFile(firmwareOut, error)) {
      say_ << "firmware written to " << firmwareOut << std::endl;
    } else {
      say_ << "error: " << error << std::endl;
    }
  }
}

bool SimCommands::Command(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  in >> word;
  if (word.empty()) return true;
  if (word == "quit" || word == "exit") return false;
  if (word == "event") {
    panel_.GenerateEvent();
    say_ << "event written at " << panel_.archive().Newest() << std::endl;
  } else if (word == "fire") {
    int zone = 0;
    if (!(in >> zone) || zone < 0 || zone > 511) {
      say_ << "usage: fire ZONE (0..511)" << std::endl;
      return true;
    }
    panel_.AddEvent(MakeRecord(static_cast<uint16_t>(zone), 4, 0, 150, panel_.clock().Now()));
    say_ << "fire in zone " << zone << " written at " << panel_.archive().Newest() << std::endl;
  } else if (word == "bootloader") {
    panel_.EnterBootLoader();
    log_.Note("boot-loader mode, 115200 baud");
    say_ << "boot-loader mode: waiting for page, block and finish frames at 115200 baud" << std::endl;
  } else if (word == "status") {
    say_ << (panel_.inBootLoader() ? "boot loader" : "panel") << " at address " << int(panel_.address()) << ", "
         << session_.lineBaud() << " baud; archive " << panel_.archive().Count() << " records, newest "
         << panel_.archive().Newest() << ", oldest " << panel_.archive().Oldest() << "; " << session_.framesHandled()
         << " requests" << std::endl;
  } else {
    say_ << "commands: event, fire ZONE, bootloader, status, quit" << std::endl;
  }
  ReportUpgrade();
  ReportConfigApplied();
  return true;
}

}  // namespace zelor::sim
