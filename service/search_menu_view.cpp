#include "service/search_menu_view.h"

#include <QAction>
#include <QWidget>

#include "service/address_search.h"

namespace zelor {

SearchMenuView::SearchMenuView(SearchMenuControls controls, QObject* parent)
    : QObject(parent), controls_(std::move(controls)) {}

void SearchMenuView::Connect(AddressSearch& logic) {
  connect(controls_.start, &QAction::triggered, this, [&logic] { logic.CustomItem5Click(); });
  for (std::size_t i = 0; i < controls_.delays.size(); ++i) {
    connect(controls_.delays[i], &QAction::triggered, this, [&logic, i] { logic.DelayClick(static_cast<int>(i)); });
  }
}

void SearchMenuView::SetStartCaption(const std::string& caption) {
  controls_.start->setText(QString::fromStdString(caption));
}

void SearchMenuView::CheckDelay(int entry) {
  for (std::size_t i = 0; i < controls_.delays.size(); ++i) {
    controls_.delays[i]->setChecked(static_cast<int>(i) == entry);
  }
}

void SearchMenuView::CloseAddBox() {
  if (controls_.closeAddBox) controls_.closeAddBox();
}

void SearchMenuView::ShowAddress(uint8_t address) {
  if (controls_.showAddress) controls_.showAddress(address);
}

void SearchMenuView::FocusMenuBar() {
  if (controls_.menuBar != nullptr) controls_.menuBar->setFocus(Qt::OtherFocusReason);
}

}  // namespace zelor
