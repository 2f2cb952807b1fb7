// Replays the receive fuzzer's corpus (inputs that reached new code) as an ordinary test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

TEST(ReceiveFuzzCorpus, EveryInputIsHandled) {
  const auto dir = std::filesystem::path(__FILE__).parent_path() / "receive_corpus";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(data.data(), data.size()), 0) << entry.path();
    ++files;
  }
  EXPECT_GT(files, 100);
}

}  // namespace
