// Log lines of the configuration image: every literal the user may read about an image lives here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zelor {

// BuildImage refused: two zones share a conventional number.
std::string DuplicateNumbersText();
// A zone that holds a conventional number: its device's list position and address, its index.
struct NumberHolder {
  unsigned node;
  unsigned address;
  unsigned zoneIndex;
};
// The line after DuplicateNumbersText for one number that two or more zones hold.
std::string DuplicateNumberText(unsigned number, const std::vector<NumberHolder>& holders);
// A rule a write or a save removed because it was incomplete: its number in the list before the
// removal, its two zones (kUnsetZone: not set) and what it lacked, in words.
std::string IncompleteRuleText(unsigned rule, uint16_t activatorZone, uint16_t executorZone,
                               const std::vector<std::string>& missing);
// A zone's kind switch took a rule's event or action (`codeText`, trimmed) from it: the zone's
// index and its new kind text (trimmed).
std::string RuleLostEventText(unsigned rule, unsigned zoneIndex, const std::string& kindText,
                              const std::string& codeText);
std::string RuleLostActionText(unsigned rule, unsigned zoneIndex, const std::string& kindText,
                               const std::string& codeText);
// A zone's kind switch left the rule without an executor: the zone can no longer execute.
std::string RuleLostExecutorText(unsigned rule, unsigned zoneIndex, const std::string& kindText);
// The question before a device is deleted with the rules that go with it (UTF-8 name, trimmed).
std::string DeleteNodeQuestionText(unsigned node, unsigned address, const std::string& name, unsigned rules);
// BuildImage refused: the complete rules need more command slots than the image has.
std::string TooManySlotsText(unsigned slotsNeeded);

// The end of a read from the panel whose image CRC does not match.
std::string ReadCrcMismatchText();
// A file that could not be opened, read or written: the system's own words for it.
std::string FileErrorText(const std::string& error);
// A file to load that is not a configuration image by its size; nothing was taken from it.
std::string WrongFileSizeText(unsigned long long size);
// A file to load of the right size whose image CRC does not match: damaged, nothing was taken.
std::string FileCrcMismatchText();

// What ParseImage found wrong in an image (each a log line; the image is read as far as it is sound).
std::string NodeCountTooLargeText(unsigned stored);
std::string UnknownTypeText(unsigned node, unsigned address, unsigned type);
std::string RuleCountTooLargeText(unsigned stored);
std::string RuleZoneMissingText(unsigned rule, unsigned zoneIndex);
std::string RuleSlotsOutsideText(unsigned rule, unsigned firstSlot, unsigned slotCount);
std::string RuleAddressMissingText(unsigned rule, unsigned address);
std::string NumberTooLargeText(unsigned zoneIndex, unsigned number);

}  // namespace zelor
