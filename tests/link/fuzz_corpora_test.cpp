// Replays the link's fuzz corpora (inputs that reached new code) as ordinary tests.
#include <gtest/gtest.h>

#include "corpus_replay.h"
#include "fuzz_entry.h"

namespace {

const std::filesystem::path kHere = std::filesystem::path(__FILE__).parent_path();

TEST(FuzzCorpora, ReceiveInputsAreHandled) {
  EXPECT_GT(zelor::test::ReplayCorpus(kHere / "receive_corpus", zelor::fuzz::Receive), 20);
}

TEST(FuzzCorpora, PortFilesAreRead) {
  EXPECT_GT(zelor::test::ReplayCorpus(kHere / "port_file_corpus", zelor::fuzz::PortFileInput), 5);
}

}  // namespace
