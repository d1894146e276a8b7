// GIS result points to 12da: one data_3d vertex (X, Y, value) per point and,
// when the layer's second field is an angle, one arrow per point in a
// symbol_data block, both inside a super string so that 12d reads them.
#include <cmath>
#include <memory>
#include <new>
#include <string>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/one_based.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/d12_writer.h"
#include "converter/layer_reader.h"
#include "converter/main_program.h"
#include "converter/run_files.h"
#include "gis/gis_data.h"
#include "gis/header_services.h"
#include "gis/layer_table.h"

namespace quenzel {
namespace {

constexpr int kMaxResultPoints = 1000000;

// The points read: coordinates, value and (vector data) angle.
struct ResultPoints {
  std::unique_ptr<double[]> x, y;
  std::unique_ptr<float[]> value, angle;
  OneBasedView<double> X, Y;
  OneBasedView<float> V, A;
};

void messageBetweenEmptyLines(std::string_view text) {
  console::lineAfterEmptyLine(text);
  console::emptyLine();
}

// The second field's name of an input layer of more than one field, from
// the dBASE field descriptors of a shapefile set or the .mif column
// definitions.
std::string secondFieldName(int layer) {
  const GisLayerModule& m = gisModule();
  if (m.gisLayerFileType(layer) == 2) return m.dbfFile(1, layer).fieldName(2);
  return m.mifLayer(layer).columnName(2);
}

bool allocate(ResultPoints& p, bool vectorData) {
  try {
    p.x = std::make_unique_for_overwrite<double[]>(kMaxResultPoints);
    p.y = std::make_unique_for_overwrite<double[]>(kMaxResultPoints);
    p.value = std::make_unique_for_overwrite<float[]>(kMaxResultPoints);
    if (vectorData) p.angle = std::make_unique_for_overwrite<float[]>(kMaxResultPoints);
  } catch (const std::bad_alloc&) {
    return false;
  }
  p.X = OneBasedView<double>(p.x.get(), kMaxResultPoints);
  p.Y = OneBasedView<double>(p.y.get(), kMaxResultPoints);
  p.V = OneBasedView<float>(p.value.get(), kMaxResultPoints);
  if (vectorData) p.A = OneBasedView<float>(p.angle.get(), kMaxResultPoints);
  return true;
}

// Reads every point of the layer into p; other objects are passed over.
int readPoints(int layer, bool vectorData, ResultPoints& p) {
  const SectionArrays& a = sectionArrays();
  std::string record;
  int count = 0;
  while (nextWantedObject(layer, record, isPointObject)) {
    if (++count > kMaxResultPoints) {
      console::lineAfterEmptyLine("ERROR - Exceeded maximum number of points, please contact " +
                                  std::string(kSupportAddress));
      EXITS();
    }
    // A point's label is the point itself.
    readSection(layer, gisO_);
    p.X(count) = a.x(1);
    p.Y(count) = a.y(1);
    // An empty value reads as nothing: it is 0, not what the memory held.
    p.V(count) = 0.0f;
    if (vectorData) p.A(count) = 0.0f;
    FreeReader reader(record);
    const ReadResult r = vectorData ? reader.readAll(p.V(count), p.A(count)) : reader.read(p.V(count));
    if (r != ReadResult::Ok) stopOnUnreadableData(r == ReadResult::End);
  }
  return count;
}

// An angle that F6.2 cannot hold is the same direction within a turn.
float rotationOf(float angle) {
  if (formatF(angle, 6, 2).find('*') == std::string::npos) return angle;
  float r = std::fmod(angle, 360.0f);
  if (r < 0.0f) r += 360.0f;
  return r >= 360.0f ? 0.0f : r;
}

void writeBlocks(int unit, std::string_view modelText, const ResultPoints& p, int count, bool vectorData) {
  writeLine(unit, "string super {");
  writeLine(unit, "  name      \"" + std::string(modelText) + "\"");
  writeLine(unit, "  breakline point");
  writeLine(unit);
  writeLine(unit, "  // xy location of symbol");
  writeLine(unit, "  data_3d {");
  // Numbers too wide for their columns are written in full: 12d must be
  // able to read every line.
  std::string row;
  for (int i = 1; i <= count; ++i) {
    row = "    ";
    appendFOrFull(row, p.X(i), 20, 4);
    row += ' ';
    appendFOrFull(row, p.Y(i), 20, 4);
    row += ' ';
    appendFOrFull(row, p.V(i), 10, 4);
    writeLine(unit, row);
  }
  writeLine(unit, "  }");
  console::line("   Done.");

  if (vectorData) {
    writeLine(unit, "  symbol_data{");
    console::lineAfterEmptyLine("Writing symbol data for vector dataset to .12da file...");
    for (int i = 1; i <= count; ++i) {
      writeLine(unit, "    properties {");
      writeLine(unit, "      style     \"ARROW 30 BEARING\"");
      writeLine(unit, "      colour    red");
      row = "      size    ";
      appendFOrFull(row, p.V(i), 10, 4);
      writeLine(unit, row);
      row = "      rotation ";
      appendF(row, rotationOf(p.A(i)), 6, 2);
      writeLine(unit, row);
      writeLine(unit, "      offset    0");
      writeLine(unit, "      raise     0");
      writeLine(unit, "    }");
    }
    writeLine(unit, "  }");
    console::line("   Done.");
  }
  writeLine(unit, "}");
}

}  // namespace

void convert_mif_to_12da_results(std::string_view inputFile, bool modelNameGiven, std::string_view modelName,
                                 std::string_view outputFile) {
  console::lineAfterEmptyLine("Converting results in gis format to .12da format...");
  keepInputLayer(inputFile);
  planOutputFile(outputFile);

  int layer = openInputLayer(inputFile);
  int unit = 0;
  openOutputFile(unit, outputFile);
  const std::string modelText = d12ModelText(inputFile, modelNameGiven, modelName);
  d12WriteHead(unit, modelText);
  const int fields = gisNumberAttributes(layer);
  if (fields < 1) {
    messageBetweenEmptyLines("ERROR - Unable to detect any existing attributes.");
    EXITS();
  }
  const bool vectorData = fields > 1 && FLAGEXISTS(secondFieldName(layer), "Angle");
  if (vectorData) messageBetweenEmptyLines("Second field contains angle information, assuming vector data.");

  messageBetweenEmptyLines("Allocating memory for storing attribute data.");
  ResultPoints points;
  if (!allocate(points, vectorData)) {
    console::lineAfterEmptyLine("ERROR - Could not allocate enough memory (RAM).");
    EXITS();
  }
  messageBetweenEmptyLines("Searching for Points...");
  const int count = readPoints(layer, vectorData, points);
  gisCloseLayer(layer);
  console::lineAfterEmptyLine("Number of points read from gis file: " + AINTEGER(count));
  console::lineAfterEmptyLine("Writing coordinate data to .12da file...");

  writeBlocks(unit, modelText, points, count, vectorData);
  CLOSER(unit);
}

}  // namespace quenzel
