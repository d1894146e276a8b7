#include "common/file_slots.h"

#include <algorithm>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/run_control.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

FileSlotState& fileSlotState() {
  static FileSlotState s;
  return s;
}

namespace {

inline constexpr std::size_t kShortNameWidth = 80;

bool validSlot(int slot) { return slot >= 1 && slot <= kNamedSlots; }

// A number outside 1..8 would reach past the table.
void requireSlot(int slot) {
  if (!validSlot(slot)) stopAtOnce("Incorrect file number - OPENER");
}

FileSlot& slotOf(int slot, std::string_view routine) {
  if (!validSlot(slot)) stopAtOnce("Invalid file number - " + std::string(routine));
  return unitTables().fileSlots(slot);
}

// One answer line; end of input is an empty answer.
std::string answerLine() {
  std::string answer;
  console::readLine(answer);
  return answer;
}

}  // namespace

void OPENER(int slot, int& unit, std::string_view mode, std::string_view description, int prompt) {
  requireSlot(slot);
  UnitTables& t = unitTables();
  FileSlot& s = t.fileSlots(slot);
  if (s.open) stopAtOnce("File already opened - OPENER");
  if (prompt < 1 && s.nameLen < 1) EXITS();
  unit = s.unit;
  s.mode = fitted(mode, 2);
  OPENASK(unit, s.name, mode, description, t.logUnit);
  // The name as opened (typed by the user, or cleaned): slot 1's length feeds
  // the derived names, which must not end in blanks or lose characters.
  s.nameLen = static_cast<int>(significantLength(s.name));
  s.open = unit != 0;
}

void OPENNAMED(int slot, int& unit, std::string_view name, std::string_view mode, std::string_view description,
               int prompt) {
  requireSlot(slot);
  FileSlot& s = unitTables().fileSlots(slot);
  s.name = cutTo(TRIMF(name), kNameWidth);
  s.nameLen = static_cast<int>(s.name.size());
  OPENER(slot, unit, mode, description, prompt);
}

void OPENPREFIX(int slot, int& unit, std::string_view mode, std::string_view description, int prompt,
                std::string_view prefix) {
  requireSlot(slot);
  UnitTables& t = unitTables();
  FileSlot& s = t.fileSlots(slot);
  if (s.nameLen == 0) {
    const FileSlot& first = t.fileSlots(1);
    const bool ownPrefix = slice(first.name, 2, 2) == "_";
    const std::size_t from = ownPrefix ? 3 : 1;
    const std::string name = fitted(prefix, 2) + slice(first.name, from, from + kShortNameWidth - 3);
    s.nameLen = std::min(first.nameLen + (ownPrefix ? 0 : 2), static_cast<int>(kShortNameWidth));
    s.name = std::string(trimRight(name));
  }
  OPENER(slot, unit, mode, description, prompt);
}

void OPENINOUT() {
  FileSlotState& st = fileSlotState();
  OPENER(1, st.inputUnit, "I ", "input", 8);
  OPENER(2, st.outputUnit, "F ", "output", 9);
}

void CLEARNAME(int slot) {
  if (!validSlot(slot)) return;
  FileSlot& s = unitTables().fileSlots(slot);
  s.nameLen = 0;
  s.name.clear();
}

bool NAMED(int slot) { return slotOf(slot, "NAMED").nameLen >= 1; }

void GETNAM(int slot, std::string& name) { name = cutTo(slotOf(slot, "GETNAM").name, kShortNameWidth); }

void PROMPT(std::string& text) {
  const int n = LENSL(text);
  PUTSTR(text, n);
}

int GETLINE(std::string& text, int& n) {
  text = answerLine();
  n = LENSL(text);
  return n;
}

bool ASKYES(std::string_view question) {
  console::write(question);
  console::write("? ");
  const std::string answer = answerLine();
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

int CTERM(std::string& text) {
  const std::size_t k = text.find_first_of(std::string_view(" \0", 2));
  if (k == std::string::npos) return static_cast<int>(text.size());
  text[k] = '\0';
  return static_cast<int>(k);
}

void SETFLAGS() {
  console::write("Set flags: ");
  const std::string answer = answerLine();
  OneBased<bool>& flags = fileSlotState().debugLetterFlags;
  for (char c : std::string_view(answer).substr(0, std::min<std::size_t>(answer.size(), 26))) {
    const char u = upperAscii(c);
    if (u >= 'A' && u <= 'Z') flags(u - 'A' + 1) = true;
  }
}

}  // namespace quenzel
