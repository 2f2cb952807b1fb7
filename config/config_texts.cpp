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
