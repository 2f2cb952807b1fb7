// An archive download that the panel refuses with exception replies ends by its give-up at the
// error limit, naming the exception, and keeps the records received so far.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "archive_test_support.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "link_fixture.h"
#include "service/archive_download.h"
#include "service/archive_texts.h"
#include "service/service_tab_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;
namespace fs = std::filesystem;

class ArchiveRefusedTest : public LinkFixture {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("archive_refused_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    view.chosen = (dir / "archive.txt").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::size_t FileLines() const {
    std::ifstream in(dir / "archive.txt", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t n = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++n;
    return n;
  }

  FakeArchiveView view;
  ArchiveDownload download{link, sequencer, view, [] { return PcDateTexts{"14:05:07", "13.12.2018"}; }};
  fs::path dir;
};

TEST_F(ArchiveRefusedTest, RefusedRecordReadsGiveUpAtTheTwentyFirstAndKeepTheLinesSoFar) {
  FillWithTestRecords(panel, 100);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.ArchiveAddress == reg::kArchiveFirst + 40 && !link.Timer_Rx->Enabled(); },
                             10'000));
  const std::size_t before = line.requests.size();
  line.defaultFault = sim::MakeFault(sim::Fault::Exception);
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 60'000))
      << "the refused read is still being sent";
  EXPECT_EQ(line.requests.size(), before + 21);
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{text::kArchiveReading,
                                                   "   : ОШИБКА -> Пульт отклонил запрос, исключение 04."}));
  EXPECT_NE(std::find(status.panel2History.begin(), status.panel2History.end(), "ЧТЕНИЕ АРХИВА : ОШИБКИ -> 21"),
            status.panel2History.end());
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);
  EXPECT_EQ(FileLines(), 4U + 40U) << "the header and the 40 records so far stay in the file";
  EXPECT_FALSE(line.IsOpen());
}

// Refused at once (the pointers): the download ends the same way with nothing but the header.
TEST_F(ArchiveRefusedTest, RefusedPointersGiveUpAtTheTwentyFirst) {
  FillWithTestRecords(panel, 100);
  line.defaultFault = sim::MakeFault(sim::Fault::Exception);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 60'000))
      << "the refused read is still being sent";
  EXPECT_EQ(line.requests.size(), 21U);
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА -> Пульт отклонил запрос, исключение 04.");
  EXPECT_EQ(download.DownloadActive, 0);
}

}  // namespace
}  // namespace zelor::test
