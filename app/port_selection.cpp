// TForm1's port menu: EnumeratePorts rebuilds PORT1 from the port sources and selects a port;
// PortItemClick is the click on one of its entries.
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
    SelectPort();  // a failed reopen is ignored here
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
    ReportPortFileError(afterAccessError, file.error);
    return;
  }
  if (file.lines.size() > static_cast<std::size_t>(app_text::kPortFileMaxLines)) {
    file.lines.resize(app_text::kPortFileMaxLines);
  }
  for (const auto& line : file.lines) AddPortItem(line);
  // Unlike the system list's, a selection from the file that cannot reopen the port is reported
  // in the file's words, and the closing OK line is not written.
  if (!file.lines.empty()) {
    if (const std::optional<std::string> why = SelectPort()) {
      ReportPortFileError(afterAccessError, *why);
      return;
    }
  }
  if (afterAccessError) TeMemo1->AddLine(app_text::kPortFileOk);
}

void TForm1::ReportPortFileError(bool afterAccessError, const std::string& why) {
  if (!afterAccessError) TeMemo1->Clear();
  TeMemo1->SetColor(MemoColor::Blue);
  TeMemo1->AddLine(app_text::kPortFileErrorPrefix + why + ".");
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
  connect(entry, &QAction::triggered, this, [this, entry] { PortItemClick(entry); });
  PORT1->addAction(entry);
  PortItems.push_back(entry);
}

// The current port if listed, else "COM1" if listed, else the first entry.
std::optional<std::string> TForm1::SelectPort() {
  if (PortItems.empty()) return std::nullopt;
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
  return SetPortName(NameOf(PortItems[static_cast<std::size_t>(selected)]));
}

void TForm1::PortItemClick(QAction* entry) {
  for (QAction* a : PortItems) a->setChecked(false);
  entry->setChecked(true);
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
