#pragma once
// What the conversions that write GIS layers share: a layer opened with its
// fields and header, and the writing of one polyline or point through the
// writing protocol.
#include <span>
#include <string_view>

#include "common/one_based.h"
#include "gis/gis_data.h"

namespace quenzel {

struct LayerField {
  const char* name;
  const char* type;
  int width;
};

// Fills gisAttrDef with the fields in order (record count 0), opens the
// layer for output with its shape letters and writes its header; returns the
// layer ID. A layer on a file of the run's inputs ends the run unopened.
int openOutputLayer(std::string_view fileName, std::string_view shapeLetters, std::span<const LayerField> fields);

// Writes vertices 1..n of x and y as one polyline, or one vertex as a point,
// through obj with the record in gisAttLine; obj's type flag is set for the
// write only.
void writePolyline(int layer, gisObject& obj, OneBasedView<const double> x, OneBasedView<const double> y, int n);
void writePoint(int layer, gisObject& obj, double x, double y);

}  // namespace quenzel
