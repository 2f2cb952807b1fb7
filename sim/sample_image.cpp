#include "sim/sample_image.h"

#include <algorithm>
#include <string>

#include "link/crc16.h"
#include "sim/config_memory.h"

namespace zelor::sim {

namespace {

// Display codes of А..Я and а..я; look-alikes go to the Latin letters.
constexpr uint8_t kUpper[32] = {0x41, 0xA0, 0x42, 0xA1, 0xE0, 0x45, 0xA3, 0xA4, 0xA5, 0xA6, 0x4B,
                                0xA7, 0x4D, 0x48, 0x4F, 0xA8, 0x50, 0x43, 0x54, 0xA9, 0xAA, 0x58,
                                0xE1, 0xAB, 0xAC, 0xE2, 0xAD, 0xAE, 0x62, 0xAF, 0xB0, 0xB1};
constexpr uint8_t kLower[32] = {0x61, 0xB2, 0xB3, 0xB4, 0xE3, 0x65, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA,
                                0xBB, 0xBC, 0xBD, 0x6F, 0xBE, 0x70, 0x63, 0xBF, 0x79, 0xE4, 0x78,
                                0xE5, 0xC0, 0xC1, 0xE6, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7};
constexpr uint8_t kUnknown = 0x3F;

uint8_t DisplayCode(uint32_t cp) {
  if (cp == 0x22) return 0xCB;
  if (cp == 0x27 || cp == 0x5B || cp == 0x5C || cp == 0x5D || cp == 0x60) return kUnknown;
  if (cp >= 0x20 && cp <= 0x7A) return static_cast<uint8_t>(cp);
  if (cp >= 0x410 && cp <= 0x42F) return kUpper[cp - 0x410];
  if (cp >= 0x430 && cp <= 0x44F) return kLower[cp - 0x430];
  if (cp == 0x401) return 0xA2;  // Ё
  if (cp == 0x451) return 0xB5;  // ё
  return kUnknown;
}

struct Zone {
  const char* name;
  uint8_t kind;
  uint8_t group = image::kNoGroup;
  int explicitNumber = -1;  // -1: automatic (the zone's index)
};

struct Node {
  uint8_t address;
  uint8_t type;
  const char* name;
  std::vector<Zone> zones;
};

struct Command {
  uint16_t reg;
  uint16_t value;
};

struct Rule {
  uint16_t activatorZone;
  uint8_t event;
  uint8_t executorAddress;
  std::vector<Command> commands;
};

std::vector<Node> SampleNodes() {
  std::vector<Node> nodes;
  Node a{1, 1, "Корпус А эт.1", {}};
  const char* names16[] = {"Коридор 1",    "Кабинет 101",  "Кабинет 102",  "Кабинет 103",
                           "Лестница А",   "Холл",         "Серверная",    "Бухгалтерия",
                           "Столовая",     "Кухня",        "Склад ГСМ",    "Щитовая",
                           "Тамбур",       "Подвал",       "Чердак",       "Ёмкость №1"};
  for (int i = 0; i < 16; ++i) a.zones.push_back({names16[i], 2});
  a.zones[0] = {names16[0], 1, 0, 101};
  a.zones[1] = {names16[1], 1, 0, 102};
  a.zones[2] = {names16[2], 1, 1};
  a.zones[3] = {names16[3], 1, 1};
  nodes.push_back(a);

  Node b{2, 2, "Склад Б", {}};
  for (int i = 1; i <= 8; ++i) b.zones.push_back({nullptr, 2});
  b.zones[0] = {"Ворота склада", 1, 2, 201};
  b.zones[1] = {"Окна склада", 1, 2};
  nodes.push_back(b);
  nodes.push_back({3, 12, "Пост охраны", {}});
  nodes.push_back({4, 5, "ППУ насосная", {{"Тушение склад", 3}}});
  nodes.push_back({5, 7, "ППУ-ПК серв.", {{"Тушение серв.", 3}}});
  nodes.push_back({9, 13, "АДРЕС. МЕТКА", {{"МЕТКА-009:", 4}}});
  nodes.push_back({10, 14, "Табло Выход", {{"ТАБЛО СВЕТ.", 5}}});
  nodes.push_back({11, 15, "Сирена холл", {{"ТАБЛО СВ.ЗВУК.", 6}}});
  nodes.push_back({12, 17, "ППУ(-ПК) V.2", {{"ТУШЕНИЕ:", 3}}});
  nodes.push_back({6, 4, "ЧЭМ-1И", {{"ЧЭМ-1И : ШС-01", 2}}});
  return nodes;
}

// Executor commands as the tool's command table gives them for these (type, action) pairs.
std::vector<Rule> SampleRules() {
  return {
      {4, 0, 4, {{5, 0xAA01}}},                     // fire -> ППУ: ПУСК ТУШЕНИЯ
      {4, 0, 5, {{19, 0x7D4B}, {17, 0xAA01}}},      // fire -> ППУ-ПК: ПУСК ТУШЕНИЯ (two slots)
      {5, 4, 5, {{19, 0x7D4B}, {17, 0x5500}}},      // НОРМА -> ППУ-ПК: ОСТАНОВ ТУШЕНИЯ (two slots)
      {0, 1, 11, {{3, 2}}},                         // ОХР. ТРЕВОГА -> ДРОЛА-З: ВКЛ. СВЕТ/ЗВУК
      {2, 8, 10, {{3, 6}}},                         // ВЗЯТ -> ДРОЛА: ВКЛ. СВЕТ
      {6, 3, 9, {{4, 1}}},                          // НЕИСПРАВНОСТЬ -> МЕТКА: РЕЛЕ ЗАМКНУТЬ
      {24, 23, 12, {{6, 0xAA03}}},                  // ПУСК -> ППУ V.2: ПУСК ТУШЕНИЯ
      {16, 1, 4, {{4, 1}}},                         // ОХР. ТРЕВОГА -> ППУ: АВТ. ВКЛЮЧИТЬ
  };
}

const char* kGroupNames[10] = {"Охрана 1 этаж", "Кабинеты",      "Склад Б",       nullptr, nullptr,
                               nullptr,         nullptr,         nullptr,         nullptr, nullptr};

void Put(std::vector<uint8_t>& img, std::size_t at, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), img.begin() + static_cast<std::ptrdiff_t>(at));
}

void PutWord(std::vector<uint8_t>& img, std::size_t at, uint16_t v) {
  img[at] = static_cast<uint8_t>(v >> 8);
  img[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

}  // namespace

std::vector<uint8_t> EncodeDisplayName(std::string_view utf8, std::size_t width) {
  std::vector<uint8_t> out;
  std::size_t i = 0;
  while (i < utf8.size() && out.size() < width) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    uint32_t cp = b;
    std::size_t len = 1;
    if (b >= 0xF0) { cp = b & 0x07; len = 4; }
    else if (b >= 0xE0) { cp = b & 0x0F; len = 3; }
    else if (b >= 0xC0) { cp = b & 0x1F; len = 2; }
    for (std::size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = cp << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    i += len;
    out.push_back(DisplayCode(cp));
  }
  out.resize(width, 0x20);
  return out;
}

std::vector<uint8_t> SampleImage() {
  std::vector<uint8_t> img(kImageSize, 0xFF);
  std::fill(img.begin() + image::kZoneGroups, img.begin() + image::kGroupNames, image::kNoGroup);

  const auto nodes = SampleNodes();
  struct Numbered {
    uint16_t number;
    uint16_t owner;
  };
  std::vector<Numbered> numbers;
  uint16_t zone = 0;
  img[image::kNodeCount] = static_cast<uint8_t>(nodes.size());
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    const Node& n = nodes[k];
    img[image::kNodeTable + 2 * k] = n.address;
    img[image::kNodeTable + 2 * k + 1] = n.type;
    Put(img, image::kNodeNames + 15 * k, EncodeDisplayName(n.name, 15));
    for (std::size_t z = 0; z < n.zones.size(); ++z, ++zone) {
      const Zone& zn = n.zones[z];
      std::string name = zn.name != nullptr ? zn.name : "ЗЕЛОР-16: ШС-0" + std::to_string(z + 1);
      Put(img, image::kZoneNames + 15 * zone, EncodeDisplayName(name, 15));
      img[image::kZoneTable + 3 * zone] = zn.kind;
      img[image::kZoneTable + 3 * zone + 1] = static_cast<uint8_t>(z + 1);
      img[image::kZoneTable + 3 * zone + 2] = n.address;
      img[image::kZoneGroups + zone] = zn.group;
      numbers.push_back({static_cast<uint16_t>(zn.explicitNumber >= 0 ? zn.explicitNumber : zone), zone});
    }
  }
  PutWord(img, image::kZoneCount, zone);
  std::sort(numbers.begin(), numbers.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  for (std::size_t j = 0; j < numbers.size(); ++j) {
    PutWord(img, image::kConvNumbers + 2 * j, numbers[j].number);
    PutWord(img, image::kConvOwners + 2 * j, numbers[j].owner);
  }

  for (std::size_t g = 0; g < 10; ++g) {
    const std::string name =
        kGroupNames[g] != nullptr ? kGroupNames[g] : "<НАЗВАНИЕ> : " + std::to_string(g) + "  ";
    Put(img, image::kGroupNames + 16 * g, EncodeDisplayName(name, 16));
  }

  const auto rules = SampleRules();
  img[image::kRuleCount] = static_cast<uint8_t>(rules.size());
  std::size_t slot = 0;
  for (std::size_t r = 0; r < rules.size(); ++r) {
    const Rule& rule = rules[r];
    PutWord(img, image::kRuleZones + 2 * r, rule.activatorZone);
    img[image::kRuleEvents + r] = rule.event;
    img[image::kRuleFirstSlot + r] = static_cast<uint8_t>(slot);
    img[image::kRuleSlotCount + r] = static_cast<uint8_t>(rule.commands.size());
    for (const Command& c : rule.commands) {
      std::vector<uint8_t> frame{rule.executorAddress, 0x06, static_cast<uint8_t>(c.reg >> 8),
                                 static_cast<uint8_t>(c.reg & 0xFF), static_cast<uint8_t>(c.value >> 8),
                                 static_cast<uint8_t>(c.value & 0xFF), 0, 0};
      AppendCrc16(frame.data(), 6);
      Put(img, image::kCommandSlots + 8 * slot, frame);
      ++slot;
    }
  }
  SealImage(img);
  return img;
}

}  // namespace zelor::sim
