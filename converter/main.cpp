#include "common/platform.h"
#include "converter/main_program.h"

int main(int argc, char** argv) {
  quenzel::platform::setCommandLine(argc, argv);
  quenzel::quenzelMain();
  return 0;
}
