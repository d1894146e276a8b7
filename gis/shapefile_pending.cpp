// Stand-ins for the shapefile and dBASE openers and writers until their
// modules land: they open and write nothing and leave every unit at 0.
#include "gis/workers_pending.h"

namespace quenzel {

bool OpenshpFile(std::string_view, std::string_view, int& dbfUnit, ShpFile& shpUnits, std::string_view, bool) {
  dbfUnit = 0;
  shpUnits.shpUnitLE = 0;
  shpUnits.shpUnitBE = 0;
  shpUnits.shxUnitLE = 0;
  shpUnits.shxUnitBE = 0;
  shpUnits.prjUnit = 0;
  return true;
}

void shpWriteHeader(ShpFile&, int, int) {}

void shpWriteObject(gisObject&, ShpFile&) {}

void gisWriteEoF(int) {}

void dbfWriteHeader(const GisAttributeDefinition&, DbfFile&) {}

void dbfdataline(const DbfFile&) {}

void dbfdatalinelarge(const DbfFile&) {}

}  // namespace quenzel
