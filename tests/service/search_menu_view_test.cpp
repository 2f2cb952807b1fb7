// The "Search" menu in the real window, on the virtual clock against the in-process panel.
#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include "app/app_texts.h"
#include "app/window_fixture.h"
#include "config/config_tab.h"
#include "config/add_box_view.h"
#include "service/parameters_tab.h"
#include "service/search_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

class SearchMenuViewTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    form->activateWindow();
    QApplication::processEvents();
  }
  void RunToEnd() {
    clock->RunUntil([this] { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); },
                    200'000);
  }
  std::vector<std::string> Memo1() const {
    std::vector<std::string> lines;
    for (const QString& l : form->TeMemo1->Lines()) lines.push_back(l.toStdString());
    return lines;
  }
};

TEST_F(SearchMenuViewTest, StartFindsThePanelAndTakesItsAddress) {
  panel.set_address(1);
  form->Add_Box->show();
  form->TeTabSheet3->TeSpinEdit1->setFocus();
  ASSERT_EQ(form->CustomItem5->text().toStdString(), app_text::kMenuStart);
  EXPECT_EQ(form->CustomItem5->text().toStdString(), search_text::kStart);
  form->CustomItem5->trigger();
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Stop");
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(form->TeTabSheet12->Add_Butt_00->isVisibleTo(form->TeTabSheet12));
  EXPECT_TRUE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->TeProgressBar1->maximum(), 247);
  RunToEnd();
  ASSERT_EQ(line->requests.size(), 1U);
  const auto memo = Memo1();
  ASSERT_EQ(memo.size(), 4U);
  EXPECT_EQ(memo[2], "   : ОБНАРУЖЕН ПРИБОР <ЗЕЛОР-ПУИ> ПО АДРЕСУ 001");
  EXPECT_EQ(memo[3], "   : ОК.");
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Start");
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->TeTabSheet3->TeSpinEdit1->value(), 1);
  EXPECT_EQ(form->TeTabSheet3->TeLabel5->text().toStdString(), "Адрес прибора - 001");
  EXPECT_EQ(Panel(2), "DEVICE : А = 001; Baud = 57600");
  EXPECT_EQ(form->link().DeviceAddress, 1);
  EXPECT_TRUE(form->TeMenuBar1->hasFocus());
  EXPECT_FALSE(line->IsOpen());
}

TEST_F(SearchMenuViewTest, DelayEntriesAreExclusiveAndSetTheDelay) {
  EXPECT_TRUE(form->DelayItems[1]->isChecked());
  form->DelayItems[5]->trigger();
  EXPECT_EQ(form->link().SearchDelay, 350);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(form->DelayItems[i]->isChecked(), i == 5) << i;
  form->DelayItems[0]->trigger();
  EXPECT_EQ(form->link().SearchDelay, 100);
  EXPECT_FALSE(form->DelayItems[5]->isChecked());
}

TEST_F(SearchMenuViewTest, StopShowsTheLastProbedAddressInTheField) {
  line->defaultFault = sim::MakeFault(sim::Fault::NoReply);
  form->CustomItem5->trigger();
  clock->RunUntil([this] { return line->requests.size() >= 12; }, 10'000);
  form->CustomItem5->trigger();
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Start");
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->TeTabSheet3->TeSpinEdit1->value(), 12);
  EXPECT_EQ(form->TeTabSheet3->TeLabel5->text().toStdString(), "Адрес прибора - 012");
  EXPECT_EQ(Panel(2), "DEVICE : А = 012; Baud = 57600");
  clock->AdvanceMs(1000);
  EXPECT_EQ(line->requests.size(), 12U);
}

// "Start" during a configuration write leaves the write to finish with its apply command; the
// write's log says why no search started.
TEST_F(SearchMenuViewTest, StartDuringAConfigurationWriteLeavesTheWriteToFinish) {
  form->TeTabSheet12->Load_ButtA->click();
  RunToEnd();
  const std::size_t readRequests = line->requests.size();
  form->TeTabSheet12->Save_ButtA->click();
  ASSERT_EQ(form->link().OperationMode, omConfigWrite);
  clock->RunUntil([this] { return form->link().BlockIndex >= 10; }, 10'000);
  form->CustomItem5->trigger();
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Start");
  EXPECT_FALSE(form->TeMemo1->isVisible());
  ASSERT_FALSE(form->TeMemo2->Lines().isEmpty());
  EXPECT_EQ(form->TeMemo2->Lines().back().toStdString(), search_text::kRefusedConfigWrite);
  RunToEnd();
  EXPECT_EQ(panel.config().applied(), 1U) << "the write ended with its apply command";
  EXPECT_EQ(line->requests.size(), readRequests + 69) << "68 blocks and the apply, no probe";
  for (std::size_t i = readRequests; i < line->requests.size(); ++i) EXPECT_EQ(line->requests[i][0], 247);
  EXPECT_EQ(Memo1(), (std::vector<std::string>{"   : запись конфигурации пульта...", "   : ОК."}));
}

}  // namespace
}  // namespace zelor::test
