#include "gis/write_protocol.h"

#include <string>
#include <string_view>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/fortran_format.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/dbase.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"
#include "gis/shapefile.h"

namespace quenzel {
namespace {

// Kept so a record costs no allocation once the buffer has grown.
struct WriteProtocolModule {
  std::string cleaned;  // a .mid row with its control bytes blanked
};

WriteProtocolModule& writeProtocolModule() {
  static WriteProtocolModule m;
  return m;
}

// The part-start check: an empty line, the check that failed, and the layer,
// part and count it failed on.
[[noreturn]] void partStartCheck(std::string_view tag, int gisID, int i, int irValue, int nr) {
  console::emptyLine();
  console::line(gisCheckText(tag));
  console::line("GIS Layer   =" + formatI(gisID, 5));
  console::line("i           =" + formatI(i, 5));
  console::line("gisO_%ir(i) =" + formatI(irValue, 5));
  console::line("gisO_%nr    =" + formatI(nr, 5));
  EXITS();
}

// Writing: ir(i) is the position in gisX/gisY of part i's first vertex.
void checkPartStarts(int gisID, gisObject& obj) {
  if (obj.nr < 1) obj.nr = 1;
  if (obj.ir(1) < 1) obj.ir(1) = 1;
  const int nr = obj.nr;
  // The writers walk ir(1..nr) and the vertices up to gisNP: each must be
  // inside its buffer, and the parts must cover the vertices from the first.
  if (nr > gisMaxParts) partStartCheck("gisO_%nr > gisMaxParts", gisID, gisMaxParts, obj.ir(gisMaxParts), nr);
  if (obj.ir(1) != 1) partStartCheck("gisO_%ir(1) /= 1", gisID, 1, obj.ir(1), nr);
  for (int i = 2; i <= nr; ++i)
    if (obj.ir(i) <= obj.ir(i - 1)) partStartCheck("gisO_%ir(i) <= gisO_%ir(i-1)", gisID, i, obj.ir(i), nr);
  if (obj.ir(nr) > gisNP) partStartCheck("gisO_%ir(nr) > gisNP", gisID, nr, obj.ir(nr), nr);
  if (gisNP > static_cast<int>(gisX.size()) || gisNP > static_cast<int>(gisY.size()))
    partStartCheck("gisNP > gisMaxWriteNodes", gisID, nr, obj.ir(nr), nr);
}

// The shape set (1 point, 2 line, 3 region) an object goes to by its first
// set flag, a text going to the point set; 0 for a null object (every set
// gets it), -1 for none.
int shapeSlotOf(const gisObject& obj) {
  if (obj.isPoint) return 1;
  if (obj.isLine || obj.isPline || obj.isPlineMultiple) return 2;
  if (obj.isRegion) return 3;
  if (obj.isText || obj.isMultiPoint) return 1;
  if (obj.isNone) return 0;
  return -1;
}

void writeRecord(int gisID, const gisObject& obj, bool large) {
  const std::string_view routine = large ? "gisWriteRecordLarge" : "gisWriteRecord";
  gisCheckLayerID(routine, gisID);
  GisLayerModule& m = gisModule();
  const std::string& text = large ? gisAttLineLarge : gisAttLine;
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      MidRecordNote& note = m.midLastRecord(gisID);
      note.large = large;
      note.typeName.assign(trimRight(obj.gisObjectTypeName));
      const std::string_view row = writtenAttributeText(text, writeProtocolModule().cleaned);
      if (!writeLine(m.mifLayer(gisID).midUnit, trimRight(row)))
        gisStop(gisMidWriteFailure(note));
      return;
    }
    case 2: {
      const int slot = shapeSlotOf(obj);
      if (slot < 0) gisMessageCheck(large ? "gisWriteRecordLarge-dbf" : "gisWriteRecord-dbf");
      for (int k = 1; k <= gisShapeSlots; ++k) {
        DbfFile& dbf = m.dbfFile(k, gisID);
        if (slot != k && !(slot == 0 && dbf.dbfUnit > 0)) continue;
        ++dbf.recordCounter;
        if (large) dbfdatalinelarge(dbf);
        else dbfdataline(dbf);
      }
      return;
    }
    default:
      gisInternalCheck(routine);
  }
}

}  // namespace

void gisWriteHeader(int gisID) {
  gisCheckLayerID("gisWriteHeader", gisID);
  GisLayerModule& m = gisModule();
  switch (m.gisLayerFileType(gisID)) {
    case 1:
      mifWriteHeader(gisAttrDef, m.mifLayer(gisID).mifUnit);
      return;
    case 2:
      for (int k = 1; k <= gisShapeSlots; ++k) {
        ShpFile& shp = m.shpFile(k, gisID);
        if (shp.shpUnitLE <= 0) continue;
        if (shp.prjUnit > 0) {
          writeLine(shp.prjUnit, trimRight(gisPrjText));
          CLOSER(shp.prjUnit);
        }
        shpWriteHeader(shp, shp.shpUnitLE, shp.shpUnitBE);
        shpWriteHeader(shp, shp.shxUnitLE, shp.shxUnitBE);
        CLOSER(shp.shxUnitLE);
        // The box starts empty at the single-precision limit the format's
        // writers have always used.
        const double far = static_cast<double>(9.0e29f);
        shp.xMin = shp.yMin = far;
        shp.xMax = shp.yMax = -far;
        shp.nextOffset = 50;
        DbfFile& dbf = m.dbfFile(k, gisID);
        dbfWriteHeader(gisAttrDef, dbf);
        dbf.recordCounter = 0;
      }
      return;
    default:
      gisInternalCheck("gisWriteHeader");
  }
}

void gisWriteObject(int gisID, gisObject& obj) {
  gisCheckLayerID("gisWriteObject", gisID);
  GisLayerModule& m = gisModule();
  if (obj.isLine || obj.isPline || obj.isPlineMultiple || obj.isRegion) checkPartStarts(gisID, obj);
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      const MifLayer& mif = m.mifLayer(gisID);
      mifWriteObject(obj, mif.mifUnit, mif.styleLine1, mif.styleLine2);
      return;
    }
    case 2: {
      const int slot = shapeSlotOf(obj);
      if (slot < 0) gisMessageCheck("gisWriteObject-shp");
      if (slot == 0) {
        for (int k = 1; k <= gisShapeSlots; ++k)
          if (m.dbfFile(k, gisID).dbfUnit > 0) shpWriteObject(obj, m.shpFile(k, gisID));
        return;
      }
      // A text object goes to the point set as its anchor point.
      if (slot == 1 && !obj.isPoint && obj.isText) {
        obj.isText = false;
        obj.isPoint = true;
      }
      shpWriteObject(obj, m.shpFile(slot, gisID));
      return;
    }
    default:
      gisInternalCheck("gisWriteObject");
  }
}

void gisWriteRecord(int gisID, const gisObject& obj) { writeRecord(gisID, obj, false); }

void gisWriteRecordLarge(int gisID, const gisObject& obj) { writeRecord(gisID, obj, true); }

std::string_view writtenAttributeText(std::string_view text, std::string& buffer) {
  return controlBytesBlanked(text, buffer, true);
}

}  // namespace quenzel
