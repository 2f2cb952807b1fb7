// Replays the firmware-file fuzz corpus (inputs that reached new code) as an ordinary test.
#include <gtest/gtest.h>

#include "corpus_replay.h"
#include "fuzz_entry.h"

namespace {

TEST(FuzzCorpora, FirmwareFilesAreLoaded) {
  EXPECT_GT(zelor::test::ReplayCorpus(std::filesystem::path(__FILE__).parent_path() / "firmware_file_corpus",
                                      zelor::fuzz::FirmwareFileInput),
            3);
}

}  // namespace
