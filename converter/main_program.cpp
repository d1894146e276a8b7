#include "converter/main_program.h"

#include "common/console.h"
#include "common/console_exit.h"

namespace quenzel {

void quenzelMain() {
  console::emptyLine();
  console::line("Build 2024-05-AA");
  console::emptyLine();
  EXITS();
}

}  // namespace quenzel
