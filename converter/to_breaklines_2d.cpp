// GIS lines and polylines to 2D breakline strings of a new 12da file, one
// string per section, named from the object's first attribute value.
#include <string>

#include "common/console.h"
#include "common/numbers.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_reader.h"
#include "converter/d12_writer.h"
#include "converter/layer_reader.h"
#include "converter/run_files.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel {

void convert_mif_to_12da(std::string_view inputFile, bool modelNameGiven, std::string_view modelName,
                         std::string_view outputFile) {
  console::lineAfterEmptyLine("Converting gis to .12da format...");
  keepInputLayer(inputFile);
  planOutputFile(outputFile);

  int layer = openInputLayer(inputFile);
  int unit = 0;
  openOutputFile(unit, outputFile);
  d12WriteHead(unit, d12ModelText(inputFile, modelNameGiven, modelName));
  console::lineAfterEmptyLine("Searching for Lines and Polylines...");
  console::emptyLine();

  const SectionArrays& a = sectionArrays();
  int written = 0;
  std::string record;
  while (nextWantedObject(layer, record, isLineObject)) {
    const int sections = lineSectionCount(gisO_);
    for (int s = 1; s <= sections; ++s) {
      const int n = readSection(layer, gisO_);
      const std::string name = d12FirstText(record, kD12NameWidth);
      ++written;
      console::write("Polyline " + AINTEGER(written) + " with " + AINTEGER(n) + " nodes...");
      d12WriteBreakline(unit, name, a.x.view(), a.y.view(), {}, n);
    }
  }
  CLOSER(unit);
  gisCloseLayer(layer);
}

}  // namespace quenzel
