// Damaged .bin files opened through "Считать конфиг из файла" in the real window, each made from
// the golden sample: the tool must say what was wrong and keep the model and the image as they were.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "app/window_fixture.h"
#include "config/add_box_view.h"
#include "config/config_tab.h"
#include "config/config_test_support.h"
#include "config/config_texts.h"
#include "config/config_transfer.h"
#include "config/config_transfer_view.h"
#include "config/image_layout.h"
#include "config/nodes.h"
#include "link/crc16.h"
#include "special_files.h"

namespace zelor::test {
namespace {

namespace img = image;
using Bytes = std::vector<uint8_t>;

Bytes Golden() {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "golden" / "sample.bin", std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The image CRC made to match again, as a file crafted with care would have it.
Bytes Resealed(Bytes image) {
  AppendCrc16(image.data(), static_cast<uint16_t>(CheckedLength));
  return image;
}

Bytes WithCountsOf255(Bytes image) {
  image[img::kNodeCount] = 255;
  image[img::kRuleCount] = 255;
  return image;
}

Bytes WithSlotsPastTheTable(Bytes image) {
  for (std::size_t r = 0; r < 32; ++r) image[img::kRuleFirstSlot + r] = static_cast<uint8_t>(250 + r % 6);
  return image;
}

std::vector<std::string> Lines(const LogMemoView* memo) {
  std::vector<std::string> out;
  for (const QString& line : memo->Lines()) out.push_back(line.toStdString());
  return out;
}

// What a case leaves at the chosen path; `hold` keeps a FIFO's ends open while it is opened.
struct Made {
  bool ok = true;
  std::string skip;  // not empty: this user cannot have such a file
  std::shared_ptr<void> hold;
};

struct HostileBin {
  const char* name;
  std::function<Made(const std::string& path, const Bytes& golden)> make;
  std::string line;  // the one line the log must show
};
void PrintTo(const HostileBin& c, std::ostream* os) { *os << c.name; }

Made Written(const std::string& path, const Bytes& bytes) { return {WriteBytesTo(path, bytes), {}, nullptr}; }

const HostileBin kHostileBins[] = {
    {"TruncatedByOneByte", [](auto& p, auto& g) { return Written(p, Bytes(g.begin(), g.end() - 1)); },
     WrongFileSizeText(45951)},
    {"TruncatedToTheTransferPart", [](auto& p, auto& g) { return Written(p, Bytes(g.begin(), g.begin() + TransferLength)); },
     WrongFileSizeText(TransferLength)},
    {"Empty", [](auto& p, auto&) { return Written(p, {}); }, WrongFileSizeText(0)},
    {"OneByteTooMany", [](auto& p, auto& g) { Bytes b = g; b.push_back(0xFF); return Written(p, b); },
     WrongFileSizeText(45953)},
    {"FourGigabytes", [](auto& p, auto&) { return Made{MakeSparse(p, 1ULL << 32), {}, nullptr}; },
     WrongFileSizeText(1ULL << 32)},
    {"RandomBytesOfTheRightSize",
     [](auto& p, auto&) {
       std::mt19937 rng(11);
       Bytes b(ImageSize);
       for (auto& x : b) x = static_cast<uint8_t>(rng());
       return Written(p, b);
     },
     FileCrcMismatchText()},
    {"CountsOf255", [](auto& p, auto& g) { return Written(p, WithCountsOf255(g)); }, FileCrcMismatchText()},
    {"SlotNumbersPastTheTable", [](auto& p, auto& g) { return Written(p, WithSlotsPastTheTable(g)); },
     FileCrcMismatchText()},
    {"OneFlippedByte", [](auto& p, auto& g) { Bytes b = g; b[7680] ^= 0x01; return Written(p, b); }, FileCrcMismatchText()},
    {"ADirectory", [](auto& p, auto&) { return Made{std::filesystem::create_directory(p), {}, nullptr}; },
     FileErrorText("Is a directory")},
    {"AFifo",
     [](auto& p, auto& g) {
       auto fifo = std::make_shared<HeldFifo>(p, g);
       return Made{fifo->ok(g.size()), {}, fifo};
     },
     FileErrorText("Not a regular file")},
    {"Missing", [](auto&, auto&) { return Made{}; }, FileErrorText("No such file or directory")},
    {"ADanglingLink",
     [](auto& p, auto&) { return Made{::symlink("nowhere.bin", p.c_str()) == 0, {}, nullptr}; },
     FileErrorText("No such file or directory")},
    // "x.bin/hostile.bin": the path runs through a file, which fails for every user, root too.
    {"APathThroughAFile", [](auto& p, auto& g) { return Written(std::filesystem::path(p).parent_path().string(), g); },
     FileErrorText("Not a directory")},
    {"WithoutReadPermission",
     [](auto& p, auto& g) {
       Made m = Written(p, g);
       if (m.ok && !MakeUnreadable(p)) m.skip = "this user reads a file without read permission (root)";
       return m;
     },
     FileErrorText("Permission denied")},
    // A regular file whose read fails for every user: the process's own memory from address 0.
    {"AReadThatFails", [](auto&, auto&) { return Made{}; }, FileErrorText("Input/output error")},
};

class HostileBinFiles : public WindowTest, public ::testing::WithParamInterface<HostileBin> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    CreateAndShow();
    tab = form->TeTabSheet12;
    golden = Golden();
    ASSERT_EQ(golden.size(), ImageSize);
    // The sample is taken, then edited: a refused file must undo neither.
    ASSERT_TRUE(WriteBytesTo(Path("sample.bin"), golden));
    const auto memoBefore = Lines(form->TeMemo1);
    Open(Path("sample.bin"));
    ASSERT_EQ(Lines(form->TeMemo1), memoBefore) << "the sample is sound";
    ASSERT_EQ(form->Config.NodeCount, 10);
    DeleteNode(form->Config);
  }
  std::string Path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }
  void Open(const std::string& path) {
    form->transferView().openChoice = [path] { return std::optional(QString::fromStdString(path)); };
    tab->Load_ButtB->click();
  }
  Bytes ToolImage() const {
    const ConfigImage& image = form->transfer().Image();
    return {image.begin(), image.end()};
  }

  QTemporaryDir folder;
  ConfigTab* tab = nullptr;
  Bytes golden;
};

TEST_P(HostileBinFiles, AreRefusedWithAClearLineAndChangeNothing) {
  const HostileBin& c = GetParam();
  std::string path = std::string(c.name) == "APathThroughAFile" ? Path("x.bin/hostile.bin") : Path("hostile.bin");
  if (std::string(c.name) == "AReadThatFails") path = "/proc/self/mem";
  const Made made = c.make(path, golden);
  ASSERT_TRUE(made.ok) << "could not make the file";
  if (!made.skip.empty()) GTEST_SKIP() << made.skip;

  const std::string model = testing::Dump(form->Config);
  const Bytes image = ToolImage();
  const int rows = tab->NodesGrid->RowCount();
  form->Add_Box->show();
  Open(path);
  EXPECT_EQ(Lines(form->TeMemo1), std::vector<std::string>{c.line});
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  EXPECT_EQ(testing::Dump(form->Config), model) << "the model and the edit made since stay";
  EXPECT_EQ(ToolImage(), image);
  EXPECT_EQ(tab->NodesGrid->RowCount(), rows);
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_FALSE(tab->Add_Butt_00->isHidden());
  EXPECT_EQ(form->link().OperationMode, OperationMode::omIdle);
  EXPECT_TRUE(line->requests.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileBinFiles, ::testing::ValuesIn(kHostileBins),
                         [](const auto& info) { return std::string(info.param.name); });

// A crafted file whose CRC matches is read as far as it is sound, inside the tables' bounds, and
// the log says what was left out.
TEST_F(HostileBinFiles, CountsOf255UnderAMatchingCrcAreReadUpToTheTables) {
  ASSERT_TRUE(WriteBytesTo(Path("crafted.bin"), Resealed(WithCountsOf255(golden))));
  Open(Path("crafted.bin"));
  const auto lines = Lines(form->TeMemo1);
  ASSERT_GE(lines.size(), 2U);
  EXPECT_EQ(lines[0], NodeCountTooLargeText(255));
  EXPECT_NE(std::find(lines.begin(), lines.end(), RuleCountTooLargeText(255)), lines.end());
  EXPECT_EQ(form->Config.NodeCount, 32);
  EXPECT_LE(form->Config.RuleCount, 32);
  EXPECT_EQ(tab->NodesGrid->RowCount(), 33);
  ConfigImage again{};
  EXPECT_NE(BuildImage(form->Config, again), kBuildTooManySlots) << "what was read can be built again";
}

// Warnings of a file opened on "КОНФИГ.-3" are shown in place of the device panel: a later write
// drops what the file's reading left out.
TEST_F(HostileBinFiles, WarningsOfAFileOpenedOnTheTabAreShown) {
  form->TePageControl1->setCurrentWidget(tab);
  ASSERT_TRUE(form->Add_Box->isVisible());
  Bytes unknown = golden;
  unknown[img::kNodeTable + 1] = 24;  // device 00 of a type without an entry
  ASSERT_TRUE(WriteBytesTo(Path("unknown.bin"), Resealed(unknown)));
  Open(Path("unknown.bin"));
  const auto lines = Lines(form->TeMemo1);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), UnknownTypeText(0, 1, 24));
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_TRUE(form->Add_Box->isHidden());
  EXPECT_FALSE(tab->Add_Butt_00->isHidden());
  // A sound file shows nothing and leaves the panel as it is.
  tab->Add_Butt_00->click();
  const auto before = Lines(form->TeMemo1);
  Open(Path("sample.bin"));
  EXPECT_EQ(Lines(form->TeMemo1), before);
  EXPECT_TRUE(form->Add_Box->isVisible());
}

TEST_F(HostileBinFiles, SlotNumbersPastTheTableUnderAMatchingCrcReadAsNoCommand) {
  ASSERT_TRUE(WriteBytesTo(Path("crafted.bin"), Resealed(WithSlotsPastTheTable(golden))));
  Open(Path("crafted.bin"));
  const auto lines = Lines(form->TeMemo1);
  ASSERT_EQ(lines.size(), 8U) << "one line for each of the sample's eight rules";
  for (unsigned r = 0; r < 8; ++r) {
    EXPECT_EQ(lines[r], RuleSlotsOutsideText(r, 250 + r % 6, golden[img::kRuleSlotCount + r])) << r;
    EXPECT_EQ(form->Config.Executors[r].Code, kUnsetCode) << r;
  }
  EXPECT_EQ(form->Config.NodeCount, 10) << "the devices are read as they are";
}

}  // namespace
}  // namespace zelor::test
