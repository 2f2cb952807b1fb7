// Damaged firmware files chosen through "Tools" → "Firmware Upgrade..." in the real window, each
// made from a valid one: the tool must say what was wrong, send nothing and start no upgrade.
#include <QAction>
#include <QFileDialog>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "app/window_fixture.h"
#include "config/add_box_view.h"
#include "config/config_tab.h"
#include "special_files.h"
#include "upgrade/firmware_file.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_menu_view.h"
#include "upgrade_test_support.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using Bytes = std::vector<uint8_t>;

const std::vector<std::string> kWrongSize = {"   : download firmware...", "   : ОШИБКА: НЕВЕРНЫЙ РАЗМЕР ФАЙЛА."};
std::vector<std::string> ErrorLine(const std::string& why) { return {"   : ERROR - " + why + "."}; }

struct Made {
  bool ok = true;
  std::string skip;  // not empty: this user cannot have such a file
  std::shared_ptr<void> hold;
};

struct HostileFirmware {
  const char* name;
  std::function<Made(const std::string& path, const Bytes& valid)> make;
  std::vector<std::string> lines;  // what TeMemo1 must show
};
void PrintTo(const HostileFirmware& c, std::ostream* os) { *os << c.name; }

Made Written(const std::string& path, const Bytes& bytes) { return {WriteBytesTo(path, bytes), {}, nullptr}; }

const HostileFirmware kHostileFirmware[] = {
    {"OneByteShort", [](auto& p, auto& v) { return Written(p, Bytes(v.begin(), v.begin() + kMinFirmwareFileBytes - 1)); },
     kWrongSize},
    {"HalfAnImage", [](auto& p, auto& v) { return Written(p, Bytes(v.begin(), v.begin() + kFirmwareBytes / 2)); }, kWrongSize},
    {"Empty", [](auto& p, auto&) { return Written(p, {}); }, kWrongSize},
    {"OneByteTooMany", [](auto& p, auto&) { return Written(p, FirmwareFileBytes(kMaxFirmwareFileBytes + 1)); }, kWrongSize},
    {"FourGigabytes", [](auto& p, auto&) { return Made{MakeSparse(p, 1ULL << 32), {}, nullptr}; }, kWrongSize},
    {"ADirectory", [](auto& p, auto&) { return Made{std::filesystem::create_directory(p), {}, nullptr}; },
     ErrorLine("Is a directory")},
    {"AFifo",
     [](auto& p, auto& v) {
       auto fifo = std::make_shared<HeldFifo>(p, Bytes(v.begin(), v.begin() + 4096));
       return Made{fifo->ok(4096), {}, fifo};
     },
     ErrorLine("Not a regular file")},
    {"Missing", [](auto&, auto&) { return Made{}; }, ErrorLine("No such file or directory")},
    {"APathThroughAFile", [](auto& p, auto& v) { return Written(std::filesystem::path(p).parent_path().string(), v); },
     ErrorLine("Not a directory")},
    {"WithoutReadPermission",
     [](auto& p, auto& v) {
       Made m = Written(p, v);
       if (m.ok && !MakeUnreadable(p)) m.skip = "this user reads a file without read permission (root)";
       return m;
     },
     ErrorLine("Permission denied")},
};

class HostileFirmwareFiles : public WindowTest, public ::testing::WithParamInterface<HostileFirmware> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    CreateAndShow();
    panel.EnterBootLoader();
  }
  std::string Path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }
  void Choose(const std::string& path) {
    form->upgradeView().runDialog = [this, path](QFileDialog& dialog) {
      dialog.selectFile(QString::fromStdString(path));
      chosen = dialog.selectedFiles();
      return int(QDialog::Accepted);
    };
    form->CustomItem13->trigger();
  }
  std::vector<std::string> Memo1() const {
    std::vector<std::string> lines;
    for (const QString& l : form->TeMemo1->Lines()) lines.push_back(l.toStdString());
    return lines;
  }

  QTemporaryDir folder;
  QStringList chosen;
};

TEST_P(HostileFirmwareFiles, AreRefusedWithAClearLineAndStartNothing) {
  const HostileFirmware& c = GetParam();
  const std::string path = Path(std::string(c.name) == "APathThroughAFile" ? "x.hex/hostile.hex" : "hostile.hex");
  const Made made = c.make(path, FirmwareFileBytes(kMinFirmwareFileBytes + 100));
  ASSERT_TRUE(made.ok) << "could not make the file";
  if (!made.skip.empty()) GTEST_SKIP() << made.skip;

  form->TePageControl1->setCurrentWidget(form->TeTabSheet12);
  form->Add_Box->show();
  Choose(path);
  ASSERT_EQ(chosen, QStringList{QString::fromStdString(path)}) << "the dialog hands the path on";
  EXPECT_EQ(Memo1(), c.lines);
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_FALSE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(form->TeTabSheet12->Add_Butt_00->isVisible());
  EXPECT_EQ(form->link().OperationMode, omIdle);
  EXPECT_EQ(form->link().ResponseKind, ResponseKind::rkNone);
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->port().BaudRate(), 57600U) << "the loader's rate is not set";
  EXPECT_TRUE(line->requests.empty());
  clock->AdvanceMs(5000);
  EXPECT_TRUE(line->requests.empty()) << "nothing goes out later either";
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileFirmwareFiles, ::testing::ValuesIn(kHostileFirmware),
                         [](const auto& info) { return std::string(info.param.name); });

// The firmware file has no checksum of its own (the boot loader checks each frame, and the check
// word is the panel's business): random bytes of a valid size are sent as they are.
TEST_F(HostileFirmwareFiles, RandomBytesOfAValidSizeAreSentAsTheyAre) {
  std::mt19937 rng(5);
  Bytes random(kMinFirmwareFileBytes + 17);
  for (auto& b : random) b = static_cast<uint8_t>(rng());
  ASSERT_TRUE(WriteBytesTo(Path("random.hex"), random));
  Choose(Path("random.hex"));
  ASSERT_EQ(form->link().OperationMode, omUpgrade);
  ASSERT_EQ(line->requests.size(), 1U);
  const Bytes& page = line->requests[0];
  ASSERT_EQ(page.size(), kFirmwarePageBytes + 3);
  EXPECT_TRUE(std::equal(random.begin(), random.begin() + kFirmwarePageBytes, page.begin()))
      << "page 0 carries the file's first 512 bytes";
}

}  // namespace
}  // namespace zelor::test
