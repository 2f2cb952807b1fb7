// The port choice without a window: the "comports.txt" reader, which entry is chosen, and what
// the log says for each way the system's list and the file can answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "link/port_choice.h"
#include "recording_surfaces.h"

namespace zelor::test {
namespace {

class PortFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("comports_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
  }
  void TearDown() override { std::filesystem::remove(path); }
  void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  std::filesystem::path path;
};

TEST_F(PortFileTest, ReadsAtMostTenLinesAsTyped) {
  std::string text;
  for (int i = 1; i <= 11; ++i) text += "COM" + std::to_string(i) + (i == 2 ? " \r\n" : "\n");
  Write(text);
  const PortFileResult r = ReadPortFile(path.string(), 10);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.lines.size(), 10u);
  EXPECT_EQ(r.lines[0], "COM1");
  EXPECT_EQ(r.lines[1], "COM2 ") << "the blank stays, the CR LF goes";
  EXPECT_EQ(r.lines[9], "COM10");
}

TEST_F(PortFileTest, ALastLineWithoutEndAndAnEmptyFile) {
  Write("COM4");
  EXPECT_EQ(ReadPortFile(path.string(), 10).lines, std::vector<std::string>{"COM4"});
  Write("");
  const PortFileResult empty = ReadPortFile(path.string(), 10);
  EXPECT_TRUE(empty.ok);
  EXPECT_TRUE(empty.lines.empty());
}

TEST_F(PortFileTest, AMissingFileSaysWhy) {
  const PortFileResult r = ReadPortFile(path.string(), 10);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "No such file or directory");
}

// The Port menu recorded: its entries, the chosen one, and a reopen that can be made to fail.
class RecordingPortMenu : public PortMenu {
 public:
  void SetEntries(const std::vector<std::string>& names) override {
    entries = names;
    chosen.reset();
  }
  std::optional<std::string> Choose(std::size_t index) override {
    chosen = index;
    if (failReopen) return std::string("cannot open ") + entries[index];
    port = entries[index];
    return std::nullopt;
  }
  void ShowAbsent(const std::string& name) override { absent = name; }
  std::vector<std::string> entries{"old"};
  std::optional<std::size_t> chosen;
  std::optional<std::string> absent;
  std::string port = "COM1";
  bool failReopen = false;
};

TEST(PreferredPort, TheCurrentPortThenCom1ThenTheFirst) {
  struct Case {
    std::vector<std::string> names;
    std::string current;
    std::optional<std::size_t> chosen;
  };
  const std::vector<Case> cases = {
      {{"COM3", "COM1"}, "COM1", 1},     {{"COM1", "COM4", "COM3"}, "COM3", 2}, {{"COM5", "COM1"}, "COM3", 1},
      {{"SIM1", "ttyS0"}, "COM5", 0},    {{" COM1 ", "COM2"}, "COM9", 0},      {{}, "COM1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PreferredPort(c.names, c.current), c.chosen) << c.current;
}

struct SourcesCase {
  const char* what;
  std::optional<std::vector<std::string>> system;
  PortFileResult file;
  bool failReopen;
  std::vector<std::string> entries;
  std::optional<std::size_t> chosen;
  std::vector<std::string> log;
  MemoColor color;
};

TEST(RefreshPorts, WhatIsListedChosenAndLoggedForEachSource) {
  const std::string accessError = "   : РЕЕСТР - ОШИБКА ДОСТУПА К СПИСКУ COM-ПОРТОВ.";
  const std::string fromFile = "   : ЗАПРОС СПИСКА ИЗ ФАЙЛА \"COMPORTS.TXT\".....";
  const std::string ok = "   : \x4F\x4B.";  // Latin O and K
  const std::string noFile = "   : ФАЙЛ \"СOMPORTS.TXT\": - No such file or directory.";
  const std::string reopen = "   : ФАЙЛ \"СOMPORTS.TXT\": - cannot open COM5.";
  const PortFileResult missing{false, {}, "No such file or directory"};
  const PortFileResult twoLines{true, {"COM5", "COM6"}, ""};
  std::vector<std::string> eleven;
  for (int i = 1; i <= 11; ++i) eleven.push_back("COM" + std::to_string(i + 1));
  std::vector<std::string> ten(eleven.begin(), eleven.begin() + 10);
  const std::vector<std::string> untouched{"TX :", "RX :"};
  const std::vector<SourcesCase> cases = {
      {"a readable list logs nothing", std::vector<std::string>{"COM3", "COM1"}, missing, false, {"COM3", "COM1"}, 1,
       untouched, MemoColor::Navy},
      {"a failed reopen after the system's list is ignored", std::vector<std::string>{"COM3"}, missing, true, {"COM3"}, 0,
       untouched, MemoColor::Navy},
      {"an empty list reads the file quietly", std::vector<std::string>{}, twoLines, false, {"COM5", "COM6"}, 0,
       untouched, MemoColor::Navy},
      {"an empty list and no file clear the log first", std::vector<std::string>{}, missing, false, {}, std::nullopt,
       {noFile}, MemoColor::Blue},
      {"an empty list and a failed reopen from the file", std::vector<std::string>{}, twoLines, true, {"COM5", "COM6"}, 0,
       {reopen}, MemoColor::Blue},
      {"no list: ten of eleven file lines and OK", std::nullopt, {true, eleven, ""}, false, ten, 0,
       {accessError, fromFile, ok}, MemoColor::Navy},
      {"no list and no file", std::nullopt, missing, false, {}, std::nullopt, {accessError, fromFile, noFile},
       MemoColor::Blue},
      {"no list and a failed reopen from the file: no OK", std::nullopt, twoLines, true, {"COM5", "COM6"}, 0,
       {accessError, fromFile, reopen}, MemoColor::Blue},
      {"no list and an empty file: still OK", std::nullopt, {true, {}, ""}, false, {}, std::nullopt,
       {accessError, fromFile, ok}, MemoColor::Navy},
  };
  for (const auto& c : cases) {
    PortSources sources;
    sources.systemPorts = [&c] { return c.system; };
    sources.readPortFile = [&c] { return c.file; };
    RecordingPortMenu menu;
    menu.failReopen = c.failReopen;
    RecordingMemo memo;
    RefreshPorts(sources, "COM1", menu, memo);
    EXPECT_EQ(menu.entries, c.entries) << c.what;
    EXPECT_EQ(menu.chosen, c.chosen) << c.what;
    EXPECT_EQ(memo.lines, c.log) << c.what;
    EXPECT_EQ(memo.color, c.color) << c.what;
  }
}

TEST(RefreshPorts, AChosenPortMissingFromTheListStaysChosen) {
  struct Case {
    const char* what;
    std::optional<std::vector<std::string>> system;
    PortFileResult file;
    AbsentPort absent;
    std::optional<std::size_t> chosen;
    std::optional<std::string> shownAbsent;
  };
  const PortFileResult missing{false, {}, "No such file or directory"};
  const std::vector<Case> cases = {
      {"kept: not chosen again, shown absent", std::vector<std::string>{"COM5", "COM1"}, missing, AbsentPort::Keep,
       std::nullopt, "COM3"},
      {"listed again: chosen", std::vector<std::string>{"COM5", "COM3"}, missing, AbsentPort::Keep, 1, std::nullopt},
      {"before any choice: COM1", std::vector<std::string>{"COM5", "COM1"}, missing, AbsentPort::FallBack, 1,
       std::nullopt},
      {"no system port and no file: still kept", std::vector<std::string>{}, missing, AbsentPort::Keep, std::nullopt,
       "COM3"},
      {"the file without it: its own choice", std::nullopt, {true, {"COM7"}, ""}, AbsentPort::Keep, 0, std::nullopt},
      {"an empty file: kept", std::nullopt, {true, {}, ""}, AbsentPort::Keep, std::nullopt, "COM3"},
      {"the file with it: chosen", std::nullopt, {true, {"COM7", "COM3"}, ""}, AbsentPort::Keep, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    PortSources sources;
    sources.systemPorts = [&c] { return c.system; };
    sources.readPortFile = [&c] { return c.file; };
    RecordingPortMenu menu;
    RecordingMemo memo;
    RefreshPorts(sources, "COM3", menu, memo, c.absent);
    EXPECT_EQ(menu.chosen, c.chosen) << c.what;
    EXPECT_EQ(menu.absent, c.shownAbsent) << c.what;
  }
}

TEST(RefreshPorts, WithoutSourcesTheFileErrorIsLogged) {
  RecordingPortMenu menu;
  RecordingMemo memo;
  RefreshPorts(PortSources{}, "COM1", menu, memo);
  EXPECT_TRUE(menu.entries.empty());
  EXPECT_EQ(memo.lines.back(), "   : ФАЙЛ \"СOMPORTS.TXT\": - no file.");
}

}  // namespace
}  // namespace zelor::test
