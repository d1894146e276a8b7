#include "converter/d12_writer.h"

#include "common/fortran_format.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {
namespace {

// Buffers reused from block to block.
struct D12WriterModule {
  std::string block;        // a block is written with a single call
  std::string cleanedName;  // a name with its control bytes blanked
};

D12WriterModule& d12WriterModule() {
  static D12WriterModule m;
  return m;
}

}  // namespace

std::string d12ModelText(std::string_view inputFile, bool modelNameGiven, std::string_view modelName) {
  if (modelNameGiven) return TRIMF(ALPHANUMERICONLY(TRIMF(modelName), ' '));
  return "from " + TRIMF(ALPHANUMERICONLY(std::string(trimRight(FILENAMEPATH(inputFile))) + " gis", ' '));
}

void d12WriteHead(int unit, std::string_view modelText) {
  writeLine(unit, "null -999");
  writeLine(unit, "model \"" + std::string(modelText) + "\"");
  writeLine(unit);
}

void d12WriteBreakline(int unit, std::string_view name, OneBasedView<const double> x, OneBasedView<const double> y,
                       OneBasedView<const float> z, int n) {
  const bool threeD = z.size() > 0;
  D12WriterModule& s = d12WriterModule();
  std::string& b = s.block;
  b.assign(threeD ? "string 3d {\n" : "string 2d {\n");
  // A name comes from an attribute record: a CR or LF in it would end the
  // name line and let the rest of the value stand as 12da lines of its own.
  b += "  name      \"";
  b += DOUBLEQUOTE(trimRight(controlBytesBlanked(name, s.cleanedName, false)));
  b += "\"\n  chainage  0\n  breakline line\n  colour    red\n  style     1\n\n  data {\n";
  for (int i = 1; i <= n; ++i) {
    b += "    ";
    appendFSeparated(b, x(i), 16, 5);
    appendFSeparated(b, y(i), 16, 5);
    if (threeD) appendFSeparated(b, z(i), 12, 4);
    b += '\n';
  }
  b += "  }\n}\n\n";
  writeText(unit, b);
}

}  // namespace quenzel
