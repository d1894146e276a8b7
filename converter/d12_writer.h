#pragma once
// What the conversions that write a 12da file share: the file's head with
// its model name, the breakline string blocks, the first value of a layer
// object's attribute record (whose failure ends the run), and the reading of
// a layer's wanted objects section by section.
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

// The model name of a written 12da file: the given name, or "from" and the
// words of the input's path followed by "gis"; letters and digits only.
std::string d12ModelText(std::string_view inputFile, bool modelNameGiven, std::string_view modelName);

// "null -999", the model line, an empty line.
void d12WriteHead(int unit, std::string_view modelText);

// One breakline string of n vertices: a "string 2d" block when z is empty,
// else "string 3d" with the heights z(i). `name` is written between double
// quotes with its own double quotes doubled, so 12d reads it back whole.
// Coordinates are F16.5 and heights F12.4, each after one blank when it fills
// its columns and written in full when it does not fit them.
void d12WriteBreakline(int unit, std::string_view name, OneBasedView<const double> x, OneBasedView<const double> y,
                       OneBasedView<const float> z, int n);

// The first value of an attribute record. A value that cannot be read, or a
// record without any, ends the run at once (stopOnUnreadableData).
std::string d12FirstText(std::string_view record, std::size_t width);
float d12FirstReal(std::string_view record);

}  // namespace quenzel
