// Log lines of the configuration image: every literal the user may read about an image lives here.
#pragma once
#include <cstdint>
#include <string>

namespace zelor {

// BuildImage refused: two zones share a conventional number.
std::string DuplicateNumbersText();
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
