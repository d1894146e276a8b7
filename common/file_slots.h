#pragma once
// The eight named file slots beside the unit pool: each slot has a fixed unit
// below the pool and remembers a file name, so a file can be named once and
// opened later (or a name derived from slot 1's). The small console prompts
// that came with them live here too.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/one_based.h"

namespace quenzel {

// Opens the slot's file on the slot's unit through OPENASK; with no name and
// `prompt` below 1 the run ends, otherwise the user is asked for one.
void OPENER(int slot, int& unit, std::string_view mode, std::string_view description, int prompt);
// Names the slot, then OPENER.
void OPENNAMED(int slot, int& unit, std::string_view name, std::string_view mode, std::string_view description,
               int prompt);
// A slot without a name is named from slot 1's name behind a two-character
// prefix (which replaces slot 1's own "x_" prefix); then OPENER.
void OPENPREFIX(int slot, int& unit, std::string_view mode, std::string_view description, int prompt,
                std::string_view prefix);
// Slot 1 as input, slot 2 as output, on the module's unit pair.
void OPENINOUT();
void CLEARNAME(int slot);
bool NAMED(int slot);
// The slot's name cut to 80 characters.
void GETNAM(int slot, std::string& name);

// The text up to its significant end, with no line end.
void PROMPT(std::string& text);
// One line of standard input into text; returns its LENSL.
int GETLINE(std::string& text, int& n);
// The question as passed, "? ", then true for an answer starting with y or Y.
bool ASKYES(std::string_view question);
// The character after the first word (first blank or NUL) becomes NUL; returns
// the word's length, or the text's length when it has neither.
int CTERM(std::string& text);
// Asks for letters and sets the flag of each one given.
void SETFLAGS();

struct FileSlotState {
  int inputUnit = 0;   // OPENINOUT's units
  int outputUnit = 0;
  OneBased<bool> debugLetterFlags{26, false};  // "A".."Z"
};
FileSlotState& fileSlotState();

}  // namespace quenzel
