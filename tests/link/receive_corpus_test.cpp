// Replays the receive fuzzer's corpus (inputs that reached new code) as an ordinary test.
#include <gtest/gtest.h>

#include "corpus_replay.h"

namespace {

TEST(ReceiveFuzzCorpus, EveryInputIsHandled) {
  EXPECT_GT(zelor::test::ReplayCorpus(std::filesystem::path(__FILE__).parent_path() / "receive_corpus"), 100);
}

}  // namespace
