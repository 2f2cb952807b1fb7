// Replays a fuzz corpus folder through its fuzz entry, as an ordinary test does on every run.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zelor::test {

using FuzzEntry = int (*)(const uint8_t* data, std::size_t size);

// Feeds every file of `dir` to the fuzz entry; returns how many files there were.
inline int ReplayCorpus(const std::filesystem::path& dir, FuzzEntry fuzzEntry) {
  EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int files = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fuzzEntry(data.data(), data.size()), 0) << entry.path();
    ++files;
  }
  return files;
}

}  // namespace zelor::test
