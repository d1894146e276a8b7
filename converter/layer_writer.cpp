#include "converter/layer_writer.h"

#include "converter/run_files.h"
#include "gis/layer_table.h"
#include "gis/write_protocol.h"

namespace quenzel {

int openOutputLayer(std::string_view fileName, std::string_view shapeLetters, std::span<const LayerField> fields) {
  gisAttrDef.count = static_cast<int>(fields.size());
  for (int i = 1; i <= gisAttrDef.count; ++i) {
    gisAttrDef.name(i) = fields[i - 1].name;
    gisAttrDef.type(i) = fields[i - 1].type;
    gisAttrDef.width(i) = fields[i - 1].width;
  }
  gisAttrDef.recordCount = 0;
  planOutputLayer(fileName, shapeLetters);
  const int layer = gisOpenLayer(fileName, shapeLetters, "O ", false);
  gisWriteHeader(layer);
  return layer;
}

void writePolyline(int layer, gisObject& obj, OneBasedView<const double> x, OneBasedView<const double> y, int n) {
  gisNP = n;
  for (int i = 1; i <= n; ++i) {
    gisX(i) = x(i);
    gisY(i) = y(i);
  }
  obj.isPline = true;
  gisWriteObject(layer, obj);
  gisWriteRecord(layer, obj);
  obj.isPline = false;
}

void writePoint(int layer, gisObject& obj, double x, double y) {
  gisNP = 1;
  gisX(1) = x;
  gisY(1) = y;
  obj.isPoint = true;
  gisWriteObject(layer, obj);
  gisWriteRecord(layer, obj);
  obj.isPoint = false;
}

}  // namespace quenzel
