// Firmware files for the upgrade tests: a recognisable pattern of any size, written to a temporary file.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace zelor::test {

// Byte i of the file; bytes 61440 and 61441 are the check word 0x1234, low byte first.
inline std::vector<uint8_t> FirmwareFileBytes(std::size_t size) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
  if (size > 61441) {
    bytes[61440] = 0x34;
    bytes[61441] = 0x12;
  }
  return bytes;
}

// The file is named after the running test too: tests run side by side in separate processes.
inline std::string WriteFirmwareFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string path = ::testing::TempDir() + (test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() + "." : "") + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << path;
  return path;
}

}  // namespace zelor::test
