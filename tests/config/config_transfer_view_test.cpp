// The four transfer buttons in the real window on the virtual clock, against the in-process panel:
// the 68-block read, the block writes and the apply command, their failure limits, and .bin files.
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/window_fixture.h"
#include "config/add_box_view.h"
#include "config/config_tab.h"
#include "config/config_test_support.h"
#include "config/config_texts.h"
#include "config/config_transfer.h"
#include "config/config_transfer_view.h"
#include "config/nodes.h"
#include "automation/rules.h"
#include "link/crc16.h"
#include "link/link_texts.h"
#include "sim/sample_image.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using sim::Fault;
using testing::AddNodes;
using testing::Dump;

constexpr uint16_t kPageBase = 0x0F00;
const std::string kReading = "   : чтение конфигурации пульта...";
const std::string kWriting = "   : запись конфигурации пульта...";
const std::string kNoAnswer = "   : ОШИБКА -> Нет ответа от пульта.";
const std::string kOk = "   : ОК.";
const std::string kDuplicates = "   : ОШИБКА -> в разделе \"УСЛ. № ЗОНЫ\" имеются дублирующиеся записи.";

std::vector<std::string> Lines(const LogMemoView* memo) {
  std::vector<std::string> out;
  for (const QString& line : memo->Lines()) out.push_back(line.toStdString());
  return out;
}

uint16_t Word(const std::vector<uint8_t>& frame, std::size_t at) {
  return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) {
  const auto n = static_cast<uint16_t>(frame.size());
  frame.resize(frame.size() + 2);
  AppendCrc16(frame.data(), n);
  return frame;
}

// The model a configuration image gives, without views.
std::string ModelOf(const std::vector<uint8_t>& bytes) {
  ConfigImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  ConfigModel m;
  ParseImage(m, image);
  return Dump(m);
}

std::vector<uint8_t> FileBytesOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

bool WriteBytes(const QString& path, const std::vector<uint8_t>& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
         static_cast<qint64>(bytes.size());
}

class ConfigTransferTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    CreateAndShow();
    tab = form->TeTabSheet12;
  }
  void Click(QToolButton* button) { button->click(); }
  // Runs the clock until the operation ends; false when it did not end in `maxMs`.
  bool RunToIdle(int64_t maxMs = 60'000) {
    return clock->RunUntil([this] { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); },
                           maxMs);
  }
  void ReadFromPanel() {
    Click(tab->Load_ButtA);
    ASSERT_TRUE(RunToIdle());
  }
  std::vector<uint8_t> ToolImage() const {
    const ConfigImage& image = form->transfer().Image();
    return {image.begin(), image.end()};
  }
  std::vector<uint8_t> ToolTransferPart() const {
    const ConfigImage& image = form->transfer().Image();
    return {image.begin(), image.begin() + TransferLength};
  }
  void AnswerOpen(const QString& path) { form->transferView().openChoice = [path] { return std::optional(path); }; }
  void AnswerSave(const QString& path) { form->transferView().saveChoice = [path] { return std::optional(path); }; }
  QString InFolder(const char* name) const { return folder.filePath(name); }
  // Two zones with the same explicit number: no image may leave the tool.
  void MakeDuplicateNumbers() {
    AddNodes(form->Config, {1});
    form->Config.Nodes[0].Zones[0].ConvNumber = 1007;
    form->Config.Nodes[0].Zones[1].ConvNumber = 1007;
  }

  QTemporaryDir folder;
  ConfigTab* tab = nullptr;
};

// ---- read ----

TEST_F(ConfigTransferTest, ReadAsksFor68BlocksAndTakesThePanelsConfiguration) {
  Click(tab->Load_ButtA);
  // During the transfer the second log shows the operation, the device panel gives way to its button.
  EXPECT_TRUE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->TeMemo1->isVisible());
  EXPECT_EQ(Lines(form->TeMemo2), std::vector<std::string>{kReading});
  EXPECT_EQ(form->TeMemo2->Color(), MemoColor::Blue);
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(!tab->Add_Butt_00->isHidden());
  EXPECT_TRUE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->TeProgressBar1->maximum(), 203);
  EXPECT_EQ(form->TeProgressBar1->value(), 1);
  int lastProgress = 0;
  bool progressRose = true;
  while (!(form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled())) {
    ASSERT_LT(clock->NowMs(), 60'000);
    clock->AdvanceMs(1);
    progressRose = progressRose && form->TeProgressBar1->value() >= lastProgress;
    lastProgress = form->TeProgressBar1->value();
  }
  EXPECT_TRUE(progressRose);
  EXPECT_EQ(form->TeProgressBar1->value(), 203) << "the progress ends at 203";
  EXPECT_FALSE(form->TeProgressBar1->isVisible());

  ASSERT_EQ(line->requests.size(), 68U);
  for (std::size_t k = 0; k < 68; ++k) {
    const auto& r = line->requests[k];
    ASSERT_EQ(r.size(), 8U);
    EXPECT_EQ(r[0], 247);
    EXPECT_EQ(r[1], 0x03);
    EXPECT_EQ(Word(r, 2), kPageBase + 3 * k) << "block " << k;
    EXPECT_EQ(Word(r, 4), 96);
  }
  EXPECT_EQ(Word(line->requests.back(), 2), 0x0FC9);
  EXPECT_EQ(Dump(form->Config), ModelOf(panel.config().ImageFile()));
  EXPECT_EQ(ToolImage(), panel.config().ImageFile()) << "the image rebuilt from the model is the panel's";
  EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kReading, kOk}));
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_FALSE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->port().IsOpen());
  // The grids show what was read.
  EXPECT_EQ(tab->NodesGrid->RowCount(), form->Config.NodeCount + 1);
  EXPECT_EQ(tab->NodesGrid->Cell(2, 1).toStdString(), "  " + Utf8FromCp1251(form->Config.Nodes[0].Name));
  EXPECT_EQ(tab->ZoneGrid->RowCount(), form->Config.Nodes[0].ZoneCount + 1);
}

TEST_F(ConfigTransferTest, ReadButtonsDoNothingWhileAnOperationRuns) {
  form->link().OperationMode = omMonitorPoll;
  for (QToolButton* b : {tab->Load_ButtA, tab->Save_ButtA, tab->Load_ButtB, tab->Save_ButtB}) Click(b);
  clock->AdvanceMs(100);
  EXPECT_TRUE(line->requests.empty());
  EXPECT_TRUE(tab->Add_Butt_00->isHidden()) << "nothing switched";
}

struct WrongLengthCase {
  const char* what;
  std::vector<uint8_t> reply;  // without CRC
};
void PrintTo(const WrongLengthCase& c, std::ostream* os) { *os << c.what; }


class ReadWrongLength : public ConfigTransferTest, public ::testing::WithParamInterface<WrongLengthCase> {};

TEST_P(ReadWrongLength, AValidReplyOfAnotherLengthIsAskedAgainWithoutCounting) {
  line->QueueFault(Fault::NoReply);  // the panel's own answer is replaced by the injected one
  Click(tab->Load_ButtA);
  clock->AdvanceMs(5);
  ASSERT_EQ(line->requests.size(), 1U);
  line->Inject(2000, Sealed(GetParam().reply));
  clock->RunUntil([this] { return line->requests.size() == 2; }, 1000);
  EXPECT_EQ(form->link().ErrorCount, 0);
  EXPECT_EQ(form->link().BlockIndex, 0) << "the same block again";
  ASSERT_TRUE(RunToIdle());
  ASSERT_EQ(line->requests.size(), 69U);
  EXPECT_EQ(line->requests[0], line->requests[1]);
  EXPECT_EQ(Dump(form->Config), ModelOf(panel.config().ImageFile()));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadWrongLength,
                         ::testing::Values(WrongLengthCase{"OneRegister", {247, 0x03, 0x02, 0x00, 0x0B}},
                                           WrongLengthCase{"OneByteLess", [] {
                                                             std::vector<uint8_t> r{247, 0x03, 191};
                                                             r.resize(3 + 191, 0x5A);
                                                             return r;
                                                           }()}),
                         [](const auto& info) { return std::string(info.param.what); });

struct FailureRun {
  const char* name;
  std::size_t firstFailing;  // the request that fails first
  std::vector<int> runs;     // consecutive failures, each run followed by one good answer
  Fault fault;
  bool completes;
};
void PrintTo(const FailureRun& c, std::ostream* os) { *os << c.name; }


class ReadFailures : public ConfigTransferTest, public ::testing::WithParamInterface<FailureRun> {};

TEST_P(ReadFailures, TenFailuresInARowAreRetriedTheEleventhAborts) {
  const FailureRun& c = GetParam();
  for (std::size_t i = 0; i < c.firstFailing; ++i) line->QueueFault(Fault::None);
  for (std::size_t r = 0; r < c.runs.size(); ++r) {
    for (int i = 0; i < c.runs[r]; ++i) line->QueueFault(c.fault);
    if (r + 1 < c.runs.size()) line->QueueFault(Fault::None);
  }
  const std::string before = Dump(form->Config);
  Click(tab->Load_ButtA);
  // Panel 2 counts the failures in a row.
  ASSERT_TRUE(clock->RunUntil([this] { return form->link().ErrorCount == 10; }, 60'000));
  EXPECT_EQ(Panel(2), "ЧТЕНИЕ КОНФИГА : ОШИБКИ -> 10");
  ASSERT_TRUE(RunToIdle());
  if (c.completes) {
    EXPECT_EQ(Dump(form->Config), ModelOf(panel.config().ImageFile()));
    EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kReading, kOk}));
  } else {
    EXPECT_EQ(Dump(form->Config), before) << "an aborted read leaves the model as it was";
    EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kReading, kNoAnswer}));
    EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
    EXPECT_FALSE(form->TeProgressBar1->isVisible());
    EXPECT_TRUE(form->TeMemo1->isVisible());
    EXPECT_FALSE(form->TeMemo2->isVisible());
    EXPECT_FALSE(form->port().IsOpen());
    EXPECT_EQ(Panel(2).rfind("ЧТЕНИЕ КОНФИГА", 0), std::string::npos) << "the device line is back";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadFailures,
    ::testing::Values(FailureRun{"TenTimeOutsThenSuccess", 0, {10}, Fault::NoReply, true},
                      FailureRun{"EleventhTimeOutAborts", 0, {11}, Fault::NoReply, false},
                      FailureRun{"EleventhBadCrcAbortsAtBlock30", 30, {11}, Fault::BadCrc, false},
                      FailureRun{"AGoodBlockResetsTheCount", 5, {10, 10}, Fault::NoReply, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTransferTest, AnImageCrcMismatchIsReportedAndTheModelStillFilled) {
  std::vector<uint8_t> image = sim::SampleImage();
  image[7680] ^= 0x01;  // the first node's name, under the CRC, which is left as it was
  sim::PanelOptions options;
  options.image = image;
  form.reset();
  panel = sim::Panel(options);
  CreateAndShow();
  tab = form->TeTabSheet12;
  ReadFromPanel();
  EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kReading + "  ошибка CRC.", kOk}));
  EXPECT_EQ(Dump(form->Config), ModelOf(image));
  EXPECT_NE(Dump(form->Config), ModelOf(sim::SampleImage()));
}

// ---- write ----

TEST_F(ConfigTransferTest, WriteSends68BlocksOfQuantityOneThenTheApplyCommand) {
  ReadFromPanel();
  DeleteNode(form->Config);  // a change the panel does not have yet
  const std::size_t readRequests = line->requests.size();
  Click(tab->Save_ButtA);
  EXPECT_EQ(Lines(form->TeMemo2), std::vector<std::string>{kWriting});
  EXPECT_EQ(form->TeProgressBar1->maximum(), 202);
  int lastProgress = 0;
  ASSERT_TRUE(clock->RunUntil(
      [this, &lastProgress] {
        if (form->link().OperationMode == omConfigWrite) lastProgress = form->TeProgressBar1->value();
        return form->link().OperationMode == omConfigApply;
      },
      60'000));
  EXPECT_EQ(form->TeProgressBar1->value(), 202) << "the bar reaches its end before the apply";
  EXPECT_EQ(lastProgress, 201);
  ASSERT_TRUE(RunToIdle());
  const std::vector<uint8_t> image = ToolImage();
  ASSERT_EQ(line->requests.size(), readRequests + 69);
  for (std::size_t k = 0; k < 68; ++k) {
    const auto& r = line->requests[readRequests + k];
    ASSERT_EQ(r.size(), 201U);
    EXPECT_EQ(r[0], 247);
    EXPECT_EQ(r[1], 0x10);
    EXPECT_EQ(Word(r, 2), kPageBase + 3 * k);
    EXPECT_EQ(Word(r, 4), 1) << "quantity field 1";
    EXPECT_EQ(r[6], 192);
    EXPECT_TRUE(std::equal(r.begin() + 7, r.begin() + 199, image.begin() + 192 * k)) << "block " << k;
    EXPECT_TRUE(Crc16Matches(r.data(), r.size()));
  }
  EXPECT_EQ(line->requests.back(), Sealed({247, 0x06, 0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(panel.config().applied(), 1U);
  EXPECT_EQ(panel.config().active(), ToolTransferPart());
  EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kWriting, kOk}));
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_FALSE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(!tab->Add_Butt_00->isHidden());
}

struct RefusalCase {
  const char* name;
  bool toPanel;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }


class RefusedBuild : public ConfigTransferTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedBuild, DuplicateNumbersStopAWriteOrASaveBeforeAnythingLeaves) {
  MakeDuplicateNumbers();
  const std::string before = Dump(form->Config);
  const std::vector<uint8_t> imageBefore = ToolImage();
  AnswerSave(InFolder("config.bin"));
  Click(GetParam().toPanel ? tab->Save_ButtA : tab->Save_ButtB);
  clock->AdvanceMs(100);
  EXPECT_EQ(ToolImage(), imageBefore) << "a refused build leaves the image as it was";
  EXPECT_TRUE(line->requests.empty());
  EXPECT_FALSE(QFile::exists(InFolder("config.bin")));
  EXPECT_EQ(Dump(form->Config), before);
  EXPECT_EQ(form->link().OperationMode, omIdle);
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(!tab->Add_Butt_00->isHidden());
  const LogMemoView* memo = GetParam().toPanel ? form->TeMemo2 : form->TeMemo1;
  // The refusal, then each clashing number with its zones: two explicit 7s and zone 7's automatic 7.
  EXPECT_EQ(Lines(memo), (std::vector<std::string>{
                             kDuplicates, "   : УСЛ. № 0007 у зон: 0000 (устройство 00, адрес 001), "
                                          "0001 (устройство 00, адрес 001), 0007 (устройство 00, адрес 001)."}));
  EXPECT_EQ(memo->Color(), MemoColor::Red);
  EXPECT_TRUE(memo->isVisible());
  if (GetParam().toPanel) {
    EXPECT_FALSE(form->TeMemo1->isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedBuild,
                         ::testing::Values(RefusalCase{"ToPanel", true}, RefusalCase{"ToFile", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// After a read every number is explicit: a device added before others gives its zones automatic
// numbers that the following zones hold already. The refusal stays; the log names the clash.
TEST_F(ConfigTransferTest, ADeviceAddedAfterAReadNamesTheNumbersItsZonesClashWith) {
  ReadFromPanel();
  ConfigModel& m = form->Config;
  // The sample: "Склад Б" (zones 16..23), "Пост охраны" without zones, then the pump station's zone
  // 24, which holds 24 as read.
  ASSERT_EQ(m.Nodes[3].Zones[0].ConvNumber, 1024);
  m.SelectedNode = 1;
  ASSERT_EQ(AddNode(m, 4), kDone);  // a ЧЭМ-1И: zone 24, automatic number 24, address 7
  AnswerSave(InFolder("config.bin"));
  for (QToolButton* button : {tab->Save_ButtA, tab->Save_ButtB}) {
    Click(button);
    clock->AdvanceMs(100);
    const LogMemoView* memo = button == tab->Save_ButtA ? form->TeMemo2 : form->TeMemo1;
    EXPECT_EQ(Lines(memo), (std::vector<std::string>{
                               kDuplicates,
                               "   : УСЛ. № 0024 у зон: 0024 (устройство 02, адрес 007), 0025 (устройство 04, адрес 004)."}));
    EXPECT_TRUE(memo->isVisible());
  }
  EXPECT_EQ(line->requests.size(), 68U) << "only the read was sent";
  EXPECT_FALSE(QFile::exists(InFolder("config.bin")));
}

// Incomplete rules are dropped by a write or a save, each named in the log that stays shown.
TEST_F(ConfigTransferTest, IncompleteRulesDroppedByAWriteOrASaveAreNamed) {
  ConfigModel& m = form->Config;
  AddNodes(m, {1, 5});  // zones 0..15 | the ППУ's zone 16
  auto rule = [&m](bool event, bool executor) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    ASSERT_EQ(AddRule(m), kDone);
    AssignZone(m, Side::Activator, 0, 3);
    if (event) m.Activators[m.SelectedRule].Code = 0;
    if (executor) {
      AssignZone(m, Side::Executor, 1, 0);
      m.Executors[m.SelectedRule].Code = 3;
    }
  };
  const std::vector<std::string> named = {
      "   : правило 00 (0003 --> 0016) удалено, не задано: событие.",
      "   : правило 02 (0003 --> -?) удалено, не задано: зона-исполнитель, действие."};
  for (QToolButton* button : {tab->Save_ButtB, tab->Save_ButtA}) {
    m.RuleCount = 0;
    rule(false, true);
    rule(true, true);
    rule(true, false);
    ASSERT_EQ(m.RuleCount, 3);
    form->Add_Box->show();
    tab->Add_Butt_00->hide();
    AnswerSave(InFolder("config.bin"));
    Click(button);
    ASSERT_TRUE(RunToIdle());
    EXPECT_EQ(m.RuleCount, 1) << "the complete rule stays";
    if (button == tab->Save_ButtB) {
      EXPECT_TRUE(QFile::exists(InFolder("config.bin")));
      EXPECT_EQ(Lines(form->TeMemo1), named);
    } else {
      std::vector<std::string> log = {kWriting};
      log.insert(log.end(), named.begin(), named.end());
      log.push_back(kOk);
      EXPECT_EQ(Lines(form->TeMemo1), log);
      EXPECT_EQ(panel.config().applied(), 1U);
    }
    EXPECT_TRUE(form->TeMemo1->isVisible());
    EXPECT_TRUE(form->Add_Box->isHidden());
    EXPECT_FALSE(tab->Add_Butt_00->isHidden());
  }
}

TEST_F(ConfigTransferTest, RulesNeedingMoreSlotsThanTheImageHoldsAreRefusedWithTheirLine) {
  ConfigModel& m = form->Config;
  AddNodes(m, {1, 1, 7});  // 32 zones, then a ППУ-ПК whose start command takes two slots
  for (int r = 0; r < 17; ++r) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    ASSERT_EQ(AddRule(m), 0);
    AssignZone(m, Side::Activator, static_cast<uint8_t>(r / 16), static_cast<uint8_t>(r % 16));
    m.Activators[m.SelectedRule].Code = 0;
    AssignZone(m, Side::Executor, 2, 0);
    m.Executors[m.SelectedRule].Code = 3;
  }
  AnswerSave(InFolder("config.bin"));
  const std::string line34 = "   : ОШИБКА -> в разделе \"АВТОМАТИКА\" нужно команд: 34, а ячеек только 32.";
  Click(tab->Save_ButtA);
  clock->AdvanceMs(100);
  EXPECT_TRUE(line->requests.empty());
  EXPECT_EQ(Lines(form->TeMemo2), std::vector<std::string>{line34});
  Click(tab->Save_ButtB);
  EXPECT_FALSE(QFile::exists(InFolder("config.bin")));
  EXPECT_EQ(Lines(form->TeMemo1), std::vector<std::string>{line34});
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Red);
}

struct WriteFailureCase {
  const char* name;
  std::size_t firstFailing;  // 0..67 a block, 68 the apply command
  int failures;
  bool completes;
};
void PrintTo(const WriteFailureCase& c, std::ostream* os) { *os << c.name; }


class WriteFailures : public ConfigTransferTest, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailures, TenFailuresInARowAreRetriedTheEleventhAbortsWithoutTheApply) {
  const WriteFailureCase& c = GetParam();
  AddNodes(form->Config, {1, 5});
  for (std::size_t i = 0; i < c.firstFailing; ++i) line->QueueFault(Fault::None);
  for (int i = 0; i < c.failures; ++i) line->QueueFault(i % 2 == 0 ? Fault::NoReply : Fault::BadCrc);
  const std::vector<uint8_t> before = panel.config().active();
  Click(tab->Save_ButtA);
  ASSERT_TRUE(clock->RunUntil([this] { return form->link().ErrorCount == 10; }, 60'000));
  EXPECT_EQ(Panel(2), "ЗАПИСЬ КОНФИГА : ОШИБКИ -> 10");
  ASSERT_TRUE(RunToIdle());
  if (c.completes) {
    EXPECT_EQ(panel.config().active(), ToolTransferPart());
    EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kWriting, kOk}));
  } else {
    if (c.firstFailing < 68) {
      EXPECT_EQ(panel.config().active(), before) << "no configuration taken without the apply";
      EXPECT_EQ(panel.config().applied(), 0U);
    } else {
      // Every block arrived; whether the panel took them, the tool never heard.
      EXPECT_EQ(panel.config().staging(), ToolTransferPart());
    }
    EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kWriting, kNoAnswer}));
    EXPECT_FALSE(form->TeProgressBar1->isVisible());
    EXPECT_FALSE(form->TeMemo2->isVisible());
    EXPECT_FALSE(form->port().IsOpen());
    const std::size_t expected = c.firstFailing + 11;
    EXPECT_EQ(line->requests.size(), expected) << "nothing sent after giving up";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteFailures,
                         ::testing::Values(WriteFailureCase{"TenOnTheFirstBlock", 0, 10, true},
                                           WriteFailureCase{"EleventhOnTheFirstBlock", 0, 11, false},
                                           WriteFailureCase{"EleventhOnTheLastBlock", 67, 11, false},
                                           WriteFailureCase{"TenOnTheApply", 68, 10, true},
                                           WriteFailureCase{"EleventhOnTheApply", 68, 11, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- files ----

struct NameCase {
  const char* chosen;
  const char* written;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.chosen; }


class SaveNames : public ConfigTransferTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SaveNames, TheExtensionIsReplacedByBin) {
  AddNodes(form->Config, {1});
  AnswerSave(InFolder(GetParam().chosen));
  Click(tab->Save_ButtB);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{GetParam().written});
  EXPECT_EQ(FileBytesOf(InFolder(GetParam().written)), ToolImage());
  EXPECT_EQ(FileBytesOf(InFolder(GetParam().written)).size(), ImageSize);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveNames,
                         ::testing::Values(NameCase{"config.old", "config.bin"}, NameCase{"config", "config.bin"},
                                           NameCase{"my.bin.bin", "my.bin.bin"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

struct BadFileCase {
  const char* name;
  long size;  // -1: no such file
  bool sizeLine;
};
void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }


class RefusedFiles : public ConfigTransferTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(RefusedFiles, AFileThatIsNoImageChangesNothing) {
  ReadFromPanel();
  DeleteNode(form->Config);  // an edit that a refused load must not undo
  const std::string before = Dump(form->Config);
  const std::vector<uint8_t> imageBefore = ToolImage();
  const QString path = InFolder("other.bin");
  if (GetParam().size >= 0) {
    ASSERT_TRUE(WriteBytes(path, std::vector<uint8_t>(static_cast<std::size_t>(GetParam().size), 0xFF)));
  }
  AnswerOpen(path);
  Click(tab->Load_ButtB);
  EXPECT_EQ(Dump(form->Config), before);
  EXPECT_EQ(ToolImage(), imageBefore);
  const auto lines = Lines(form->TeMemo1);
  ASSERT_EQ(lines.size(), 1U);
  if (GetParam().sizeLine) {
    EXPECT_EQ(lines[0], WrongFileSizeText(static_cast<unsigned long long>(GetParam().size)));
    EXPECT_NE(lines[0].find(std::to_string(GetParam().size)), std::string::npos);
  } else {
    EXPECT_EQ(lines[0].rfind("   : ERROR - ", 0), 0U) << lines[0];
    EXPECT_EQ(lines[0].back(), '.');
  }
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(!tab->Add_Butt_00->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedFiles,
                         ::testing::Values(BadFileCase{"OneByteShort", 45951, true}, BadFileCase{"OneByteLong", 45953, true},
                                           BadFileCase{"Empty", 0, true}, BadFileCase{"Missing", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTransferTest, SaveThenOpenGivesTheSameModelAndTheSameBytes) {
  ReadFromPanel();
  const std::string read = Dump(form->Config);
  AnswerSave(InFolder("config.bin"));
  Click(tab->Save_ButtB);
  const std::vector<uint8_t> saved = FileBytesOf(InFolder("config.bin"));
  EXPECT_EQ(saved, panel.config().ImageFile()) << "an unchanged configuration saves the panel's bytes";

  AddNodes(form->Config, {5});
  AnswerOpen(InFolder("config.bin"));
  const QStringList memoBefore = form->TeMemo1->Lines();
  Click(tab->Load_ButtB);
  EXPECT_EQ(Dump(form->Config), read);
  EXPECT_EQ(ToolImage(), saved);
  EXPECT_EQ(form->TeMemo1->Lines(), memoBefore) << "a sound file shows no message";
  EXPECT_EQ(tab->NodesGrid->RowCount(), form->Config.NodeCount + 1) << "the grids show the file";

  AnswerSave(InFolder("again.bin"));
  Click(tab->Save_ButtB);
  EXPECT_EQ(FileBytesOf(InFolder("again.bin")), saved);
}

TEST_F(ConfigTransferTest, ACancelledDialogDoesNothing) {
  AddNodes(form->Config, {1});
  const std::string before = Dump(form->Config);
  form->transferView().openChoice = [] { return std::optional<QString>(); };
  form->transferView().saveChoice = [] { return std::optional<QString>(); };
  Click(tab->Load_ButtB);
  Click(tab->Save_ButtB);
  EXPECT_EQ(Dump(form->Config), before);
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
  EXPECT_FALSE(!tab->Add_Butt_00->isHidden());
}

// A save that fails part-way leaves the file that was there and says why.
// At 1200 baud a block write's 201 bytes are on the wire for 1675 ms: the acknowledgement comes
// after that, and the write waits for it instead of giving up on every block.
TEST_F(ConfigTransferTest, WriteAt1200BaudWaitsForItsFramesLineTime) {
  form->BaudRateClick(0);
  ASSERT_EQ(line->BaudRate(), 1200U);
  line->timing.paced = true;
  Click(tab->Load_ButtA);
  ASSERT_TRUE(RunToIdle(300'000));  // 68 x 205 bytes at 1200 baud: two minutes of line time
  ASSERT_EQ(Lines(form->TeMemo1).back(), kOk);
  const std::size_t readRequests = line->requests.size();
  Click(tab->Save_ButtA);
  ASSERT_TRUE(RunToIdle(600'000));
  EXPECT_EQ(line->requests.size(), readRequests + 69) << "no block written twice";
  EXPECT_EQ(Lines(form->TeMemo1), (std::vector<std::string>{kWriting, kOk}));
  EXPECT_EQ(panel.config().applied(), 1U);
}

TEST_F(ConfigTransferTest, AFailedWriteLeavesTheOldFileIntact) {
  const std::vector<uint8_t> old(ImageSize, 0x11);
  ASSERT_TRUE(WriteBytes(InFolder("config.bin"), old));
  AddNodes(form->Config, {1});
  AnswerSave(InFolder("config.bin"));
  // Files may grow to 1000 bytes only: the 45952-byte write fails inside the temporary file.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Click(tab->Save_ButtB);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(FileBytesOf(InFolder("config.bin")), old);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"config.bin"}) << "no temporary file left";
  const auto lines = Lines(form->TeMemo1);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].rfind("   : ERROR - ", 0), 0U) << lines[0];
  EXPECT_TRUE(!tab->Add_Butt_00->isHidden());
}

TEST_F(ConfigTransferTest, ASaveIntoAFolderThatCannotBeWrittenLeavesTheOldFileIntact) {
  const std::vector<uint8_t> old(ImageSize, 0x22);
  const QString locked = InFolder("locked");
  ASSERT_TRUE(QDir().mkdir(locked));
  ASSERT_TRUE(WriteBytes(locked + "/config.bin", old));
  ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  if (QFile probe(locked + "/probe"); probe.open(QIODevice::WriteOnly)) {
    probe.remove();
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    GTEST_SKIP() << "this user writes into any folder (root): the failing write is tested by the file-size limit";
  }
  AddNodes(form->Config, {1});
  AnswerSave(locked + "/config.bin");
  Click(tab->Save_ButtB);
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(FileBytesOf(locked + "/config.bin"), old);
  const auto lines = Lines(form->TeMemo1);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].rfind("   : ERROR - ", 0), 0U) << lines[0];
}

TEST_F(ConfigTransferTest, ASaveIntoAFolderThatDoesNotExistSaysSo) {
  AddNodes(form->Config, {1});
  AnswerSave(InFolder("no such folder/config"));
  Click(tab->Save_ButtB);
  const auto lines = Lines(form->TeMemo1);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].rfind("   : ERROR - ", 0), 0U) << lines[0];
  EXPECT_FALSE(QFile::exists(InFolder("no such folder")));
}

TEST_F(ConfigTransferTest, TheSampleSavedAfterAReadEqualsTheCheckedInGoldenFile) {
  ReadFromPanel();
  AnswerSave(InFolder("sample"));
  Click(tab->Save_ButtB);
  const auto goldenPath = std::filesystem::path(__FILE__).parent_path() / "golden" / "sample.bin";
  const std::vector<uint8_t> golden = FileBytesOf(QString::fromStdString(goldenPath.string()));
  ASSERT_EQ(golden.size(), ImageSize);
  EXPECT_EQ(FileBytesOf(InFolder("sample.bin")), golden);
}

}  // namespace
}  // namespace zelor::test
