// Event and action codes of the automation rules: their texts and which zone kinds offer them.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace zelor {

// 19 characters (UTF-8): two blanks, the word, blanks; "  -?" and blanks for unknown codes.
std::string RuleEventText(uint8_t code);
// Two blanks and the action (UTF-8); "  -?" for unknown codes.
std::string RuleActionText(uint8_t code);

// Events an activator zone of `kind` offers, in listing order; empty for kinds 5, 6 and unset.
std::span<const uint8_t> EventsOffered(uint8_t kind);
// Whether a zone change re-checks the event against the list (kinds 1, 2, 3).
bool EventCheckedOnAssign(uint8_t kind);
// Actions an executor zone of `kind` offers (kinds 3..6), in listing order.
std::span<const uint8_t> ActionsOffered(uint8_t kind);
// Only zones of kinds 3..6 can be executors.
bool CanExecute(uint8_t kind);

bool Offers(std::span<const uint8_t> codes, uint8_t code);

}  // namespace zelor
