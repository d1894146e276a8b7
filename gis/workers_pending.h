#pragma once
// The format workers that the layer module dispatches to, declared here
// under their final names until their own headers (gis/mif_layer.h and the
// shapefile and dBASE modules) replace this file.
#include <string>
#include <string_view>

#include "common/one_based.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"

namespace quenzel {

// ---- Shapefile sets and dBASE tables --------------------------------------------
// Opens one set; dbfUnit and the five unit fields of shpUnits are set.
bool OpenshpFile(std::string_view fileName, std::string_view suffix, int& dbfUnit, ShpFile& shpUnits,
                 std::string_view mode, bool attributesOnly);
void shpWriteHeader(ShpFile& header, int unitLE, int unitBE);
void shpWriteObject(gisObject& obj, ShpFile& header);
// Completes the headers of every file of an output shapefile layer.
void gisWriteEoF(int gisID);
// Reads the 100-byte main header of a .shp through unit.
void shpReadHeader(int unit, int& fileCode, int& fileLength, int& version, int& shapeType, double& xMin,
                   double& yMin, double& xMax, double& yMax);
bool shpObjectType(int unit, int& recordShapeType, gisObject& obj);
bool shpReadObject(int unit, int recordShapeType, gisObject& obj, OneBasedView<double> x, OneBasedView<double> y,
                   int maxNodes, int& n, bool all);
void dbfWriteHeader(const GisAttributeDefinition& attrDef, DbfFile& dbf);
void dbfdataline(const DbfFile& dbf);
void dbfdatalinelarge(const DbfFile& dbf);
// Reads the header and field descriptors of an input table.
void dbfReadHeader(DbfFile& dbf);
void dbfReadRecord(DbfFile& dbf, bool& endFlag, std::string& line);

}  // namespace quenzel
