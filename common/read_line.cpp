#include "common/read_line.h"

#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

bool READLINE(int unit, std::string& line, std::size_t width) {
  const IoStatus status = readLine(unit, line);
  if (status != IoStatus::Ok) {
    setMessageLine(1, (status == IoStatus::End
                           ? "ERROR 0202 - End-of-file encountered reading text line from file unit number"
                           : "ERROR 0201 - Reading text line from file unit number") +
                          formatI(unit, 5));
    DMESSAGE(1);
    EXITS();
  }
  if (line.size() > width) line.resize(width);
  line = REMOVETABS(line);
  return !COMMENTLINE(line);
}

}  // namespace quenzel
