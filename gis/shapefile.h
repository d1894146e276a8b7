#pragma once
// ESRI shapefile sets: the .shp geometry, its .shx index and the .prj
// projection line of a layer (the .dbf is gis/dbase.h). An output layer gets
// one set per shape letter (<base>_P, _L, _R); an input layer is one set.
//
// The .shp and .shx are written through two units on one file, one per byte
// order, in step: for each field the unit of its order writes the value and
// the other writes zero bytes over the same span, zeros first.
#include <array>
#include <string>
#include <string_view>

#include "common/one_based.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"

namespace quenzel {

// Names by shape type 0..32; "Unknown" for the types no format defines.
extern const std::array<std::string_view, 33> shpShapeTypeNames;
// The entry of a shape type: above 32 entry 32, below 0 "Unknown".
std::string_view shpShapeTypeName(int shapeType);

// Opens one set. Mode "O ": <base>_<suffix>.shp and .shx on two units each,
// .prj and .dbf. Mode "I ": fileName itself (or <base>_<suffix>.shp when a
// suffix is given; false when that does not exist), checked against the
// projection setting, and its .dbf. attributesOnly: fileName is a bare .dbf.
bool OpenshpFile(std::string_view fileName, std::string_view suffix, int& dbfUnit, ShpFile& shpUnits,
                 std::string_view mode, bool attributesOnly);
// The projection name of a .prj line (the line is upper-cased in place);
// blank, after WARNING 0420, when the line holds no PROJCS.
std::string prjReadProjcs(std::string& line);

// ---- Writing --------------------------------------------------------------
// The 100-byte main header from `header` (code, length and version are set
// in it) through the file's two units.
void shpWriteHeader(ShpFile& header, int unitLE, int unitBE);
// One record from gisNP, gisX, gisY (nr and ir for parts) and its index
// entry, by the object's first shape flag.
void shpWriteObject(gisObject& obj, ShpFile& header);
// Completes every file of an output shapefile layer: the tables, and the
// lengths and boxes of the sets that hold records.
void gisWriteEoF(int gisID);

// ---- Reading --------------------------------------------------------------
// The 100-byte main header through unit, in the unit's byte order.
void shpReadHeader(int unit, int& fileCode, int& fileLength, int& version, int& shapeType, double& xMin,
                   double& yMin, double& xMax, double& yMax);
// The next record header and the counts behind it: the flags, nsect (parts
// of a polyline, points of a multipoint), nr (rings of a polygon, 0 for a
// polyline), ir (part starts of a polyline). A polyline of no parts or no
// points has nsect 0 and neither polyline flag, and is passed over whole.
// Records are found by their content lengths.
bool shpObjectType(int unit, int& recordShapeType, gisObject& obj);
// The coordinates of the current record into x(1..n), y(1..n): one part of a
// polyline or one point of a multipoint per call; a polygon whole, each ring
// followed by a copy of its second vertex and ir(k) the position of ring k's
// last vertex; a polygon of no rings or no points gives n = 0 and nr = 0.
// Without all the points are passed over (the last stays in x(1), y(1)).
bool shpReadObject(int unit, int recordShapeType, gisObject& obj, OneBasedView<double> x, OneBasedView<double> y,
                   int maxNodes, int& n, bool all);
// False when n <= limit; otherwise ERROR 0310 ends the run.
bool shpCheckNodes(int n, int limit);
// Passes over the rest of the current record.
void shpSkipRecord(int unit);

}  // namespace quenzel
