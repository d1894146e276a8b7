#include "gis/mif_layer.h"

#include <string>
#include <string_view>

#include "common/console_exit.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/messages.h"
#include "common/mif_save_date.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/layer_table.h"
#include "gis/mif_reader.h"

namespace quenzel {
namespace {

// The line being built by the object writer, kept between calls so that a
// coordinate line costs no allocation once the buffer has grown.
struct MifWriterState {
  std::string line;
};

MifWriterState& writerState() {
  static MifWriterState s;
  return s;
}

[[noreturn]] void writeFailed() { gisStop("ERROR 0439 - Writing .mif file object coordinates."); }

void putLine(int unit, std::string_view text) {
  if (!writeLine(unit, text)) writeFailed();
}

// Vertices first..last on one line after `lead`, written in a single call.
// Each coordinate takes a field of 16 columns with d decimals: asterisks
// would lose the vertex, and neighbouring numbers must never run together.
void writeCoordinates(int unit, std::string_view lead, int first, int last, int d = 6) {
  std::string& b = writerState().line;
  b.assign(lead);
  for (int k = first; k <= last; ++k) {
    appendFSeparated(b, gisX(k), 16, d);
    appendFSeparated(b, gisY(k), 16, d);
  }
  b.push_back('\n');
  if (!writeText(unit, b)) writeFailed();
}

// One line per vertex.
void writeVertices(int unit, int first, int last) {
  for (int k = first; k <= last; ++k) writeCoordinates(unit, "", k, k);
}

// "<keyword> <count>", then per part a line of one blank and its vertex
// count followed by its vertices. The i-th part runs from ir(i) to
// ir(i+1) - 1, the last one to gisNP.
void writeParts(int unit, std::string_view keyword, const gisObject& obj) {
  const int nr = obj.nr;
  putLine(unit, std::string(keyword) + AINTEGER(nr));
  for (int i = 1; i <= nr; ++i) {
    const int first = obj.ir(i);
    const int last = i < nr ? obj.ir(i + 1) - 1 : gisNP;
    putLine(unit, " " + AINTEGER(last - first + 1));
    writeVertices(unit, first, last);
  }
}

void checkProjection(int mifUnit) {
  const GisLayerModule& m = gisModule();
  const std::string line = mifCleanCoordSys(mifFindCoordSys(mifUnit));
  rewindUnit(mifUnit);
  if (line == trimRight(m.gisMifProjection)) return;
  if (m.gisProjectionCheckError) {
    setMessageLine(1, "ERROR 0305 - Projection of .mif file is different to that specified by the MI Projection == "
                      "command.");
    setMessageLine(2, "Use \"MI Projection Check == WARNING\" to change message to a WARNING.");
    DMESSAGE(1);
    EXITS();
  }
  setMessageLine(1, "WARNING 0305 - Projection of .mif file is different to that specified by the MI Projection == "
                    "command.");
  DMESSAGE(0);
}

}  // namespace

void OpenmifFile(std::string_view fileName, int& mifUnit, int& midUnit, std::string_view mode,
                 bool attributesOnly) {
  const GisLayerModule& m = gisModule();
  mifUnit = 0;
  midUnit = 0;
  const bool input = fitted(mode, 2) == "I ";
  // A failed save-date check has closed both files and the user has
  // re-exported the layer: open it again from the start.
  for (;;) {
    std::string name = TRIMF(fileName);
    bool isMid = false;
    if (!attributesOnly) {
      const std::string ext = cutTo(FILEEXT(name), 4);
      if (ext == ".mif" || ext == ".mid") name = FILENAMEPATH(name);
      OPENFILE(mifUnit, mode, gisLayerFileName(name, ".mif", input));
      if (input && !isAllBlank(m.gisMifProjection)) checkProjection(mifUnit);
      name = gisLayerFileName(name, ".mid", input);
      isMid = true;
    } else {
      isMid = FILEEXT(name) == ".mid";
    }
    OPENFILE(midUnit, mode, name);

    if (!input || !m.gisSaveDateCheck || !isMid) return;
    const std::string table = gisLayerFileName(FILENAMEPATH(name), trimRight(m.gisDefaultTableExt), true);
    if (mifCheckSaveDate(name, table, mifUnit, midUnit, m.gisSaveDateError, m.gisLogUnit)) return;
  }
}

IoStatus mifScanCoordSys(int unit, std::string& line) {
  line = "XXX";
  for (;;) {
    if (FLAGEXISTS(slice(line, 1, 8), "CoordSys")) {
      line = cutTo(line, kNameWidth);
      return IoStatus::Ok;
    }
    if (unitAtEnd(unit)) return IoStatus::End;
    // As every .mif line is read: without CRs at its ends, so that a file
    // with LF-CR line ends still shows its CoordSys line.
    if (mifReadRecord(unit, line, std::string::npos) != IoStatus::Ok) return IoStatus::Error;
  }
}

std::string mifFindCoordSys(int unit) {
  std::string line;
  switch (mifScanCoordSys(unit, line)) {
    case IoStatus::Ok:
      return line;
    case IoStatus::End:
      return {};
    case IoStatus::Error:
      break;
  }
  setGisMessageLine(1, "WARNING 0306 - Problems finding CoordSys line in .mif file.");
  gisWriteMessage(1);
  return {};
}

std::string mifCleanCoordSys(std::string_view line) {
  return cutTo(TRIMF(REMOVEQUOTES(REMOVETABS(REMOVESPACES(UPPERCASE(line))))), kNameWidth);
}

void mifWriteHeader(const GisAttributeDefinition& attrDef, int mifUnit) {
  for (std::string_view line : kMifHeaderTop) putLine(mifUnit, line);
  const std::string_view coordSys = trimRight(gisMifCoordSys);
  putLine(mifUnit, coordSys.empty() ? kNonEarthCoordSys : coordSys);
  putLine(mifUnit, "Columns " + AINTEGER(attrDef.count));
  for (int i = 1; i <= attrDef.count; ++i) {
    std::string column = "  ";
    column += trimRight(attrDef.name(i));
    column += ' ';
    column += trimRight(attrDef.type(i));
    if (attrDef.width(i) >= 1) column += "(" + AINTEGER(attrDef.width(i)) + ")";
    putLine(mifUnit, column);
  }
  putLine(mifUnit, "Data");
  putLine(mifUnit, "");
}

void mifWriteObject(gisObject& obj, int mifUnit, std::string_view styleLine1, std::string_view styleLine2) {
  if (obj.isPoint) {
    writeCoordinates(mifUnit, "Point ", 1, 1);
  } else if (obj.isMultiPoint) {
    putLine(mifUnit, "MultiPoint " + AINTEGER(gisNP));
    writeVertices(mifUnit, 1, gisNP);
  } else if (obj.isLine) {
    writeCoordinates(mifUnit, "Line ", 1, 2);
  } else if (obj.isPline) {
    putLine(mifUnit, "Pline " + AINTEGER(gisNP));
    writeVertices(mifUnit, 1, gisNP);
  } else if (obj.isPlineMultiple) {
    writeParts(mifUnit, "Pline Multiple ", obj);
  } else if (obj.isRegion) {
    if (obj.nr > 1) {
      writeParts(mifUnit, "Region ", obj);
    } else {
      putLine(mifUnit, "Region 1");
      putLine(mifUnit, " " + AINTEGER(gisNP));
      writeVertices(mifUnit, 1, gisNP);
    }
  } else if (obj.isText) {
    putLine(mifUnit, "Text");
    putLine(mifUnit, trimRight(gisAttLine));
    // The box corners are vertices 2 and 3; vertex 1 is the anchor point.
    writeCoordinates(mifUnit, "    ", 2, 3, 3);
  } else if (obj.isNone) {
    putLine(mifUnit, "none");
    return;
  } else {
    gisStop("ERROR 0350 - Trying to write a MIF object that is not yet supported.  Please contact " +
            std::string(kSupportAddress) + ".");
  }

  const std::string_view style1 = trimRight(styleLine1);
  if (style1.empty()) return;
  putLine(mifUnit, style1);
  const std::string_view style2 = trimRight(styleLine2);
  if (!style2.empty()) putLine(mifUnit, style2);
}

}  // namespace quenzel
