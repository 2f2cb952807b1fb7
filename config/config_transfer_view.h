// Binds the four transfer buttons of the "КОНФИГ.-3" tool bar to the transfer logic, and gives it
// the file dialogs, the file reads and the safe file writes.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "config/config_transfer.h"

class QWidget;

namespace zelor {

class ConfigTab;
class AddBoxView;

class ConfigTransferView : public QObject, public TransferView {
  Q_OBJECT
 public:
  ConfigTransferView(ConfigTab& tab, AddBoxView& addBox, const ConfigModel& model, QWidget* dialogParent);

  void Connect(ConfigTransfer& logic);

  // Tests answer the dialogs: the chosen path, or nothing for a cancel.
  std::function<std::optional<QString>()> openChoice;
  std::function<std::optional<QString>()> saveChoice;

  void ShowAddButton() override;
  void ModelReplaced() override;
  std::optional<std::string> ChooseFileToOpen() override;
  std::optional<std::string> ChooseFileToSave() override;
  FileBytes ReadFile(const std::string& path, std::size_t limit) override;
  std::string WriteFile(const std::string& path, std::span<const uint8_t> bytes) override;

 private:
  std::optional<std::string> Choose(bool save);

  ConfigTab& tab_;
  AddBoxView& addBox_;
  const ConfigModel& model_;
  QWidget* dialogParent_;
};

}  // namespace zelor
