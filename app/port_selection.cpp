// TForm1's port menu: EnumeratePorts rebuilds PORT1 through the core's port choice
// (link/port_choice.h); PortItemClick is the click on one of its entries.
#include "app/app_texts.h"
#include "app/main_window.h"

namespace zelor {

namespace {
// A port name as a menu caption: "&" would otherwise mark an accelerator.
QString CaptionFor(const std::string& name) { return QString::fromStdString(name).replace('&', "&&"); }
std::string NameOf(const QAction* entry) { return entry->data().toString().toStdString(); }
}  // namespace

void TForm1::EnumeratePorts() {
  // PORT1 as the port choice sees it.
  class Menu : public PortMenu {
   public:
    explicit Menu(TForm1& form) : form_(form) {}
    void SetEntries(const std::vector<std::string>& names) override {
      form_.ClearPortItems();
      for (const auto& name : names) form_.AddPortItem(name);
    }
    std::optional<std::string> Choose(std::size_t index) override {
      if (index >= form_.PortItems.size()) return std::nullopt;
      for (std::size_t i = 0; i < form_.PortItems.size(); ++i) form_.PortItems[i]->setChecked(i == index);
      form_.portChosen_ = true;
      return form_.SetPortName(NameOf(form_.PortItems[index]));
    }
    void ShowAbsent(const std::string& name) override {
      form_.AddPortItem(name, true);
      form_.PortItems.back()->setChecked(true);
    }

   private:
    TForm1& form_;
  } menu(*this);
  RefreshPorts(sources_, port_->PortName(), menu, *TeMemo1, portChosen_ ? AbsentPort::Keep : AbsentPort::FallBack);
}

void TForm1::ClearPortItems() {
  for (QAction* entry : PortItems) {
    PORT1->removeAction(entry);
    delete entry;
  }
  PortItems.clear();
}

void TForm1::AddPortItem(const std::string& name, bool absent) {
  auto* entry = new QAction(CaptionFor(name) + (absent ? app_text::kAbsentPortSuffix : ""), PORT1);
  entry->setData(QString::fromStdString(name));
  entry->setCheckable(true);
  connect(entry, &QAction::triggered, this, [this, entry] { PortItemClick(entry); });
  PORT1->addAction(entry);
  PortItems.push_back(entry);
}

void TForm1::PortItemClick(QAction* entry) {
  for (QAction* a : PortItems) a->setChecked(false);
  entry->setChecked(true);
  portChosen_ = true;
  SetPortName(NameOf(entry));  // a failed reopen is ignored
}

// After a failed reopen of an open port the name stays, the port stays closed, and panel 0
// keeps its text.
std::optional<std::string> TForm1::SetPortName(const std::string& name) {
  try {
    port_->SetPort(name);
  } catch (const SerialPortError& e) {
    return std::string(e.what());
  }
  StatusBar1->SetPanelText(0, name);
  return std::nullopt;
}

}  // namespace zelor
