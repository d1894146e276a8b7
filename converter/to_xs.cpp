// 3D 12da strings to cross-sections: per string a .csv file of chainage and
// height beside the 12da file, a line in the lines layer whose record points
// to that file, and its vertices with heights as points of a points layer.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_reader.h"
#include "converter/d12_to_gis.h"
#include "converter/layer_writer.h"
#include "converter/run_files.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

constexpr LayerField kXsLayerFields[] = {
    {"Source", "Char", 50},     {"Type", "Char", 2},         {"Flags", "Char", 8},        {"Column_1", "Char", 20},
    {"Column_2", "Char", 20},   {"Column_3", "Char", 20},    {"Column_4", "Char", 20},    {"Column_5", "Char", 20},
    {"Column_6", "Char", 20},   {"Z_Increment", "Float", 0}, {"Z_Maximum", "Float", 0},   {"Skew", "Float", 0},
    {"Comments", "Char", 200},
};
constexpr std::size_t kSourceWidth = 50;

constexpr LayerField kXsPointFields[] = {
    {"Z", "Float", 0},
    {"MNR", "Float", 0},
    {"LCR", "Char", 1},
    {"XS_ID", "Char", 12},
};
constexpr std::size_t kXsIdWidth = 12;

// The points layer of MIF output lies beside the lines layer; a shapefile
// layer of the same name differs from the lines by its shape-letter suffix.
std::string pointsLayerName(std::string_view outputFile) {
  if (FILEEXT(outputFile) != ".mif") return std::string(outputFile);
  return FILENAMEPATH(outputFile) + "_Pts.mif";
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// A component of dots (and blanks, which Windows drops) that climbs out of
// its folder.
bool climbsOut(std::string_view component) {
  return std::count(component.begin(), component.end(), '.') >= 2 &&
         component.find_first_not_of(". ") == std::string_view::npos;
}

// A cross-section name made into a file name that stays below the 12da's
// folder: separators at its start, colons (a drive, or a stream on Windows)
// and climbing components each become "_", and doubled separators inside it
// become one; the folder join would otherwise take the name on its own or
// resolve it elsewhere.
std::string safeFileName(std::string_view name) {
  std::string safe;
  std::size_t i = 0;
  for (; i < name.size() && isSeparator(name[i]); ++i) safe += '_';
  for (;;) {
    std::size_t j = i;
    while (j < name.size() && !isSeparator(name[j])) ++j;
    std::string component(name.substr(i, j - i));
    std::replace(component.begin(), component.end(), ':', '_');
    safe += climbsOut(component) ? std::string("_") : component;
    if (j >= name.size()) return safe;
    safe += name[j];
    for (i = j + 1; i < name.size() && isSeparator(name[i]); ++i) {
    }
  }
}

struct XsRun {
  std::string folder;  // of the 12da file
  float nullValue = 0.0f;
  int lines = 0;   // layer IDs
  int points = 0;
  std::vector<platform::FileId> written;  // .csv files written in this run
  std::string row;
};

// The .csv path of a cross-section, after the warnings its name and earlier
// files call for.
std::string crossSectionFile(XsRun& run, const std::string& name) {
  const std::string safe = safeFileName(name);
  if (safe != name)
    console::lineAfterEmptyLine("WARNING - Cross-section name " + name + " is not a safe file name; writing " + safe +
                                " instead.");
  std::string path = ADDFOLDER(run.folder, safe);
  if (FILEEXT(path) != ".csv") path += ".csv";
  const std::optional<platform::FileId> id = platform::fileIdentity(path);
  if (id && std::find(run.written.begin(), run.written.end(), *id) != run.written.end())
    console::lineAfterEmptyLine("WARNING - Cross-section file " + path +
                                " written more than once; the last one is kept.");
  return path;
}

// The .csv file: the name, the column heads, then chainage and height of
// every vertex with a height. Vertices without one still add to the chainage.
void writeCrossSectionFile(XsRun& run, const std::string& path, const std::string& name, const D12Vertices& v,
                           int n) {
  int unit = 0;
  openOutputFile(unit, path);
  writeLine(unit, "\"!" + DOUBLEQUOTE(name) + "\"");
  writeLine(unit, "\"X\",\"Z\"");
  float chainage = 0.0f;
  for (int i = 1; i <= n; ++i) {
    if (i > 1) chainage += DISTANCE_8(v.x(i - 1), v.y(i - 1), v.x(i), v.y(i));
    if (!hasHeight(v.z(i), run.nullValue)) continue;
    run.row.clear();
    appendFOrFull(run.row, chainage, 12, 3);
    run.row += ',';
    appendFOrFull(run.row, v.z(i), 10, 3);
    writeLine(unit, run.row);
  }
  if (const std::optional<platform::FileId> id = platform::fileIdentity(unitFileName(unit))) run.written.push_back(*id);
  CLOSER(unit);
}

void writeLineObject(const XsRun& run, const std::string& path, const D12Vertices& v, int n, std::string_view type) {
  if (n < 2) {
    reportTooFewVertices(type);
    return;
  }
  if (path.size() > kSourceWidth)
    console::lineAfterEmptyLine("WARNING - Cross-section file path longer than the Source field: " + path);
  gisAttLine = "\"" + DOUBLEQUOTE(path) + "\",\"xz\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",     0.000,   0.000,   0.000,\"\"";
  writePolyline(run.lines, gisO_, v.x.view(), v.y.view(), n);
}

// One point per vertex with a height: "L" marks the first of the string.
void writePointObjects(const XsRun& run, const std::string& xsId, const D12Vertices& v, int n) {
  const std::string idField = "\"" + DOUBLEQUOTE(xsId) + "\"";
  bool first = true;
  for (int i = 1; i <= n; ++i) {
    if (!hasHeight(v.z(i), run.nullValue)) continue;
    gisAttLine.clear();
    appendFOrFull(gisAttLine, v.z(i), 16, 3);
    gisAttLine += first ? ",-1.,\"L\"," : ",-1.,\"C\",";
    gisAttLine += idField;
    first = false;
    writePoint(run.points, gisO_, v.x(i), v.y(i));
  }
}

}  // namespace

void convert_12da_to_mif_xs(std::string_view inputFile, std::string_view outputFile) {
  const D12Input in = openD12Input(inputFile);

  XsRun run;
  run.folder = FILEFOLDERPATH(inputFile);
  run.lines = openOutputLayer(outputFile, "L", kXsLayerFields);
  gisInitialiseObject(gisO_);
  run.points = openOutputLayer(pointsLayerName(outputFile), "P", kXsPointFields);
  gisInitialiseObject(gisO_);

  d12Object obj;
  int unnamed = 0;
  // A failure has been reported and paused on; the layers keep their
  // headers and are finished with the other open layers at the end of the run.
  if (!findD12Objects(in, run.nullValue, obj)) return;

  D12Vertices& v = d12Vertices();
  int converted = 0;
  int ignored = 0;
  std::string line;
  while (!unitAtEnd(in.unit)) {
    if (!d12ReadLine(line, in.unit)) continue;
    if (!d12ObjectType(in.unit, line, obj)) continue;
    if (isAllBlank(obj.name)) obj.name = "xs" + AINTEGERPREC0(++unnamed, 6);
    const std::string name(trimRight(obj.name));
    console::write(name + ", ");
    const std::string xsId = FILENAME(name);
    if (xsId.size() > kXsIdWidth) {
      console::line("ERROR - XS ID exceeds 12 characters.");
      EXITS();
    }
    // Hipdata blocks are no cross-sections, whatever the string type says.
    if (!obj.data3d || obj.hipData) {
      ++ignored;
      console::line("WARNING - Ignored invalid or unsupported string object: " + std::string(trimBoth(line)));
      PAUSES();
      d12SkipData(in.unit, obj);
      continue;
    }
    int n = 0;
    if (!readD12Block(in, obj, n)) continue;
    const std::string path = crossSectionFile(run, name);
    writeCrossSectionFile(run, path, name, v, n);
    writeLineObject(run, path, v, n, obj.type);
    writePointObjects(run, xsId, v, n);
    ++converted;
  }

  console::lineAfterEmptyLine("Converted " + AINTEGER(converted) +
                              " string objects to VARNOK cross-sections and ignored " + AINTEGER(ignored));
  console::emptyLine();
  gisCloseLayer(run.lines);
  gisCloseLayer(run.points);
}

}  // namespace quenzel
