#include "automation/rule_vocabulary.h"

#include <algorithm>
#include <array>

#include "model/device_types.h"

namespace zelor {
namespace {

constexpr std::array<const char*, 39> kEventTexts = {
    "  ПОЖАР            ", "  ОХР. ТРЕВОГА     ", "  ВНИМАНИЕ         ", "  НЕИСПРАВНОСТЬ    ",
    "  НОРМА            ", "  СБРОС ПОЖАРА     ", "  ПЕРЕЗАПРОС       ", "  СНЯТ             ",
    "  ВЗЯТ             ", "  НЕВЗЯТИЕ         ", "  ЗАДЕРЖКА ВЗЯТИЯ  ", "  ЗАДЕРЖКА ТРЕВОГИ ",
    "  ОТКЛ.            ", "  -?               ", "  --?              ", "  ВКЛ.             ",
    "  НЕИСПР. ИП1      ", "  НЕИСПР. АКБ      ", "  ИП1 НОРМА        ", "  АКБ НОРМА        ",
    "  КОРПУС: ВЗЛОМ    ", "  КОРПУС: НОРМА    ", "  ЗАДЕРЖКА ПУСКА   ", "  ПУСК             ",
    "  КОНЕЦ ПУСКА      ", "  НЕИСПР. ППУ      ", "  НЕИСПР. ИП       ", "  ИП НОРМА         ",
    "  АВТОМАТИКА ВКЛ.  ", "  АВТОМАТИКА ОТКЛ. ", "  -?               ", "  -?               ",
    "  ВХ.ВНЕШ.: НЕИСПР.", "  ВХ.ВНЕШ.: НОРМА  ", "  ОСТАНОВ ПУСКА    ", "  КОНЕЦ ПУСКА-НЕУД.",
    "  СБРОС            ", "  НЕИСПР. ИП2      ", "  ИП2 НОРМА        ",
};

constexpr std::array<const char*, 19> kActionTexts = {
    "  ВЗЯТЬ",           "  СНЯТЬ",           "  СБРОС ПОЖ. ТРЕВОГИ", "  ПУСК ТУШЕНИЯ",
    "  ОСТАНОВ ТУШЕНИЯ", "  АВТ. ВКЛЮЧИТЬ",   "  АВТ. ОТКЛЮЧИТЬ",     "  ОТКЛЮЧИТЬ",
    "  ВКЛ. СВЕТ/ЗВУК",  "  ВКЛ. СВЕТ-2Гц/ЗВУК", "  ВКЛ. СВЕТ-1Гц/ЗВУК", "  ВКЛ. СВЕТ-0,5Гц/ЗВУК",
    "  ВКЛ. СВЕТ",       "  ВКЛ. СВЕТ-2Гц",   "  ВКЛ. СВЕТ-1Гц",      "  ВКЛ. СВЕТ-0,5Гц",
    "  ВКЛЮЧИТЬ ЗВУК",   "  РЕЛЕ РАЗОМКНУТЬ", "  РЕЛЕ ЗАМКНУТЬ",
};

constexpr std::array<uint8_t, 6> kSecurityEvents = {1, 8, 7, 9, 10, 11};
constexpr std::array<uint8_t, 4> kFireEvents = {0, 4, 2, 3};
constexpr std::array<uint8_t, 8> kControlEvents = {0, 4, 3, 22, 23, 24, 28, 29};
constexpr std::array<uint8_t, 5> kTagEvents = {1, 0, 4, 2, 3};

constexpr std::array<uint8_t, 5> kControlActions = {3, 4, 2, 5, 6};
constexpr std::array<uint8_t, 2> kTagActions = {17, 18};
constexpr std::array<uint8_t, 5> kLightActions = {7, 12, 13, 14, 15};
constexpr std::array<uint8_t, 10> kLightSoundActions = {7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

}  // namespace

std::string RuleEventText(uint8_t code) {
  return code < kEventTexts.size() ? kEventTexts[code] : "  -?               ";
}

std::string RuleActionText(uint8_t code) { return code < kActionTexts.size() ? kActionTexts[code] : "  -?"; }

std::span<const uint8_t> EventsOffered(uint8_t kind) {
  switch (kind) {
    case kKindSecurity: return kSecurityEvents;
    case kKindFire: return kFireEvents;
    case kKindControl: return kControlEvents;
    case kKindTag: return kTagEvents;
    default: return {};
  }
}

bool EventCheckedOnAssign(uint8_t kind) {
  return kind == kKindSecurity || kind == kKindFire || kind == kKindControl;
}

std::span<const uint8_t> ActionsOffered(uint8_t kind) {
  switch (kind) {
    case kKindControl: return kControlActions;
    case kKindTag: return kTagActions;
    case kKindLight: return kLightActions;
    case kKindLightSound: return kLightSoundActions;
    default: return {};
  }
}

bool CanExecute(uint8_t kind) {
  return kind == kKindControl || kind == kKindTag || kind == kKindLight || kind == kKindLightSound;
}

bool Offers(std::span<const uint8_t> codes, uint8_t code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace zelor
