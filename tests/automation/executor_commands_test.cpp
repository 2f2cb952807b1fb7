#include <gtest/gtest.h>

#include <vector>

#include "automation/executor_commands.h"
#include "model/rule_side.h"
#include "automation/rule_vocabulary.h"

namespace zelor {
namespace {

std::vector<uint8_t> Bytes(const ExecutorCommand& c) { return {c.begin(), c.end()}; }

TEST(ExecutorCommands, FramesWithTheirCrc) {
  // CRCs computed by an independent implementation.
  struct Case {
    uint8_t address;
    RegisterWrite write;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {9, {3, 7}, {0x09, 0x06, 0x00, 0x03, 0x00, 0x07, 0x39, 0x40}},
      {5, {19, 0x7D4B}, {0x05, 0x06, 0x00, 0x13, 0x7D, 0x4B, 0x18, 0xEC}},
      {5, {17, 0xAA01}, {0x05, 0x06, 0x00, 0x11, 0xAA, 0x01, 0x67, 0x2B}},
      {1, {6, 0xAA55}, {0x01, 0x06, 0x00, 0x06, 0xAA, 0x55, 0xD7, 0x54}},
      {3, {3, 0}, {0x03, 0x06, 0x00, 0x03, 0x00, 0x00, 0x78, 0x28}},
  };
  for (const Case& c : cases) {
    const ExecutorCommand frame = BuildExecutorCommand(c.address, c.write);
    EXPECT_EQ(Bytes(frame), c.bytes);
    EXPECT_EQ(ReadExecutorCommand(frame), c.write);
  }
}

TEST(ExecutorCommands, Table) {
  struct Case {
    uint8_t type;
    uint8_t action;
    std::vector<RegisterWrite> writes;
  };
  const Case cases[] = {
      {5, 2, {{6, 0xAA55}}},
      {5, 4, {{5, 0x5500}}},
      {5, 6, {{4, 0}}},
      {7, 3, {{19, 0x7D4B}, {17, 0xAA01}}},
      {7, 4, {{19, 0x7D4B}, {17, 0x5500}}},
      {7, 5, {{13, 1}}},
      {13, 17, {{4, 0}}},
      {13, 18, {{4, 1}}},
      {14, 13, {{3, 7}}},
      {14, 8, {}},  // not an action of the light-only board
      {15, 8, {{3, 2}}},
      {15, 16, {{3, 10}}},
      {17, 3, {{6, 0xAA03}}},
      {17, 2, {{7, 0xAA02}}},
      {5, 0, {}},
      {5, 1, {}},
      {1, 3, {}},  // no commands for other types
      {16, 3, {}},
      {5, 0xFF, {}},
  };
  for (const Case& c : cases) {
    const CommandList list = ExecutorCommandTable(c.type, c.action);
    EXPECT_EQ(std::vector<RegisterWrite>(list.Writes.begin(), list.Writes.begin() + list.Count), c.writes)
        << "type " << int(c.type) << " action " << int(c.action);
  }
}

TEST(ExecutorCommands, EveryOfferedActionReadsBack) {
  // For each executor type, every action its zone kind offers is written and decoded again.
  const std::pair<uint8_t, uint8_t> typeKinds[] = {{5, 3}, {7, 3}, {17, 3}, {13, 4}, {14, 5}, {15, 6}};
  for (const auto& [type, kind] : typeKinds) {
    for (uint8_t action : ActionsOffered(kind)) {
      const CommandList list = ExecutorCommandTable(type, action);
      ASSERT_GE(list.Count, 1) << int(type) << "/" << int(action);
      EXPECT_EQ(DecodeExecutorAction(type, std::span<const RegisterWrite>(list.Writes.data(), list.Count)), action)
          << int(type) << "/" << int(action);
    }
  }
}

TEST(ExecutorCommands, InverseTableEdges) {
  struct Case {
    const char* what;
    uint8_t type;
    std::vector<RegisterWrite> stored;
    uint8_t action;
  };
  const Case cases[] = {
      {"17: 0xAA04 on register 6 is a start", 17, {{6, 0xAA04}}, 3},
      {"17: 0xAA01 on register 6 is a start", 17, {{6, 0xAA01}}, 3},
      {"17: 0xAA05 on register 6 is nothing", 17, {{6, 0xAA05}}, kUnsetCode},
      {"7, two slots: only the second counts", 7, {{1, 1}, {17, 0x5500}}, 4},
      {"7, one slot holding a stop", 7, {{17, 0x5500}}, kUnsetCode},
      {"7, two slots, unknown second", 7, {{19, 0x7D4B}, {17, 0x1234}}, kUnsetCode},
      {"14: value 2 is not a light mode", 14, {{3, 2}}, kUnsetCode},
      {"15: value 1 is nothing", 15, {{3, 1}}, kUnsetCode},
      {"15: value 11 is nothing", 15, {{3, 11}}, kUnsetCode},
      {"type without table", 16, {{3, 0}}, kUnsetCode},
      {"no command at all", 5, {}, kUnsetCode},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeExecutorAction(c.type, c.stored), c.action) << c.what;
  }
}

}  // namespace
}  // namespace zelor
