// libFuzzer entry for ParseImage; also linked into test_config, whose corpus test replays it.
// Input: first byte even -> the remaining bytes are the image (the rest 0xFF);
//        first byte odd  -> (offset high, offset low, value) patches over a rich valid image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "automation/rules.h"
#include "config/config_image.h"
#include "config/nodes.h"

namespace {

using namespace zelor;

ConfigImage RichImage() {
  ConfigModel m;
  for (uint8_t type : {1, 5, 7, 12, 13, 14, 15, 17, 3}) {
    m.SelectedNode = m.NodeCount == 0 ? 0 : m.NodeCount - 1;
    AddNode(m, type);
  }
  m.Nodes[0].Zones[4].ConvNumber = 1900;
  m.Nodes[0].Zones[0].Kind = kKindSecurity;
  m.Nodes[0].Zones[0].Group = 4;
  const uint8_t executors[][2] = {{1, 3}, {2, 4}, {4, 17}, {5, 12}, {6, 16}, {7, 3}, {2, 2}};
  for (const auto& [node, action] : executors) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    AssignZone(m, Side::Activator, 0, 0);
    m.Activators[m.SelectedRule].Code = 1;
    AssignZone(m, Side::Executor, node, 0);
    m.Executors[m.SelectedRule].Code = action;
  }
  ConfigImage image{};
  BuildImage(m, image);
  return image;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ConfigImage image;
  if ((data[0] & 1) == 0) {
    image.fill(0xFF);
    for (std::size_t i = 1; i < size && i - 1 < ImageSize; ++i) image[i - 1] = data[i];
  } else {
    static const ConfigImage rich = RichImage();  // immutable after first use
    image = rich;
    for (std::size_t i = 1; i + 2 < size; i += 3) {
      image[((std::size_t{data[i]} << 8) | data[i + 1]) % CheckedLength] = data[i + 2];
    }
  }
  ConfigModel model;
  ParseImage(model, image);

  // The parsed model keeps its invariants whatever the bytes said.
  Check(model.NodeCount <= kMaxNodes && model.RuleCount <= kMaxRules);
  Check(model.SelectedRule == 0 && model.SelectedNode == 0);
  uint16_t zones = 0;
  for (int n = 0; n < model.NodeCount; ++n) {
    Check(model.Nodes[n].ZoneCount <= kMaxZonesPerNode);
    for (int z = 0; z < model.Nodes[n].ZoneCount; ++z) Check(model.Nodes[n].Zones[z].Index == zones++);
  }
  for (int r = 0; r < model.RuleCount; ++r) {
    for (const RuleSide* s : {&model.Activators[r], &model.Executors[r]}) {
      Check(s->ZoneIndex == kUnsetZone || s->ZoneIndex < zones);
      Check(s->Text.size() <= 24);
    }
  }
  // Writing the parsed model back never runs past the checked region.
  ConfigImage again{};
  const uint8_t result = BuildImage(model, again);
  Check(result == kBuildOk || result == kBuildDuplicateNumbers || result == kBuildTooManySlots);
  return 0;
}
