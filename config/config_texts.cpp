#include "config/config_texts.h"

#include "config/image_layout.h"
#include "link/format.h"
#include "link/link_texts.h"

namespace zelor {
namespace {

constexpr const char* kError = "   : ОШИБКА -> ";

std::string Num(unsigned value, uint8_t width) { return FormatZeroPadded(static_cast<uint16_t>(value), width); }

}  // namespace

std::string DuplicateNumbersText() {
  return std::string(kError) + "в разделе \"УСЛ. № ЗОНЫ\" имеются дублирующиеся записи.";
}

std::string DuplicateNumberText(unsigned number, const std::vector<NumberHolder>& holders) {
  std::string line = "   : УСЛ. № " + Num(number, 4) + " у зон:";
  for (std::size_t i = 0; i < holders.size(); ++i) {
    const NumberHolder& h = holders[i];
    line += (i == 0 ? " " : ", ") + Num(h.zoneIndex, 4) + " (устройство " + Num(h.node, 2) + ", адрес " +
            Num(h.address, 3) + ")";
  }
  return line + ".";
}

std::string IncompleteRuleText(unsigned rule, uint16_t activatorZone, uint16_t executorZone,
                               const std::vector<std::string>& missing) {
  auto zone = [](uint16_t z) { return z == 0xFFFF ? std::string("-?") : Num(z, 4); };
  std::string line = "   : правило " + Num(rule, 2) + " (" + zone(activatorZone) + " --> " + zone(executorZone) +
                     ") удалено, не задано:";
  for (std::size_t i = 0; i < missing.size(); ++i) line += (i == 0 ? " " : ", ") + missing[i];
  return line + ".";
}

std::string RuleLostEventText(unsigned rule, unsigned zoneIndex, const std::string& kindText,
                              const std::string& codeText) {
  return "   : правило " + Num(rule, 2) + ": зона " + Num(zoneIndex, 4) + " теперь " + kindText + ", событие \"" +
         codeText + "\" снято; правило без события при записи удаляется.";
}

std::string RuleLostActionText(unsigned rule, unsigned zoneIndex, const std::string& kindText,
                               const std::string& codeText) {
  return "   : правило " + Num(rule, 2) + ": зона " + Num(zoneIndex, 4) + " теперь " + kindText + ", действие \"" +
         codeText + "\" снято; правило без действия при записи удаляется.";
}

std::string RuleLostExecutorText(unsigned rule, unsigned zoneIndex, const std::string& kindText) {
  return "   : правило " + Num(rule, 2) + ": зона " + Num(zoneIndex, 4) + " теперь " + kindText +
         " и не может быть исполнителем, исполнитель снят; правило без исполнителя при записи удаляется.";
}

std::string DeleteNodeQuestionText(unsigned node, unsigned address, const std::string& name, unsigned rules) {
  return "Удалить устройство " + Num(node, 2) + " \"" + name + "\" (адрес " + Num(address, 3) +
         ")?\nВместе с ним будут удалены правила автоматики: " + std::to_string(rules) + ".";
}

std::string TooManySlotsText(unsigned slotsNeeded) {
  return std::string(kError) + "в разделе \"АВТОМАТИКА\" нужно команд: " + std::to_string(slotsNeeded) +
         ", а ячеек только 32.";
}

std::string ReadCrcMismatchText() { return std::string(text::kConfigReading) + "  ошибка CRC."; }

std::string FileErrorText(const std::string& error) { return "   : ERROR - " + error + "."; }

std::string WrongFileSizeText(unsigned long long size) {
  return std::string(kError) + "размер файла " + std::to_string(size) + " байт, а файл конфигурации - " +
         std::to_string(ImageSize) + " байт; конфигурация не изменена.";
}

std::string FileCrcMismatchText() {
  return std::string(kError) + "контрольная сумма файла не совпадает, файл повреждён; конфигурация не изменена.";
}

std::string NodeCountTooLargeText(unsigned stored) {
  return std::string(kError) + "в конфигурации устройств: " + std::to_string(stored) + ", прочитаны первые 32.";
}

std::string UnknownTypeText(unsigned node, unsigned address, unsigned type) {
  return std::string(kError) + "устройство " + Num(node, 2) + " (адрес " + Num(address, 3) + "): неизвестный тип " +
         Num(type, 3) + ", зоны не прочитаны.";
}

std::string RuleCountTooLargeText(unsigned stored) {
  return std::string(kError) + "в конфигурации правил автоматики: " + std::to_string(stored) +
         ", прочитаны первые 32.";
}

std::string RuleZoneMissingText(unsigned rule, unsigned zoneIndex) {
  return std::string(kError) + "правило " + Num(rule, 2) + ": нет зоны " + Num(zoneIndex, 4) + ".";
}

std::string RuleSlotsOutsideText(unsigned rule, unsigned firstSlot, unsigned slotCount) {
  return std::string(kError) + "правило " + Num(rule, 2) + ": ячейки команд " + std::to_string(firstSlot) + " (" +
         std::to_string(slotCount) + ") вне 0..31.";
}

std::string RuleAddressMissingText(unsigned rule, unsigned address) {
  return std::string(kError) + "правило " + Num(rule, 2) + ": нет устройства с адресом " + Num(address, 3) + ".";
}

std::string NumberTooLargeText(unsigned zoneIndex, unsigned number) {
  return std::string(kError) + "зона " + Num(zoneIndex, 4) + ": условный номер " + std::to_string(number) +
         " слишком велик.";
}

}  // namespace zelor
