// 12da strings to one GIS layer: every string becomes a polyline carrying
// its type and a height, every vertex with a height a point carrying it.
#include <string>

#include "common/console.h"
#include "common/fortran_format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_reader.h"
#include "converter/d12_to_gis.h"
#include "converter/layer_writer.h"
#include "converter/main_program.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

constexpr LayerField kBreaklineLayerFields[] = {
    {"Z", "Float", 0}, {"dZ", "Float", 0}, {"Width", "Float", 0}, {"Options", "Char", 20}, {"String_Type", "Char", 20},
};

// The attribute record: Z F16.3, dZ and Width F8.3, Options empty, the
// string type; `typeField` is the quoted type with its quotes doubled. A
// height too wide for its column is written in full, as coordinates are:
// readers take a field of asterisks for 0. (dZ and Width are always 0 here.)
void setAttributeLine(float z, const std::string& typeField) {
  gisAttLine.clear();
  appendFOrFull(gisAttLine, z, 16, 3);
  gisAttLine += ",   0.000,   0.000,\"\",";
  gisAttLine += typeField;
}

}  // namespace

void convert_12da_to_mif(std::string_view inputFile, std::string_view outputFile) {
  const D12Input in = openD12Input(inputFile);
  const int unit = in.unit;

  console::lineAfterEmptyLine("Converting .12da breaklines to gis format...");
  int layer = openOutputLayer(outputFile, "PL", kBreaklineLayerFields);
  gisInitialiseObject(gisO_);

  float nullValue = 0.0f;
  d12Object obj;
  // A failure has been reported and paused on; the layer keeps its header
  // and is finished with the other open layers at the end of the run.
  if (!findD12Objects(in, nullValue, obj)) return;

  D12Vertices& v = d12Vertices();
  const bool includeHipdata = programState().includeHipdata;
  int converted = 0;
  int ignored = 0;
  std::string line;
  std::string typeField;
  while (!unitAtEnd(unit)) {
    if (!d12ReadLine(line, unit)) continue;
    if (!d12ObjectType(unit, line, obj)) continue;
    if (!obj.data2d && !obj.data3d && !obj.hipData) {
      ++ignored;
      d12SkipData(unit, obj);
      continue;
    }
    int n = 0;
    if (!readD12Block(in, obj, n)) continue;
    if (obj.hipData && !includeHipdata) continue;

    typeField = "\"" + DOUBLEQUOTE(trimRight(obj.type)) + "\"";
    if (n < 2) {
      reportTooFewVertices(obj.type);
    } else {
      const bool threeD = !obj.data2d && !obj.hipData;
      setAttributeLine(threeD ? nullValue : v.z(1), typeField);
      writePolyline(layer, gisO_, v.x.view(), v.y.view(), n);
    }

    for (int i = 1; i <= n; ++i) {
      const float z = v.z(i);
      if (!hasHeight(z, nullValue)) continue;
      setAttributeLine(z, typeField);
      writePoint(layer, gisO_, v.x(i), v.y(i));
    }

    ++converted;
    if (converted % 10 == 0) console::write(formatI(converted, 8));
  }

  console::lineAfterEmptyLine("Converted " + AINTEGER(converted) + " string objects and ignored " + AINTEGER(ignored));
  console::emptyLine();
  gisCloseLayer(layer);
}

}  // namespace quenzel
