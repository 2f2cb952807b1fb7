// Binds the "Search" menu's entries to the address search: clicks go in, captions and checks come out.
#pragma once
#include <QObject>
#include <array>
#include <functional>

#include "service/search_view.h"

class QAction;
class QWidget;

namespace zelor {

class AddressSearch;

// What the window hands over: its menu entries, the menu bar, and the two steps it owns.
struct SearchMenuControls {
  QAction* start = nullptr;                // CustomItem5
  std::array<QAction*, 6> delays{};        // CustomItem7 .. CustomItem12
  QWidget* menuBar = nullptr;              // TeMenuBar1
  std::function<void()> closeAddBox;       // Add_Box hidden, Add_Butt_00 shown
  std::function<void(uint8_t)> showAddress;  // TeSpinEdit1 := address, applied
};

class SearchMenuView : public QObject, public SearchView {
  Q_OBJECT
 public:
  SearchMenuView(SearchMenuControls controls, QObject* parent);

  void Connect(AddressSearch& logic);

  void SetStartCaption(const std::string& caption) override;
  void CheckDelay(int entry) override;
  void CloseAddBox() override;
  void ShowAddress(uint8_t address) override;
  void FocusMenuBar() override;

 private:
  SearchMenuControls controls_;
};

}  // namespace zelor
