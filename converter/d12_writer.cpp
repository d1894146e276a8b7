#include "converter/d12_writer.h"

#include "common/paths.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

std::string d12ModelText(std::string_view inputFile, bool modelNameGiven, std::string_view modelName) {
  if (modelNameGiven) return TRIMF(ALPHANUMERICONLY(TRIMF(modelName), ' '));
  return "from " + TRIMF(ALPHANUMERICONLY(std::string(trimRight(FILENAMEPATH(inputFile))) + " gis", ' '));
}

void d12WriteHead(int unit, std::string_view modelText) {
  writeLine(unit, "null -999");
  writeLine(unit, "model \"" + std::string(modelText) + "\"");
  writeLine(unit);
}

}  // namespace quenzel
