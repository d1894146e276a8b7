#pragma once
// The older MapInfo MIF/MID routines of the library. Unlike the layer module
// they work on file units the caller owns, on an object record of their own
// and on settings passed as arguments, and they write their messages straight
// to the console. Fatal conditions end the run through EXITS.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/one_based.h"

namespace quenzel {

inline constexpr int miMaxRings = 10000;

// The older object record: one flag per object keyword, the section count of
// a multi-section polyline or multipoint, and the rings of a region.
struct miObject {
  bool isNone = false;
  bool isPoint = false;
  bool isLine = false;
  bool isPline = false;
  bool isPlineMultiple = false;
  bool isRegion = false;
  bool isEllipse = false;
  bool isRect = false;
  bool isRoundRect = false;
  bool isSpare = false;  // no routine sets it
  bool isArc = false;
  bool isCenter = false;
  bool isText = false;
  bool isMultiPoint = false;
  int nsect = 0;
  int nr = 0;
  // Region read: ir(k) is the position of ring k's last file vertex.
  OneBased<int> ir{miMaxRings, 0};
  std::string typeName;  // 20 characters in the stored layout: the last keyword matched
};

// A column definition as miReadAttributeDefinition gives it (100 characters
// each).
struct miAttributeDefinition {
  std::string name;
  std::string type;
};

// ---- Objects ------------------------------------------------------------------------

// Every flag false, both counts 0, type name blank; ir is left as it is.
void miInitialiseObject(miObject& obj);

// Types one keyword line: sets every keyword flag from the line (CENTER as
// well), the section count to 1 and nr to 0 before reading a count that the
// keyword carries (PLINE MULTIPLE, MULTIPOINT: sections; REGION: rings).
// rest gets the line after the keyword. True when an object keyword (not
// Center) was found. A Collection, more than 10000 rings or an unreadable
// count end the run.
bool miObjectType(std::string_view line, std::string& rest, miObject& obj);

// Matches keyword against the start of the upper-cased keyword window; on a
// match p (0-based in the line) moves past it and obj takes it as its type
// name.
bool miKeywordIs(std::string_view window, std::string_view keyword, std::size_t& p, miObject& obj);

// Reads the coordinates of the object just typed (rest: what miObjectType
// left after the keyword; afterwards the last line read) into X(1..n),
// Y(1..n), with the label point, angle (degrees) and length:
// - point (from rest, or the next line when rest is blank), multipoint (its
//   first point, from the next line): the point, also copied to X(2), Y(2);
// - line, rect, roundrect: both corners from rest; midpoint, direction,
//   length;
// - polyline (count from rest) or one section of a multi-section polyline
//   (count on the next line): the point halfway along;
// - region: ring after ring, each followed by a copy of its second vertex;
//   the label from a Center line before the next keyword (consumed), else the
//   vertex mean with the keyword line left to be read again. Four or fewer
//   stored points: WARNING 0318, false.
// Arcs, ellipses, texts and null objects read nothing and give false. X and Y
// hold at least 2 and maxNodes entries. spare is not read.
bool miReadObject(std::string_view spare, std::string& rest, int unit, miObject& obj, OneBasedView<double> X,
                  OneBasedView<double> Y, int maxNodes, int& n, double& xLabel, double& yLabel, float& angle,
                  float& length);

// False when n <= maxNodes; otherwise ERROR 0310 ends the run.
bool miNodeLimitExceeded(std::int64_t n, int maxNodes);

// Writes a point, line, polyline or region (one ring, closed by repeating
// vertex 1) from X(1..n), Y(1..n), then each style line that is not blank as
// it was passed. Other objects: ERROR 0350.
void miWriteObject(int unit, const miObject& obj, OneBasedView<const double> X, OneBasedView<const double> Y,
                   int n, std::string_view style1, std::string_view style2);

// ---- Headers ------------------------------------------------------------------------

// The MIF header up to its CoordSys line: from projLine when it is not blank,
// else copied from the file projFile up to its first line holding "Columns"
// (a NonEarth line with the bounds given when that file is missing). A
// "Bounds (" in the lines written sets the four bounds. The caller writes the
// columns and "Data".
void miWriteMifHeader(int unit, std::string_view projLine, std::string_view projFile, int logUnit, double& xmin,
                      double& ymin, double& xmax, double& ymax);

// Copies unitIn from its start up to its line beginning "Columns" (not
// included) to unitOut, each line without trailing blanks.
void miCopyHeader(int unitIn, int unitOut);

// The first line of the named file beginning "CoordSys"; a NonEarth line when
// the file is missing, holds none or cannot be read. The file is left open.
std::string miReadCoordSysLine(std::string_view fileName);
// The first line from the unit's position beginning "CoordSys"; blank when
// there is none.
std::string miFindCoordSysLine(int unit);
// A CoordSys line made comparable: upper case, without blanks, tabs and
// quotes.
std::string miNormaliseCoordSys(std::string_view line);

// Rewinds and stands after the first line beginning "Data", or at the end of
// the file: true. A failed read: WARNING 0313, false.
bool miGotoData(int unit);
// Rewinds and reads the column count from the "Columns" line; false after a
// warning (0315: no such line, 0314: no count).
bool miReadNumberAttributes(int unit, int& n);
// The next column definition; false after WARNING 0316.
bool miReadAttributeDefinition(int unit, miAttributeDefinition& definition);

// ---- Opening --------------------------------------------------------------------------

// Opens name's .mif on mifUnit and its .mid on midUnit (a .mif or .mid
// extension is replaced; an input .mid is also taken under ".MID"). A mifUnit
// of -1 opens name alone on midUnit. For input: the CoordSys line is checked
// against requiredCoordSys when that is not blank (0305), a MIF/MID pair is
// registered in the caller's workspace, and with saveDateCheck the .mid must
// not be older than its table (a failed check that the user answers opens the
// files again).
void miOpenMifMid(std::string_view name, int& mifUnit, int& midUnit, std::string_view mode, int logUnit,
                  bool saveDateCheck, std::string_view tableExt, bool saveDateError, int worUnit,
                  OneBasedView<std::string> tableList, int& tableCount, int tableLimit,
                  std::string_view requiredCoordSys, bool projectionError);

}  // namespace quenzel
