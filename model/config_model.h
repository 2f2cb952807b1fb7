// The configuration model: nodes with their zones, zone-group names and automation rules.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "model/config_views.h"
#include "model/cp1251_string.h"
#include "model/device_types.h"
#include "model/rule_side.h"
#include "model/zone_groups.h"

namespace zelor {

// What the operations on the model answer: done, or refused with nothing changed.
constexpr uint8_t kDone = 0;
constexpr uint8_t kRefused = 255;

constexpr uint8_t kMaxNodes = 32;
constexpr uint16_t kMaxZones = kMaxNodes * kMaxZonesPerNode;  // 512
constexpr uint16_t kExplicitNumberBase = 1000;  // ConvNumber >= 1000: number - 1000 set by hand
constexpr uint8_t kHighestAddress = 247;

struct ZoneRecord {
  uint16_t Index = 0;  // global zone index
  uint8_t Kind = 0;
  uint8_t Group = 0;
  Cp1251String Name;  // 15 characters
  uint16_t ConvNumber = 0;
};

struct NodeRecord {
  uint8_t Type = 0;
  Cp1251String Name;  // 15 characters
  uint8_t Address = 0;
  std::array<ZoneRecord, kMaxZonesPerNode> Zones{};
  uint8_t ZoneCount = 0;
};

struct ConfigModel {
  std::array<NodeRecord, kMaxNodes> Nodes{};
  uint8_t NodeCount = 0;
  int32_t SelectedNode = 0;
  int32_t SelectedZone = 0;

  GroupNameTable GroupNames = DefaultGroupNames();

  std::array<RuleSide, kMaxRules> Activators{};
  std::array<RuleSide, kMaxRules> Executors{};
  uint8_t RuleCount = 0;
  int32_t SelectedRule = 0;
  bool PickersOpen = false;  // AutoNodeGrid is shown: the rule list may not change

  ConfigViews* Views = nullptr;  // not owned; null runs the core without views
};

}  // namespace zelor
