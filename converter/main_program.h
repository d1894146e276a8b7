#pragma once
// The program's main routine: start-up, command line, projection search,
// output naming, one conversion, end of run.

namespace quenzel {

void quenzelMain();

}  // namespace quenzel
