#pragma once
// What the conversions that read GIS layers share: an input layer opened with
// its header, the walk over its wanted objects section by section, and the
// first value of an object's attribute record (whose failure ends the run).
// The reading twin of layer_writer.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/one_based.h"
#include "gis/gis_data.h"

namespace quenzel {

// The most vertices one section of a GIS line may have.
inline constexpr int kGisSectionMaxNodes = 100000;

// The vertex arrays of one section, allocated once, on first use.
struct SectionArrays {
  OneBased<double> x{kGisSectionMaxNodes, 0.0};
  OneBased<double> y{kGisSectionMaxNodes, 0.0};
};
SectionArrays& sectionArrays();

// Opens a GIS layer for input and reads its header; returns the layer ID.
int openInputLayer(std::string_view fileName);

// Reads on to the next object of the layer that `wanted` accepts, typed in
// gisO_ with its attribute record in `record`, passing over the coordinates
// of the others; false at the end of the layer's data.
bool nextWantedObject(int gisID, std::string& record, bool (*wanted)(const gisObject&));
// A line, a polyline or a multi-section polyline.
bool isLineObject(const gisObject& obj);
bool isPointObject(const gisObject& obj);

// The number of sections of a line object; a multi-section polyline is
// announced on the console as it is split.
int lineSectionCount(const gisObject& obj);

// Reads one section of the current object with all its vertices into the
// section arrays; returns the vertex count.
int readSection(int gisID, gisObject& obj);

// The first value of an attribute record. A value that cannot be read, or a
// record without any, ends the run at once (stopOnUnreadableData).
std::string d12FirstText(std::string_view record, std::size_t width);
float d12FirstReal(std::string_view record);

}  // namespace quenzel
