// The download of the archive to a text file, on the virtual clock against the in-process panel.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "archive_test_support.h"
#include "link/link_texts.h"
#include "model/cp1251.h"
#include "link_fixture.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_texts.h"
#include "service/service_tab_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class ArchiveDownloadTest : public LinkFixture {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("archive_download_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = dir / "file_13.12.2018.txt";
    view.chosen = path.string();
  }
  void TearDown() override { fs::remove_all(dir); }

  // Pins the ring pointers the panel reports.
  void Pointers(uint16_t newest, uint16_t oldest) {
    panel.SetRegister(reg::kArchiveNewest, newest);
    panel.SetRegister(reg::kArchiveOldest, oldest);
  }
  bool RunToIdle(int64_t maxMs = 60000) {
    return clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, maxMs);
  }
  // The record lines the file should hold for ring addresses from `first`, `count` of them.
  std::vector<std::string> ExpectedLines(uint16_t first, int count) {
    std::vector<std::string> lines;
    uint16_t a = first;
    for (int i = 0; i < count; ++i) {
      lines.push_back(Cp1251FromUtf8(ArchiveFileLine(i + 1, DecodeEvent(panel.archive().At(a).data()))).Bytes());
      a = sim::EventArchive::Next(a);
    }
    return lines;
  }
  std::vector<std::string> RecordLines() {
    auto lines = SplitCrLf(ReadBytes(path));
    EXPECT_GE(lines.size(), 4U);
    if (lines.size() < 4) return {};
    return {lines.begin() + 4, lines.end()};
  }
  std::vector<uint16_t> BatchStarts() const {
    std::vector<uint16_t> starts;
    for (const auto& r : line.requests) {
      const auto start = static_cast<uint16_t>(r[2] << 8 | r[3]);
      if (start >= reg::kArchiveFirst && start <= reg::kArchiveLast) starts.push_back(start);
    }
    return starts;
  }

  FakeArchiveView view;
  ArchiveDownload download{link, sequencer, view, [] { return PcDateTexts{"14:05:07", "13.12.2018"}; }};
  fs::path dir;
  fs::path path;
};

TEST_F(ArchiveDownloadTest, FileBytesAreCp1251WithCrLf) {
  // An erased record from the panel, its clock fields 9:00:00 on 1.01.2020.
  sim::EventRecord erased = sim::ErasedRecord();
  erased[6] = 9, erased[7] = 0, erased[8] = 0, erased[9] = 1, erased[10] = 1, erased[11] = 20;
  erased[0] = 0xE8, erased[1] = 0x03;  // the panel
  panel.archive().Clear();
  panel.archive().Append(sim::MakeRecord(12, 4, 0, 2001, {2018, 12, 13, 14, 5, 7}));
  panel.archive().Append(erased);
  panel.archive().Append(sim::MakeRecord(1005, 8, 0, 150, {2019, 2, 3, 7, 5, 9}));
  panel.archive().Append(sim::MakeRecord(700, 99, 14, 0, {2099, 12, 31, 23, 59, 59}));

  download.File_ButtAClick();
  ASSERT_TRUE(RunToIdle());
  const std::string expected =
      "\xC0\xD0\xD5\xC8\xC2 \xCF\xD0\xC8\xC1\xCE\xD0\xC0 <\xC7\xC5\xCB\xCE\xD0-\xCF\xD3\xC8>; \xC4\xC0\xD2\xC0 \xD1\xCD\xDF\xD2\xC8\xDF \xC4\xC0\xCD\xCD\xDB\xD5 -> 14:05:07 13.12.2018\x0D\x0A"
      " \x0D\x0A"
      "  \xB9      \xC7\xCE\xCD\xC0                                             \xC2\xD0\xC5\xCC\xDF      \xC4\xC0\xD2\xC0\x0D\x0A"
      " \x0D\x0A"
      "0001    :0012    \xCD\xCE\xD0\xCC\xC0            --> \xCF\xCE\xC6\xC0\xD0              14:05:07    13.12.2018\x0D\x0A"
      "0002    :\xCF\xD3\xCB\xDC\xD2                    --> \xC7\xC0\xCF\xC8\xD1\xDC \xCF\xCE\xC2\xD0\xC5\xC6\xC4\xC5\xCD\xC0   9:00:00     1.01.2020\x0D\x0A"
      "0003    :\xCF" "005    \xC2\xC7\xDF\xD2             --> \xCF\xCE\xC6\xC0\xD0  L= 0150\xEC     7:05:09     3.02.2019\x0D\x0A"
      "0004    :?       ??               --> --?                23:59:59    31.12.2099\x0D\x0A"
      ;
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(view.proposedName, "file_13.12.2018.txt");
  EXPECT_FALSE(fs::exists(path.string() + ".part")) << "the working file took the chosen name";
  EXPECT_EQ(memo1.lines.size(), 2U);
  EXPECT_EQ(memo1.lines.front(), text::kArchiveReading);
  EXPECT_EQ(memo1.lines.back(), text::kOk);
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtB]);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtC]);
  EXPECT_FALSE(view.progressVisible);
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(ArchiveDownloadTest, RecordCountsFollowThePointers) {
  struct Case {
    uint16_t newest, oldest;
    int lines;
    std::vector<uint16_t> batches;
  };
  const Case cases[] = {
      {8211, 8192, 20, {8192}},
      {8200, 8192, 9, {8192}},
      {8192, 8192, 1, {8192}},
      {8231, 8192, 40, {8192, 8212}},
      {9691, 9680, 12, {9680}},
  };
  FillWithTestRecords(panel, 1500);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.newest << "/" << c.oldest);
    line.requests.clear();
    Pointers(c.newest, c.oldest);
    download.File_ButtAClick();
    EXPECT_EQ(memo2.lines, std::vector<std::string>{text::kArchiveReading});
    EXPECT_TRUE(memo2.visible);
    EXPECT_FALSE(memo1.visible);
    EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], archive_text::kStopDownload);
    EXPECT_FALSE(view.enabled[ArchiveButton::File_ButtB]);
    EXPECT_EQ(view.progressMax, 150);
    ASSERT_TRUE(RunToIdle());
    EXPECT_EQ(RecordLines(), ExpectedLines(c.oldest, c.lines));
    EXPECT_EQ(BatchStarts(), c.batches);
    EXPECT_EQ(view.progressMax, c.lines);
    EXPECT_EQ(view.progress, 1 + c.lines);
  }
}

TEST_F(ArchiveDownloadTest, WrappedFullRingGivesEveryRecordOnceOldestFirst) {
  FillWithTestRecords(panel, 1500 + 13);  // newest 8204, oldest 8205
  ASSERT_EQ(panel.archive().Newest(), 8204);
  ASSERT_EQ(panel.archive().Oldest(), 8205);
  download.File_ButtAClick();
  ASSERT_TRUE(RunToIdle(120000));
  const auto lines = RecordLines();
  ASSERT_EQ(lines.size(), 1500U);
  EXPECT_EQ(lines, ExpectedLines(8205, 1500));
  // Records 13 .. 1512 in order: the oldest first, none twice.
  for (int i = 0; i < 1500; ++i) {
    ASSERT_EQ(lines[static_cast<std::size_t>(i)],
              Cp1251FromUtf8(ArchiveFileLine(i + 1, DecodeEvent(TestRecord(13 + i).data()))).Bytes());
  }
  const auto starts = BatchStarts();
  ASSERT_GE(starts.size(), 2U);
  EXPECT_EQ(starts.front(), 8205);
  EXPECT_EQ(std::count(starts.begin(), starts.end(), 8192), 1) << "the read goes on at 8192 once past 9691";
}

TEST_F(ArchiveDownloadTest, APanelThatWrapsAReadAtTheRingsEndGivesNoRecordTwice) {
  FillWithTestRecords(panel, 1500 + 108);  // newest 8299, oldest 8300
  ASSERT_EQ(panel.archive().Oldest(), 8300);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.ArchiveAddress == 9680 && !link.Timer_Rx->Enabled(); }, 60000));
  // This panel answers the read at 9680 with 9680..9691 and goes on at 8192..8199.
  line.QueueFault(sim::Fault::NoReply);
  const auto sent = line.requests.size();
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == sent + 1; }, 5000));
  std::vector<uint8_t> wrapped = {247, 3, 240};
  uint16_t a = 9680;
  for (int i = 0; i < 20; ++i, a = sim::EventArchive::Next(a)) {
    const auto& r = panel.archive().At(a);
    wrapped.insert(wrapped.end(), r.begin(), r.end());
  }
  line.Inject(2000, Sealed(wrapped));
  AwaitReceiveCycle();
  EXPECT_EQ(link.ArchiveAddress, 8200) << "the next batch follows the records received";
  ASSERT_TRUE(RunToIdle(60000));
  EXPECT_EQ(RecordLines(), ExpectedLines(8300, 1500));
}

TEST_F(ArchiveDownloadTest, AReplyWithByteCount30IsAskedAgainWithoutAnError) {
  FillWithTestRecords(panel, 30);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omDownloadRecords; }, 5000));
  link.ErrorCount = 3;  // as if earlier steps had failed: the odd reply is an answer all the same
  line.QueueFault(sim::Fault::NoReply);
  ASSERT_TRUE(clock.RunUntil([this] { return line.requests.size() == 2; }, 5000));
  std::vector<uint8_t> odd = {247, 3, 30};
  odd.resize(3 + 30, 0x11);
  line.Inject(2000, Sealed(odd));
  AwaitReceiveCycle();
  EXPECT_EQ(link.ErrorCount, 0);
  EXPECT_EQ(link.OperationMode, omDownloadRecords);
  EXPECT_EQ(link.ArchiveAddress, 8192) << "the same batch is asked again";
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 30));
  EXPECT_EQ(BatchStarts(), (std::vector<uint16_t>{8192, 8192, 8212}));
}

TEST_F(ArchiveDownloadTest, AShortReplyWhoseByteCountPromisesMoreIsAskedAgain) {
  FillWithTestRecords(panel, 20);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omDownloadRecords; }, 5000));
  line.QueueFault(sim::Fault::NoReply);
  ASSERT_TRUE(clock.RunUntil([this] { return line.requests.size() == 2; }, 5000));
  std::vector<uint8_t> cut = {247, 3, 240};
  cut.resize(3 + 24, 0x22);  // two records' bytes where twenty were announced, with a good CRC
  line.Inject(2000, Sealed(cut));
  AwaitReceiveCycle();
  EXPECT_EQ(link.ArchiveAddress, 8192);
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 20));
}

TEST_F(ArchiveDownloadTest, StopMidwayKeepsTheHeaderAndTheLinesSoFar) {
  FillWithTestRecords(panel, 200);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.ArchiveAddress == 8192 + 60 && !link.Timer_Rx->Enabled(); }, 10000));
  download.File_ButtAClick();
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_FALSE(link.Timer_Programm->Enabled());
  const auto sent = line.requests.size();
  clock.AdvanceMs(2000);
  EXPECT_EQ(line.requests.size(), sent) << "nothing more is asked";
  const auto lines = SplitCrLf(ReadBytes(path));
  ASSERT_EQ(lines.size(), 4U + 60U);
  EXPECT_EQ(lines[0], Cp1251FromUtf8("АРХИВ ПРИБОРА <ЗЕЛОР-ПУИ>; ДАТА СНЯТИЯ ДАННЫХ -> 14:05:07 13.12.2018").Bytes());
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 60));
  EXPECT_EQ(memo1.lines, std::vector<std::string>{archive_text::kStopped});
  EXPECT_EQ(memo1.color, MemoColor::Blue);
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtB]);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtC]);
  EXPECT_FALSE(view.progressVisible);
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(ArchiveDownloadTest, AStopClickedWhileTheLastBatchIsAnsweredStartsNothingNew) {
  FillWithTestRecords(panel, 20);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omDownloadRecords && link.Timer_Rx->Enabled(); }, 5000));
  download.File_ButtAClick();  // parked behind the pending reply
  EXPECT_EQ(link.WaitPending, 1);
  clock.AdvanceMs(1000);
  EXPECT_EQ(view.dialogs, 1) << "no second save dialog";
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 20));
}

TEST_F(ArchiveDownloadTest, CancellingTheDialogChangesNothing) {
  view.chosen.reset();
  download.File_ButtAClick();
  EXPECT_EQ(view.dialogs, 1);
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_TRUE(view.captions.empty());
  EXPECT_TRUE(view.enabled.empty());
  EXPECT_FALSE(view.progressVisible);
  EXPECT_TRUE(memo2.lines.empty() || memo2.lines == (std::vector<std::string>{"TX :", "RX :"}));
  clock.AdvanceMs(1000);
  EXPECT_TRUE(line.requests.empty());
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(ArchiveDownloadTest, AFileThatCannotBeCreatedChangesNothing) {
  view.chosen = (dir / "missing" / "file.txt").string();
  download.File_ButtAClick();
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_TRUE(view.captions.empty());
  clock.AdvanceMs(1000);
  EXPECT_TRUE(line.requests.empty());
}

TEST_F(ArchiveDownloadTest, TheTwentyFirstFailureAbandonsAndKeepsTheLinesSoFar) {
  FillWithTestRecords(panel, 100);
  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.ArchiveAddress == 8192 + 40 && !link.Timer_Rx->Enabled(); }, 10000));
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  ASSERT_TRUE(clock.RunUntil([this] { return link.ErrorCount == 20 && !link.Timer_Rx->Enabled(); }, 20000));
  EXPECT_EQ(download.DownloadActive, 1) << "twenty failures keep it going";
  EXPECT_EQ(status.panels[2], "ЧТЕНИЕ АРХИВА : ОШИБКИ -> 20");
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(status.panel2History.back().rfind("DEVICE", 0), 0U);
  EXPECT_NE(std::find(status.panel2History.begin(), status.panel2History.end(), "ЧТЕНИЕ АРХИВА : ОШИБКИ -> 21"),
            status.panel2History.end());
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{text::kArchiveReading, text::kNoPanelAnswer}));
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtB]);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtC]);
  EXPECT_FALSE(view.progressVisible);
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 40));
  EXPECT_FALSE(line.IsOpen());
}

// The process may write only so many bytes into a file: writes beyond fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit old_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(ArchiveDownloadTest, AWriteErrorEndsTheDownloadAndKeepsTheFileThatWasThere) {
  {
    std::ofstream old(path, std::ios::binary);
    old << "the previous archive";
  }
  FillWithTestRecords(panel, 200);
  {
    FileSizeLimit limit(3000);  // the header and a few batches
    download.File_ButtAClick();
    ASSERT_TRUE(RunToIdle());
    EXPECT_GT(link.ArchiveAddress, 8192) << "some batches were written";
    clock.AdvanceMs(5);
  }
  EXPECT_EQ(ReadBytes(path), "the previous archive");
  const fs::path working = path.string() + ".part";
  const auto kept = SplitCrLf(ReadBytes(working));
  ASSERT_GT(kept.size(), 4U) << "the lines read stay in the working file";
  EXPECT_EQ(std::vector<std::string>(kept.begin() + 4, kept.begin() + 5), ExpectedLines(8192, 1));
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{archive_text::kFileWriteError + path.string(),
                                                   archive_text::kRecordsKeptIn + working.string()}));
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtB]);
  EXPECT_TRUE(view.enabled[ArchiveButton::File_ButtC]);
  EXPECT_FALSE(view.progressVisible);
  EXPECT_FALSE(link.Timer_Programm->Enabled());
  const auto sent = line.requests.size();
  clock.AdvanceMs(2000);
  EXPECT_EQ(line.requests.size(), sent);
  EXPECT_FALSE(line.IsOpen());
}

// The chosen name cannot be taken (on Windows a file open in another program; here a folder in
// its way): the lines read stay in the working file and the log names it, at the download's end
// and at a stop; a working file kept earlier is not overwritten by the next download.
TEST_F(ArchiveDownloadTest, RecordsThatCannotTakeTheChosenNameStayInTheWorkingFile) {
  FillWithTestRecords(panel, 40);
  fs::create_directories(path / "in the way");
  const fs::path first = path.string() + ".part";
  const fs::path second = path.string() + ".2.part";
  const auto recordLines = [](const fs::path& p) {
    const auto lines = SplitCrLf(ReadBytes(p));
    return lines.size() < 4 ? std::vector<std::string>{} : std::vector<std::string>(lines.begin() + 4, lines.end());
  };

  download.File_ButtAClick();
  ASSERT_TRUE(RunToIdle());
  clock.AdvanceMs(5);
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{archive_text::kFileWriteError + path.string(),
                                                   archive_text::kRecordsKeptIn + first.string()}));
  EXPECT_EQ(recordLines(first), ExpectedLines(8192, 40));
  EXPECT_EQ(download.DownloadActive, 0);
  EXPECT_EQ(view.captions[ArchiveButton::File_ButtA], service_text::kDownloadToFile);

  download.File_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.ArchiveAddress == 8192 + 20 && !link.Timer_Rx->Enabled(); }, 10000));
  download.File_ButtAClick();  // stop
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{archive_text::kFileWriteError + path.string(),
                                                   archive_text::kRecordsKeptIn + second.string()}));
  EXPECT_EQ(recordLines(second), ExpectedLines(8192, 20));
  EXPECT_EQ(recordLines(first), ExpectedLines(8192, 40)) << "the first download's lines are still there";
}

TEST_F(ArchiveDownloadTest, PointersOutsideTheRingAreAskedAgain) {
  FillWithTestRecords(panel, 10);
  Pointers(0, 8192);
  download.File_ButtAClick();
  clock.AdvanceMs(200);
  EXPECT_EQ(link.OperationMode, omDownloadPointers);
  EXPECT_EQ(link.ErrorCount, 0);
  EXPECT_EQ(ReadBytes(path.string() + ".part"), "") << "no header for a reply that was not taken";
  Pointers(8201, 8192);
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(RecordLines(), ExpectedLines(8192, 10));
}

TEST(ArchiveFileName, ProposalHoldsNoPathSeparator) {
  EXPECT_EQ(ProposedArchiveFileName("13.12.2018"), "file_13.12.2018.txt");
  EXPECT_EQ(ProposedArchiveFileName("12/13/18"), "file_12-13-18.txt");
  EXPECT_EQ(ProposedArchiveFileName("2018\\12:13"), "file_2018-12-13.txt");
}

}  // namespace
}  // namespace zelor::test
