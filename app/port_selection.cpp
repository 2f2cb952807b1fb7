// TForm1's port menu: EnumeratePorts rebuilds PORT1 from the port sources and selects a port;
// My is the click on one of its entries.
#include "app/app_texts.h"
#include "app/main_window.h"

namespace zelor {

namespace {
// A port name as a menu caption: "&" would otherwise mark an accelerator.
QString CaptionFor(const std::string& name) { return QString::fromStdString(name).replace('&', "&&"); }
std::string NameOf(const QAction* entry) { return entry->data().toString().toStdString(); }
}  // namespace

void TForm1::EnumeratePorts() {
  const std::optional<std::vector<std::string>> system =
      sources_.systemPorts ? sources_.systemPorts() : std::optional<std::vector<std::string>>{};
  if (system) {
    ClearPortItems();
    if (system->empty()) {
      ReadPortFileIntoMenu(false);
      return;
    }
    for (const auto& name : *system) AddPortItem(name);
    SelectPort();
    return;
  }
  TeMemo1->Clear();
  TeMemo1->AddLine(app_text::kPortListAccessError);
  TeMemo1->AddLine(app_text::kPortListFromFile);
  ClearPortItems();
  ReadPortFileIntoMenu(true);
}

void TForm1::ReadPortFileIntoMenu(bool afterAccessError) {
  PortFileResult file = sources_.readPortFile ? sources_.readPortFile() : PortFileResult{false, {}, "no file"};
  if (!file.ok) {
    if (!afterAccessError) TeMemo1->Clear();
    TeMemo1->SetColor(MemoColor::Blue);
    TeMemo1->AddLine(app_text::kPortFileErrorPrefix + file.error + ".");
    return;
  }
  if (file.lines.size() > static_cast<std::size_t>(app_text::kPortFileMaxLines)) {
    file.lines.resize(app_text::kPortFileMaxLines);
  }
  for (const auto& line : file.lines) AddPortItem(line);
  if (!file.lines.empty()) SelectPort();
  if (afterAccessError) TeMemo1->AddLine(app_text::kPortFileOk);
}

void TForm1::ClearPortItems() {
  for (QAction* entry : PortItems) {
    PORT1->removeAction(entry);
    delete entry;
  }
  PortItems.clear();
}

void TForm1::AddPortItem(const std::string& name) {
  auto* entry = new QAction(CaptionFor(name), PORT1);
  entry->setData(QString::fromStdString(name));
  entry->setCheckable(true);
  connect(entry, &QAction::triggered, this, [this, entry] { My(entry); });
  PORT1->addAction(entry);
  PortItems.push_back(entry);
}

// The current port if listed, else "COM1" if listed, else the first entry.
void TForm1::SelectPort() {
  if (PortItems.empty()) return;
  const std::string current = port_->PortName();
  int currentIndex = -1;
  int com1Index = -1;
  for (std::size_t i = 0; i < PortItems.size(); ++i) {
    const std::string name = NameOf(PortItems[i]);
    if (name == current) currentIndex = static_cast<int>(i);
    if (name == app_text::kDefaultPortName) com1Index = static_cast<int>(i);
  }
  const int selected = currentIndex >= 0 ? currentIndex : (com1Index >= 0 ? com1Index : 0);
  for (std::size_t i = 0; i < PortItems.size(); ++i) PortItems[i]->setChecked(static_cast<int>(i) == selected);
  SetPortName(NameOf(PortItems[static_cast<std::size_t>(selected)]));
}

void TForm1::My(QAction* entry) {
  for (QAction* a : PortItems) a->setChecked(false);
  entry->setChecked(true);
  SetPortName(NameOf(entry));
}

// A failed reopen of an open port is ignored: the name stays, the port stays closed, and
// panel 0 keeps its text.
void TForm1::SetPortName(const std::string& name) {
  try {
    port_->SetPort(name);
  } catch (const SerialPortError&) {
    return;
  }
  StatusBar1->SetPanelText(0, name);
}

}  // namespace zelor
