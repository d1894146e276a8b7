#include "converter/layer_reader.h"

#include "common/console.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/text_core.h"
#include "converter/main_program.h"
#include "gis/header_services.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel {
namespace {

// One gisReadObject call into the section arrays; the label, angle and
// length it gives are not used here.
int readIntoSection(int gisID, gisObject& obj, bool all) {
  SectionArrays& a = sectionArrays();
  int n = 0;
  double xLabel = 0.0;
  double yLabel = 0.0;
  float angle = 0.0f;
  float length = 0.0f;
  gisReadObject(gisID, obj, a.x.view(), a.y.view(), kGisSectionMaxNodes, n, xLabel, yLabel, angle, length, all);
  return n;
}

}  // namespace

SectionArrays& sectionArrays() {
  static SectionArrays a;
  return a;
}

int openInputLayer(std::string_view fileName) {
  const int layer = gisOpenLayer(fileName, "", "I ", false);
  gisReadHeader(layer);
  return layer;
}

bool isLineObject(const gisObject& obj) { return obj.isLine || obj.isPline || obj.isPlineMultiple; }
bool isPointObject(const gisObject& obj) { return obj.isPoint; }

bool nextWantedObject(int gisID, std::string& record, bool (*wanted)(const gisObject&)) {
  while (!gisLayerEoF(gisID)) {
    if (!gisObjectType(gisID, gisO_)) continue;
    gisReadRecord(gisID, gisO_, record);
    if (wanted(gisO_)) return true;
    // Passed over once per section, as a layer must be read.
    for (int k = 1; k <= gisO_.nsect; ++k) readIntoSection(gisID, gisO_, false);
  }
  return false;
}

int lineSectionCount(const gisObject& obj) {
  if (!obj.isPlineMultiple) return 1;
  console::line("Disaggregating combined polyline into " + AINTEGER(obj.nsect) + " polylines...");
  return obj.nsect;
}

int readSection(int gisID, gisObject& obj) { return readIntoSection(gisID, obj, true); }

std::string d12FirstText(std::string_view record, std::size_t width) {
  std::string value;
  const ReadResult r = FreeReader(record).read(value);
  if (r != ReadResult::Ok) stopOnUnreadableData(r == ReadResult::End);
  return cutTo(value, width);
}

float d12FirstReal(std::string_view record) {
  float value = 0.0f;
  const ReadResult r = FreeReader(record).read(value);
  if (r != ReadResult::Ok) stopOnUnreadableData(r == ReadResult::End);
  return value;
}

}  // namespace quenzel
