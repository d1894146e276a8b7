#include "common/units.h"

#include <algorithm>

namespace quenzel {

UnitTables& unitTables() {
  static UnitTables t;
  return t;
}

void INITUNITS(int base) {
  UnitTables& t = unitTables();
  const int m = std::max(base, 9);
  for (int i = 1; i <= kNamedSlots; ++i) {
    t.fileSlots(i).unit = m - 8 + i;
    t.fileSlots(i).open = false;
    t.fileSlots(i).mode = "  ";
    t.fileSlots(i).nameLen = 0;
  }
  for (int j = 1; j <= kPoolSize; ++j) {
    t.poolUnit(j) = m + j;
    t.inUse(j) = false;
    t.fileType(j) = 0;
  }
  t.boxTitle.clear();
  t.boxSubtitle.clear();
  t.windowMode = false;
  t.pauseOnExit = true;
  t.keepUnitsOnExit = false;
  t.logUnit = 0;
  t.inputDrive = ' ';
  t.outputDrive = ' ';
  t.autoMkdir = false;
}

void closeAllUnitsQuietly() {}

}  // namespace quenzel
