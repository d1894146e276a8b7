#pragma once
// The check that an exported MIF/MID layer is not older than the MapInfo
// table it was exported from.
#include <string_view>

namespace quenzel {

// The save date of fileA (a layer's .mid) must not be earlier than that of
// fileB (its .tab). True when the caller may go on: the check passed, or it
// failed in warning mode. False after an error-mode failure on which the user
// chose to try again: unitA and unitB (each when above 0) are closed, and the
// caller opens its files again and repeats the check. A date that cannot be
// read ends the run in error mode. logUnit > 0: failure lines of warning
// mode also go to that unit.
bool mifCheckSaveDate(std::string_view fileA, std::string_view fileB, int& unitA, int& unitB, bool errorMode,
                      int logUnit);

}  // namespace quenzel
