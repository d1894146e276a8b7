// 12da strings to one GIS layer: every string becomes a polyline carrying
// its type and a height, every vertex with a height a point carrying it.
#include <cmath>
#include <string>

#include "common/console.h"
#include "common/fortran_format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_reader.h"
#include "converter/main_program.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"
#include "gis/write_protocol.h"

namespace quenzel {
namespace {

// The vertex arrays of one 12da block: the reader's limit plus the repeated
// first vertex of a closed polyline. Allocated once, on first use.
struct VertexArrays {
  OneBased<double> x{kD12MaxNodes + 1, 0.0};
  OneBased<double> y{kD12MaxNodes + 1, 0.0};
  OneBased<float> z{kD12MaxNodes + 1, 0.0f};
};

VertexArrays& vertexArrays() {
  static VertexArrays v;
  return v;
}

void defineBreaklineLayerFields() {
  struct Field {
    const char* name;
    const char* type;
    int width;
  };
  static constexpr Field kFields[] = {
      {"Z", "Float", 0}, {"dZ", "Float", 0}, {"Width", "Float", 0}, {"Options", "Char", 20}, {"String_Type", "Char", 20},
  };
  gisAttrDef.count = 5;
  for (int i = 1; i <= 5; ++i) {
    gisAttrDef.name(i) = kFields[i - 1].name;
    gisAttrDef.type(i) = kFields[i - 1].type;
    gisAttrDef.width(i) = kFields[i - 1].width;
  }
  gisAttrDef.recordCount = 0;
}

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

// A height more than a millimetre away from `noValue` (in single precision).
bool hasHeight(float z, float noValue) { return std::fabs(z - noValue) > 0.001f; }

const char* flagText(bool b) { return b ? "true" : "false"; }

}  // namespace

void convert_12da_to_mif(std::string_view inputFile, std::string_view outputFile) {
  int unit = 0;
  OPENFILE(unit, "I ", inputFile);

  console::emptyLine();
  console::line("Reading .12da header information...");
  const std::string version = d12ArchiveVersion(unit);
  console::line("12d Archive Version: " + std::string(trimBoth(version)));
  const bool nullKeyword = d12NullKeyword(unit);
  console::line(std::string("null_keyword: ") + flagText(nullKeyword));
  const bool hexFloats = d12OutputHexFloats(unit);
  console::line(std::string("hex_floats: ") + flagText(hexFloats));
  console::line("Finished reading header information.");
  rewindUnit(unit);

  console::emptyLine();
  console::line("Converting .12da breaklines to gis format...");
  defineBreaklineLayerFields();
  int layer = gisOpenLayer(outputFile, "PL", "O ", false);
  gisWriteHeader(layer);
  gisInitialiseObject(gisO_);

  float nullValue = static_cast<float>(NO_VALUE);
  d12Object obj;
  obj.moreData = false;
  console::emptyLine();
  console::line("Searching for 12da objects...");
  // A failure has been reported and paused on; the layer keeps its header
  // and is finished with the other open layers at the end of the run.
  if (!d12FindStartOfData(unit, nullValue, nullKeyword)) return;

  VertexArrays& v = vertexArrays();
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
    if (!d12ReadData(unit, obj, v.x.view(), v.y.view(), v.z.view(), kD12MaxNodes, n, nullKeyword, hexFloats))
      continue;
    if (obj.hipData && !includeHipdata) continue;

    typeField = "\"" + DOUBLEQUOTE(trimRight(obj.type)) + "\"";
    if (n < 2) {
      console::emptyLine();
      console::line("Less than 2 vertices, omminting line output, data type: " + std::string(trimRight(obj.type)));
    } else {
      gisNP = n;
      for (int i = 1; i <= n; ++i) {
        gisX(i) = v.x(i);
        gisY(i) = v.y(i);
      }
      gisO_.isPline = true;
      const bool threeD = !obj.data2d && !obj.hipData;
      setAttributeLine(threeD ? nullValue : v.z(1), typeField);
      gisWriteObject(layer, gisO_);
      gisWriteRecord(layer, gisO_);
      gisO_.isPline = false;
    }

    gisNP = 1;
    gisO_.isPoint = true;
    for (int i = 1; i <= n; ++i) {
      // Neither the file's null value nor the reader's own "no value" is a
      // height worth a point.
      const float z = v.z(i);
      if (!hasHeight(z, nullValue) || !hasHeight(z, static_cast<float>(NO_VALUE))) continue;
      gisX(1) = v.x(i);
      gisY(1) = v.y(i);
      setAttributeLine(z, typeField);
      gisWriteObject(layer, gisO_);
      gisWriteRecord(layer, gisO_);
    }
    gisO_.isPoint = false;

    ++converted;
    if (converted % 10 == 0) console::write(formatI(converted, 8));
  }

  console::emptyLine();
  console::line("Converted " + AINTEGER(converted) + " string objects and ignored " + AINTEGER(ignored));
  console::emptyLine();
  gisCloseLayer(layer);
}

}  // namespace quenzel
