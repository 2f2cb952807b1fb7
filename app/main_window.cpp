#include "app/main_window.h"

#include <QActionGroup>
#include <algorithm>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QShortcut>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include "app/app_texts.h"
#include "app/qt_accessibility.h"
#include "automation/automation_tab.h"
#include "config/add_box_view.h"
#include "config/config_editor_view.h"
#include "config/config_tab.h"
#include "config/config_transfer.h"
#include "config/config_transfer_view.h"
#include "link/format.h"
#include "link/line_rates.h"
#include "model/zone_groups.h"
#include "service/archive_download.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/monitor.h"
#include "service/archive_tab_view.h"
#include "service/panel_parameters.h"
#include "service/parameters_tab.h"
#include "service/parameters_view.h"
#include "service/address_search.h"
#include "service/search_menu_view.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_menu_view.h"
#include "service/status_tab.h"
#include "qtcore/qt_pc_time.h"
#include "widgets/qt_fonts.h"

namespace zelor {

namespace {
constexpr int kMemoX = 13, kMemoY = 475, kMemoWidth = 849, kMemoHeight = 97;
constexpr int kScreenMargin = 25;

// A menu title with its first letter as the keyboard mnemonic (Alt+letter): "&Connection".
QString WithMnemonic(const char* title) { return QLatin1Char('&') + QString::fromUtf8(title); }

class FixedWidthTabBar : public QTabBar {
 public:
  explicit FixedWidthTabBar(QWidget* parent) : QTabBar(parent) {}

 protected:
  QSize tabSizeHint(int index) const override { return {100, QTabBar::tabSizeHint(index).height()}; }
};

class PageControl : public QTabWidget {
 public:
  explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new FixedWidthTabBar(this)); }
};

QFont SystemFont() { return fonts::Face(fonts::kSystemFontFamily, 11); }

LogMemoView* MakeLogMemo(const char* name, QWidget* parent) {
  auto* memo = new LogMemoView(name, parent);
  memo->setFont(fonts::Face(fonts::kLogFontFamily, 11));
  memo->setGeometry(kMemoX, kMemoY, kMemoWidth, kMemoHeight);
  return memo;
}
}  // namespace

TForm1::TForm1(std::unique_ptr<Clock> clock, std::unique_ptr<SerialPort> port, PortSources sources, QWidget* parent)
    : QWidget(parent), clock_(std::move(clock)), port_(std::move(port)), sources_(std::move(sources)) {
  setObjectName("Form1");
  setWindowTitle(app_text::kCaption);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(fonts::Face(fonts::kDefaultFontFamily, 11));

  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  client_ = new QWidget;
  client_->setFixedSize(kClientWidth, kClientHeight);
  scroll_->setWidget(client_);
  setFixedSize(kClientWidth, kClientHeight);
  scroll_->setGeometry(0, 0, kClientWidth, kClientHeight);

  BuildFrame();
  BuildMenus();

  link_ = std::make_unique<Link>(*clock_, *port_, LinkSurfaces{*TeMemo1, *TeMemo2, *StatusBar1, *TeProgressBar1});
  sequencer_ = std::make_unique<Sequencer>(*link_);
  TimerX1 = clock_->CreateTimer();
  TimerX1->SetInterval(100);
  configEditor_ = new ConfigEditorView(*TeTabSheet12, *Add_Box, Config, *TimerX1, *clock_, link_->surfaces(), this);
  Config.Views = configEditor_;
  configEditor_->SetRuleViews(TeTabSheet4);  // the editor passes rule refreshes on to КОНФИГ.-4
  TeMemo1->onMouseDown = [this] { TeMemo1MouseDown(); };
  TeMemo2->onMouseDown = [this] { TeMemo1MouseDown(); };
  TeTabSheet3->onAddressEntered = [this](int value) { TeSpinEdit1KeyPress(value); };

  parametersView_ = new ParametersView(*TeTabSheet3, this);
  parameters_ = std::make_unique<PanelParameters>(*link_, *parametersView_, PcLocalTime);
  parametersView_->Connect(*parameters_);
  parametersView_->switchPcBaudRate = [this](int baudIndex) { BaudRateClick(baudIndex); };
  archiveView_ = new ArchiveTabView(*TeTabSheet2, this);
  archiveReading_ = std::make_unique<ArchiveReading>(*link_, *sequencer_, *archiveView_);
  archiveDownload_ = std::make_unique<ArchiveDownload>(*link_, *sequencer_, *archiveView_, PcArchiveDateTexts);
  archiveView_->Connect(*archiveReading_, *archiveDownload_);
  connect(Sound_Butt, &QPushButton::clicked, this, [this] { parameters_->Sound_ButtClick(); });
  connect(Light_Butt, &QPushButton::clicked, this, [this] { parameters_->Light_ButtClick(); });
  transferView_ = new ConfigTransferView(*TeTabSheet12, *Add_Box, Config, this);
  transfer_ = std::make_unique<ConfigTransfer>(*link_, *sequencer_, Config, *transferView_);
  transferView_->Connect(*transfer_);
  monitor_ = std::make_unique<LiveMonitor>(*link_, *sequencer_, *TeTabSheet1, PcLocalTime);
  TeTabSheet1->Connect(*monitor_);
  connect(TePageControl1, &QTabWidget::currentChanged, this, [this] {
    if (TePageControl1->currentWidget() == TeTabSheet3) parameters_->TeTabSheet3Show();
  });

  ConnectSearch();
  ConnectUpgrade();
  FormCreate();
  MakeAccessible(*this);
}

void TForm1::ConnectUpgrade() {
  UpgradeMenuControls controls;
  controls.upgrade = CustomItem13;
  controls.dialogParent = this;
  controls.closeAddBox = [this] {
    Add_Box->hide();
    TeTabSheet12->Add_Butt_00->show();
  };
  controls.hideAddBox = [this] { Add_Box->hide(); };
  upgradeView_ = new UpgradeMenuView(std::move(controls), this);
  upgrade_ = std::make_unique<FirmwareUpgrade>(*link_, *sequencer_, *upgradeView_);
  upgradeView_->Connect(*upgrade_);
}

void TForm1::ConnectSearch() {
  SearchMenuControls controls;
  controls.start = CustomItem5;
  controls.delays = DelayItems;
  controls.menuBar = TeMenuBar1;
  controls.closeAddBox = [this] {
    Add_Box->hide();
    TeTabSheet12->Add_Butt_00->show();
  };
  controls.showAddress = [this](uint8_t address) {
    // Applied once, as a change of the field, even when the value is the one it shows.
    const QSignalBlocker quiet(TeTabSheet3->TeSpinEdit1);
    TeTabSheet3->TeSpinEdit1->setValue(address);
    parameters_->TeSpinEdit1Change();
  };
  searchView_ = new SearchMenuView(std::move(controls), this);
  search_ = std::make_unique<AddressSearch>(*link_, *sequencer_, *searchView_);
  searchView_->Connect(*search_);
}

TForm1::~TForm1() {
  // Everything made from the clock or bound to the port goes before them.
  Config.Views = nullptr;
  TimerX1.reset();
  monitor_.reset();
  upgrade_.reset();
  search_.reset();
  parameters_.reset();
  transfer_.reset();
  archiveDownload_.reset();
  archiveReading_.reset();
  sequencer_.reset();
  link_.reset();
}

void TForm1::BuildFrame() {
  TeGroupBox1 = new QGroupBox(client_);
  TeGroupBox1->setObjectName("TeGroupBox1");
  TeGroupBox1->setGeometry(0, 24, 873, 585);

  TePageControl1 = new PageControl(TeGroupBox1);
  TePageControl1->setObjectName("TePageControl1");
  TePageControl1->setGeometry(13, 22, 849, 435);
  // Made inside the window, so that the labels they size while being built take the window's face
  // and not the system's default one, which differs from one machine's fonts to another's.
  TeTabSheet1 = new StatusTab(TePageControl1);
  TeTabSheet2 = new ArchiveTab(TePageControl1);
  TeTabSheet3 = new ParametersTab(TePageControl1);
  TeTabSheet12 = new ConfigTab(TePageControl1);
  TeTabSheet4 = new AutomationTab(Config, TePageControl1);
  TePageControl1->addTab(TeTabSheet1, "СТАТУС");
  TePageControl1->addTab(TeTabSheet2, "АРХИВ");
  TePageControl1->addTab(TeTabSheet3, "ПРОГ.-2");
  TePageControl1->addTab(TeTabSheet12, "КОНФИГ.-3");
  TePageControl1->addTab(TeTabSheet4, "КОНФИГ.-4");

  TeMemo1 = MakeLogMemo("TeMemo1", TeGroupBox1);
  TeMemo1->AddLine(app_text::kTx);
  TeMemo1->AddLine(app_text::kRx);
  TeMemo2 = MakeLogMemo("TeMemo2", TeGroupBox1);
  TeMemo2->hide();
  Add_Box = new AddBoxView(TeGroupBox1);
  Add_Box->setGeometry(10, 462, 854, 113);

  Sound_Butt = new QPushButton(TeGroupBox1);
  Sound_Butt->setObjectName("Sound_Butt");
  Sound_Butt->setToolTip(app_text::kSoundHint);
  Sound_Butt->setIcon(style()->standardIcon(QStyle::SP_MediaVolumeMuted));
  Sound_Butt->setGeometry(722, 10, 64, 25);
  Light_Butt = new QPushButton(TeGroupBox1);
  Light_Butt->setObjectName("Light_Butt");
  Light_Butt->setToolTip(app_text::kLightHint);
  Light_Butt->setIcon(style()->standardIcon(QStyle::SP_DialogNoButton));
  Light_Butt->setGeometry(798, 10, 64, 25);

  StatusBar1 = new StatusBarView(client_);
  StatusBar1->setFont(SystemFont());
  StatusBar1->setGeometry(0, kClientHeight - 21, kClientWidth, 21);
  TeProgressBar1 = new ProgressBarView("TeProgressBar1", client_);
  // Right of the longest error count of panel 2 ("UPGRADE PROCESS : ОШИБКИ -> 99" ends at 354).
  TeProgressBar1->setGeometry(372, 616, 490, 16);
  TeProgressBar1->hide();
}

void TForm1::BuildMenus() {
  TeMenuBar1 = new QMenuBar(client_);
  TeMenuBar1->setObjectName("TeMenuBar1");
  TeMenuBar1->setNativeMenuBar(false);
  TeMenuBar1->setFocusPolicy(Qt::StrongFocus);  // the log memos hand the focus to it
  TeMenuBar1->setFont(SystemFont());
  // Three captions in 152 pixels: the style's roomy item padding would push "Tools" out.
  TeMenuBar1->setStyleSheet("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 3px 5px; }");
  TeMenuBar1->setGeometry(0, 0, 152, 22);
  TeMenuBar1->installEventFilter(this);

  // Each menu's title carries a mnemonic (Alt+C, Alt+S, Alt+T and the letters inside a menu), so
  // that the menus open from the keyboard; F10 and the arrows do the rest (OpenMenuFromKeyboard).
  CustomItem1 = TeMenuBar1->addMenu(WithMnemonic(app_text::kMenuConnection));
  CustomItem1->setObjectName("CustomItem1");
  PORT1 = CustomItem1->addMenu(WithMnemonic(app_text::kMenuPort));
  PORT1->setObjectName("PORT1");
  // The ports as they are when the menu opens: a simulator or adapter plugged in later appears.
  connect(PORT1, &QMenu::aboutToShow, this, &TForm1::EnumeratePorts);
  CustomItem3 = CustomItem1->addMenu(WithMnemonic(app_text::kMenuBaudRate));
  CustomItem3->setObjectName("CustomItem3");
  // Radio-style entries: an exclusive group makes the menu draw them with a radio mark.
  auto* rates = new QActionGroup(CustomItem3);
  for (int i = 0; i < kBaudRateCount; ++i) {
    const QString rate = QString::fromStdString(BaudRateText(i));
    QAction* a = CustomItem3->addAction(rate);
    a->setObjectName("BR_" + rate);
    a->setCheckable(true);
    a->setActionGroup(rates);
    connect(a, &QAction::triggered, this, [this, i] { BaudRateClick(i); });
    BR_[static_cast<std::size_t>(i)] = a;
  }

  CustomItem4 = TeMenuBar1->addMenu(WithMnemonic(app_text::kMenuSearch));
  CustomItem4->setObjectName("CustomItem4");
  CustomItem5 = CustomItem4->addAction(app_text::kMenuStart);
  CustomItem5->setObjectName("CustomItem5");
  CustomItem6 = CustomItem4->addMenu(WithMnemonic(app_text::kMenuDelay));
  CustomItem6->setObjectName("CustomItem6");
  auto* delays = new QActionGroup(CustomItem6);
  for (std::size_t i = 0; i < DelayItems.size(); ++i) {
    QAction* a = CustomItem6->addAction(app_text::kDelayCaptions[i]);
    a->setObjectName(QStringLiteral("CustomItem%1").arg(7 + i));
    a->setCheckable(true);
    a->setActionGroup(delays);
    DelayItems[i] = a;
  }
  DelayItems[1]->setChecked(true);  // 150ms, the search delay at start

  CustomItem2 = TeMenuBar1->addMenu(WithMnemonic(app_text::kMenuTools));
  CustomItem2->setObjectName("CustomItem2");
  CustomItem13 = CustomItem2->addAction(app_text::kMenuFirmwareUpgrade);
  CustomItem13->setObjectName("CustomItem13");

  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(f10, &QShortcut::activated, this, &TForm1::OpenMenuFromKeyboard);
}

void TForm1::OpenMenuFromKeyboard() {
  TeMenuBar1MouseDown();  // re-lists the ports, as a click on the bar does
  TeMenuBar1->setFocus(Qt::ShortcutFocusReason);
  TeMenuBar1->setActiveAction(CustomItem1->menuAction());
}

void TForm1::FitToScreen(int screenHeight) {
  const int decoration = frameGeometry().height() - geometry().height();
  const int outerHeight = height() + decoration;
  if (screenHeight - kScreenMargin >= outerHeight) return;
  setFixedHeight(screenHeight - kScreenMargin - decoration);
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  scroll_->verticalScrollBar()->setTracking(true);
  setFixedWidth(kClientWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  scroll_->setGeometry(0, 0, width(), height());
}

bool TForm1::Scrolls() const { return scroll_->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn; }

void TForm1::FormCreate() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) FitToScreen(screen->geometry().height());
  TeTabSheet3->ShowDeviceAddress(link_->DeviceAddress);
  TeTabSheet3->TeSpinEdit1->setValue(link_->DeviceAddress);
  TeTabSheet3->TeSpinEdit2->setValue(link_->DeviceAddress);
  UpdateStatusBar();
  if (link_->BaudIndex < kBaudRateCount) {
    BR_[link_->BaudIndex]->setChecked(true);
    StatusBar1->SetPanelText(1, app_text::kBaudRatePrefix + BaudRateText(link_->BaudIndex));
    link_->SetPcBaudIndex(link_->BaudIndex);
  }
  TePageControl1->setCurrentWidget(TeTabSheet1);
  TeTabSheet2->SetFileGridHeadings();
  EnumeratePorts();
}

void TForm1::FormActivate() {
  if (activated_) return;
  activated_ = true;
  Config.GroupNames = DefaultGroupNames();
  TeTabSheet4->SetUpGrids();
  TeTabSheet12->SetUpGrids();
  TeMenuBar1->setFocus(Qt::OtherFocusReason);
}

void TForm1::UpdateStatusBar() { link_->UpdateStatusBar(); }

void TForm1::BaudRateClick(int baudIndex) {
  if (!IsBaudIndex(baudIndex)) return;
  BR_[static_cast<std::size_t>(baudIndex)]->setChecked(true);
  StatusBar1->SetPanelText(1, app_text::kBaudRatePrefix + BaudRateText(baudIndex));
  link_->SetPcBaudIndex(static_cast<uint8_t>(baudIndex));
  link_->BaudIndex = static_cast<uint8_t>(baudIndex);
}

void TForm1::TeMemo1MouseDown() { TeMenuBar1->setFocus(Qt::MouseFocusReason); }

void TForm1::TeSpinEdit1KeyPress(int value) {
  TeTabSheet3->TeSpinEdit1->setValue(std::clamp(value, 1, int{kHighestSlaveAddress}));
  parameters_->TeSpinEdit1Change();
}

bool TForm1::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

void TForm1::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!centred_) {
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(width() / 2, height() / 2));
    }
  }
  // Activation may never come (no window manager, offscreen): the first showing stands in for it.
  FormActivate();
}

void TForm1::closeEvent(QCloseEvent* e) {
  link_->ClosePort();
  QWidget::closeEvent(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (watched == TeMenuBar1 && e->type() == QEvent::MouseButtonPress) TeMenuBar1MouseDown();
  // The bar reached by Tab has no current entry, so Qt would ignore the arrows and Return.
  if (watched == TeMenuBar1 && e->type() == QEvent::KeyPress && TeMenuBar1->activeAction() == nullptr) {
    switch (static_cast<QKeyEvent*>(e)->key()) {
      case Qt::Key_Down:
      case Qt::Key_Up:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space:
        OpenMenuFromKeyboard();
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace zelor
