#pragma once
// dBASE III tables: the .dbf of every shapefile set, one record per shape.
// Written with character ("C") and numeric ("N") fields from gisAttrDef and
// gisAttLine; read back into one comma-separated attribute line per record,
// character values in double quotes.
#include <string>

#include "gis/gis_data.h"
#include "gis/layer_table.h"

namespace quenzel {

// ---- Writing --------------------------------------------------------------
// The header and field descriptors from the definition, dated today. Type
// words map by their leading letters: CHAR to C(width), LOGICAL to C(1),
// FLOAT to N(16, 5), INTEGER to N(8, 0), DECIMAL to N(width, 0); names are
// cleaned and cut to 10 characters.
void dbfWriteHeader(const GisAttributeDefinition& attrDef, DbfFile& dbf);
// The value packed for an unsigned 8-bit (i1u) or 16-bit (i2u) file field:
// the signed integer of the same bits, also stored back into value. A value
// outside 0..255 (0..65535) ends the run.
int i1u(int& value);
int i2u(int& value);
// One record from gisAttLine (gisAttLineLarge): C values left-justified,
// others right-justified, each in exactly its field, control bytes other
// than the tab as blanks. A number longer than its field loses the decimals
// that do not fit (cut, not rounded); one whose digits before the point do
// not fit, or that would keep no digit, fills it with "*" (reported once
// per field and layer). A field the line holds no
// value for is blank.
void dbfdataline(DbfFile& dbf);
void dbfdatalinelarge(DbfFile& dbf);
// At close: the end-of-file byte, the unit closed, and the number of records
// written patched into the header (a table whose header was never written
// whole is left as it is).
void dbfCompleteTable(DbfFile& dbf);

// ---- Reading --------------------------------------------------------------
// The header and field descriptors: the whole 32-byte blocks the header
// length leaves room for, ended early by a block that starts with a
// carriage return, line feed or zero byte. The record count and field list
// go to the console.
void dbfReadHeader(DbfFile& dbf);
// The next valid record as one attribute line (each value ends at its first
// zero byte); deleted records are passed over. At the end marker endFlag is
// set and line is blank.
void dbfReadRecord(DbfFile& dbf, bool& endFlag, std::string& line);
// True when the next record is marked deleted; it is then passed over.
// Otherwise the unit stays where it was.
bool dbfSkipDeletedRecord(DbfFile& dbf);

}  // namespace quenzel
