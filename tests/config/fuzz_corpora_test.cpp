// Replays the configuration's fuzz corpora (inputs that reached new code) as ordinary tests.
#include <gtest/gtest.h>

#include "corpus_replay.h"
#include "fuzz_entry.h"

namespace {

const std::filesystem::path kHere = std::filesystem::path(__FILE__).parent_path();

TEST(FuzzCorpora, BinFilesAreParsed) {
  EXPECT_GT(zelor::test::ReplayCorpus(kHere / "parse_image_corpus", zelor::fuzz::ParseImageFile), 20);
}

TEST(FuzzCorpora, DisplayCodesAreDecoded) {
  EXPECT_GT(zelor::test::ReplayCorpus(kHere / "lcd_codec_corpus", zelor::fuzz::LcdCodecInput), 0);
}

}  // namespace
