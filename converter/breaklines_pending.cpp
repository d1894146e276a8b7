// Conversions whose code has not landed yet: each says so in one line, so a
// run still ends normally.
#include "common/console.h"
#include "converter/conversions.h"

namespace quenzel {
namespace {
void notBuilt(std::string_view what) {
  console::emptyLine();
  console::line(std::string("The ") + std::string(what) + " conversion is not available in this build.");
}
}  // namespace

void convert_zln_to_12da(std::string_view, std::string_view, bool, std::string_view, std::string_view) {
  notBuilt("3D breakline");
}
void convert_mif_to_12da(std::string_view, bool, std::string_view, bool, std::string_view) {
  notBuilt("2D breakline");
}

}  // namespace quenzel
