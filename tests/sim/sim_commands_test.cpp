// The simulator program's reports after traffic: an applied configuration written out as a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/crc16.h"
#include "sim/fault_script.h"
#include "sim/panel.h"
#include "sim/session.h"
#include "sim/sim_commands.h"
#include "sim/sim_options.h"
#include "sim/traffic_log.h"

namespace zelor::test {
namespace {

std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) {
  const auto n = static_cast<uint16_t>(frame.size());
  frame.resize(frame.size() + 2);
  AppendCrc16(frame.data(), n);
  return frame;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SimCommands, EachAppliedConfigurationIsWrittenOutWhole) {
  const auto dir = std::filesystem::temp_directory_path() / ("sim_config_out_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  const auto out = dir / "applied.bin";
  sim::Panel panel;
  sim::FaultScript faults;
  sim::TrafficLog log(nullptr, {});
  sim::Session session(panel, faults, log);
  std::ostringstream said;
  sim::SimCommands commands(panel, session, log, said);
  commands.configOut = out.string();

  commands.ReportConfigApplied();
  EXPECT_FALSE(std::filesystem::exists(out)) << "nothing applied yet";

  // The first node's name changed in block 120 (image byte 7680), the CRC left as it was: refused.
  std::vector<uint8_t> image = panel.config().ImageFile();
  image[7680] ^= 0x01;
  std::vector<uint8_t> write{247, 0x10, 0x0F, 120, 0x00, 0x01, 192};
  write.insert(write.end(), image.begin() + 120 * 64, image.begin() + 120 * 64 + 192);
  write = Sealed(write);
  ASSERT_TRUE(panel.Handle(write.data(), write.size()));
  const auto apply = Sealed({247, 0x06, 0xFF, 0xFF, 0x00, 0x00});
  auto reply = panel.Handle(apply.data(), apply.size());
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[1], 0x86) << "a wrong image CRC is refused";
  commands.ReportConfigApplied();
  EXPECT_FALSE(std::filesystem::exists(out));

  // Put back, the image is taken and written out; a second, sealed change replaces the file.
  auto writeBlock = [&](uint8_t page) {
    std::vector<uint8_t> frame{247, 0x10, 0x0F, page, 0x00, 0x01, 192};
    frame.insert(frame.end(), image.begin() + page * 64, image.begin() + page * 64 + 192);
    frame = Sealed(frame);
    ASSERT_TRUE(panel.Handle(frame.data(), frame.size()));
  };
  image[7680] ^= 0x01;
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      image[7680] = 'Z';
      sim::SealImage(image);
    }
    writeBlock(120);
    writeBlock(201);  // holds the image CRC
    reply = panel.Handle(apply.data(), apply.size());
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[1], 0x06);
    commands.ReportConfigApplied();
    EXPECT_EQ(FileBytes(out), panel.config().ImageFile());
    EXPECT_EQ(FileBytes(out)[7680], image[7680]);
  }
  EXPECT_EQ(panel.config().applied(), 2U);
  EXPECT_NE(said.str().find("configuration written to " + out.string()), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out.string() + ".part"));
  std::filesystem::remove_all(dir);
}

TEST(SimOptions, ConfigOutIsTakenAndListed) {
  std::string error;
  const auto o = sim::ParseSimOptions({"--config-out", "/tmp/x.bin"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->configOut, "/tmp/x.bin");
  EXPECT_NE(std::string(sim::SimUsage()).find("--config-out"), std::string::npos);
  EXPECT_FALSE(sim::ParseSimOptions({"--config-out"}, error));
}

}  // namespace
}  // namespace zelor::test
