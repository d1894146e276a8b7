#pragma once
// Writing a layer through the module: the header from gisAttrDef, then per
// object its coordinates from gisNP, gisX, gisY (and, for multi-part
// objects, nr and ir of the object record, where ir(i) is the position of
// part i's first vertex) and its attribute record from gisAttLine.
//
// Calling order: fill gisAttrDef (record count 0); gisOpenLayer (name,
// shape letters, "O ", false); gisWriteHeader once; per object exactly one
// type flag set, then gisWriteObject followed by one gisWriteRecord;
// gisCloseLayer.
#include <string>
#include <string_view>

#include "gis/gis_data.h"

namespace quenzel {

void gisWriteHeader(int gisID);
// Before writing a line, polyline or region, nr and ir(1) below 1 become 1;
// parts that do not start at vertex 1, do not strictly increase, or reach
// past gisNP end the run with an internal check.
void gisWriteObject(int gisID, gisObject& obj);
// The attribute record of the object just written (obj selects the shape
// set of a shapefile layer).
void gisWriteRecord(int gisID, const gisObject& obj);
// The same from gisAttLineLarge.
void gisWriteRecordLarge(int gisID, const gisObject& obj);

// A text as the attribute writers put it in a .mid row or a .dbf field: a
// byte below 20h other than the tab (a NUL, CR, LF, or the 1Ah that ends a
// table's data) would end or split the record for every reader, so each is
// written as a blank. Gives `text` itself when it holds none, as nearly all
// do, else `buffer` holding the cleaned copy.
std::string_view writtenAttributeText(std::string_view text, std::string& buffer);

}  // namespace quenzel
