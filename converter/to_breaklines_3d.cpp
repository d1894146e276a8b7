// GIS points and lines to 3D breakline strings, with side layers of the
// lines that dangle and of the points no vertex took.
#include "converter/to_breaklines_3d.h"

#include <string>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/run_control.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_writer.h"
#include "converter/layer_reader.h"
#include "converter/layer_writer.h"
#include "converter/run_files.h"
#include "gis/header_services.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

// Everything the conversion keeps: the points table for the run, and the
// heights and snapped flags of the section being converted beside the
// section's coordinates.
struct ZlnState {
  BreaklinePoints points;
  OneBased<float> h{kGisSectionMaxNodes, 0.0f};
  OneBased<bool> snapped{kGisSectionMaxNodes, false};
  // The object written to a side layer: the reading record gisO_ is in the
  // middle of a multi-section object when a dangle is written.
  gisObject written;
};

ZlnState& zlnState() {
  static ZlnState s;
  return s;
}

constexpr LayerField kSideLayerFields[] = {{"Z", "Float", 0}};

// The height as the side layer's record: a value too wide for its column is
// written in full rather than as asterisks.
void setHeightRecord(float height, int w, int d) {
  gisAttLine.clear();
  appendFOrFull(gisAttLine, height, w, d);
}

[[noreturn]] void tooManyPoints() {
  finishUnitsForStop();
  console::lineAfterEmptyLine("ERROR - Exceeded maximum number of breakline points: " + AINTEGER(kZlnMaxPoints));
  console::emptyLine();
  std::string answer;
  console::readLine(answer);
  EXITS();
}

void readPoints(int layer, BreaklinePoints& p) {
  console::lineAfterEmptyLine("Searching for point objects...");
  const SectionArrays& a = sectionArrays();
  std::string record;
  while (nextWantedObject(layer, record, isPointObject)) {
    if (++p.count > kZlnMaxPoints) tooManyPoints();
    readSection(layer, gisO_);
    const float height = d12FirstReal(record);
    p.x(p.count) = a.x(1);
    p.y(p.count) = a.y(1);
    p.z(p.count) = height;
    p.snapped(p.count) = false;
  }
  console::lineAfterEmptyLine("Found " + AINTEGER(p.count) + " breakline points.");
  console::emptyLine();
}

// Heights of the vertices that did not snap, run by run between snapped
// vertices (or the ends), in single precision; true when the section dangles:
// its first or last vertex did not snap.
bool interpolate(int n) {
  ZlnState& st = zlnState();
  const SectionArrays& a = sectionArrays();
  OneBased<float>& h = st.h;
  const OneBased<bool>& snapped = st.snapped;
  const auto d = [&a](int j) { return DISTANCE_8(a.x(j - 1), a.y(j - 1), a.x(j), a.y(j)); };
  bool dangle = false;
  int k = 2;
  while (k <= n) {
    const int first = k;
    float runLength = 0.0f;
    while (!snapped(k) && k < n) {
      runLength += d(k);
      ++k;
    }
    const int last = k;
    runLength += d(last);
    if (first == 2 && !snapped(1)) {
      dangle = true;
      h(1) = h(last);
    }
    if (last == n && !snapped(n)) {
      dangle = true;
      h(n) = h(first - 1);
    }
    if (last > first) {
      const float h0 = h(first - 1);
      const float h1 = h(last);
      float s = 0.0f;
      for (int j = first; j <= last - 1; ++j) {
        s += d(j);
        h(j) = runLength == 0.0f ? (h0 + h1) * 0.5f : h0 + (s / runLength) * (h1 - h0);
      }
    }
    k = last + 1;
  }
  return dangle;
}

struct Run {
  int unit = 0;
  int dangles = 0;
  int breaklines = 0;
  bool anyDangle = false;
};

void convertSection(Run& run, int n, float elevation) {
  ZlnState& st = zlnState();
  const SectionArrays& a = sectionArrays();
  ++run.breaklines;
  console::write("Polyline " + AINTEGER(run.breaklines) + " with " + AINTEGER(n) + " nodes...");
  bool anySnapped = false;
  for (int i = 1; i <= n; ++i) {
    st.snapped(i) = zln_snap_vertex(a.x(i), a.y(i), elevation, st.points, st.h(i));
    anySnapped = anySnapped || st.snapped(i);
  }
  bool dangle = false;
  if (!anySnapped) {
    console::line("no snapped points - using polyline elevation.");
  } else {
    console::line("found snapped points - interpolating.");
    dangle = interpolate(n);
  }
  if (dangle) {
    setHeightRecord(elevation, 16, 3);
    writePolyline(run.dangles, st.written, a.x.view(), a.y.view(), n);
    run.anyDangle = true;
  }
  const OneBased<float>& h = st.h;
  d12WriteBreakline(run.unit, AINTEGERPREC0(run.breaklines, 8), a.x.view(), a.y.view(),
                    OneBasedView<const float>(h.data(), h.size()), n);
}

void convertLines(Run& run, int layer) {
  console::lineAfterEmptyLine("Searching for Lines and Polylines...");
  console::emptyLine();
  std::string record;
  while (nextWantedObject(layer, record, isLineObject)) {
    const int sections = lineSectionCount(gisO_);
    const float elevation = d12FirstReal(record);
    for (int s = 1; s <= sections; ++s) convertSection(run, readSection(layer, gisO_), elevation);
  }
}

// Points that no vertex took, with their heights; true when there was one.
bool writeUnsnapped(int layer) {
  ZlnState& st = zlnState();
  const BreaklinePoints& p = st.points;
  bool any = false;
  for (int k = 1; k <= p.count; ++k) {
    if (p.snapped(k)) continue;
    setHeightRecord(p.z(k), 12, 4);
    writePoint(layer, st.written, p.x(k), p.y(k));
    any = true;
  }
  return any;
}

void warnAbout(std::string_view what, const std::string& layerName) {
  console::lineAfterEmptyLine("WARNING - Found " + std::string(what) + ".");
  console::line("          See " + layerName);
}

}  // namespace

void zlnIndexPoints(BreaklinePoints& p) {
  buildSnapGrid(p.grid, p.x.view(), p.y.view(), p.count, kZlnSnapTolerance);
}

bool zln_snap_vertex(double x, double y, float defaultHeight, BreaklinePoints& points, float& height) {
  const int k = points.count > 0 ? snapGridFirstWithin(points.grid, points.x.view(), points.y.view(), x, y) : 0;
  if (k == 0) {
    height = defaultHeight;
    return false;
  }
  height = points.z(k);
  points.snapped(k) = true;
  return true;
}

void convert_zln_to_12da(std::string_view inputFile, std::string_view secondFile, bool modelNameGiven,
                         std::string_view modelName, std::string_view outputFile) {
  const bool twoFiles = !isAllBlank(FILENAME(secondFile));
  const std::string linesFile(trimRight(twoFiles ? secondFile : inputFile));
  console::lineAfterEmptyLine("Converting gis breaklines to .12da format...");
  const std::string base(trimRight(FILENAMEPATH(linesFile)));
  const std::string danglesName = base + "_dangles" + FILEEXT(linesFile);
  const std::string unsnappedName = base + "_unsnapped_points" + FILEEXT(inputFile);
  // Every file named so far is compared before any is opened; files typed
  // at an input's prompt are compared as they open, before any output is.
  keepInputLayer(inputFile);
  if (twoFiles) keepInputLayer(secondFile);
  planOutputFile(outputFile);
  planOutputLayer(danglesName, "L");
  planOutputLayer(unsnappedName, "P");

  int pointsLayer = openInputLayer(inputFile);
  int linesLayer = twoFiles ? openInputLayer(secondFile) : pointsLayer;
  Run run;
  openOutputFile(run.unit, outputFile);
  d12WriteHead(run.unit, d12ModelText(linesFile, modelNameGiven, modelName));
  run.dangles = openOutputLayer(danglesName, "L", kSideLayerFields);
  gisInitialiseObject(zlnState().written);

  BreaklinePoints& points = zlnState().points;
  points.count = 0;
  readPoints(pointsLayer, points);
  zlnIndexPoints(points);
  if (twoFiles) gisCloseLayer(pointsLayer);
  else gisGotoBeginningOfData(linesLayer);

  convertLines(run, linesLayer);
  gisCloseLayer(linesLayer);

  int unsnapped = openOutputLayer(unsnappedName, "P", kSideLayerFields);
  if (writeUnsnapped(unsnapped)) warnAbout("unsnapped points", unsnappedName);
  if (run.anyDangle) warnAbout("dangling polylines", danglesName);
  gisCloseLayer(run.dangles);
  gisCloseLayer(unsnapped);
}

}  // namespace quenzel
