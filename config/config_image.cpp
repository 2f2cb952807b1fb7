#include "config/config_image.h"

#include <algorithm>
#include <map>
#include <utility>

#include "config/rule_storage.h"
#include "automation/rules.h"
#include "config/config_texts.h"
#include "config/lcd_codec.h"
#include "model/names.h"
#include "config/nodes.h"
#include "link/crc16.h"

namespace zelor {
namespace {

using namespace image;
static_assert(kGroupFill == NoGroup, "the group section's unused entries read as no group");

void WriteCrc(ConfigImage& img) { AppendCrc16(img.data(), static_cast<uint16_t>(CheckedLength)); }

uint16_t StoredNumber(const ZoneRecord& zone) {
  return zone.ConvNumber >= kExplicitNumberBase ? static_cast<uint16_t>(zone.ConvNumber - kExplicitNumberBase)
                                                : zone.ConvNumber;
}

struct NumberPair {
  uint16_t Number;
  uint16_t Owner;
};

// Selection sort writing each position as it is settled; false at the first repeated number.
bool WriteSortedNumbers(const ConfigModel& m, ConfigImage& img) {
  std::vector<NumberPair> pairs;
  for (uint8_t n = 0; n < m.NodeCount; ++n) {
    const NodeRecord& node = m.Nodes[n];
    for (uint8_t z = 0; z < node.ZoneCount && z < kMaxZonesPerNode; ++z) {
      const ZoneRecord& zone = node.Zones[z];
      pairs.push_back({StoredNumber(zone), zone.Index});
    }
  }
  for (std::size_t j = 0; j < pairs.size(); ++j) {
    std::size_t smallest = j;
    uint32_t smallestNumber = 0x10000;  // above every 16-bit number, so none is mistaken for a repeat
    for (std::size_t k = j; k < pairs.size(); ++k) {
      if (pairs[k].Number == smallestNumber) return false;
      if (pairs[k].Number < smallestNumber) {
        smallestNumber = pairs[k].Number;
        smallest = k;
      }
    }
    std::swap(pairs[j], pairs[smallest]);
    WriteBigEndian(img, kSortedNumbers + 2 * j, pairs[j].Number);
    WriteBigEndian(img, kNumberOwners + 2 * j, pairs[j].Owner);
  }
  return true;
}

void WriteNodesAndZones(const ConfigModel& m, ConfigImage& img) {
  img[kNodeCount] = m.NodeCount;
  uint16_t l = 0;
  for (uint8_t k = 0; k < m.NodeCount; ++k) {
    const NodeRecord& node = m.Nodes[k];
    img[kNodeTable + 2 * k] = node.Address;
    img[kNodeTable + 2 * k + 1] = node.Type;
    EncodeName(node.Name, &img[kNodeNames + kNameWidth * k], kNameWidth);
    for (uint8_t z = 0; z < node.ZoneCount && z < kMaxZonesPerNode; ++z, ++l) {
      const ZoneRecord& zone = node.Zones[z];
      img[kZoneTable + 3 * l] = zone.Kind;
      img[kZoneTable + 3 * l + 1] = static_cast<uint8_t>(z + 1);
      img[kZoneTable + 3 * l + 2] = node.Address;
      EncodeName(zone.Name, &img[kZoneNames + kNameWidth * l], kNameWidth);
      img[kZoneGroups + l] = zone.Group;
    }
  }
  WriteBigEndian(img, kZoneTotal, l);
}

// For each global zone index, the first sorted-number entry it owns (-1: none).
std::array<int, kMaxZones> FirstOwnedEntries(const ConfigImage& img) {
  std::array<int, kMaxZones> entry;
  entry.fill(-1);
  for (int j = static_cast<int>(kMaxZones) - 1; j >= 0; --j) {
    const uint16_t owner = ReadBigEndian(img, kNumberOwners + 2 * static_cast<std::size_t>(j));
    if (owner < kMaxZones) entry[owner] = j;
  }
  return entry;
}

void ParseNodes(ConfigModel& m, const ConfigImage& img, std::vector<std::string>& problems) {
  uint8_t count = img[kNodeCount];
  if (count > kMaxNodes) {
    problems.push_back(NodeCountTooLargeText(count));
    count = kMaxNodes;
  }
  m.NodeCount = count;
  const std::array<int, kMaxZones> owned = FirstOwnedEntries(img);
  uint16_t i = 0;  // at most 32 x 16 = 512 zones, so every table below stays in bounds
  for (uint8_t k = 0; k < count; ++k) {
    NodeRecord& node = m.Nodes[k];
    node.Address = img[kNodeTable + 2 * k];
    node.Type = img[kNodeTable + 2 * k + 1];
    node.ZoneCount = ZoneCountOfType(node.Type);
    if (FindDeviceType(node.Type) == nullptr) problems.push_back(UnknownTypeText(k, node.Address, node.Type));
    node.Name = DecodeName(&img[kNodeNames + kNameWidth * k], kNameWidth);
    for (uint8_t z = 0; z < node.ZoneCount; ++z, ++i) {
      ZoneRecord& zone = node.Zones[z];
      zone.Kind = img[kZoneTable + 3 * i];
      zone.Group = img[kZoneGroups + i];
      zone.Name = DecodeName(&img[kZoneNames + kNameWidth * i], kNameWidth);
      zone.Index = i;
      // Every stored number counts as explicit; a zone the numbers do not mention is automatic.
      zone.ConvNumber = 0;
      if (owned[i] >= 0) {
        const uint16_t number = ReadBigEndian(img, kSortedNumbers + 2 * static_cast<std::size_t>(owned[i]));
        if (number <= UINT16_MAX - kExplicitNumberBase) {
          zone.ConvNumber = static_cast<uint16_t>(number + kExplicitNumberBase);
        } else {
          problems.push_back(NumberTooLargeText(i, number));
        }
      }
    }
  }
}

}  // namespace

uint16_t ImageCrc(const ConfigImage& img) { return Crc16(img.data(), static_cast<uint16_t>(CheckedLength)); }

bool ImageCrcMatches(const ConfigImage& img) { return Crc16Matches(img.data(), kImageCrc + 2); }

uint8_t BuildImage(const ConfigModel& m, ConfigImage& img) {
  img.fill(kFill);
  std::fill(img.begin() + kZoneGroups, img.begin() + kGroupNames, kGroupFill);
  if (m.NodeCount == 0) {
    img[kNodeCount] = 0;
    img[kRuleCount] = 0;
    WriteCrc(img);
    return kBuildOk;
  }
  if (!WriteSortedNumbers(m, img)) return kBuildDuplicateNumbers;
  WriteNodesAndZones(m, img);
  if (!EncodeRules(m, img)) return kBuildTooManySlots;
  for (uint8_t g = 0; g < kGroupCount; ++g) {
    EncodeName(m.GroupNames[g], &img[kGroupNames + kGroupNameWidth * g], kGroupNameWidth);
  }
  WriteCrc(img);
  return kBuildOk;
}

bool BuildReachedRules(const ConfigModel& m, uint8_t result) {
  return m.NodeCount > 0 && result != kBuildDuplicateNumbers;
}

std::vector<std::string> DuplicateNumberLines(const ConfigModel& m) {
  std::map<uint16_t, std::vector<NumberHolder>> holders;
  for (uint8_t n = 0; n < m.NodeCount && n < kMaxNodes; ++n) {
    const NodeRecord& node = m.Nodes[n];
    for (uint8_t z = 0; z < node.ZoneCount && z < kMaxZonesPerNode; ++z) {
      holders[StoredNumber(node.Zones[z])].push_back({n, node.Address, node.Zones[z].Index});
    }
  }
  std::vector<std::string> lines;
  for (const auto& [number, zones] : holders) {
    if (zones.size() > 1) lines.push_back(DuplicateNumberText(number, zones));
  }
  return lines;
}

std::vector<std::string> IncompleteRuleLines(const ConfigModel& m) {
  std::vector<std::string> lines;
  for (uint8_t r = 0; r < m.RuleCount && r < kMaxRules; ++r) {
    if (RuleComplete(m, r)) continue;
    const RuleSide& a = m.Activators[r];
    const RuleSide& e = m.Executors[r];
    std::vector<std::string> missing;
    if (a.ZoneIndex == kUnsetZone) missing.emplace_back("зона-активатор");
    if (a.Code == kUnsetCode) missing.emplace_back("событие");
    if (e.ZoneIndex == kUnsetZone) missing.emplace_back("зона-исполнитель");
    if (e.Code == kUnsetCode) missing.emplace_back("действие");
    lines.push_back(IncompleteRuleText(r, a.ZoneIndex, e.ZoneIndex, missing));
  }
  return lines;
}

std::vector<std::string> ParseImage(ConfigModel& m, const ConfigImage& img) {
  std::vector<std::string> problems;
  ParseNodes(m, img, problems);
  for (uint8_t g = 0; g < kGroupCount; ++g) {
    m.GroupNames[g] = DecodeName(&img[kGroupNames + kGroupNameWidth * g], kGroupNameWidth);
  }
  if (m.Views != nullptr) m.Views->HideGroupChooser();
  m.SelectedNode = 0;
  RenumberZones(m);
  if (m.Views != nullptr) m.Views->RefreshNodesGrid();
  DecodeRules(m, img, problems);
  RefreshAutoGrid(m, 0);
  return problems;
}

}  // namespace zelor
