// TForm1: the one window of the tool. It owns the clock, the port, the link and the sequencer,
// composes the five tabs, the log memos and the status bar, and handles the menus.
#pragma once
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/log_memo_view.h"
#include "qtcore/qt_port_sources.h"
#include "app/progress_bar_view.h"
#include "app/status_bar_view.h"
#include "link/clock.h"
#include "link/engine.h"
#include "link/sequencer.h"
#include "link/serial_port.h"
#include "model/config_model.h"

namespace zelor {

class StatusTab;
class ArchiveTab;
class ParametersTab;
class ConfigTab;
class AutomationTab;
class AddBoxView;
class ConfigEditorView;
class PanelParameters;
class ParametersView;
class ConfigTransfer;
class ConfigTransferView;
class LiveMonitor;
class ArchiveReading;
class ArchiveDownload;
class ArchiveTabView;
class AddressSearch;
class SearchMenuView;
class FirmwareUpgrade;
class UpgradeMenuView;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 873;
  static constexpr int kClientHeight = 633;

  TForm1(std::unique_ptr<Clock> clock, std::unique_ptr<SerialPort> port, PortSources sources,
         QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up: creation runs from the constructor; the first activation once, when first shown.
  void FormActivate();
  bool Activated() const { return activated_; }
  // Creation step 1: a screen too short for the window gets a shorter window that scrolls.
  void FitToScreen(int screenHeight);
  bool Scrolls() const;

  void UpdateStatusBar();
  void EnumeratePorts();
  void PortItemClick(QAction* entry);
  void BaudRateClick(int baudIndex);  // BR_1200Click .. BR_57600Click
  void TeMemo1MouseDown();
  void TeMenuBar1MouseDown() { EnumeratePorts(); }
  // F10, or an arrow or Return on the focused menu bar: opens "Connection".
  void OpenMenuFromKeyboard();
  void TeSpinEdit1KeyPress(int value);

  Clock& clock() { return *clock_; }
  SerialPort& port() { return *port_; }
  Link& link() { return *link_; }
  Sequencer& sequencer() { return *sequencer_; }
  PanelParameters& parameters() { return *parameters_; }
  ParametersView& parametersView() { return *parametersView_; }
  ConfigEditorView& configEditor() { return *configEditor_; }
  ConfigTransfer& transfer() { return *transfer_; }
  ConfigTransferView& transferView() { return *transferView_; }
  LiveMonitor& monitor() { return *monitor_; }
  ArchiveReading& archiveReading() { return *archiveReading_; }
  ArchiveDownload& archiveDownload() { return *archiveDownload_; }
  ArchiveTabView& archiveView() { return *archiveView_; }
  AddressSearch& search() { return *search_; }
  FirmwareUpgrade& upgrade() { return *upgrade_; }
  UpgradeMenuView& upgradeView() { return *upgradeView_; }

  // The configuration being edited (devices, zones, groups, rules), alive for the whole run;
  // the first activation gives the group names their defaults.
  ConfigModel Config;

  QMenuBar* TeMenuBar1;
  QMenu* CustomItem1;  // Connection
  QMenu* PORT1;
  QMenu* CustomItem3;  // BaudRate
  std::array<QAction*, 8> BR_{};
  QMenu* CustomItem4;  // Search
  QAction* CustomItem5;
  QMenu* CustomItem6;  // Delay
  std::array<QAction*, 6> DelayItems{};  // CustomItem7 .. CustomItem12
  QMenu* CustomItem2;  // Tools
  QAction* CustomItem13;
  std::vector<QAction*> PortItems;

  QGroupBox* TeGroupBox1;
  QTabWidget* TePageControl1;
  StatusTab* TeTabSheet1;
  ArchiveTab* TeTabSheet2;
  ParametersTab* TeTabSheet3;
  ConfigTab* TeTabSheet12;
  AutomationTab* TeTabSheet4;
  LogMemoView* TeMemo1;
  LogMemoView* TeMemo2;
  AddBoxView* Add_Box;
  QPushButton* Sound_Butt;
  QPushButton* Light_Butt;
  StatusBarView* StatusBar1;
  ProgressBarView* TeProgressBar1;
  std::unique_ptr<Timer> TimerX1;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildFrame();
  void FormCreate();
  void ConnectSearch();
  void ConnectUpgrade();
  void ClearPortItems();
  // An absent port's entry says so; its name is still the data the entry carries.
  void AddPortItem(const std::string& name, bool absent = false);
  // The port's error text when a reopen under the new name fails.
  std::optional<std::string> SetPortName(const std::string& name);

  std::unique_ptr<Clock> clock_;
  std::unique_ptr<SerialPort> port_;
  PortSources sources_;
  QScrollArea* scroll_;
  QWidget* client_;
  std::unique_ptr<Link> link_;
  std::unique_ptr<Sequencer> sequencer_;
  ParametersView* parametersView_ = nullptr;  // owned by TeTabSheet3
  ConfigEditorView* configEditor_ = nullptr;  // a child of the window
  std::unique_ptr<PanelParameters> parameters_;
  ConfigTransferView* transferView_ = nullptr;  // owned by TeTabSheet12
  std::unique_ptr<ConfigTransfer> transfer_;
  std::unique_ptr<LiveMonitor> monitor_;
  ArchiveTabView* archiveView_ = nullptr;  // owned by TeTabSheet2
  std::unique_ptr<ArchiveReading> archiveReading_;
  std::unique_ptr<ArchiveDownload> archiveDownload_;
  SearchMenuView* searchView_ = nullptr;  // owned by the window
  std::unique_ptr<AddressSearch> search_;
  UpgradeMenuView* upgradeView_ = nullptr;  // owned by the window
  std::unique_ptr<FirmwareUpgrade> upgrade_;
  bool activated_ = false;
  bool centred_ = false;
  // A port has been chosen (by the first listing or by the user): from then on it stays chosen
  // while the system does not list it.
  bool portChosen_ = false;
};

}  // namespace zelor
