#pragma once
// The core under the file-unit service: file objects with one buffer each,
// shared by every unit open on the same file, and the units as handles on
// them (each with its own position and byte order). The service's tables and
// dialogues (units.cpp) sit on top; reading and writing go through units.h.
#include <string_view>
#include <vector>

#include "common/byte_order.h"

namespace quenzel::fileio {

struct UnitOpen {
  bool read = false;
  bool write = false;
  bool truncate = false;  // empty the file when no unit has it open yet
  bool append = false;    // the unit starts at the end of the file
  ByteOrder order = ByteOrder::Little;
};

// Opens `name` on `unit` (a unit still open is closed first). A file that
// another unit has open is not opened again: the new unit shares its file
// object. False when the system refuses the open.
bool openUnit(int unit, std::string_view name, const UnitOpen& how);

// Flushes and releases the unit; the file is closed with its last unit.
// False when the flush or the close failed; a unit that is not open: true.
bool closeUnit(int unit);

// Units open on the file `name` names, compared by identity, lowest first.
std::vector<int> unitsOnFile(std::string_view name);

// Every open unit, lowest first.
std::vector<int> openUnits();

}  // namespace quenzel::fileio
