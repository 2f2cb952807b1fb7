// The Port menu in the window: its entries, their check marks, panel 0, and what the log says
// when the system's list or the "comports.txt" file cannot be read (the choice itself is the
// core's, tested in tests/link/port_choice_test.cpp).
#include <QMouseEvent>

#include "window_fixture.h"

namespace zelor::test {
namespace {

std::vector<std::string> ElevenLines() {
  std::vector<std::string> lines;
  for (int i = 1; i <= 11; ++i) lines.push_back("COM" + std::to_string(i + 1));
  return lines;
}

TEST_F(WindowTest, SystemListWithCom3ThenCom1SelectsCom1) {
  Create();
  EXPECT_EQ(PortCaptions(), QStringList({"COM3", "COM1"}));
  EXPECT_EQ(CheckedPort(), "COM1");
  EXPECT_EQ(Panel(0), "COM1");
  EXPECT_EQ(line->PortName(), "COM1");
  EXPECT_EQ(form->TeMemo1->Lines(), QStringList({"TX :", "RX :"})) << "a readable list logs nothing";
}

TEST_F(WindowTest, TheUsersChoiceSurvivesReEnumeration) {
  CreateAndShow();
  PortEntry("COM3")->trigger();
  EXPECT_EQ(CheckedPort(), "COM3");
  EXPECT_EQ(Panel(0), "COM3");
  EXPECT_EQ(line->PortName(), "COM3");
  systemPorts = std::vector<std::string>{"COM1", "COM4", "COM3"};
  MousePress(form->TeMenuBar1);  // opening a menu re-lists
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  EXPECT_EQ(PortCaptions(), QStringList({"COM1", "COM4", "COM3"}));
  EXPECT_EQ(CheckedPort(), "COM3");
  EXPECT_EQ(line->PortName(), "COM3");
  int checked = 0;
  for (QAction* a : form->PORT1->actions()) checked += a->isChecked() ? 1 : 0;
  EXPECT_EQ(checked, 1);
}

TEST_F(WindowTest, ThePortMenuListsThePortsAsTheyAreWhenItOpens) {
  Create();
  EXPECT_EQ(PortCaptions(), QStringList({"COM3", "COM1"}));
  systemPorts = std::vector<std::string>{"SIM1", "COM3", "COM1"};  // a simulator started later
  emit form->PORT1->aboutToShow();
  EXPECT_EQ(PortCaptions(), QStringList({"SIM1", "COM3", "COM1"}));
  EXPECT_EQ(CheckedPort(), "COM1") << "the choice stays";
  systemPorts = std::vector<std::string>{"COM1"};  // and gone again
  emit form->PORT1->aboutToShow();
  EXPECT_EQ(PortCaptions(), QStringList({"COM1"}));
}

TEST_F(WindowTest, AnUnpluggedChoiceStaysChosenShownAbsentAndIsUsedWhenItReturns) {
  CreateAndShow();
  PortEntry("COM3")->trigger();
  systemPorts = std::vector<std::string>{"COM5", "COM1"};  // the adapter pulled out
  MousePress(form->TeMenuBar1);  // opening a menu re-lists
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  EXPECT_EQ(PortCaptions(), QStringList({"COM5", "COM1", "COM3  (absent)"}));
  EXPECT_EQ(CheckedPort(), "COM3  (absent)");
  EXPECT_EQ(line->PortName(), "COM3") << "no other port is taken while the chosen one is away";
  EXPECT_EQ(Panel(0), "COM3");
  form->EnumeratePorts();
  EXPECT_EQ(PortCaptions(), QStringList({"COM5", "COM1", "COM3  (absent)"})) << "listed once, however often";
  systemPorts = std::vector<std::string>{"COM5", "COM3", "COM1"};  // and plugged in again
  form->EnumeratePorts();
  EXPECT_EQ(PortCaptions(), QStringList({"COM5", "COM3", "COM1"}));
  EXPECT_EQ(CheckedPort(), "COM3");
  EXPECT_EQ(line->PortName(), "COM3");
  systemPorts = std::vector<std::string>{};  // the only port gone, no comports.txt either
  form->EnumeratePorts();
  EXPECT_EQ(CheckedPort(), "COM3  (absent)");
  EXPECT_EQ(line->PortName(), "COM3");
}

TEST_F(WindowTest, BeforeAnyChoiceAMissingPortFallsBackToCom1OrTheFirst) {
  systemPorts = std::vector<std::string>{"SIM1", "ttyS0"};
  Create();  // the port's name at start, COM1, is no one's choice
  EXPECT_EQ(CheckedPort(), "SIM1");
  EXPECT_EQ(line->PortName(), "SIM1");
  EXPECT_EQ(Panel(0), "SIM1");
}

TEST_F(WindowTest, ChoosingAnEntryChecksOnlyIt) {
  systemPorts = std::vector<std::string>{"SIM1", "ttyS0", "ttyUSB0"};
  Create();
  EXPECT_EQ(CheckedPort(), "SIM1") << "no COM1 on this system: the first entry";
  PortEntry("ttyUSB0")->trigger();
  PortEntry("ttyUSB0")->trigger();  // again: stays checked
  EXPECT_EQ(CheckedPort(), "ttyUSB0");
  for (QAction* a : form->PORT1->actions()) EXPECT_EQ(a->isChecked(), a->text() == "ttyUSB0");
}

TEST_F(WindowTest, AFailedReopenKeepsTheNameButNotPanel0) {
  Create();
  line->Open();
  line->failOpen = true;
  PortEntry("COM3")->trigger();
  EXPECT_EQ(line->PortName(), "COM3");
  EXPECT_FALSE(line->IsOpen());
  EXPECT_EQ(CheckedPort(), "COM3");
  EXPECT_EQ(Panel(0), "COM1");
}

// The file's list moves an open port to another name that cannot be opened.
TEST_F(WindowTest, AFailedReopenFromTheFilesListIsReportedAsAFileError) {
  struct Case {
    bool systemListReadable;  // readable but empty: the file is read quietly
    QStringList log;
  };
  const std::string error = "   : ФАЙЛ \"СOMPORTS.TXT\": - cannot open COM5.";
  const std::vector<Case> cases = {
      {false,
       {"   : РЕЕСТР - ОШИБКА ДОСТУПА К СПИСКУ COM-ПОРТОВ.", "   : ЗАПРОС СПИСКА ИЗ ФАЙЛА \"COMPORTS.TXT\".....",
        QString::fromStdString(error)}},
      {true, {QString::fromStdString(error)}},
  };
  for (const auto& c : cases) {
    systemPorts = std::vector<std::string>{"COM1"};
    Create();
    line->Open();
    line->failOpen = true;
    if (c.systemListReadable) {
      systemPorts = std::vector<std::string>{};
    } else {
      systemPorts.reset();
    }
    portFile = {true, {"COM5", "COM6"}, ""};
    form->EnumeratePorts();
    EXPECT_EQ(form->TeMemo1->Lines(), c.log) << "no OK line after the error";
    EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
    EXPECT_EQ(PortCaptions(), QStringList({"COM5", "COM6"}));
    EXPECT_EQ(CheckedPort(), "COM5");
    EXPECT_EQ(line->PortName(), "COM5");
    EXPECT_FALSE(line->IsOpen());
    EXPECT_EQ(Panel(0), "COM1");
  }
}

TEST_F(WindowTest, AChosenPortThatDisappearsIsNeitherReopenedNorReplaced) {
  Create();
  line->Open();
  line->failOpen = true;
  systemPorts = std::vector<std::string>{"COM3"};
  form->EnumeratePorts();
  EXPECT_EQ(form->TeMemo1->Lines(), QStringList({"TX :", "RX :"}));
  EXPECT_EQ(CheckedPort(), "COM1  (absent)");
  EXPECT_EQ(line->PortName(), "COM1");
  EXPECT_EQ(Panel(0), "COM1");
}

TEST_F(WindowTest, NoSystemListAndElevenFileLinesGiveTenEntries) {
  systemPorts.reset();
  portFile = {true, ElevenLines(), ""};
  portFile.lines[4] = " COM1 ";  // as typed: blanks stay
  Create();
  ASSERT_EQ(PortCaptions().size(), 10);
  EXPECT_EQ(PortCaptions()[4], " COM1 ");
  EXPECT_EQ(PortCaptions()[9], "COM11");
  EXPECT_EQ(CheckedPort(), "COM2") << "\" COM1 \" is not COM1";
  EXPECT_EQ(form->TeMemo1->Lines(),
            QStringList({"   : РЕЕСТР - ОШИБКА ДОСТУПА К СПИСКУ COM-ПОРТОВ.",
                         "   : ЗАПРОС СПИСКА ИЗ ФАЙЛА \"COMPORTS.TXT\".....", "   : OK."}));
  // Latin O and K, and Latin C in COMPORTS.
  EXPECT_EQ(form->TeMemo1->Lines()[2].toStdString(), std::string("   : \x4F\x4B."));
  EXPECT_NE(form->TeMemo1->Lines()[1].indexOf("\"COMPORTS"), -1);
}

TEST_F(WindowTest, NoSystemListAndNoFileLogsTheFileErrorInBlue) {
  Create();  // first with a list: COM1 selected
  systemPorts.reset();
  form->EnumeratePorts();
  EXPECT_EQ(form->TeMemo1->Lines(),
            QStringList({"   : РЕЕСТР - ОШИБКА ДОСТУПА К СПИСКУ COM-ПОРТОВ.",
                         "   : ЗАПРОС СПИСКА ИЗ ФАЙЛА \"COMPORTS.TXT\".....",
                         "   : ФАЙЛ \"СOMPORTS.TXT\": - No such file or directory."}));
  EXPECT_EQ(form->TeMemo1->Lines()[2].toStdString().substr(15, 2), "\xD0\xA1") << "Cyrillic С";
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  EXPECT_EQ(PortCaptions(), QStringList({"COM1  (absent)"})) << "the old entries are gone; the choice stays";
  EXPECT_EQ(line->PortName(), "COM1");
  EXPECT_EQ(Panel(0), "COM1");
}

TEST_F(WindowTest, AnEmptySystemListReadsTheFileQuietly) {
  systemPorts = std::vector<std::string>{};
  portFile = {true, {"COM7", "COM8"}, ""};
  Create();
  EXPECT_EQ(PortCaptions(), QStringList({"COM7", "COM8"}));
  EXPECT_EQ(CheckedPort(), "COM7");
  EXPECT_EQ(form->TeMemo1->Lines(), QStringList({"TX :", "RX :"})) << "no registry lines, no OK";
}

TEST_F(WindowTest, AnEmptySystemListAndNoFileClearsTheLogFirst) {
  systemPorts = std::vector<std::string>{};
  Create();
  EXPECT_EQ(form->TeMemo1->Lines(), QStringList({"   : ФАЙЛ \"СOMPORTS.TXT\": - No such file or directory."}));
  EXPECT_TRUE(PortCaptions().isEmpty());
  EXPECT_EQ(Panel(0), "");
}

TEST_F(WindowTest, AnEmptyFileGivesAnEmptyMenuAndStillOk) {
  systemPorts.reset();
  portFile = {true, {}, ""};
  Create();
  EXPECT_TRUE(PortCaptions().isEmpty());
  EXPECT_EQ(form->TeMemo1->Lines().last(), "   : OK.");
}

TEST_F(WindowTest, ManyPortsAreAllListed) {
  std::vector<std::string> many;
  for (int i = 0; i < 40; ++i) many.push_back("ttyUSB" + std::to_string(i));
  systemPorts = many;
  Create();
  EXPECT_EQ(PortCaptions().size(), 40);
  EXPECT_EQ(form->PortItems.size(), 40u);
  form->EnumeratePorts();
  EXPECT_EQ(form->PORT1->actions().size(), 40) << "re-listing frees the old entries";
}

}  // namespace
}  // namespace zelor::test
