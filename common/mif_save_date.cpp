#include "common/mif_save_date.h"

#include <string>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {
namespace {

void toConsoleAndLog(std::string_view text, int logUnit) {
  console::line(text);
  if (logUnit > 0) writeLine(logUnit, text);
}

void closeBoth(int& unitA, int& unitB) {
  if (unitA > 0) CLOSER(unitA);
  if (unitB > 0) CLOSER(unitB);
}

}  // namespace

bool mifCheckSaveDate(std::string_view fileA, std::string_view fileB, int& unitA, int& unitB, bool errorMode,
                      int logUnit) {
  const std::string nameA(trimRight(fileA));
  const std::string nameB(trimRight(fileB));
  const auto dateA = platform::modificationTime(nameA);
  console::write("Checking save date is later than that of " + nameB + "...");
  const auto dateB = platform::modificationTime(nameB);
  const std::string label = errorMode ? "ERROR 0004" : "WARNING 0004";

  // Without both dates there is nothing to compare: a layer whose own date is
  // unreadable must not pass as up to date.
  if (!dateA || !dateB) {
    console::line("NOT OK");
    console::emptyLine();
    toConsoleAndLog(label + " - Could not access save date of \"" + nameA + "\" to check with \"" + nameB + "\"",
                    logUnit);
    if (!errorMode) return true;
    console::emptyLine();
    console::line("NOTE - If using VARNOK.exe, use CHECK MI SAVE DATE == WARNING or OFF to suppress check");
    console::emptyLine();
    EXITS();
  }

  if (*dateA >= *dateB) {
    console::line("OK");
    console::emptyLine();
    return true;
  }
  console::line("NOT OK");
  console::emptyLine();
  const std::string failure =
      label + " - Save date of \"" + nameB + "\" file is later than that of \"" + nameA + "\"";

  if (!errorMode) {
    toConsoleAndLog(failure, logUnit);
    return true;
  }

  const UnitTables& t = unitTables();
  closeBoth(unitA, unitB);
  console::line(failure);
  if (!t.windowMode) {
    console::line("Re-export mif file and press Enter, or close window.");
    std::string answer;
    // With no one left to re-export the layer the loop could never end.
    if (!console::readLine(answer)) EXITS();
    return false;
  }
  console::line("Re-export mif file, or use CHECK MI SAVE DATE == WARNING or OFF to suppress check.");
  const std::string text = label + " - Save date of \r\"" + nameB + "\"\ris later than that of \r\"" + nameA + "\"";
  const std::string caption = std::string(trimRight(t.boxTitle)) + " " + std::string(trimRight(t.boxSubtitle));
  if (platform::messageBox(text, caption, platform::BoxButtons::RetryCancel) == 2) stopAtOnce();
  return false;
}

}  // namespace quenzel
