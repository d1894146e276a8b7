#include "gis/layer_table.h"

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/input_layers.h"
#include "gis/mif_layer.h"
#include "gis/shapefile.h"

namespace quenzel {

GisLayerModule& gisModule() {
  static GisLayerModule m;
  return m;
}

OneBased<bool> gisLayerEoF(gisMaxLayers, false);

void setGisMessageLine(int k, std::string_view text) { gisModule().gisMessageLine(k) = cutTo(text, kNameWidth); }

void gisLineToConsoleAndLog(std::string_view text) {
  console::line(text);
  const int log = gisModule().gisLogUnit;
  if (log > 0) writeLine(log, text);
}

void gisEmptyLineToConsoleAndLog() {
  console::emptyLine();
  const int log = gisModule().gisLogUnit;
  if (log > 0) writeLine(log);
}

void gisWriteMessage(int nBlank) {
  GisLayerModule& m = gisModule();
  for (int i = 0; i < nBlank; ++i) gisEmptyLineToConsoleAndLog();
  for (int k = 1; k <= gisMessageLines; ++k) {
    const std::string text = cutTo(m.gisMessageLine(k), kNameWidth);
    if (k == 1 || !text.empty()) gisLineToConsoleAndLog(text);
  }
  for (int k = 2; k <= gisMessageLines; ++k) m.gisMessageLine(k).clear();
}

void gisStop(std::string_view line1, std::string_view line2, std::string_view line3) {
  setGisMessageLine(1, line1);
  setGisMessageLine(2, line2);
  setGisMessageLine(3, line3);
  gisWriteMessage(1);
  EXITS();
}

void gisReadBytes(int unit, char* data, std::size_t n, std::string_view endMessage, std::string_view errorMessage) {
  const IoStatus st = readBytes(unit, data, n);
  if (st == IoStatus::End) gisStop(endMessage);
  if (st == IoStatus::Error) gisStop(errorMessage);
}

std::string gisMidWriteFailure(const MidRecordNote& record) {
  return std::string("ERROR 0254 - Failed to write ") + (record.large ? "large " : "") +
         "attribute data record for a " + record.typeName + " object in GIS layer.";
}

std::string gisLayerFileName(std::string_view base, std::string_view ext, bool input) {
  std::string lower = std::string(base) + std::string(ext);
  if (!input || platform::fileExists(lower)) return lower;
  std::string upper = std::string(base) + upperAscii(ext);
  return platform::fileExists(upper) ? upper : lower;
}

std::vector<std::string> gisLayerFiles(std::string_view fileName, std::string_view shapeLetters, bool input) {
  const std::string name(trimRight(fileName));
  const std::string ext = FILEEXT(name);
  std::vector<std::string> files;
  if (ext == ".shp") {
    const std::string path(trimRight(FILENAMEPATH(name)));
    const std::string_view letters = trimRight(shapeLetters);
    const auto addSet = [&](const std::string& base) {
      for (const char* e : {".shp", ".shx", ".dbf", ".prj"}) files.push_back(gisLayerFileName(base, e, input));
    };
    if (letters.empty()) addSet(path);
    for (const char letter : letters) addSet(path + "_" + letter);
  } else {
    const std::string base = ext == ".mif" || ext == ".mid" ? std::string(trimRight(FILENAMEPATH(name))) : name;
    for (const char* e : {".mif", ".mid"}) files.push_back(gisLayerFileName(base, e, input));
  }
  return files;
}

void gisCheckLayerID(std::string_view routine, int gisID, bool mustBeOpen) {
  const bool inRange = gisID >= 1 && gisID <= gisMaxLayers;
  if (inRange && (!mustBeOpen || gisModule().gisLayerOpen(gisID))) return;
  // An ID below 1 is shown as 0, whatever its value; any other bad ID as given.
  const std::string shown = gisID < 1 ? std::string("0") : AINTEGER(gisID);
  console::line("Should not be here " + std::string(routine) + "[gisID=" + shown + "] - please contact " +
                std::string(kSupportAddress) + ".");
  EXITS();
}

std::string gisCheckText(std::string_view tag) {
  return "Should not be here [" + std::string(tag) + "] - please contact " + std::string(kSupportAddress) + ".";
}

void gisInternalCheck(std::string_view tag, bool emptyLineFirst) {
  if (emptyLineFirst) console::emptyLine();
  console::line(gisCheckText(tag));
  EXITS();
}

void gisMessageCheck(std::string_view tag) {
  gisStop("Should not be here [" + std::string(tag) + "].  Please contact " + std::string(kSupportAddress) + ".");
}

}  // namespace quenzel

// ---- Layer lifecycle -------------------------------------------------------------

namespace quenzel {
namespace {

// Output shapefile layer: one set per shape letter.
void openOutputShapeSets(int id, std::string_view fileName, std::string_view shapeLetters, std::string_view mode,
                         bool attributesOnly) {
  GisLayerModule& m = gisModule();
  const std::string_view letters = trimRight(shapeLetters);
  for (char c : letters) {
    int k = 0;
    int shapeType = 0;
    switch (upperAscii(c)) {
      case 'P': k = 1, shapeType = 1; break;
      case 'L': k = 2, shapeType = 3; break;
      case 'R': k = 3, shapeType = 5; break;
      default: gisInternalCheck("OpenshpFileType", false);
    }
    ShpFile& shp = m.shpFile(k, id);
    shp.shapeType = shapeType;
    OpenshpFile(fileName, std::string(1, c), m.dbfFile(k, id).dbfUnit, shp, mode, attributesOnly);
  }
}

}  // namespace

int gisOpenLayer(std::string_view fileName, std::string_view shapeLetters, std::string_view mode,
                 bool attributesOnly) {
  GisLayerModule& m = gisModule();
  gisLineToConsoleAndLog("Opening GIS Layer: " + std::string(trimRight(fileName)));

  int id = 1;
  while (id <= gisMaxLayers && m.gisLayerOpen(id)) ++id;
  if (id > gisMaxLayers)
    gisStop("ERROR 0251 - Cannot have more than " + AINTEGER(gisMaxLayers) + " GIS layers open at once.");
  gisLineToConsoleAndLog("GIS Layer assigned ID of " + AINTEGER(id));

  gisInitialiseLayer(id);
  const std::string ext = cutTo(FILEEXT(fileName), 16);
  m.gisLayerFileType(id) = gisFileType(ext, attributesOnly);

  const std::string openMode = fitted(mode, 2);
  if (openMode == "I ") {
    m.gisLayerOutput(id) = false;
    gisTrackInputLayer(fileName, id);
  } else if (openMode == "O ") {
    m.gisLayerOutput(id) = true;
  } else {
    gisInternalCheck("OpenGIS");
  }

  MifLayer& mif = m.mifLayer(id);
  switch (m.gisLayerFileType(id)) {
    case 1:
      OpenmifFile(fileName, mif.mifUnit, mif.midUnit, mode, attributesOnly);
      break;
    case 2:
      if (openMode == "O ") {
        openOutputShapeSets(id, fileName, shapeLetters, mode, attributesOnly);
      } else if (!OpenshpFile(fileName, shapeLetters, m.dbfFile(1, id).dbfUnit, m.shpFile(1, id), mode,
                              attributesOnly)) {
        m.gisLayerFileType(id) = 0;
        return 0;
      }
      break;
    case -1:
      mif.mifUnit = 0;
      OPENFILE(mif.midUnit, mode, trimRight(fileName));
      m.gisLayerFileType(id) = 1;
      break;
    default:
      gisInternalCheck("gisOpenLayer");
  }

  m.gisLayerOpen(id) = true;
  m.gisLayerName(id) = cutTo(fileName, kNameWidth);
  return id;
}

int gisFileType(std::string_view ext, bool attributesOnly) {
  const std::string_view e = trimRight(ext);
  if (e == ".mif" || e == ".mid" || e.empty()) return 1;
  if (e == ".shp") return 2;
  if (e == ".dbf" && attributesOnly) return 2;
  if (e == ".csv" && attributesOnly) return -1;
  gisStop("ERROR 0252 - " + std::string(e) + " is not a supported GIS file format.");
}

void gisInitialiseLayer(int gisID) {
  // The slot is not open yet: gisOpenLayer resets it before marking it.
  gisCheckLayerID("gisInitialiseLayer", gisID, false);
  GisLayerModule& m = gisModule();
  m.gisLayerFileType(gisID) = 0;
  m.gisLayerName(gisID).clear();
  gisLayerEoF(gisID) = false;
  m.gisLayerOutput(gisID) = false;
  m.midLastRecord(gisID) = MidRecordNote();
  m.mifLayer(gisID) = MifLayer{};
  for (int k = 1; k <= gisShapeSlots; ++k) {
    m.shpFile(k, gisID) = ShpFile{};
    m.dbfFile(k, gisID) = DbfFile{};
  }
}

namespace {

// Closing a layer; `announce` false is the end-of-run finishing, which writes
// no line for the closes.
void closeLayer(int& gisID, bool announce) {
  GisLayerModule& m = gisModule();
  if (gisID < 1 || gisID > gisMaxLayers || !m.gisLayerOpen(gisID)) {
    gisLineToConsoleAndLog("SOFTWARE CHECK - Trying to close a GIS Layer that's not open.  Please contact " +
                           std::string(kSupportAddress) + ".");
    return;
  }
  const int id = gisID;
  if (announce) {
    gisEmptyLineToConsoleAndLog();
    gisLineToConsoleAndLog("Closing GIS Layer " + AINTEGER(id) + " [" + std::string(trimRight(m.gisLayerName(id))) +
                           "]...");
  }

  const bool output = m.gisLayerOutput(id);
  // Cleared before finishing: a finish that fails and ends the run must not
  // be tried again by the end-of-run hook.
  m.gisLayerOutput(id) = false;
  if (output) gisWriteEoF(id);

  switch (m.gisLayerFileType(id)) {
    case 1: {
      MifLayer& mif = m.mifLayer(id);
      // Buffered lines reach the disk only now; a failure here is a lost layer.
      if (output && mif.mifUnit > 0 && !flushUnit(mif.mifUnit))
        gisStop("ERROR 0439 - Writing .mif file object coordinates.");
      if (output && mif.midUnit > 0 && !flushUnit(mif.midUnit)) {
        gisStop(gisMidWriteFailure(m.midLastRecord(id)));
      }
      if (mif.mifUnit > 0) CLOSER(mif.mifUnit);
      if (mif.midUnit > 0) CLOSER(mif.midUnit);
      break;
    }
    case 2:
      for (int k = 1; k <= gisShapeSlots; ++k) {
        ShpFile& shp = m.shpFile(k, id);
        for (int* unit : {&shp.shpUnitLE, &shp.shpUnitBE, &shp.shxUnitLE, &shp.shxUnitBE, &shp.prjUnit,
                          &m.dbfFile(k, id).dbfUnit})
          if (*unit > 0) CLOSER(*unit);
      }
      break;
    default:
      gisInternalCheck("gisCloseLayer");
  }

  m.gisLayerOpen(id) = false;
  gisLayerEoF(id) = true;
  m.gisLayerFileType(id) = 0;
  gisID = 0;
}

}  // namespace

void gisCloseLayer(int& gisID) { closeLayer(gisID, true); }

void gisCloseAllLayers(bool& anyClosed) {
  GisLayerModule& m = gisModule();
  gisEmptyLineToConsoleAndLog();
  gisLineToConsoleAndLog("Closing any unclosed GIS layers...");
  anyClosed = false;
  // Closing sets the counter to 0, so the scan starts again from slot 1.
  for (int i = 1; i <= gisMaxLayers; ++i) {
    if (m.gisLayerOpen(i)) {
      anyClosed = true;
      gisCloseLayer(i);
    }
  }
  gisEmptyLineToConsoleAndLog();
}

void gisFinishOutputLayers() {
  GisLayerModule& m = gisModule();
  // Silent, as the closes of the end of a run are; a failure still reports.
  QuietCloses quiet;
  for (int id = 1; id <= gisMaxLayers; ++id) {
    if (m.gisLayerOpen(id) && m.gisLayerOutput(id)) {
      int closing = id;
      closeLayer(closing, false);
    }
  }
}

}  // namespace quenzel
