#include "common/console_exit.h"

#include "common/console.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

void PUTSTR(std::string_view text, int n) {
  if (n < 1) return;
  console::write(text.substr(0, static_cast<std::size_t>(n)));
}

int LENSL(char* text, std::size_t length) {
  std::size_t n = length;
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0')) --n;
  // A text with nothing significant stays as it is.
  if (n > 0 && n < length) text[n] = '\0';
  return static_cast<int>(n);
}

int LENSL(std::string& text) { return LENSL(text.data(), text.size()); }

void PAUSES() {
  const UnitTables& t = unitTables();
  if (!t.windowMode) {
    console::emptyLine();
    console::pause("Press Enter to Continue");
    return;
  }
  std::string text = std::string(trimRight(t.boxTitle)) + " Simulation " +
                     std::string(trimRight(t.boxSubtitle)) + " paused\r\rRefer to Simulation Window\r\r" +
                     "Press OK to Continue";
  while (platform::messageBox(text, trimRight(t.boxTitle), platform::BoxButtons::Ok) != 1) {
  }
}

void EXITS() {
  runBeforeExitHooks();
  const UnitTables& t = unitTables();
  if (!t.keepUnitsOnExit) closeAllUnitsQuietly();
  if (t.pauseOnExit) {
    if (!t.windowMode) {
      console::emptyLine();
      console::pause("Press Enter to Close");
    } else {
      std::string text = "Premature Exit of " + std::string(trimRight(t.boxTitle)) + " Simulation " +
                         std::string(trimRight(t.boxSubtitle)) + "\r\rPress OK to Close Simulation Window";
      while (platform::messageBox(text, trimRight(t.boxTitle), platform::BoxButtons::Ok) != 1) {
      }
    }
  }
  stopRun(0);
}

}  // namespace quenzel
