#pragma once
// Reading one text line of a command or data file: tabs dropped, comments cut
// off, and the end of the file treated as fatal.
#include <cstddef>
#include <string>

#include "common/constants.h"

namespace quenzel {

// Reads the next record of `unit` into `line` (at most `width` characters,
// as a buffer of that width holds them), removes every tab and cuts any
// comment off. True when the line carries data; false for a blank or comment
// line. The end of the file and a read error are reported and end the run.
bool READLINE(int unit, std::string& line, std::size_t width = kLongWorkWidth);

}  // namespace quenzel
