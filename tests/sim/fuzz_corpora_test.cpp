// Replays the request framer's fuzz corpus (inputs that reached new code) as an ordinary test.
#include <gtest/gtest.h>

#include "corpus_replay.h"
#include "fuzz_entry.h"

namespace {

TEST(FuzzCorpora, RequestStreamsAreFramed) {
  EXPECT_GT(zelor::test::ReplayCorpus(std::filesystem::path(__FILE__).parent_path() / "request_framer_corpus",
                                      zelor::fuzz::RequestFramerInput),
            5);
}

}  // namespace
