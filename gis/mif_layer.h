#pragma once
// MapInfo MIF/MID layers: opening the pair of files of a layer (with the
// projection and save-date checks of input layers), finding and comparing
// CoordSys lines, and writing the header and the objects of the .mif file.
// The .mid records are written and read by the layer module itself.
#include <string>
#include <string_view>

#include "common/units.h"
#include "gis/gis_data.h"

namespace quenzel {

// Opens name.mif on mifUnit and name.mid on midUnit (a .mif or .mid
// extension of fileName is replaced; attributesOnly opens fileName alone on
// midUnit). Mode "I ": the .mif's CoordSys line must match gisMifProjection
// when that is set (ERROR or WARNING 0305), and with the save-date check on
// the .mid must not be older than its table; a failed check that the user
// answers opens the files again. An input file missing under its lower-case
// extension is taken under the upper-case one when that exists.
void OpenmifFile(std::string_view fileName, int& mifUnit, int& midUnit, std::string_view mode,
                 bool attributesOnly);

// The first line from the unit's current position whose first 8 characters
// hold "CoordSys" (any case), cut to 1000 characters; blank when there is
// none (WARNING 0306 when a read failed).
std::string mifFindCoordSys(int unit);
// The same search without a message: Ok with the line, End when the file
// ended first, Error when a read failed.
IoStatus mifScanCoordSys(int unit, std::string& line);

// A CoordSys line made comparable: upper case, without blanks, tabs and
// quotes, cut to 1000 characters.
std::string mifCleanCoordSys(std::string_view line);

// The CoordSys line of a layer whose projection is not known: a layer
// without one is still a valid MIF file for every reader.
inline constexpr std::string_view kNonEarthCoordSys = "CoordSys NonEarth Units \"m\"";

// The lines every .mif header begins with.
inline constexpr std::string_view kMifHeaderTop[] = {"Version 300", "Charset \"WindowsLatin1\"", "Delimiter \",\""};

// The .mif header from attrDef and gisMifCoordSys, up to the empty line after
// "Data". A failed write ends the run with ERROR 0439.
void mifWriteHeader(const GisAttributeDefinition& attrDef, int mifUnit);

// One object from gisNP, gisX, gisY (nr and ir of obj for multi-part ones)
// by its first set flag, then the style lines that are not blank (none after
// a null object). No supported flag: ERROR 0350; a failed write: ERROR 0439.
void mifWriteObject(gisObject& obj, int mifUnit, std::string_view styleLine1, std::string_view styleLine2);

}  // namespace quenzel
