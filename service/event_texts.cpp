// The event texts: the two state tables differ only in codes 13, 14 and 255.
#include "service/event_texts.h"

#include <array>

#include "link/format.h"

namespace zelor {

namespace {

constexpr const char* kUnknownState = "??               ";
constexpr const char* kBlankState = "                 ";

// Codes 0..89 in the order of the panel's table; nullptr marks a code the panel does not use.
constexpr std::array<const char*, 90> kStateTexts = {
    "ПОЖАР            ", "ОХР. ТРЕВОГА     ", "ВНИМАНИЕ         ", "НЕИСПРАВНОСТЬ    ",
    "НОРМА            ", "СБРОС ПОЖАРА     ", "ПЕРЕЗАПРОС       ", "СНЯТ             ",
    "ВЗЯТ             ", "НЕВЗЯТИЕ         ", "ЗАДЕРЖКА ВЗЯТИЯ  ", "ЗАДЕРЖКА ТРЕВОГИ ",
    "ОТКЛ.            ", "?                ", "?                ", "ВКЛ.             ",
    "НЕИСПР. ИП1      ", "НЕИСПР. АКБ      ", "ИП1 НОРМА        ", "АКБ НОРМА        ",
    "КОРПУС: ВЗЛОМ    ", "КОРПУС: НОРМА    ", "ЗАДЕРЖКА ПУСКА   ", "ПУСК             ",
    "КОНЕЦ ПУСКА      ", "НЕИСПР. ППУ      ", "НЕИСПР. ИП       ", "ИП НОРМА         ",
    "АВТОМАТИКА ВКЛ.  ", "АВТОМАТИКА ОТКЛ. ", nullptr,             nullptr,
    "ВХ.ВНЕШ.: НЕИСПР.", "ВХ.ВНЕШ.: НОРМА  ", "ОСТАНОВ ПУСКА    ", "КОНЕЦ ПУСКА-НЕУД.",
    "СБРОС            ", "НЕИСПР. ИП2      ", "ИП2 НОРМА        ", nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 40..49
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 50..59
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 60..69
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 70..79
    nullptr, nullptr, nullptr, nullptr,
    "ВКЛЮЧЕНИЕ        ", "КОРР. ВРЕМЕНИ    ", "НЕИСПР. ИП       ", "СБРОС АРХИВА     ",
    "ВСКРЫТИЕ         ", "ИП НОРМА         ",
};

constexpr uint8_t kBlankCode = 254;
constexpr uint8_t kDamagedCode = 255;

std::string CommonStateText(uint8_t code) {
  if (code < kStateTexts.size() && kStateTexts[code] != nullptr) return kStateTexts[code];
  if (code == kBlankCode || code == kDamagedCode) return kBlankState;
  return kUnknownState;
}

// Hour and day: a blank and one digit below 10, otherwise the number in full.
std::string BlankPadded(uint8_t value) {
  return value < 10 ? " " + std::to_string(value) : std::to_string(value);
}

}  // namespace

EventFields DecodeEvent(const uint8_t* r) {
  EventFields e;
  e.source = static_cast<uint16_t>(r[0] | r[1] << 8);
  e.before = r[2];
  e.after = r[3];
  e.distance = static_cast<uint16_t>(r[4] << 8 | r[5]);
  e.hour = r[6];
  e.minute = r[7];
  e.second = r[8];
  e.day = r[9];
  e.month = r[10];
  e.year = r[11];
  return e;
}

SourceClass ClassifySource(uint16_t source) {
  if (source < kZoneSourceLimit) return SourceClass::Zone;
  if (source == kPanelSource) return SourceClass::Panel;
  if (source >= kFirstDeviceSource && source <= kLastDeviceSource) return SourceClass::Device;
  return SourceClass::Other;
}

std::string SourceCellText(uint16_t source) {
  switch (ClassifySource(source)) {
    case SourceClass::Zone: return " :" + FormatZeroPadded(source, 4);
    case SourceClass::Panel: return " :ПУЛЬТ";
    case SourceClass::Device: return " :П" + FormatZeroPadded(static_cast<uint16_t>(source - kPanelSource), 3);
    case SourceClass::Other: break;
  }
  return " :?   ";
}

std::string SourceFieldText(uint16_t source) {
  switch (ClassifySource(source)) {
    case SourceClass::Zone: return ":" + FormatZeroPadded(source, 4) + "    ";
    case SourceClass::Panel: return ":ПУЛЬТ   ";
    case SourceClass::Device:
      return ":П" + FormatZeroPadded(static_cast<uint16_t>(source - kPanelSource), 3) + "    ";
    case SourceClass::Other: break;
  }
  return ":?       ";
}

std::string StateTextBefore(uint8_t code) { return CommonStateText(code); }

std::string StateTextAfter(uint8_t code) {
  switch (code) {
    case 13: return "-?               ";
    case 14: return "--?              ";
    case kDamagedCode: return "ЗАПИСЬ ПОВРЕЖДЕНА";
    default: return CommonStateText(code);
  }
}

bool ShowsFireDistance(uint8_t code, uint16_t distance) {
  return code == kFireState && distance <= kMaxFireDistance;
}

std::string StateAfterText(uint8_t code, uint16_t distance) {
  if (ShowsFireDistance(code, distance)) return "ПОЖАР  L= " + FormatZeroPadded(distance, 4) + "м";
  return StateTextAfter(code);
}

std::string EventTimeText(const EventFields& e) {
  return BlankPadded(e.hour) + ":" + FormatZeroPadded(e.minute, 2) + ":" + FormatZeroPadded(e.second, 2);
}

std::string EventDateText(const EventFields& e) {
  return BlankPadded(e.day) + "." + FormatZeroPadded(e.month, 2) + ".20" + FormatZeroPadded(e.year, 2);
}

}  // namespace zelor
