// The older MIF routines that write objects and headers, find CoordSys lines
// and open MIF/MID pairs.
#include <string>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/mif_save_date.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/header_services.h"
#include "gis/input_layers.h"
#include "gis/layer_table.h"
#include "gis/mi_routines.h"
#include "gis/mif_layer.h"
#include "gis/mif_reader.h"

namespace quenzel {
namespace {

// The line being built by the object writer (grown once, then reused), and
// the unit miReadCoordSysLine leaves open on its file.
struct MiWriterState {
  std::string line;
  int coordSysUnit = 0;
};

MiWriterState& state() {
  static MiWriterState s;
  return s;
}

void writeCoordinates(int unit, std::string_view keyword, OneBasedView<const double> X,
                      OneBasedView<const double> Y, int first, int last) {
  std::string& b = state().line;
  b.assign(keyword);
  for (int k = first; k <= last; ++k) {
    appendFSeparated(b, X(k), 16, 6);
    appendFSeparated(b, Y(k), 16, 6);
  }
  writeLine(unit, b);
}

void writeTop(int unit) {
  for (std::string_view line : kMifHeaderTop) writeLine(unit, line);
}

// A "Bounds (" in a header line gives the four bounds: the pair up to the
// next ")", then the pair in the next "(...)".
void readBounds(std::string_view line, int logUnit, double& xmin, double& ymin, double& xmax, double& ymax) {
  std::string after;
  if (!FLAGEXISTSRET(line, "Bounds (", after)) return;
  auto pairUpToClose = [](std::string_view text, double& a, double& b) {
    return FreeReader(text.substr(0, text.find(')'))).readAll(a, b) == ReadResult::Ok;
  };
  const std::string_view text = after;
  const std::size_t open = text.find('(', text.find(')'));
  if (pairUpToClose(text, xmin, ymin) && open != std::string_view::npos &&
      pairUpToClose(text.substr(open + 1), xmax, ymax))
    return;
  const std::string_view message = "ERROR 0311 - Could not read XY Bounds in MI Projection Line.";
  console::line(message);
  if (logUnit > 0) writeLine(logUnit, message);
  EXITS();
}

void noProjectionFile(const std::string& name, std::string_view fallback) {
  console::emptyLine();
  console::line("WARNING 0307 - No MI Projection or mif header file " + name + " found.");
  console::line(fallback);
  PAUSES();
}

void projectionMismatch(bool projectionError) {
  const std::string_view text =
      " 0305 - Projection of .mif file is different to that specified by the MI Projection == command.";
  if (!projectionError) {
    console::line("WARNING" + std::string(text));
    return;
  }
  console::line("ERROR" + std::string(text));
  console::line("Use \"MI Projection Check == WARNING\" to change message to a WARNING.");
  EXITS();
}

}  // namespace

void miWriteObject(int unit, const miObject& obj, OneBasedView<const double> X, OneBasedView<const double> Y,
                   int n, std::string_view style1, std::string_view style2) {
  if (obj.isPoint) {
    writeCoordinates(unit, "Point ", X, Y, 1, 1);
  } else if (obj.isLine) {
    writeCoordinates(unit, "Line ", X, Y, 1, 2);
  } else if (obj.isPline) {
    writeLine(unit, "Pline " + AINTEGER(n));
    for (int k = 1; k <= n; ++k) writeCoordinates(unit, "", X, Y, k, k);
  } else if (obj.isRegion) {
    // One ring, whatever nr says, closed by vertex 1 again.
    writeLine(unit, "Region 1");
    writeLine(unit, " " + AINTEGER8(static_cast<std::int64_t>(n) + 1));
    for (int k = 1; k <= n; ++k) writeCoordinates(unit, "", X, Y, k, k);
    writeCoordinates(unit, "", X, Y, 1, 1);
  } else {
    console::line("ERROR 0350 - Trying to write a MIF object that is not yet supported.  Contact " +
                  std::string(kSupportAddress) + ".");
    EXITS();
  }
  if (!isAllBlank(style1)) writeLine(unit, style1);
  if (!isAllBlank(style2)) writeLine(unit, style2);
}

void miWriteMifHeader(int unit, std::string_view projLine, std::string_view projFile, int logUnit, double& xmin,
                      double& ymin, double& xmax, double& ymax) {
  if (!isAllBlank(projLine)) {
    writeTop(unit);
    writeLine(unit, trimRight(projLine));
    readBounds(projLine, logUnit, xmin, ymin, xmax, ymax);
    return;
  }
  const std::string name = TRIMF(projFile);
  if (!platform::fileExists(name)) {
    noProjectionFile(name, "               Non-Earth Coordinates will be used.  [miWriteMifHeader]");
    writeTop(unit);
    writeLine(unit, "CoordSys NonEarth Units \"m\" Bounds (" + formatF(xmin, 15, 3) + "," + formatF(ymin, 15, 3) +
                        ") (" + formatF(xmax, 15, 3) + "," + formatF(ymax, 15, 3) + ")");
    return;
  }
  int in = 0;
  OPENFILE(in, "I ", name);
  std::string line;
  while (!unitAtEnd(in) && mifReadRecord(in, line) == IoStatus::Ok) {
    if (FLAGEXISTS(line, "Columns")) break;
    writeLine(unit, trimRight(line));
    readBounds(line, logUnit, xmin, ymin, xmax, ymax);
  }
  CLOSER(in);
}

void miCopyHeader(int unitIn, int unitOut) {
  console::line("Copying header info from file unit " + AINTEGER(unitIn) + " to " + AINTEGER(unitOut) + "...");
  const IoStatus status = mifCopyHeaderLines(unitIn, unitOut);
  if (status == IoStatus::Ok) return;
  console::emptyLine();
  console::line(status == IoStatus::End ? "ERROR 0302 - End of File encountered (miCopyHeader)"
                                        : "ERROR 0301 - Reading data (miCopyHeader)");
  EXITS();
}

// ---- CoordSys lines -----------------------------------------------------------------

std::string miReadCoordSysLine(std::string_view fileName) {
  const std::string name = TRIMF(fileName);
  if (!platform::fileExists(name)) {
    noProjectionFile(name, "          Non-Earth Coordinates will be used.  [miReadCoordSysLine]");
    return std::string(kDefaultCoordSysLine);
  }
  int& unit = state().coordSysUnit;
  OPENFILE(unit, "I ", name);
  std::string line;
  switch (mifScanCoordSys(unit, line)) {
    case IoStatus::Ok:
      return line;
    case IoStatus::End:
      break;
    case IoStatus::Error:
      console::line("WARNING 0312 - Problems finding CoordSys line in .mif file");
      PAUSES();
      break;
  }
  return std::string(kDefaultCoordSysLine);
}

std::string miFindCoordSysLine(int unit) {
  std::string line;
  const IoStatus status = mifScanCoordSys(unit, line);
  if (status == IoStatus::Ok) return line;
  if (status == IoStatus::Error) console::line("WARNING 0306 - Problems finding CoordSys line in .mif file");
  return {};
}

std::string miNormaliseCoordSys(std::string_view line) { return mifCleanCoordSys(line.substr(0, kNameWidth)); }

// ---- Opening ------------------------------------------------------------------------

void miOpenMifMid(std::string_view name, int& mifUnit, int& midUnit, std::string_view mode, int logUnit,
                  bool saveDateCheck, std::string_view tableExt, bool saveDateError, int worUnit,
                  OneBasedView<std::string> tableList, int& tableCount, int tableLimit,
                  std::string_view requiredCoordSys, bool projectionError) {
  const bool attributesOnly = mifUnit == -1;
  const bool input = fitted(mode, 2) == "I ";
  // A failed save-date check has closed the files and the user has exported
  // the layer again: open it again from the start.
  for (;;) {
    std::string path = cutTo(TRIMF(name), kNameWidth);
    bool pair = false;
    if (attributesOnly) {
      pair = FILEEXT(path) == ".mid";
    } else {
      const std::string ext = FILEEXT(path);
      if (ext == ".mif" || ext == ".mid") path = FILENAMEPATH(path);
      OPENFILE(mifUnit, mode, path + ".mif");
      if (input && !isAllBlank(requiredCoordSys)) {
        const std::string found = miNormaliseCoordSys(miFindCoordSysLine(mifUnit));
        rewindUnit(mifUnit);
        if (found != trimRight(requiredCoordSys)) projectionMismatch(projectionError);
      }
      path = gisLayerFileName(path, ".mid", input);
      pair = true;
    }
    OPENFILE(midUnit, mode, path);
    if (input && pair) miWorkspaceOpenTable(logUnit, name, worUnit, tableList, tableCount, tableLimit);
    if (!input || !saveDateCheck || !pair) return;
    const std::string table = FILENAMEPATH(path) + std::string(trimRight(tableExt));
    if (mifCheckSaveDate(path, table, mifUnit, midUnit, saveDateError, logUnit)) return;
  }
}

}  // namespace quenzel
