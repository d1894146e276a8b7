#pragma once
// Reading the header of an input layer, rewinding it to its first object,
// its attribute definitions and counts, and the CoordSys line and header of
// other MIF files.
#include <string>
#include <string_view>

#include "common/units.h"

namespace quenzel {

// One MIF column definition, filled by gisReadAttributeDefinition.
struct GisAttDefLine {
  std::string name;  // 256 characters in the stored layout
  std::string type;  // 24 characters, e.g. "Char(20)"
};
extern GisAttDefLine gisAttDefLine;

// Reads the header of a layer just opened for input, leaving it before its
// first object: the column definitions of a MIF layer; the .shp main header
// (its big-endian unit is closed afterwards) and the .dbf header of a
// shapefile set.
void gisReadHeader(int gisID);

// Brings an input layer back to its first object and its first attribute
// record; clears the layer's end-of-data flag.
void gisGotoBeginningOfData(int gisID);

// The layer's column (field) count as its header gave it.
int gisNumberAttributes(int gisID);

// The number of attribute records: the lines of a .mid file (its reading
// position is kept), the record count of a .dbf header.
int gisNumberRecords(int gisID);

// MIF layers only: positions the .mif unit at the first column definition
// and gives the column count; false after WARNING 0315 or 0314 and a pause.
// Read the layer's objects again only after gisGotoBeginningOfData.
bool gisGotoBeginningOfAttributes(int gisID, int& count);

// MIF layers only: the next column definition into gisAttDefLine.
void gisReadAttributeDefinition(int gisID);

// The CoordSys line taken when a file gives none.
inline constexpr std::string_view kDefaultCoordSysLine =
    "CoordSys NonEarth Units \"m\" Bounds(-9999999, -9999999) (9999999, 9999999)";

// The first line of the named .mif file holding "CoordSys" in its first 8
// characters; kDefaultCoordSysLine when the file is missing (WARNING 0307 and
// a pause), holds none, or cannot be read (WARNING 0312 and a pause).
std::string mifReadCoordSysLine(std::string_view fileName);

// Copies the lines of unitIn from its start up to its "Columns" line (not
// included) to unitOut, each without trailing blanks.
void mifCopyHeader(int unitIn, int unitOut);
// The copy itself, from the start of unitIn, without messages: Ok, or the
// status of the read that failed.
IoStatus mifCopyHeaderLines(int unitIn, int unitOut);

}  // namespace quenzel
